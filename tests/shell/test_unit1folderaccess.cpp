#include "shell/ErrorBox.h"
#include "shell/Unit1.h"
#include "store/Database.h"
#include "store/FolderLock.h"
#include "store/StoreError.h"
#include "store/TableView.h"
#include "support/Fakes.h"
#include "support/PageDamage.h"
#include "support/TestEnvironment.h"
#include "support/WindowControls.h"
#include "support/WithoutFileAccessOverride.h"
#include "widgets/DataGrid.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"

#include <QCheckBox>
#include <QDir>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
QMap<QString, QByteArray> folderBytes(const QString& folder)
{
    QMap<QString, QByteArray> bytes;
    for (const QString& name : QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        bytes.insert(name, fileBytes(QDir(folder).filePath(name)));
    }
    return bytes;
}

// a write that comes past the window's refusals: the store refuses it itself
QString storeRefusal(Database& db)
{
    try {
        db.execute(u"delete from Contest"_s);
    } catch (const StoreError& error) {
        return error.message();
    }
    return {};
}
} // namespace

Q_DECLARE_METATYPE(PageDamage)

// The window on a contest folder that can only be read, and on a damaged table file.
class TestUnit1FolderAccess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void readOnlyFolderIsShownAndNeverWritten();
    void damagedTableIsReportedOnceAndNeverWritten_data();
    void damagedTableIsReportedOnceAndNeverWritten();

private:
    void start();
    // as the operator does it: the File menu, then the command
    void choose(QAction& command);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<TForm1> m_form;
    FakePrompter m_prompter;
    FakeClock m_clock;
    QStringList m_errors;
};

void TestUnit1FolderAccess::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_errors.clear();
    setErrorReporter([this](const QString& message) { m_errors << message; });
}

void TestUnit1FolderAccess::cleanup()
{
    m_form.reset();
    QFile::setPermissions(m_env->workDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_env.reset();
    setErrorReporter({});
}

void TestUnit1FolderAccess::start()
{
    m_form = std::make_unique<TForm1>();
    m_form->setPrompter(&m_prompter);
    m_form->setClock(&m_clock);
    controls(m_form).timer1().stop();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void TestUnit1FolderAccess::choose(QAction& command)
{
    auto* file = m_form->findChild<QMenu*>(u"File1"_s);
    file->popup(m_form->mapToGlobal(QPoint()));
    QVERIFY(QTest::qWaitForWindowExposed(file));
    QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(&command).center());
}

void TestUnit1FolderAccess::readOnlyFolderIsShownAndNeverWritten()
{
    start();
    m_prompter.answers = {u"RA3ABC"_s, u"23 015"_s};
    QTest::keyClick(&controls(m_form).bandGrid(0), Qt::Key_Insert);
    QTest::keyClick(&controls(m_form).bandGrid(0), Qt::Key_Return);
    const QString score = controls(m_form).statusBar1().panelText(1);
    m_form.reset();
    // the tables as copied onto a CD, without the hidden main file
    QVERIFY(QFile::remove(m_env->path(QString::fromLatin1(Database::kMainFileName))));
    const QMap<QString, QByteArray> before = folderBytes(m_env->workDir());
    m_prompter.labels.clear();

    const WithoutFileAccessOverride restricted;
    QVERIFY(QFile::setPermissions(m_env->workDir(), QFile::ReadOwner | QFile::ExeOwner));
    QVERIFY(FolderLock(m_env->workDir()).readOnlyFolder());
    start();
    QVERIFY2(m_form->windowTitle().endsWith(u"[read-only]"_s), qPrintable(m_form->windowTitle()));
    QCOMPARE(controls(m_form).contest80().recordCount(), 8);
    QCOMPARE(controls(m_form).journalView().recordCount(), 1);
    QCOMPARE(controls(m_form).statusBar1().panelText(1), score);
    QCOMPARE(m_errors, QStringList());

    QTest::keyClick(&controls(m_form).bandGrid(0), Qt::Key_Insert);
    choose(controls(m_form).importCallsign1());
    choose(controls(m_form).clearContestTable1());
    choose(controls(m_form).exportJournal1());
    QTest::mouseClick(&controls(m_form).editing(), Qt::LeftButton);
    QVERIFY(!controls(m_form).editing().isChecked());
    // each command says it once, and asks nothing
    QCOMPARE(m_errors, QStringList(5, m_form->database().folderRefusal()));
    QVERIFY2(m_errors.first().contains(u"is read-only"_s), qPrintable(m_errors.first()));
    QCOMPARE(m_prompter.labels, QStringList());
    QVERIFY(storeRefusal(m_form->database()).endsWith(u"is read-only: Contest.db cannot be changed."_s));
    m_form.reset();

    // a folder that cannot even be read is refused at start as before
    QVERIFY(QFile::setPermissions(m_env->workDir(), {}));
    QVERIFY(!FolderLock(m_env->workDir()).readOnlyFolder());
    QVERIFY(QFile::setPermissions(m_env->workDir(), QFile::ReadOwner | QFile::ExeOwner));
    QCOMPARE(folderBytes(m_env->workDir()), before);
}

void TestUnit1FolderAccess::damagedTableIsReportedOnceAndNeverWritten_data()
{
    QTest::addColumn<PageDamage>("damage");
    QTest::addColumn<int>("fewestReadable");
    QTest::addColumn<int>("mostReadable");
    // a row has vanished from a data page; the rows past a broken inner page are counted too
    QTest::newRow("a data page") << PageDamage::DataPage << 2047 << 2047;
    QTest::newRow("an inner page") << PageDamage::InnerPage << 1025 << 2047;
}

void TestUnit1FolderAccess::damagedTableIsReportedOnceAndNeverWritten()
{
    QFETCH(PageDamage, damage);
    QFETCH(int, fewestReadable);
    QFETCH(int, mostReadable);
    makeLargeContest(m_env->workDir(), 2048);
    const QString contestFile = m_env->path(u"Contest.db"_s);
    QVERIFY(QDir().mkpath(m_env->path(u"backup/2006-10-21_180000"_s)));
    QVERIFY(QFile::copy(contestFile, m_env->path(u"backup/2006-10-21_180000/Contest.db"_s)));
    QVERIFY(damageTablePages(contestFile, u"Contest"_s, damage));
    const QByteArray damaged = fileBytes(contestFile);

    start();
    QTRY_COMPARE(m_errors.size(), 1);
    const QString report = m_errors.first();
    for (const QString& part : {u"Contest.db is damaged"_s, u"Callsign.db and Journal.db are sound"_s,
                                u"Copies of it, newest first: backup/2006-10-21_180000/Contest.db"_s}) {
        QVERIFY2(report.contains(part), qPrintable(report));
    }
    const int readable = QRegularExpression(u"(\\d+) of its rows"_s).match(report).captured(1).toInt();
    QVERIFY2(readable >= fewestReadable && readable <= mostReadable, qPrintable(report));
    // the grids read the damaged file again at every tour change; the same error is not shown twice in a row
    for (int tour = 1; tour <= 8; ++tour) {
        controls(m_form).tour().setValue(tour);
        QTest::qWait(10);
    }
    showErrorBox(m_form.get(), report);
    QCOMPARE(m_errors.size(), 1);
    QTest::keyClick(&controls(m_form).bandGrid(0), Qt::Key_Insert);
    QCOMPARE(m_errors.size(), 2);
    QVERIFY2(m_errors.last().startsWith(u"Contest.db is damaged:"_s), qPrintable(m_errors.last()));
    QCOMPARE(storeRefusal(m_form->database()), m_errors.last());
    m_form.reset();
    QCOMPARE(fileBytes(contestFile), damaged);
}

QTEST_MAIN(TestUnit1FolderAccess)
#include "test_unit1folderaccess.moc"
