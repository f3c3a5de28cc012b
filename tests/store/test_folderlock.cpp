#include "store/FolderLock.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestFolderLock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondCopyInSameFolderIsRefused();
    void otherFolderWorks();
    void lockOfDeadProcessIsTakenOver();
};

void TestFolderLock::secondCopyInSameFolderIsRefused()
{
    TestEnvironment env;
    const FolderLock first(env.workDir());
    QVERIFY(first.acquired());
    const FolderLock second(env.workDir());
    QVERIFY(!second.acquired());
    QVERIFY(second.refusal().contains(QStringLiteral("already running")));
    QVERIFY(second.refusal().contains(QString::number(QCoreApplication::applicationPid())));
}

void TestFolderLock::otherFolderWorks()
{
    TestEnvironment env;
    QTemporaryDir other;
    const FolderLock first(env.workDir());
    const FolderLock second(other.path());
    QVERIFY(first.acquired());
    QVERIFY(second.acquired());
}

void TestFolderLock::lockOfDeadProcessIsTakenOver()
{
    TestEnvironment env;
    // a lock file left by a process that no longer exists, as after a crash or a power cut
    QFile stale(QDir(env.workDir()).absoluteFilePath(QStringLiteral(".tourlog.lock")));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("999999999\ntourlog\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    const FolderLock lock(env.workDir());
    QVERIFY(lock.acquired());
}

QTEST_GUILESS_MAIN(TestFolderLock)
#include "test_folderlock.moc"
