#pragma once

#include "shell/ErrorBox.h"
#include "shell/Unit1.h"
#include "store/Database.h"
#include "support/Fakes.h"
#include "support/TableRows.h"
#include "support/TestEnvironment.h"
#include "support/WindowControls.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

// The main window in a fresh contest folder, as a test case drives it: prompts answered from a queue, the
// time set by the test, and what would open the error box collected instead. Made in init(), dropped in
// cleanup(); the window itself is made by start(), so that a case may prepare the folder first.
struct WindowFixture
{
    TestEnvironment env;
    FakePrompter prompter;
    FakeClock clock;
    QStringList errors;
    std::unique_ptr<TForm1> form;

    WindowFixture()
    {
        setErrorReporter([this](const QString& message) { errors << message; });
    }

    ~WindowFixture()
    {
        form.reset();
        setErrorReporter({});
    }

    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    // shown and active, the focus in the 80 m SSB grid; the timer is stopped and ticked by the test
    void start()
    {
        create();
        show();
        if (!QTest::currentTestFailed()) {
            QTRY_VERIFY(ui().bandGrid(0).hasFocus());
        }
    }

    // made but not yet shown, so that a case may fill the tables or set the controls first
    void create()
    {
        form = std::make_unique<TForm1>();
        form->setPrompter(&prompter);
        form->setClock(&clock);
        ui().timer1().stop();
    }

    // shown and active, the focus not awaited: a message or an error at start may take it elsewhere
    void show()
    {
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    WindowControls ui() const { return controls(*form); }

    QStringList rows(const QString& sql) const { return tableRows(form->database(), sql); }
};
