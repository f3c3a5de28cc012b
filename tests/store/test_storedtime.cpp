#include "store/FieldValue.h"

#include <QTest>
#include <QTime>

using namespace Qt::Literals::StringLiterals;

// Times of day read back from a table: the store's own form and the shorter forms older files hold.
class TestStoredTime : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void timeOfDayFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QTime>("time");
        QTest::newRow("stored form") << u"20:05:13.042"_s << QTime(20, 5, 13, 42);
        QTest::newRow("stored form, leading zeros") << u"05:07:09.003"_s << QTime(5, 7, 9, 3);
        QTest::newRow("last instant of the day") << u"23:59:59.999"_s << QTime(23, 59, 59, 999);
        QTest::newRow("midnight") << u"00:00:00.000"_s << QTime(0, 0);
        QTest::newRow("hour 24") << u"24:00:00.000"_s << QTime();
        QTest::newRow("minute 60") << u"12:60:00.000"_s << QTime();
        QTest::newRow("letter among the digits") << u"12:3a:00.000"_s << QTime();
        QTest::newRow("sign among the digits") << u"12:-3:00.000"_s << QTime();
        QTest::newRow("one-digit hour") << u"5:07:09.003"_s << QTime(5, 7, 9, 3);
        QTest::newRow("seconds only") << u"20:05:13"_s << QTime(20, 5, 13);
        QTest::newRow("minutes only") << u"20:05"_s << QTime(20, 5);
        QTest::newRow("spaces around") << u" 20:05:13 "_s << QTime(20, 5, 13);
        QTest::newRow("other separators") << u"20.05.13,000"_s << QTime();
        QTest::newRow("empty") << QString() << QTime();
    }

    void timeOfDayFromText()
    {
        QFETCH(QString, text);
        QTEST(::timeOfDayFromText(text), "time");
    }
};

QTEST_GUILESS_MAIN(TestStoredTime)
#include "test_storedtime.moc"
