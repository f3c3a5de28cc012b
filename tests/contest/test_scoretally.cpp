#include "contest/FormatSettings.h"
#include "contest/ReportLines.h"
#include "contest/Score.h"
#include "contest/ScoreTally.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/SqlRoutines.h"
#include "store/Statement.h"
#include "store/TableLayouts.h"
#include "store/TableNames.h"
#include "store/TableView.h"
#include "store/Transaction.h"
#include "store/ViewDefinitions.h"
#include "support/TestEnvironment.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace
{
// values that group apart only by case, a trailing space, emptiness or NULL
const QVariantList kCallSigns = {u"UA3AAA"_s, u"ua3aaa"_s, u"UA3AAA "_s, u"RA9XYZ"_s, u""_s, QVariant()};
const QVariantList kKis = {u"23"_s, u"01"_s, u"1"_s, u""_s, QVariant()};
// KI as another program may write it: numbers equal by value are one region, a real or a whole one
const QVariantList kWrittenKis = {QVariant(1), QVariant(1.0), QVariant(-0.0), QVariant(0), QVariant(2.5), u"1"_s};
const QStringList kCorrectedFields = {kFieldCallSign, kFieldKi, kFieldContestNumber};
constexpr int kSteps = 400;
} // namespace

// The score and the report body kept from contact to contact are always those counted and built afresh.
class TestScoreTally : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { useFixedFormatSettings(); }

    void keptAlwaysEqualsFresh_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("type");
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<bool>("followed");
        QTest::addColumn<bool>("readAhead");
        QTest::newRow("journal as created") << kFieldKi << u"Char(2)"_s << 1u << true << false;
        // the rows read ahead a step at a time while contacts come in
        QTest::newRow("read ahead") << kFieldKi << u"Char(2)"_s << 7u << true << true;
        QTest::newRow("read ahead, callsigns without case")
            << kFieldCallSign << u"Char(10) COLLATE NOCASE"_s << 3u << false << true;
        // journals made elsewhere: KI kept as numbers ("01" and "1" are one region) or as written (1 and 1.0
        // are one region, "1" another), and callsigns that group without regard to case, which cannot be
        // followed row by row and are counted afresh
        QTest::newRow("KI as numbers") << kFieldKi << u"Numeric"_s << 5u << true << false;
        QTest::newRow("KI as written") << kFieldKi << u"Blob"_s << 5u << true << false;
        QTest::newRow("callsigns without case")
            << kFieldCallSign << u"Char(10) COLLATE NOCASE"_s << 3u << false << false;
    }

    void keptAlwaysEqualsFresh()
    {
        QFETCH(QString, field);
        QFETCH(QString, type);
        QFETCH(quint32, seed);
        QFETCH(bool, followed);
        QFETCH(bool, readAhead);
        TestEnvironment env;
        Database db(env.workDir());
        QList<ColumnDeclaration> columns = tableColumns(kTableJournal);
        for (ColumnDeclaration& column : columns) {
            if (column.name == field) {
                column.type = type;
            }
        }
        db.execute(createTableSql(kTableJournal, columns));
        EnsureTables(db);
        TableView journal(db, journalViewDefinition());
        TableView other(db, journalViewDefinition());
        journal.open();
        other.open();
        ScoreTally tally(db);
        // the first count is the engine's; the rows to follow are read at the next update
        tally.score(1);
        ReportLines lines(&db);
        QRandomGenerator random(seed);
        qint64 contest = 1;
        const auto pick = [&random](const QVariantList& values) { return values.at(random.bounded(values.size())); };
        const auto append = [&] {
            journal.append();
            journal.setValue(kFieldContestNumber, random.bounded(3) == 0 ? 2 : 1);
            journal.setValue(kFieldCallSign, pick(kCallSigns));
            journal.setValue(kFieldKi, pick(kKis));
            journal.setValue(kFieldDate, QDate(2006, 10, 22));
            journal.setValue(kFieldTime, QTime(20, 0).addSecs(random.bounded(7200)));
            journal.post();
        };
        const auto correct = [&](TableView& view) {
            if (!view.locateId(journal.idAt(random.bounded(journal.recordCount())))) {
                return;
            }
            view.edit();
            const QString field = kCorrectedFields.at(random.bounded(kCorrectedFields.size()));
            view.setValue(field,
                          field == kFieldContestNumber ? QVariant(random.bounded(1, 3))
                                                       : pick(field == kFieldKi ? kKis : kCallSigns));
            view.post();
        };
        const auto writeElsewhere = [&] {
            const qint64 id = journal.idAt(random.bounded(journal.recordCount()));
            Statement update = db.prepare(u"UPDATE Journal.Journal SET KI=? WHERE ID=?"_s);
            update.bindAll({pick(kWrittenKis), id});
            update.run();
            db.notifyRowChanged(FolderTable::Journal, id, nullptr);
        };
        const auto check = [&](int step, const char* what) {
            if (readAhead) {
                // reading starts over now and then, as after bulk SQL, so that many steps find it half-way
                if (step % 25 == 0) {
                    db.notifyTableReset(FolderTable::Journal);
                }
                if (!tally.prepare(contest, std::chrono::milliseconds(0))) {
                    return;
                }
                // what was read ahead is kept as it is, not counted again
                QVERIFY2(tally.follows() == followed, qPrintable(u"step %1, read ahead"_s.arg(step)));
            }
            const QString kept = scoreStatusText(tally.score(contest));
            const QString fresh = scoreStatusText(countScore(db, contest));
            const QString where = u"step %1 (%2)"_s.arg(step).arg(QString::fromLatin1(what));
            QVERIFY2(kept == fresh, qPrintable(where + u": kept "_s + kept + u", counted "_s + fresh));
            // keys that group otherwise than the engine would count afresh every time instead
            QVERIFY2(tally.follows() == followed, qPrintable(where));
            QVERIFY2(lines.body(journal) == ReportLines(nullptr).body(journal), qPrintable(where));
        };

        // one transaction around it all keeps the many writes off the disk; the nested ones still roll back
        Transaction whole(db);
        for (int step = 0; step < kSteps; ++step) {
            const int roll = journal.recordCount() < 3 ? 0 : random.bounded(100);
            const char* what = "append";
            if (roll < 50) {
                append();
            } else if (roll < 65) {
                what = "correction";
                correct(random.bounded(2) == 0 ? journal : other);
            } else if (roll < 75) {
                what = "written elsewhere";
                writeElsewhere();
            } else if (roll < 88) {
                what = "deletion";
                journal.locateId(journal.idAt(random.bounded(journal.recordCount())));
                journal.remove();
            } else if (roll < 94) {
                what = "rolled back";
                Transaction transaction(db);
                append();
                correct(other);
                check(step, "inside a transaction");
                if (QTest::currentTestFailed()) {
                    return;
                }
            } else if (roll < 97) {
                what = "bulk SQL";
                QVERIFY(RunSql(db, u"update Journal set KI=CAST('23' AS BLOB) where ID % 4 = %1"_s.arg(step % 4)));
                QVERIFY(RunSql(db, u"update Journal set CallSign=upper(CallSign) where ID % 3 = %1"_s.arg(step % 3)));
                QVERIFY(RunSql(db, u"update Journal set KI=iif(ID % 2, 1, 1.0) where ID % 5 = %1"_s.arg(step % 5)));
            } else {
                what = "other contest";
                contest = 3 - contest;
            }
            check(step, what);
            if (QTest::currentTestFailed()) {
                return;
            }
        }
    }

    // A row changed without telling the store stands for the rows a contact did not touch: the kept score
    // reads the contact's row only, and counts the journal again once the table is reset.
    void contactReadsOnlyItsOwnRow()
    {
        TestEnvironment env;
        Database db(env.workDir());
        EnsureTables(db);
        QVERIFY(RunSql(db, u"insert into Journal (CallSign, ContestNumber) values ('UA3AAA', 1)"_s));
        ScoreTally tally(db);
        QCOMPARE(tally.score(1).correspondents, 1);
        QCOMPARE(tally.score(1).correspondents, 1);
        db.prepare(u"UPDATE Journal.Journal SET CallSign='UA1AAA'"_s).run();
        TableView journal(db, journalViewDefinition());
        journal.open();
        journal.append();
        journal.setValue(kFieldCallSign, u"UA1AAA"_s);
        journal.setValue(kFieldContestNumber, 1);
        journal.post();
        QCOMPARE(tally.score(1).correspondents, 2);
        db.notifyTableReset(FolderTable::Journal);
        QCOMPARE(tally.score(1).correspondents, 1);
    }
};

QTEST_GUILESS_MAIN(TestScoreTally)
#include "test_scoretally.moc"
