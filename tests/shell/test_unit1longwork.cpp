#include "shell/ErrorBox.h"
#include "shell/Unit1.h"
#include "store/Database.h"
#include "store/TableView.h"
#include "support/Fakes.h"
#include "support/TestEnvironment.h"
#include "support/WindowControls.h"
#include "widgets/DateField.h"
#include "widgets/SpinField.h"
#include "widgets/TimePicker.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::Literals::StringLiterals;

// Long commands at contest scale: the busy cursor, a progress dialog with a count, and a timer that
// keeps its hands off the views meanwhile.
class TestUnit1LongWork : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_errors.clear();
        setErrorReporter([this](const QString& message) { m_errors << message; });
        m_form = std::make_unique<TForm1>();
        m_form->setPrompter(&m_prompter);
        m_form->setClock(&m_clock);
        controls(m_form).timer1().stop();
        m_form->show();
    }

    void cleanup()
    {
        m_form.reset();
        m_env.reset();
        setErrorReporter({});
        QCOMPARE(m_errors, QStringList());
    }

    void timerLeavesTheViewsAloneDuringALongCommand()
    {
        controls(m_form).autoChangeTour().setChecked(true);
        controls(m_form).begDate().setDate(QDate(2006, 10, 22));
        controls(m_form).begTime().setTime(QTime(20, 0));
        controls(m_form).tour().setValue(1);
        m_clock.now = QDateTime(QDate(2006, 10, 22), QTime(20, 30, 1));
        const QString filter = controls(m_form).contest80().filter();
        {
            const LongWork::Scope busy(m_form->database().work());
            const LongWork::Scope nested(m_form->database().work());
            controls(m_form).tick();
            QCOMPARE(controls(m_form).tour().value(), 1);
            QCOMPARE(controls(m_form).contest80().filter(), filter);
        }
        controls(m_form).tick();
        QCOMPARE(controls(m_form).tour().value(), 2);
    }

    void importCountsItsParticipants()
    {
        QFile list(m_env->path(u"Callsign.txt"_s));
        QVERIFY(list.open(QIODevice::WriteOnly));
        for (int i = 0; i < 600; ++i) {
            list.write(u"UA%1XYZ\r\n"_s.arg(i, 3, 10, QChar(u'0')).toLatin1());
        }
        list.close();
        controls(m_form).importCallsign1().trigger();
        QCOMPARE(controls(m_form).callsignView().recordCount(), 600);
        // the command is over: no dialog left to come up over the next box, no busy cursor left behind
        QVERIFY(m_form->findChildren<QProgressDialog*>().isEmpty());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TForm1> m_form;
    FakePrompter m_prompter;
    FakeClock m_clock;
    QStringList m_errors;
};

QTEST_MAIN(TestUnit1LongWork)
#include "test_unit1longwork.moc"
