#include "support/ParadoxFixtures.h"
#include "support/WindowFixture.h"
#include "widgets/DataGrid.h"

using namespace Qt::Literals::StringLiterals;
using namespace paradoxfixtures;

// The window started in a contest folder of Paradox tables: told once, then showing the converted rows; a
// folder that cannot be converted is told why and left as it is.
class TestUnit1Paradox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_w = std::make_unique<WindowFixture>(); }
    void cleanup() { m_w.reset(); }
    void convertedRowsAreShownAfterOneMessage();
    void refusedFolderIsToldAndLeftAlone();

private:
    std::unique_ptr<WindowFixture> m_w;
};

void TestUnit1Paradox::convertedRowsAreShownAfterOneMessage()
{
    copyFixture(u"v7_ki"_s, m_w->env.workDir());
    m_w->start();
    QTRY_COMPARE(m_w->prompter.messages.size(), 1);
    QVERIFY2(m_w->prompter.messages.first().contains(u"Journal (9 rows)"_s),
             qPrintable(m_w->prompter.messages.first()));
    QCOMPARE(m_w->ui().rxDBGrid3().model()->rowCount(), 9);
    QCOMPARE(m_w->errors, QStringList());
    QTest::qWait(50);
    QCOMPARE(m_w->prompter.messages.size(), 1);
}

void TestUnit1Paradox::refusedFolderIsToldAndLeftAlone()
{
    copyFixture(u"v7_edited"_s, m_w->env.workDir());
    QVERIFY(QFile(m_w->env.path(u"Contest.db"_s)).resize(2048 + 2048 + 100));
    const QByteArray damaged = readAll(m_w->env.path(u"Contest.db"_s));
    m_w->start();
    QCOMPARE(m_w->errors.size(), 1);
    QVERIFY2(m_w->errors.first().contains(u"Contest.db: block 3 lies past the end of the file"_s),
             qPrintable(m_w->errors.first()));
    // no table of ours was made beside the Paradox table, which stays where it was
    QCOMPARE(readAll(m_w->env.path(u"Contest.db"_s)), damaged);
    QVERIFY(!QFile::exists(m_w->env.path(u"Journal.db"_s)));
    QVERIFY(!QFile::exists(m_w->env.path(u"Callsign.db"_s)));
    QVERIFY(m_w->prompter.messages.isEmpty());
}

QTEST_MAIN(TestUnit1Paradox)
#include "test_unit1paradox.moc"
