#include "BenchWindow.h"

#include "shell/ErrorBox.h"
#include "support/WindowControls.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

BenchWindow::BenchWindow(const QString& folder)
    : m_previousDirectory(QDir::currentPath())
{
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
    setErrorReporter([](const QString& message) {
        // a benchmark of a failing window would measure nothing
        std::fprintf(stderr, "the window reported an error: %s\n", qPrintable(message));
        std::exit(1);
    });
    QDir::setCurrent(folder);
    m_form = std::make_unique<TForm1>();
    m_form->setPrompter(&m_prompter);
    m_form->setClock(&m_clock);
    controls(m_form).timer1().stop();
    m_form->show();
    settle();
}

BenchWindow::~BenchWindow()
{
    m_form.reset();
    setErrorReporter({});
    QDir::setCurrent(m_previousDirectory);
}

void BenchWindow::settle()
{
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

void BenchWindow::runEventLoop(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}
