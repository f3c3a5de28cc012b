#include "store/Database.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// Each connection tells of its own long work only: a second window must not take over the first one's
// busy cursor or progress dialog.
class TestLongWork : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void workStaysWithItsConnection()
    {
        QTemporaryDir firstFolder;
        QTemporaryDir secondFolder;
        Database first(firstFolder.path());
        Database second(secondFolder.path());
        QSignalSpy firstBusy(&first.work(), &LongWork::busyChanged);
        QSignalSpy firstProgress(&first.work(), &LongWork::progressChanged);
        QSignalSpy secondBusy(&second.work(), &LongWork::busyChanged);
        QSignalSpy secondProgress(&second.work(), &LongWork::progressChanged);
        {
            const LongWork::Scope outer(first.work());
            const LongWork::Scope nested(first.work());
            first.work().setProgress(3, 10);
            QVERIFY(first.work().isBusy());
            QVERIFY(!second.work().isBusy());
        }
        // nested work is one stretch: one busy pair, not a cursor pushed twice
        QCOMPARE(firstBusy.count(), 2);
        QCOMPARE(firstBusy.at(0).at(0).toBool(), true);
        QCOMPARE(firstBusy.at(1).at(0).toBool(), false);
        QVERIFY(!first.work().isBusy());
        QCOMPARE(firstProgress.count(), 1);
        QCOMPARE(firstProgress.at(0), (QVariantList{qint64(3), qint64(10)}));
        QCOMPARE(secondBusy.count(), 0);
        QCOMPARE(secondProgress.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestLongWork)
#include "test_longwork.moc"
