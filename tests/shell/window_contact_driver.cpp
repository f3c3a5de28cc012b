// Starts the real window in the current folder, adds one participant and logs one contact with the
// keyboard (or, given "setup", sets the contest's schedule as before a contest), prints DONE and the serial
// now shown, and waits to be killed.
#include "shell/Unit1.h"
#include "support/Fakes.h"
#include "support/WindowControls.h"
#include "widgets/DataGrid.h"
#include "widgets/SpinField.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    FakePrompter prompter;
    prompter.answers = {QStringLiteral("RA3ABC"), QStringLiteral("23 015")};
    TForm1 form;
    form.setPrompter(&prompter);
    controls(form).timer1().stop();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        return 1;
    }
    const WindowControls ui = controls(form);
    if (app.arguments().contains(QStringLiteral("setup"))) {
        ui.tours().setValue(5);
        ui.tourMinutes().setValue(45);
        ui.begDate().setDate(QDate(2024, 11, 16));
        ui.begTime().setTime(QTime(7, 5, 30));
    } else {
        QTest::keyClick(&ui.bandGrid(0), Qt::Key_Insert);
        QTest::keyClick(&ui.bandGrid(0), Qt::Key_Return);
    }
    std::printf("DONE %d\n", ui.nppEdit().value());
    std::fflush(stdout);
    return app.exec();
}
