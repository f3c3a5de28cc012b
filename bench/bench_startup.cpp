// Start-up to the window shown (offscreen) with its tables open and the score shown, against an empty
// Qt window shown; and the peak memory of each, read after a report rewrite and a tour change.
// Each start is a process of its own: this program runs itself with "--child".

#include "BenchTools.h"
#include "BenchWindow.h"
#include "ContestFolder.h"
#include "ScaleArguments.h"

#include "shell/TourlogApplication.h"
#include "support/WindowControls.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTimer>

#include <cstdio>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kStarts = 5;

// the most memory the process has held so far, in kB
qint64 peakResidentKb()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return -1;
}

void reportShown()
{
    std::printf("shown\n");
    std::fflush(stdout);
}

int emptyWindowChild(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.show();
    QApplication::processEvents();
    reportShown();
    std::printf("%lld\n", peakResidentKb());
    return 0;
}

int programChild(int argc, char* argv[], const QString& folder)
{
    TourlogApplication app(argc, argv);
    QDir::setCurrent(folder);
    TForm1 form;
    controls(form).timer1().stop();
    form.show();
    QApplication::processEvents();
    if (controls(form).statusBar1().panelText(1).isEmpty()) {
        std::fprintf(stderr, "no score shown\n");
        return 1;
    }
    reportShown();
    // the largest things the program builds in its working life: the report and a tour's four views
    controls(form).exportJournal1().trigger();
    controls(form).tour().setValue(controls(form).tour().value() == 1 ? 2 : 1);
    QApplication::processEvents();
    std::printf("%lld\n", peakResidentKb());
    return 0;
}

struct Start
{
    qint64 nanoseconds = 0;
    qint64 peakKb = 0;
};

Start startChild(const QString& mode, const QString& folder, const QString& configFolder)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    environment.insert(u"XDG_CONFIG_HOME"_s, configFolder);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(), {u"--child"_s, mode, folder});
    while (!child.canReadLine() && child.waitForReadyRead(60000)) { }
    Start start;
    start.nanoseconds = timer.nsecsElapsed();
    if (child.readLine().trimmed() != "shown") {
        throw std::runtime_error("the window was not shown");
    }
    child.waitForFinished(120000);
    start.peakKb = child.readAll().trimmed().toLongLong();
    if (child.exitCode() != 0 || start.peakKb <= 0) {
        throw std::runtime_error("the child failed");
    }
    return start;
}
} // namespace

int main(int argc, char* argv[])
{
    if (argc == 4 && QByteArray(argv[1]) == "--child") {
        if (QByteArray(argv[2]) == "empty") {
            return emptyWindowChild(argc, argv);
        }
        return programChild(argc, argv, QString::fromLocal8Bit(argv[3]));
    }
    QCoreApplication app(argc, argv);
    printHeader("start-up to the window shown, score shown");
    for (const auto& [name, scale] : scalesFromArguments(app.arguments())) {
        QTemporaryDir folder;
        QTemporaryDir config;
        generateContestFolder(folder.path(), scale);
        std::vector<qint64> program;
        std::vector<qint64> empty;
        qint64 programPeak = 0;
        qint64 emptyPeak = 0;
        for (int i = 0; i < kStarts; ++i) {
            const Start bare = startChild(u"empty"_s, folder.path(), config.path());
            const Start full = startChild(u"program"_s, folder.path(), config.path());
            empty.push_back(bare.nanoseconds);
            program.push_back(full.nanoseconds);
            emptyPeak = std::max(emptyPeak, bare.peakKb);
            programPeak = std::max(programPeak, full.peakKb);
        }
        printRatio("start-up to the window shown, score shown", name, medianOf(program), medianOf(empty),
                   scale.participants > 2000 ? 5.0 : 3.0);
        const qint64 extraMb = (programPeak - emptyPeak) / 1024;
        const qint64 allowedMb = scale.participants > 2000 ? 400 : 60;
        std::printf("%-44s %8s %9lld MB %9lld MB %+7lld MB %+6lld MB %s\n", "peak memory (RSS)", name,
                    programPeak / 1024, emptyPeak / 1024, extraMb, allowedMb, extraMb <= allowedMb ? "ok" : "MISSED");
        std::fflush(stdout);
    }
    return 0;
}
