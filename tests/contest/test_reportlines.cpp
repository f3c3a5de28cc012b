#include "contest/FormatSettings.h"
#include "contest/ReportExport.h"
#include "contest/ReportFormat.h"
#include "contest/ReportLines.h"
#include "store/Database.h"
#include "store/LongWork.h"
#include "store/Schema.h"
#include "store/SqlRoutines.h"
#include "store/TableView.h"
#include "store/Transaction.h"
#include "store/ViewDefinitions.h"
#include "support/TestEnvironment.h"
#include "support/TimeZone.h"

#include <QFile>
#include <QTest>

#include <ctime>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
void appendContact(TableView& journal, const QString& callsign, QTime time)
{
    journal.append();
    journal.setValue(u"ContestNumber"_s, 1);
    journal.setValue(u"TourNumber"_s, 1);
    journal.setValue(u"Diapasone"_s, 80);
    journal.setValue(u"Modulation"_s, u"SSB"_s);
    journal.setValue(u"CallSign"_s, callsign);
    journal.setValue(u"D"_s, QDate(2006, 10, 22));
    journal.setValue(u"T"_s, time);
    journal.setValue(u"SentText"_s, u"22 001"_s);
    journal.setValue(u"RecvText"_s, u"15 100"_s);
    journal.post();
}

enum class Change
{
    EditThroughAnotherView,
    EditThroughTheJournal,
    EditPendingInTheJournal,
    Delete,
    Append,
    RolledBackEdit,
    BulkSql,
    TimeZone,
};
} // namespace
Q_DECLARE_METATYPE(Change)

// The report's lines kept between rewrites: a kept report is always the report written afresh.
class TestReportLines : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { useFixedFormatSettings(); }

    void init()
    {
        setTimeZone("Europe/Moscow");
        m_env = std::make_unique<TestEnvironment>();
        m_db = std::make_unique<Database>(m_env->workDir());
        EnsureTables(*m_db);
        m_journal = std::make_unique<TableView>(*m_db, journalViewDefinition());
        m_journal->open();
        m_lines = std::make_unique<ReportLines>(m_db.get());
    }

    void cleanup()
    {
        m_lines.reset();
        m_journal.reset();
        m_db.reset();
        m_env.reset();
    }

    void keptReportFollowsEveryChange_data()
    {
        QTest::addColumn<Change>("change");
        // the lines read ahead in slices after start-up, instead of by a first report
        QTest::addColumn<bool>("prepared");
        QTest::newRow("edit through another view") << Change::EditThroughAnotherView << false;
        QTest::newRow("edit through the journal") << Change::EditThroughTheJournal << false;
        QTest::newRow("edit still pending in the journal") << Change::EditPendingInTheJournal << false;
        QTest::newRow("delete") << Change::Delete << false;
        QTest::newRow("append") << Change::Append << false;
        QTest::newRow("edit rolled back") << Change::RolledBackEdit << false;
        QTest::newRow("bulk SQL") << Change::BulkSql << false;
        QTest::newRow("time zone") << Change::TimeZone << false;
        QTest::newRow("prepared, then appended") << Change::Append << true;
        QTest::newRow("prepared, then edited through another view") << Change::EditThroughAnotherView << true;
        QTest::newRow("prepared, then edit pending") << Change::EditPendingInTheJournal << true;
        QTest::newRow("prepared, then time zone") << Change::TimeZone << true;
    }

    void keptReportFollowsEveryChange()
    {
        USE_TIME_ZONE("Europe/Moscow");
        QFETCH(Change, change);
        QFETCH(bool, prepared);
        // more rows than one step of the preparation takes
        const int contacts = prepared ? 150 : 3;
        for (int i = 0; i < contacts; ++i) {
            appendContact(*m_journal, u"UA3AA%1"_s.arg(i), QTime(20, 5).addSecs(i));
        }
        if (prepared) {
            m_journal->first();
            int slices = 1;
            while (!m_lines->prepare(*m_journal, std::chrono::milliseconds(0))) {
                ++slices;
            }
            QVERIFY(slices > 1);
            // the operator's place in the journal grid stays
            QCOMPARE(m_journal->currentRow(), 0);
        }
        QCOMPARE(keptReport(), freshReport());

        m_journal->first();
        m_journal->next();
        switch (change) {
        case Change::EditThroughAnotherView: {
            TableView other(*m_db, journalViewDefinition());
            other.open();
            other.locateId(m_journal->currentId());
            other.edit();
            other.setValue(u"CallSign"_s, u"RK9XYZ"_s);
            other.post();
            break;
        }
        case Change::EditThroughTheJournal:
            m_journal->edit();
            m_journal->setValue(u"T"_s, QTime(1, 2, 3));
            m_journal->post();
            break;
        case Change::EditPendingInTheJournal:
            m_journal->edit();
            m_journal->setValue(u"RecvText"_s, u"33 333"_s);
            break;
        case Change::Delete:
            m_journal->remove();
            break;
        case Change::Append:
            appendContact(*m_journal, u"UA9ZZZ"_s, QTime(23, 0));
            break;
        case Change::RolledBackEdit: {
            const QByteArray before = keptReport();
            {
                Transaction transaction(*m_db);
                m_journal->edit();
                m_journal->setValue(u"CallSign"_s, u"LOST"_s);
                m_journal->post();
                QVERIFY(keptReport() != before);
            }
            QCOMPARE(keptReport(), before);
            break;
        }
        case Change::BulkSql:
            RunSql(*m_db, u"update Journal set SentText='22 999'"_s);
            break;
        case Change::TimeZone:
            setTimeZone("Asia/Kolkata");
            break;
        }
        const QByteArray kept = keptReport();
        QCOMPARE(kept, freshReport());
        QVERIFY(kept.contains(change == Change::TimeZone ? "14:35" : "16:05"));
    }

    void readAheadInsideTheWrite_data()
    {
        QTest::addColumn<int>("slicesBefore");
        QTest::newRow("read ahead from the start") << 0;
        QTest::newRow("a slice read ahead before") << 1;
    }

    // The progress shown while a report is written lets events run, the start-up read-ahead among them.
    void readAheadInsideTheWrite()
    {
        QFETCH(int, slicesBefore);
        {
            // more rows than the write shows progress for at once
            Transaction transaction(*m_db);
            for (int i = 0; i < 6000; ++i) {
                appendContact(*m_journal, u"UA3AA%1"_s.arg(i), QTime(20, 5).addSecs(i));
            }
            transaction.commit();
        }
        for (int slice = 0; slice < slicesBefore; ++slice) {
            QVERIFY(!m_lines->prepare(*m_journal, std::chrono::milliseconds(0)));
        }
        QObject readAhead;
        connect(&m_db->work(), &LongWork::progressChanged, &readAhead,
                [this] { m_lines->prepare(*m_journal, std::chrono::hours(1)); });
        const QByteArray kept = keptReport();
        QVERIFY(m_lines->prepare(*m_journal, std::chrono::milliseconds(0)));
        QCOMPARE(kept, freshReport());
        // nor does a report of the session later repeat a line
        appendContact(*m_journal, u"UA9ZZZ"_s, QTime(23, 0));
        QCOMPARE(keptReport(), freshReport());
    }

    void converterAgreesWithTheZoneRules_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QDate>("day");
        QTest::newRow("Moscow, no change") << QByteArray("Europe/Moscow") << QDate(2006, 10, 22);
        QTest::newRow("Moscow, clocks back") << QByteArray("Europe/Moscow") << QDate(2006, 10, 29);
        QTest::newRow("New York, clocks forward") << QByteArray("America/New_York") << QDate(2022, 3, 13);
        QTest::newRow("New York, clocks back") << QByteArray("America/New_York") << QDate(2022, 11, 6);
        QTest::newRow("Lord Howe, half an hour forward") << QByteArray("Australia/Lord_Howe") << QDate(2022, 10, 2);
        QTest::newRow("Lord Howe, half an hour back") << QByteArray("Australia/Lord_Howe") << QDate(2022, 4, 3);
        QTest::newRow("fixed offset") << QByteArray("<+0545>-5:45") << QDate(2022, 10, 22);
    }

    // Every second of the hours around the change, in an order that meets each minute more than once.
    void converterAgreesWithTheZoneRules()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QDate, day);
        setTimeZone(zone);
        ContactTimeConverter converter;
        for (int pass = 0; pass < 2; ++pass) {
            for (int second = 0; second < 4 * 3600; second += pass == 0 ? 7 : 13) {
                const QTime time = QTime(0, 0).addSecs(second).addMSecs(pass * 999);
                QCOMPARE(converter.toUtc(QVariant(day), QVariant(time)), contactTimeUtc(QVariant(day), QVariant(time)));
            }
        }
        QCOMPARE(converter.toUtc(QVariant(), QVariant()), contactTimeUtc(QVariant(), QVariant()));
    }

private:
    QByteArray reportIn(const QString& folder, ReportLines* lines)
    {
        QDir dir(m_env->workDir());
        dir.mkpath(folder);
        dir.cd(folder);
        writeReport(*m_journal, ScoreTotals{}, dir, lines);
        QFile file(dir.filePath(u"Report.txt"_s));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QByteArray keptReport() { return reportIn(u"kept"_s, m_lines.get()); }
    QByteArray freshReport() { return reportIn(u"fresh"_s, nullptr); }

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<TableView> m_journal;
    std::unique_ptr<ReportLines> m_lines;
};

QTEST_GUILESS_MAIN(TestReportLines)
#include "test_reportlines.moc"
