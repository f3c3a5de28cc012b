#include "store/FolderLock.h"
#include "store/StoreError.h"
#include "store/TableView.h"
#include "support/PageDamage.h"
#include "support/WindowFixture.h"
#include "support/WithoutFileAccessOverride.h"
#include "widgets/DataGrid.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"

#include <QCheckBox>
#include <QMenu>
#include <QRegularExpression>

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
    void init() { m_w = std::make_unique<WindowFixture>(); }
    void cleanup();
    void readOnlyFolderIsShownAndNeverWritten();
    void damagedTableIsReportedOnceAndNeverWritten_data();
    void damagedTableIsReportedOnceAndNeverWritten();

private:
    // as the operator does it: the File menu, then the command
    void choose(QAction& command);

    std::unique_ptr<WindowFixture> m_w;
};

void TestUnit1FolderAccess::cleanup()
{
    m_w->form.reset();
    QFile::setPermissions(m_w->env.workDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_w.reset();
}

void TestUnit1FolderAccess::choose(QAction& command)
{
    auto* file = m_w->form->findChild<QMenu*>(u"File1"_s);
    file->popup(m_w->form->mapToGlobal(QPoint()));
    QVERIFY(QTest::qWaitForWindowExposed(file));
    QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(&command).center());
}

void TestUnit1FolderAccess::readOnlyFolderIsShownAndNeverWritten()
{
    m_w->start();
    m_w->prompter.answers = {u"RA3ABC"_s, u"23 015"_s};
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Insert);
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Return);
    const QString score = m_w->ui().statusBar1().panelText(1);
    m_w->form.reset();
    // the tables as copied onto a CD, without the hidden main file
    QVERIFY(QFile::remove(m_w->env.path(QString::fromLatin1(Database::kMainFileName))));
    const QMap<QString, QByteArray> before = folderBytes(m_w->env.workDir());
    m_w->prompter.labels.clear();

    const WithoutFileAccessOverride restricted;
    QVERIFY(QFile::setPermissions(m_w->env.workDir(), QFile::ReadOwner | QFile::ExeOwner));
    QVERIFY(FolderLock(m_w->env.workDir()).readOnlyFolder());
    m_w->start();
    QVERIFY2(m_w->form->windowTitle().endsWith(u"[read-only]"_s), qPrintable(m_w->form->windowTitle()));
    QCOMPARE(m_w->ui().contest80().recordCount(), 8);
    QCOMPARE(m_w->ui().journalView().recordCount(), 1);
    QCOMPARE(m_w->ui().statusBar1().panelText(1), score);
    QCOMPARE(m_w->errors, QStringList());

    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Insert);
    choose(m_w->ui().importCallsign1());
    choose(m_w->ui().clearContestTable1());
    choose(m_w->ui().exportJournal1());
    QTest::mouseClick(&m_w->ui().editing(), Qt::LeftButton);
    QVERIFY(!m_w->ui().editing().isChecked());
    // each command says it once, and asks nothing
    QCOMPARE(m_w->errors, QStringList(5, m_w->form->database().folderRefusal()));
    QVERIFY2(m_w->errors.first().contains(u"is read-only"_s), qPrintable(m_w->errors.first()));
    QCOMPARE(m_w->prompter.labels, QStringList());
    QVERIFY(storeRefusal(m_w->form->database()).endsWith(u"is read-only: Contest.db cannot be changed."_s));
    m_w->form.reset();

    // a folder that cannot even be read is refused at start as before
    QVERIFY(QFile::setPermissions(m_w->env.workDir(), {}));
    QVERIFY(!FolderLock(m_w->env.workDir()).readOnlyFolder());
    QVERIFY(QFile::setPermissions(m_w->env.workDir(), QFile::ReadOwner | QFile::ExeOwner));
    QCOMPARE(folderBytes(m_w->env.workDir()), before);
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
    makeLargeContest(m_w->env.workDir(), 2048);
    const QString contestFile = m_w->env.path(u"Contest.db"_s);
    QVERIFY(QDir().mkpath(m_w->env.path(u"backup/2006-10-21_180000"_s)));
    QVERIFY(QFile::copy(contestFile, m_w->env.path(u"backup/2006-10-21_180000/Contest.db"_s)));
    QVERIFY(damageTablePages(contestFile, u"Contest"_s, damage));
    const QByteArray damaged = fileBytes(contestFile);

    m_w->start();
    QTRY_COMPARE(m_w->errors.size(), 1);
    const QString report = m_w->errors.first();
    for (const QString& part : {u"Contest.db is damaged"_s, u"Callsign.db and Journal.db are sound"_s,
                                u"Copies of it, newest first: backup/2006-10-21_180000/Contest.db"_s}) {
        QVERIFY2(report.contains(part), qPrintable(report));
    }
    const int readable = QRegularExpression(u"(\\d+) of its rows"_s).match(report).captured(1).toInt();
    QVERIFY2(readable >= fewestReadable && readable <= mostReadable, qPrintable(report));
    // the grids read the damaged file again at every tour change; the same error is not shown twice in a row
    for (int tour = 1; tour <= 8; ++tour) {
        m_w->ui().tour().setValue(tour);
        QTest::qWait(10);
    }
    showErrorBox(m_w->form.get(), report);
    QCOMPARE(m_w->errors.size(), 1);
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Insert);
    QCOMPARE(m_w->errors.size(), 2);
    QVERIFY2(m_w->errors.last().startsWith(u"Contest.db is damaged:"_s), qPrintable(m_w->errors.last()));
    QCOMPARE(storeRefusal(m_w->form->database()), m_w->errors.last());
    m_w->form.reset();
    QCOMPARE(fileBytes(contestFile), damaged);
}

QTEST_MAIN(TestUnit1FolderAccess)
#include "test_unit1folderaccess.moc"
