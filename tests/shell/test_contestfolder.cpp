#include "shell/ContestFile.h"
#include "shell/ContestFolder.h"
#include "shell/ErrorBox.h"
#include "shell/Unit1.h"
#include "store/Database.h"
#include "store/FolderLock.h"
#include "store/TableView.h"
#include "support/Fakes.h"
#include "support/TestEnvironment.h"
#include "support/WindowControls.h"
#include "widgets/DataGrid.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"
#include "widgets/TimePicker.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <deque>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
class FakeFolderPrompter : public FolderPrompter
{
public:
    std::deque<QString> answers;
    QStringList proposals;
    QStringList refusals;

    QString askFolder(const QString& proposal) override
    {
        proposals.append(proposal);
        if (answers.empty()) {
            return {};
        }
        const QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void showRefusal(const QString& text) override { refusals.append(text); }
};
} // namespace

// Which contest folder the program opens, and File -> Open Contest Folder... (Ctrl+O).
class TestContestFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startFolderFollowsArgumentCurrentOrLast();
    void firstStartAsksProposingTourlogInHome();
    void folderThatCannotBeMadeIsRefusedAndNothingIsMade();
    void ctrlOKeepsTheFirstFolderAndItsSettings();
    void ctrlOOnAFolderLockedElsewhereKeepsTheFirstOpen();
    void eachFolderCarriesItsOwnContest();

private:
    QString folder(const QString& name) const { return m_env->path(name); }
    bool openSession(const QString& folder);
    bool switchWithCtrlO(const QString& folder);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<ContestFolderSession> m_session;
    FakeFolderPrompter m_folders;
    FakePrompter m_prompter;
    FakeClock m_clock;
    QStringList m_errors;
};

void TestContestFolder::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_folders = FakeFolderPrompter();
    m_prompter.answers.clear();
    m_errors.clear();
    setErrorReporter([this](const QString& message) { m_errors << message; });
}

void TestContestFolder::cleanup()
{
    m_session.reset();
    m_env.reset();
    setErrorReporter({});
}

bool TestContestFolder::openSession(const QString& folder)
{
    m_session = std::make_unique<ContestFolderSession>(m_folders);
    m_session->setWindowSetup([this](TForm1& window) {
        window.setPrompter(&m_prompter);
        window.setClock(&m_clock);
        controls(window).timer1().stop();
    });
    return m_session->open(folder) && QTest::qWaitForWindowActive(m_session->window());
}

bool TestContestFolder::switchWithCtrlO(const QString& folder)
{
    m_folders.answers = {folder};
    QTest::keyClick(m_session->window(), Qt::Key_O, Qt::ControlModifier);
    return QTest::qWaitFor([this] { return m_folders.answers.empty(); }) && m_session->window()
        && QTest::qWaitForWindowActive(m_session->window());
}

void TestContestFolder::startFolderFollowsArgumentCurrentOrLast()
{
    QCOMPARE(startFolder({u"autumn"_s, false}, m_folders), folder(u"autumn"_s));
    QCOMPARE(startFolder({}, m_folders), QDir::currentPath());
    // an argument wins over the remembered folder
    QCOMPARE(startFolder({u"autumn"_s, true}, m_folders), folder(u"autumn"_s));

    QVERIFY(openSession(u"autumn"_s));
    QCOMPARE(m_session->window()->database().directory(), folder(u"autumn"_s));
    QVERIFY(m_session->window()->windowTitle().endsWith(u" - "_s + QDir::toNativeSeparators(folder(u"autumn"_s))));
    m_session.reset();
    QCOMPARE(startFolder({QString(), true}, m_folders), folder(u"autumn"_s));
    QCOMPARE(m_folders.proposals, QStringList());

    // a remembered folder that has gone is asked for again, not made anew behind the operator's back
    QVERIFY(QDir(folder(u"autumn"_s)).removeRecursively());
    QCOMPARE(startFolder({QString(), true}, m_folders), QString());
    QCOMPARE(m_folders.proposals, QStringList{folder(u"autumn"_s)});
    QVERIFY(!QFile::exists(folder(u"autumn"_s)));
}

void TestContestFolder::firstStartAsksProposingTourlogInHome()
{
    m_folders.answers = {folder(u"first"_s)};
    QCOMPARE(startFolder({QString(), true}, m_folders), folder(u"first"_s));
    QCOMPARE(m_folders.proposals, QStringList{QDir::homePath() + u"/Tourlog"_s});
    // cancelled: nothing to open
    QCOMPARE(startFolder({QString(), true}, m_folders), QString());
}

void TestContestFolder::folderThatCannotBeMadeIsRefusedAndNothingIsMade()
{
    QFile blocker(folder(u"file"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString blocked = QDir::toNativeSeparators(folder(u"file/contest"_s));
    ContestFolderSession session(m_folders);
    QVERIFY(!session.open(blocked));
    QCOMPARE(m_folders.refusals, QStringList{u"Cannot create the contest folder %1."_s.arg(blocked)});
    QVERIFY(!session.window());
    QCOMPARE(QDir(m_env->workDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{u"file"_s});
}

void TestContestFolder::ctrlOKeepsTheFirstFolderAndItsSettings()
{
    QVERIFY(openSession(folder(u"first"_s)));
    m_prompter.answers = {u"RA3ABC"_s};
    QTest::keyClick(&controls(m_session->window()).bandGrid(0), Qt::Key_Insert);
    QCOMPARE(controls(m_session->window()).callsignView().recordCount(), 1);
    controls(m_session->window()).kiEdit().setValue(37);

    QVERIFY(switchWithCtrlO(folder(u"second"_s)));
    TForm1* second = m_session->window();
    QCOMPARE(second->database().directory(), folder(u"second"_s));
    QVERIFY(second->windowTitle().contains(QDir::toNativeSeparators(folder(u"second"_s))));
    QCOMPARE(QDir::currentPath(), folder(u"second"_s));
    QCOMPARE(controls(second).callsignView().recordCount(), 0);
    // the settings the first window saved on closing are the ones the next one restores
    QCOMPARE(controls(second).kiEdit().value(), 37);
    QCOMPARE(lastContestFolder(), folder(u"second"_s));
    {
        const FolderLock firstLock(folder(u"first"_s));
        QVERIFY(firstLock.acquired());
    }

    QVERIFY(switchWithCtrlO(folder(u"first"_s)));
    QCOMPARE(controls(m_session->window()).callsignView().recordCount(), 1);
    QCOMPARE(m_errors, QStringList());
}

void TestContestFolder::ctrlOOnAFolderLockedElsewhereKeepsTheFirstOpen()
{
    QVERIFY(openSession(folder(u"first"_s)));
    TForm1* first = m_session->window();
    QVERIFY(QDir().mkpath(folder(u"taken"_s)));
    const FolderLock otherCopy(folder(u"taken"_s));
    QVERIFY(otherCopy.acquired());

    m_folders.answers = {folder(u"taken"_s)};
    QTest::keyClick(first, Qt::Key_O, Qt::ControlModifier);
    QTRY_COMPARE(m_folders.refusals.size(), 1);
    QVERIFY(m_folders.refusals.first().contains(u"already running"_s));
    QCOMPARE(m_session->window(), first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->database().directory(), folder(u"first"_s));
    const FolderLock stillHeld(folder(u"first"_s));
    QVERIFY(!stillHeld.acquired());
}

void TestContestFolder::eachFolderCarriesItsOwnContest()
{
    const auto ui = [this] { return controls(m_session->window()); };
    const auto notice = [&ui] { return ui().statusBar1().currentMessage(); };
    QVERIFY(openSession(folder(u"first"_s)));
    QCOMPARE(ui().nppEdit().value(), 1);
    QVERIFY2(notice().contains(u"new contest"_s), qPrintable(notice()));
    ui().contestNumber().setValue(3);
    ui().tours().setValue(4);
    ui().begTime().setTime(QTime(3, 0));
    ui().kiEdit().setValue(37);
    m_prompter.answers = {u"RA3ABC"_s, u"23 015"_s};
    QTest::keyClick(&ui().bandGrid(0), Qt::Key_Insert);
    QTest::keyClick(&ui().bandGrid(0), Qt::Key_Return);
    QCOMPARE(ui().nppEdit().value(), 2);
    // the serial is in the folder as soon as the contact is, in a file the operator can read
    QFile ownFile(QDir(folder(u"first"_s)).filePath(QString::fromLatin1(ContestFile::kFileName)));
    QVERIFY(ownFile.open(QIODevice::ReadOnly));
    const QByteArray own = ownFile.readAll();
    QVERIFY(own.contains("Serial=2") && own.contains("StartTime=03:00:00"));

    // a new folder starts at 001 and says so; the rest of the last contest is shown for the operator to set
    QVERIFY(switchWithCtrlO(folder(u"second"_s)));
    QCOMPARE(ui().nppEdit().value(), 1);
    QCOMPARE(ui().contestNumber().value(), 3);
    QVERIFY2(notice().contains(u"new contest"_s), qPrintable(notice()));
    ui().contestNumber().setValue(5);
    ui().begTime().setTime(QTime(21, 30));
    ui().kiEdit().setValue(41);

    // the first folder goes on with its own contest; KI is the operator's own
    QVERIFY(switchWithCtrlO(folder(u"first"_s)));
    QCOMPARE(ui().nppEdit().value(), 2);
    QCOMPARE(ui().contestNumber().value(), 3);
    QCOMPARE(ui().tours().value(), 4);
    QCOMPARE(ui().begTime().time(), QTime(3, 0));
    QCOMPARE(ui().kiEdit().value(), 41);
    QVERIFY(notice().isEmpty());

    // a folder of an older Tourlog takes the settings file's values once, and keeps them from then on
    QVERIFY(QFile::remove(QDir(folder(u"second"_s)).filePath(QString::fromLatin1(ContestFile::kFileName))));
    QVERIFY(switchWithCtrlO(folder(u"second"_s)));
    QCOMPARE(ui().nppEdit().value(), 2);
    QCOMPARE(ui().contestNumber().value(), 3);
    QVERIFY(notice().isEmpty());
    QVERIFY(QFile::exists(QDir(folder(u"second"_s)).filePath(QString::fromLatin1(ContestFile::kFileName))));
    QCOMPARE(m_errors, QStringList());
}

QTEST_MAIN(TestContestFolder)
#include "test_contestfolder.moc"
