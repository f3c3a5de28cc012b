#include "shell/ErrorBox.h"
#include "shell/Unit1.h"
#include "support/Fakes.h"
#include "support/ParadoxFixtures.h"
#include "support/TestEnvironment.h"
#include "support/WindowControls.h"
#include "widgets/DataGrid.h"

#include <QFile>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using namespace paradoxfixtures;

// The window started in a contest folder of Paradox tables: told once, then showing the converted rows; a
// folder that cannot be converted is told why and left as it is.
class TestUnit1Paradox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void convertedRowsAreShownAfterOneMessage();
    void refusedFolderIsToldAndLeftAlone();

private:
    void start();

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TForm1> m_form;
    FakePrompter m_prompter;
    QStringList m_errors;
};

void TestUnit1Paradox::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_errors.clear();
    m_prompter.messages.clear();
    setErrorReporter([this](const QString& message) { m_errors << message; });
}

void TestUnit1Paradox::cleanup()
{
    m_form.reset();
    setErrorReporter({});
    m_env.reset();
}

void TestUnit1Paradox::start()
{
    m_form = std::make_unique<TForm1>();
    m_form->setPrompter(&m_prompter);
    controls(m_form).timer1().stop();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestUnit1Paradox::convertedRowsAreShownAfterOneMessage()
{
    copyFixture(u"v7_ki"_s, m_env->workDir());
    start();
    QTRY_COMPARE(m_prompter.messages.size(), 1);
    QVERIFY2(m_prompter.messages.first().contains(u"Journal (9 rows)"_s), qPrintable(m_prompter.messages.first()));
    QCOMPARE(controls(m_form).rxDBGrid3().model()->rowCount(), 9);
    QCOMPARE(m_errors, QStringList());
    QTest::qWait(50);
    QCOMPARE(m_prompter.messages.size(), 1);
}

void TestUnit1Paradox::refusedFolderIsToldAndLeftAlone()
{
    copyFixture(u"v7_edited"_s, m_env->workDir());
    QVERIFY(QFile(m_env->path(u"Contest.db"_s)).resize(2048 + 2048 + 100));
    const QByteArray damaged = readAll(m_env->path(u"Contest.db"_s));
    start();
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.first().contains(u"Contest.db: block 3 lies past the end of the file"_s),
             qPrintable(m_errors.first()));
    // no table of ours was made beside the Paradox table, which stays where it was
    QCOMPARE(readAll(m_env->path(u"Contest.db"_s)), damaged);
    QVERIFY(!QFile::exists(m_env->path(u"Journal.db"_s)));
    QVERIFY(!QFile::exists(m_env->path(u"Callsign.db"_s)));
    QVERIFY(m_prompter.messages.isEmpty());
}

QTEST_MAIN(TestUnit1Paradox)
#include "test_unit1paradox.moc"
