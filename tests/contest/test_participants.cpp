#include "contest/Participants.h"
#include "store/Cp1251.h"
#include "store/StoreError.h"
#include "support/ContestFixture.h"
#include "support/Fakes.h"

#include <QFile>
#include <QTest>

namespace
{
void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
} // namespace

class TestParticipants : public QObject
{
    Q_OBJECT

private:
    struct Contest : ContestFixture
    {
        int tours = 8;
        FakePrompter prompter;

        ParticipantViews views() { return {*callsign, *contest80, *contest80CW, *contest160, *contest160CW}; }
        MatrixParameters parameters(int contestNumber = 1)
        {
            return {contestNumber, [this] { return tours; }};
        }
        void newCallsign(const QString& typed)
        {
            prompter.answers.push_back(typed);
            NewCallsign(*db, views(), prompter, parameters());
        }
        void import(int contestNumber = 1)
        {
            ImportCallsign(*db, views(), prompter, env.path(QStringLiteral("Callsign.txt")), parameters(contestNumber));
        }
        QStringList participants()
        {
            QStringList list;
            Statement query = db->prepare(QStringLiteral("SELECT CallSign FROM Callsign ORDER BY ID"));
            while (query.step()) {
                list.append(query.column(0).toString());
            }
            return list;
        }
    };

private Q_SLOTS:
    void newCallsignCreatesMatrixInOrder();
    void newCallsignLengthCountsSpaces_data();
    void newCallsignLengthCountsSpaces();
    void newCallsignTellsWhyItRefuses_data();
    void newCallsignTellsWhyItRefuses();
    void newCallsignIgnoresCaseOfKnownParticipant();
    void knownParticipantWithoutRowsGetsMatrixAsTyped();
    void otherContestNumberGetsNoNewRows();
    void viewsAreBackAfterNewCallsign();
    void zeroToursThenImportCompletesMatrix();
    void importGivesAMatrixOnlyToWhomHasNoRow_data();
    void importGivesAMatrixOnlyToWhomHasNoRow();
    void importSkipsShortLinesAndKeepsRemarks();
    void importTakesFourCharacterCallsigns_data();
    void importTakesFourCharacterCallsigns();
    void importReadsUtf8AndCodePage1251();
    void importTellsCodePage1251FromUtf8_data();
    void importTellsCodePage1251FromUtf8();
    void importTellsWhatBecameOfTheLines();
    void importTwiceAddsNobodyTwice();
    void clearLeavesJournal();
    void failedImportLeavesNothingAndReopensViews();
    void failedNewCallsignKeepsNoParticipant();
};

void TestParticipants::newCallsignCreatesMatrixInOrder()
{
    Contest c;
    c.newCallsign(QStringLiteral("QQ0QQQ"));
    QCOMPARE(c.participants(), QStringList{QStringLiteral("QQ0QQQ")});
    Statement rows = c.db->prepare(QStringLiteral(
        "SELECT Diapasone, Modulation, TourNumber, ContestNumber, CallSign, D, T FROM Contest ORDER BY ID"));
    int index = 0;
    const QList<QPair<int, QString>> order = {{80, QStringLiteral("SSB")},
                                              {80, QStringLiteral("CW")},
                                              {160, QStringLiteral("SSB")},
                                              {160, QStringLiteral("CW")}};
    while (rows.step()) {
        QCOMPARE(rows.column(0).toInt(), order.at(index / 8).first);
        QCOMPARE(rows.column(1).toString(), order.at(index / 8).second);
        QCOMPARE(rows.column(2).toInt(), index % 8 + 1);
        QCOMPARE(rows.column(3).toInt(), 1);
        QCOMPARE(rows.column(4).toString(), QStringLiteral("QQ0QQQ"));
        QVERIFY(rows.column(5).isNull() && rows.column(6).isNull());
        ++index;
    }
    QCOMPARE(index, 32);
    QCOMPARE(c.contest80->recordCount(), 8);
    QCOMPARE(c.contest160CW->recordCount(), 8);
}

void TestParticipants::newCallsignLengthCountsSpaces_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");

    QTest::newRow("five with spaces") << QStringLiteral("Q Q 0") << QStringLiteral("QQ0");
    QTest::newRow("eleven with spaces") << QStringLiteral("QQ 0 QQQ QQ") << QString();
    QTest::newRow("three") << QStringLiteral("QQ0") << QString();
    QTest::newRow("ten") << QStringLiteral("UA9/DL1ABC") << QStringLiteral("UA9/DL1ABC");
}

void TestParticipants::newCallsignLengthCountsSpaces()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    Contest c;
    c.newCallsign(typed);
    QCOMPARE(c.participants(), stored.isEmpty() ? QStringList() : QStringList{stored});
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest")), stored.isEmpty() ? 0 : 32);
}

void TestParticipants::newCallsignTellsWhyItRefuses_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");

    const QString refused = QStringLiteral("New Callsign: nothing added.\n");
    QTest::newRow("five blanks") << QStringLiteral("     ") << refused + QStringLiteral("The callsign is blank.");
    QTest::newRow("blanks and tabs") << QStringLiteral(" \t \t ") << refused + QStringLiteral("The callsign is blank.");
    QTest::newRow("three") << QStringLiteral("QQ0")
                           << refused + QStringLiteral("\"QQ0\" is shorter than 5 characters (spaces count).");
    QTest::newRow("eleven with spaces") << QStringLiteral(
        "QQ 0 QQQ QQ") << refused + QStringLiteral("\"QQ 0 QQQ QQ\" is longer than 10 characters (spaces count).");
    QTest::newRow("accepted") << QStringLiteral("QQ0QQQ") << QString();
    QTest::newRow("four, 1x2") << QStringLiteral("R7AB") << QString();
    QTest::newRow("four, Cyrillic") << QStringLiteral("рм2д") << QString();
    QTest::newRow("four, no digit") << QStringLiteral(
        "RAAB") << refused + QStringLiteral("\"RAAB\" is shorter than 5 characters (spaces count).");
    QTest::newRow("four, no letter") << QStringLiteral(
        "1234") << refused + QStringLiteral("\"1234\" is shorter than 5 characters (spaces count).");
    QTest::newRow("four with a space") << QStringLiteral(
        "R7A ") << refused + QStringLiteral("\"R7A \" is shorter than 5 characters (spaces count).");
}

void TestParticipants::newCallsignTellsWhyItRefuses()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Contest c;
    c.newCallsign(typed);
    QCOMPARE(c.prompter.messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(c.participants().size(), message.isEmpty() ? 1 : 0);
}

void TestParticipants::newCallsignIgnoresCaseOfKnownParticipant()
{
    Contest c;
    c.newCallsign(QStringLiteral("QQ0QQQ"));
    c.newCallsign(QStringLiteral("qq0qqq"));
    QCOMPARE(c.participants(), QStringList{QStringLiteral("QQ0QQQ")});
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest")), 32);
}

void TestParticipants::knownParticipantWithoutRowsGetsMatrixAsTyped()
{
    Contest c;
    c.newCallsign(QStringLiteral("QQ0QQQ"));
    c.db->execute(QStringLiteral("delete from Contest"));
    c.newCallsign(QStringLiteral("qq0qqq"));
    QCOMPARE(c.participants(), QStringList{QStringLiteral("QQ0QQQ")});
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest where CallSign='qq0qqq'")), 32);
}

void TestParticipants::otherContestNumberGetsNoNewRows()
{
    Contest c;
    c.newCallsign(QStringLiteral("QQ0QQQ"));
    c.prompter.answers.push_back(QStringLiteral("QQ0QQQ"));
    NewCallsign(*c.db, c.views(), c.prompter, c.parameters(2));
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest")), 32);
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest where ContestNumber=2")), 0);
}

void TestParticipants::viewsAreBackAfterNewCallsign()
{
    Contest c;
    c.contest80->setFilter(bandFilter(bandViews().at(0), 3));
    c.newCallsign(QStringLiteral("QQ0QQQ"));
    QVERIFY(c.contest160->isOpen());
    QVERIFY(c.contest80->filtered());
    QCOMPARE(c.contest80->filter(), bandFilter(bandViews().at(0), 3));
    QCOMPARE(c.contest80->recordCount(), 1);
    QCOMPARE(c.contest160->recordCount(), 8);
    // the views left open follow the new rows without a reopen
    QCOMPARE(c.contest80CW->recordCount(), 8);
}

void TestParticipants::zeroToursThenImportCompletesMatrix()
{
    Contest c;
    c.tours = 0;
    c.newCallsign(QStringLiteral("QQ0QQQ"));
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest")), 0);
    c.tours = 2;
    c.import(); // Callsign.txt is missing: only the matrices are completed
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest")), 8);
    QVERIFY(c.contest80CW->isOpen() && c.contest160->isOpen() && c.contest160CW->isOpen());
    QVERIFY(c.contest80->filtered());
    QCOMPARE(c.contest80->recordCount(), 2);
}

void TestParticipants::importGivesAMatrixOnlyToWhomHasNoRow_data()
{
    QTest::addColumn<QStringList>("changes"); // made to RA3ABC's four rows before the import
    QTest::addColumn<int>("rows");            // RA3ABC's rows after it
    QTest::newRow("every row gone") << QStringList{QStringLiteral("DELETE FROM Contest WHERE CallSign='RA3ABC'")} << 4;
    // its one row stands apart from its others' place, among the worked rows
    QTest::newRow("one row left, worked")
        << QStringList{QStringLiteral("DELETE FROM Contest WHERE CallSign='RA3ABC' AND Modulation='SSB'"),
                       QStringLiteral("DELETE FROM Contest WHERE CallSign='RA3ABC' AND Diapasone=80"),
                       QStringLiteral("UPDATE Contest SET D='2006-10-22', T='20:00:00' WHERE CallSign='RA3ABC'")}
        << 1;
    QTest::newRow("rows in small letters")
        << QStringList{QStringLiteral("UPDATE Contest SET CallSign='ra3abc' WHERE CallSign='RA3ABC'")} << 4;
}

// Only a participant without a single contest row, in any letter case, gets a new matrix.
void TestParticipants::importGivesAMatrixOnlyToWhomHasNoRow()
{
    QFETCH(QStringList, changes);
    QFETCH(int, rows);
    Contest c;
    c.tours = 1;
    for (const QString& callsign : {QStringLiteral("QQ0QQQ"), QStringLiteral("RA3ABC"), QStringLiteral("UA1XYZ")}) {
        c.newCallsign(callsign);
    }
    for (const QString& change : changes) {
        c.db->prepare(change).run();
    }
    c.import(); // Callsign.txt is missing: only the matrices are completed
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest where upper(CallSign)='RA3ABC'")), rows);
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest")), 8 + rows);
}

void TestParticipants::importSkipsShortLinesAndKeepsRemarks()
{
    Contest c;
    writeFile(c.env.path(QStringLiteral("Callsign.txt")),
              QByteArrayLiteral("  QQ0QQQ  \r\n\r\nABCD\nQQ0QQQ remarks\r\nRA3 XYZ\n"));
    c.import();
    QCOMPARE(c.participants(),
             (QStringList{QStringLiteral("QQ0QQQ"), QStringLiteral("QQ0QQQrema"), QStringLiteral("RA3XYZ")}));
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest")), 3 * 32);
}

void TestParticipants::importTakesFourCharacterCallsigns_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("taken");

    QTest::newRow("1x2") << QByteArrayLiteral("RC9O") << QStringLiteral("RC9O");
    QTest::newRow("spaces around and between") << QByteArrayLiteral(" RT 5Z ") << QStringLiteral("RT5Z");
    QTest::newRow("Cyrillic, code page 1251") << toCp1251(QStringLiteral("рм2д")) << QStringLiteral("рм2д");
    QTest::newRow("no digit") << QByteArrayLiteral("RAAB") << QString();
    QTest::newRow("no letter") << QByteArrayLiteral("1234") << QString();
    QTest::newRow("three and a tab") << QByteArrayLiteral("R7A\t") << QString();
    QTest::newRow("three") << QByteArrayLiteral("R7A") << QString();
}

void TestParticipants::importTakesFourCharacterCallsigns()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, taken);
    Contest c;
    writeFile(c.env.path(QStringLiteral("Callsign.txt")), line + "\r\n");
    c.import();
    QCOMPARE(c.participants(), taken.isEmpty() ? QStringList() : QStringList{taken});
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest")), taken.isEmpty() ? 0 : 32);
    QCOMPARE(c.prompter.messages.last().contains(QStringLiteral("shorter than 5 characters")), taken.isEmpty());
}

void TestParticipants::importReadsUtf8AndCodePage1251()
{
    const QString remark = QStringLiteral("RA3ABC Иван");
    for (const QByteArray& bytes : {remark.toUtf8(), toCp1251(remark)}) {
        Contest c;
        writeFile(c.env.path(QStringLiteral("Callsign.txt")), bytes + "\r\n");
        c.import();
        QCOMPARE(c.participants(), QStringList{QStringLiteral("RA3ABCИван")});
    }
}

void TestParticipants::importTellsCodePage1251FromUtf8_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");

    // each of these code page 1251 lines is valid UTF-8 as well
    const QStringList accidental = {QStringLiteral("UR5ЦІ"), QStringLiteral("RA9ЯЁ"), QStringLiteral("UA3ГЁ"),
                                    QStringLiteral("RA3РЁ"), QStringLiteral("UA0ДЃ"), QStringLiteral("UA3пЁЁ")};
    QTest::newRow("code page 1251") << toCp1251(accidental.join(u'\n')) << accidental;
    QTest::newRow("UTF-8, first line either way")
        << QStringLiteral("RA3ABШ\nUA9XYZ Пётр\n").toUtf8()
        << QStringList{QStringLiteral("RA3ABШ"), QStringLiteral("UA9XYZПётр")};
    QTest::newRow("both, in blocks") << toCp1251(QStringLiteral("UA9XYZ Пётр\nRA3РЁ\n"))
            + QStringLiteral("RA3ABC Иван\nUR3ABШ\n").toUtf8()
                                     << QStringList{QStringLiteral("UA9XYZПётр"), QStringLiteral("RA3РЁ"),
                                                    QStringLiteral("RA3ABCИван"), QStringLiteral("UR3ABШ")};
}

void TestParticipants::importTellsCodePage1251FromUtf8()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    Contest c;
    writeFile(c.env.path(QStringLiteral("Callsign.txt")), bytes);
    c.import();
    QCOMPARE(c.participants(), expected);
}

void TestParticipants::importTellsWhatBecameOfTheLines()
{
    Contest c;
    c.import();
    QCOMPARE(c.prompter.messages.size(), 1);
    QVERIFY(c.prompter.messages.last().startsWith(QStringLiteral("Import: Callsign.txt could not be read (")));

    c.newCallsign(QStringLiteral("RA3ABC"));
    writeFile(c.env.path(QStringLiteral("Callsign.txt")),
              QByteArrayLiteral("RA3ABC\r\nRRDQ\r\n\t\t\t\t\t\r\n     \r\nUA9XYZ\r\nRT 4 \r\nua9xyz\r\n"));
    c.import();
    QCOMPARE(c.participants(), (QStringList{QStringLiteral("RA3ABC"), QStringLiteral("UA9XYZ")}));
    QCOMPARE(c.prompter.messages.size(), 2);
    QCOMPARE(c.prompter.messages.last(),
             QStringLiteral("Import: 1 participant added, 2 already in the list.\n"
                            "2 lines skipped:\n"
                            "line 2 \"RRDQ\": shorter than 5 characters\n"
                            "line 6 \"RT4\": shorter than 5 characters"));

    QByteArray shortLines;
    for (int line = 1; line <= 25; ++line) {
        shortLines += QByteArray::number(line) + "A\n";
    }
    writeFile(c.env.path(QStringLiteral("Callsign.txt")), shortLines);
    c.import();
    QCOMPARE(c.prompter.messages.size(), 3);
    const QString message = c.prompter.messages.last();
    QVERIFY(
        message.startsWith(QStringLiteral("Import: 0 participants added, 0 already in the list.\n25 lines skipped:")));
    QVERIFY(message.endsWith(QStringLiteral("\nline 20 \"20A\": shorter than 5 characters\n... and 5 more.")));
    QCOMPARE(message.count(QStringLiteral("\nline ")), 20);
}

void TestParticipants::importTwiceAddsNobodyTwice()
{
    Contest c;
    writeFile(c.env.path(QStringLiteral("Callsign.txt")), QByteArrayLiteral("QQ0QQQ remarks\nra3abc\n"));
    c.import();
    writeFile(c.env.path(QStringLiteral("Callsign.txt")), QByteArrayLiteral("QQ0QQQ remarks\nRA3ABC\n"));
    c.import();
    QCOMPARE(c.participants(), (QStringList{QStringLiteral("QQ0QQQrema"), QStringLiteral("ra3abc")}));
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest")), 64);
}

void TestParticipants::clearLeavesJournal()
{
    Contest c;
    c.newCallsign(QStringLiteral("QQ0QQQ"));
    c.journal->append();
    c.journal->setValue(QStringLiteral("CallSign"), QStringLiteral("QQ0QQQ"));
    c.journal->post();
    ClearContestTable(*c.db, c.views());
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest")), 0);
    QCOMPARE(c.count(QStringLiteral("select count(*) from Callsign")), 0);
    QCOMPARE(c.journal->recordCount(), 1);
    for (TableView* view : c.all()) {
        QVERIFY(view->isOpen());
    }
    QCOMPARE(c.contest80->recordCount(), 0);
}

void TestParticipants::failedImportLeavesNothingAndReopensViews()
{
    Contest c;
    c.newCallsign(QStringLiteral("QQ0QQQ"));
    writeFile(c.env.path(QStringLiteral("Callsign.txt")), QByteArrayLiteral("RA3ABC\nRA3XYZ\n"));
    c.failInserts(QStringLiteral("Contest"));
    QVERIFY_THROWS_EXCEPTION(StoreError, c.import());
    QCOMPARE(c.participants(), QStringList{QStringLiteral("QQ0QQQ")});
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest")), 32);
    QVERIFY(c.contest80CW->isOpen() && c.contest160->isOpen() && c.contest160CW->isOpen());
    QVERIFY(c.contest80->filtered());
    QCOMPARE(c.contest80->recordCount(), 8);
    QCOMPARE(c.callsign->recordCount(), 1);

    c.allowInserts(QStringLiteral("Contest"));
    c.import();
    QCOMPARE(c.participants().size(), 3);
    QCOMPARE(c.count(QStringLiteral("select count(*) from Contest")), 96);
}

void TestParticipants::failedNewCallsignKeepsNoParticipant()
{
    Contest c;
    c.failInserts(QStringLiteral("Contest"));
    QVERIFY_THROWS_EXCEPTION(StoreError, c.newCallsign(QStringLiteral("QQ0QQQ")));
    QCOMPARE(c.participants(), QStringList());
    QVERIFY(c.contest160->isOpen());
    QVERIFY(c.contest80->filtered());
}

QTEST_GUILESS_MAIN(TestParticipants)
#include "test_participants.moc"
