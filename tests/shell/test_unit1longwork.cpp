#include "store/TableView.h"
#include "support/WindowFixture.h"
#include "widgets/DateField.h"
#include "widgets/SpinField.h"
#include "widgets/TimePicker.h"

#include <QApplication>
#include <QCheckBox>
#include <QProgressDialog>

using namespace Qt::Literals::StringLiterals;

// Long commands at contest scale: the busy cursor, a progress dialog with a count, and a timer that
// keeps its hands off the views meanwhile.
class TestUnit1LongWork : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_w = std::make_unique<WindowFixture>();
        m_w->start();
    }

    void cleanup()
    {
        m_w->form.reset();
        const QStringList errors = m_w->errors;
        m_w.reset();
        QCOMPARE(errors, QStringList());
    }

    void timerLeavesTheViewsAloneDuringALongCommand()
    {
        m_w->ui().autoChangeTour().setChecked(true);
        m_w->ui().begDate().setDate(QDate(2006, 10, 22));
        m_w->ui().begTime().setTime(QTime(20, 0));
        m_w->ui().tour().setValue(1);
        m_w->clock.now = QDateTime(QDate(2006, 10, 22), QTime(20, 30, 1));
        const ViewFilter filter = m_w->ui().contest80().filter();
        {
            const LongWork::Scope busy(m_w->form->database().work());
            const LongWork::Scope nested(m_w->form->database().work());
            m_w->ui().tick();
            QCOMPARE(m_w->ui().tour().value(), 1);
            QCOMPARE(m_w->ui().contest80().filter(), filter);
        }
        m_w->ui().tick();
        QCOMPARE(m_w->ui().tour().value(), 2);
    }

    void importCountsItsParticipants()
    {
        QFile list(m_w->env.path(u"Callsign.txt"_s));
        QVERIFY(list.open(QIODevice::WriteOnly));
        for (int i = 0; i < 600; ++i) {
            list.write(u"UA%1XYZ\r\n"_s.arg(i, 3, 10, QChar(u'0')).toLatin1());
        }
        list.close();
        m_w->ui().importCallsign1().trigger();
        QCOMPARE(m_w->ui().callsignView().recordCount(), 600);
        // the command is over: no dialog left to come up over the next box, no busy cursor left behind
        QVERIFY(m_w->form->findChildren<QProgressDialog*>().isEmpty());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

private:
    std::unique_ptr<WindowFixture> m_w;
};

QTEST_MAIN(TestUnit1LongWork)
#include "test_unit1longwork.moc"
