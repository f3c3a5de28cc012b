#include "store/FolderLock.h"
#include "support/FolderPermissions.h"
#include "support/PageDamage.h"
#include "support/WindowFixture.h"
#include "widgets/DataGrid.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"

#include <QCheckBox>
#include <QMenu>

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(PageDamage)

// What the window tells on a contest folder that can only be read, and on a damaged table file.
class TestUnit1FolderAccess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_w = std::make_unique<WindowFixture>(); }
    void cleanup();
    void readOnlyFolderIsShownAndEveryCommandRefused();
    void damagedTableIsToldOnceAndWritesRefused_data();
    void damagedTableIsToldOnceAndWritesRefused();

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

void TestUnit1FolderAccess::readOnlyFolderIsShownAndEveryCommandRefused()
{
    m_w->start();
    m_w->prompter.answers = {u"RA3ABC"_s, u"23 015"_s};
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Insert);
    QTest::keyClick(&m_w->ui().bandGrid(0), Qt::Key_Return);
    const QString score = m_w->ui().statusBar1().panelText(1);
    m_w->form.reset();
    // the tables as copied onto a CD, without the hidden main file
    QVERIFY(QFile::remove(m_w->env.path(QString::fromLatin1(Database::kMainFileName))));
    m_w->prompter.labels.clear();

    const WithoutFileAccessOverride restricted;
    QVERIFY(QFile::setPermissions(m_w->env.workDir(), QFile::ReadOwner | QFile::ExeOwner));
    QVERIFY(FolderLock(m_w->env.workDir()).readOnlyFolder());
    m_w->start();
    QVERIFY2(m_w->form->windowTitle().endsWith(u"[read-only]"_s), qPrintable(m_w->form->windowTitle()));
    QTRY_COMPARE(m_w->ui().statusBar1().panelText(1), score);
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
    // closing saves the operator's settings and leaves the folder's own file as it is
    m_w->form->close();
    QCOMPARE(m_w->errors.size(), 5);
}

void TestUnit1FolderAccess::damagedTableIsToldOnceAndWritesRefused_data()
{
    QTest::addColumn<PageDamage>("damage");
    QTest::newRow("a data page") << PageDamage::DataPage;
    QTest::newRow("an inner page") << PageDamage::InnerPage;
}

void TestUnit1FolderAccess::damagedTableIsToldOnceAndWritesRefused()
{
    QFETCH(PageDamage, damage);
    makeLargeContest(m_w->env.workDir(), 2048);
    QVERIFY(damageTablePages(m_w->env.path(u"Contest.db"_s), u"Contest"_s, damage));

    m_w->start();
    QTRY_COMPARE(m_w->errors.size(), 1);
    const QString report = m_w->errors.first();
    QVERIFY2(report.contains(u"Contest.db is damaged"_s), qPrintable(report));
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
}

QTEST_MAIN(TestUnit1FolderAccess)
#include "test_unit1folderaccess.moc"
