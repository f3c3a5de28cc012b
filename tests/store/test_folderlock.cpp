#include "store/FolderLock.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
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
    // a lock file left by a process that no longer exists, as after a crash or a power cut: one in the
    // system's own form (its host name differs between systems), with the number of a process now gone
    const QString path = QDir(env.workDir()).absoluteFilePath(QStringLiteral(".tourlog.lock"));
    QByteArray contents;
    {
        QLockFile live(path);
        QVERIFY(live.tryLock(0));
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        contents = written.readAll();
    }
    QFile stale(path);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("999999999" + contents.mid(contents.indexOf('\n')));
    stale.close();
    const FolderLock lock(env.workDir());
    QVERIFY(lock.acquired());
}

QTEST_GUILESS_MAIN(TestFolderLock)
#include "test_folderlock.moc"
