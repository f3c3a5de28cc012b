#include "contest/TourClock.h"

#include <QTest>

#include <climits>

using namespace Qt::Literals::StringLiterals;

class TestTourClock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The contest starts on 22 October 2006 at 20:00:00; dayOffset counts from that day.
    void tourAt_data()
    {
        QTest::addColumn<double>("minutes");
        QTest::addColumn<int>("tours");
        QTest::addColumn<int>("dayOffset");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("gaugeMaximum");
        QTest::addColumn<int>("progress");
        QTest::addColumn<int>("tour");

        const QString before = u"Before..."_s;
        const QString after = u"After..."_s;
        const QString first = u"Tour 1 of 8"_s;
        // 30 minutes, 8 tours: the contest ends at midnight
        QTest::newRow("19:59:59") << 30.0 << 8 << 0 << QTime(19, 59, 59) << before << 1800 << 0 << 0;
        QTest::newRow("start time, day before") << 30.0 << 8 << -1 << QTime(21, 0) << before << 1800 << 0 << 0;
        QTest::newRow("20:00:00 is within") << 30.0 << 8 << 0 << QTime(20, 0) << first << 1800 << 0 << 1;
        QTest::newRow("half a second to even 0") << 30.0 << 8 << 0 << QTime(20, 0, 0, 500) << first << 1800 << 0 << 1;
        QTest::newRow("1.5 s to even 2") << 30.0 << 8 << 0 << QTime(20, 0, 1, 500) << first << 1800 << 2 << 1;
        QTest::newRow("20:00:01") << 30.0 << 8 << 0 << QTime(20, 0, 1) << first << 1800 << 1 << 1;
        QTest::newRow("20:29:59") << 30.0 << 8 << 0 << QTime(20, 29, 59) << first << 1800 << 1799 << 1;
        QTest::newRow("20:30:00") << 30.0 << 8 << 0 << QTime(20, 30) << u"Tour 2 of 8"_s << 1800 << 0 << 2;
        QTest::newRow("20:30:01") << 30.0 << 8 << 0 << QTime(20, 30, 1) << u"Tour 2 of 8"_s << 1800 << 1 << 2;
        QTest::newRow("23:59:59") << 30.0 << 8 << 0 << QTime(23, 59, 59) << u"Tour 8 of 8"_s << 1800 << 1799 << 8;
        // the end instant belongs to the contest: the last tour complete, never "Tour 9 of 8"
        QTest::newRow("00:00:00 end") << 30.0 << 8 << 1 << QTime(0, 0) << u"Tour 8 of 8"_s << 1800 << 1800 << 8;
        QTest::newRow("1 ms after the end") << 30.0 << 8 << 1 << QTime(0, 0, 0, 1) << after << 1800 << 1800 << 9;
        QTest::newRow("00:00:01") << 30.0 << 8 << 1 << QTime(0, 0, 1) << after << 1800 << 1800 << 9;
        // TourMinutes changed from 30 to 45 during tour 2
        QTest::newRow("30 min at 20:40") << 30.0 << 8 << 0 << QTime(20, 40) << u"Tour 2 of 8"_s << 1800 << 600 << 2;
        QTest::newRow("45 min at 20:40") << 45.0 << 8 << 0 << QTime(20, 40) << first << 2700 << 2400 << 1;
        QTest::newRow("45 min at 21:35") << 45.0 << 8 << 0 << QTime(21, 35) << u"Tour 3 of 8"_s << 2700 << 300 << 3;
        // fractional minutes: the gauge rounds halves to even, the schedule keeps the fraction
        QTest::newRow("2.5 min") << 2.5 << 4 << 0 << QTime(20, 2, 40) << u"Tour 2 of 4"_s << 120 << 10 << 2;
        QTest::newRow("3.5 min") << 3.5 << 4 << 0 << QTime(20, 0, 10) << u"Tour 1 of 4"_s << 240 << 10 << 1;
        QTest::newRow("held at max") << 2.5 << 4 << 0 << QTime(20, 2, 29) << u"Tour 1 of 4"_s << 120 << 120 << 1;
        // nothing can run: no error, no tour outside 1..tours, no gauge below 0
        QTest::newRow("0 min before") << 0.0 << 8 << 0 << QTime(19, 0) << before << 0 << 0 << 0;
        QTest::newRow("0 min at start") << 0.0 << 8 << 0 << QTime(20, 0) << after << 0 << 0 << 9;
        QTest::newRow("negative min") << -30.0 << 8 << 0 << QTime(20, 10) << after << 0 << 0 << 9;
        QTest::newRow("negative min and tours") << -30.0 << -2 << 0 << QTime(20, 10) << after << 0 << 0 << -1;
        QTest::newRow("0 tours at start") << 30.0 << 0 << 0 << QTime(20, 0) << after << 1800 << 1800 << 1;
        QTest::newRow("negative tours") << 30.0 << -3 << 0 << QTime(21, 0) << after << 1800 << 1800 << -2;
        QTest::newRow("gauge held within int") << 1e12 << 8 << 0 << QTime(20, 0, 10) << first << INT_MAX << 10 << 1;
        QTest::newRow("tour held within int") << 0.0 << INT_MAX << 0 << QTime(20, 1) << after << 0 << 0 << INT_MAX;
    }

    void tourAt()
    {
        QFETCH(double, minutes);
        QFETCH(int, tours);
        QFETCH(int, dayOffset);
        QFETCH(QTime, time);
        const QDate day(2006, 10, 22);
        const TourClockState state = tourClockAt(day, QTime(20, 0), minutes, tours,
                                                 QDateTime(day.addDays(dayOffset), time));
        QTEST(state.text, "text");
        QTEST(state.gaugeMaximum, "gaugeMaximum");
        QTEST(state.progress, "progress");
        QTEST(state.tour, "tour");
    }
};

QTEST_GUILESS_MAIN(TestTourClock)
#include "test_tourclock.moc"
