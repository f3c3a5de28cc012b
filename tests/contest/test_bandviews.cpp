#include "contest/BandViews.h"

#include <QTest>
#include <QTime>

#include <optional>

using namespace Qt::Literals::StringLiterals;

class TestBandViews : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bandOrderAndNames();
    void filter_data();
    void filter();
    void activeBand_data();
    void activeBand();
    void worked_data();
    void worked();
    void cellLook_data();
    void cellLook();
};

void TestBandViews::bandOrderAndNames()
{
    // contact entry and the active-band lookup rely on this order
    QStringList views;
    QStringList grids;
    QStringList panels;
    QStringList captions;
    for (const BandViewInfo& band : bandViews()) {
        views << band.viewName;
        grids << band.gridName;
        panels << band.panelName;
        captions << band.caption;
    }
    QCOMPARE(views, QStringList({u"Contest80"_s, u"Contest80CW"_s, u"Contest160"_s, u"Contest160CW"_s}));
    QCOMPARE(grids, QStringList({u"DBGrid80"_s, u"DBGrid80CW"_s, u"DBGrid160"_s, u"DBGrid160CW"_s}));
    QCOMPARE(panels, QStringList({u"Panel80"_s, u"Panel80CW"_s, u"Panel160"_s, u"Panel160CW"_s}));
    QCOMPARE(captions, QStringList({u"80 м - SSB"_s, u"80 м - CW"_s, u"160 м - SSB"_s, u"160 м - CW"_s}));
}

void TestBandViews::filter_data()
{
    const auto filter = [](int metres, const QString& modulation, std::optional<int> tour = {}) {
        ViewFilter filter{{u"Diapasone"_s, metres}, {u"Modulation"_s, modulation}};
        if (tour) {
            filter.add(u"TourNumber"_s, *tour);
        }
        return filter;
    };
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("tour");
    QTest::addColumn<ViewFilter>("expected");
    QTest::newRow("80 SSB all tours") << 0 << 0 << filter(80, u"SSB"_s);
    QTest::newRow("80 CW all tours") << 1 << 0 << filter(80, u"CW"_s);
    QTest::newRow("160 SSB all tours") << 2 << 0 << filter(160, u"SSB"_s);
    QTest::newRow("160 CW all tours") << 3 << 0 << filter(160, u"CW"_s);
    QTest::newRow("80 SSB tour 3") << 0 << 3 << filter(80, u"SSB"_s, 3);
    QTest::newRow("160 CW tour 12") << 3 << 12 << filter(160, u"CW"_s, 12);
    QTest::newRow("negative tour") << 1 << -2 << filter(80, u"CW"_s, -2);
    QTest::newRow("tour past the last") << 2 << 9 << filter(160, u"SSB"_s, 9);
}

void TestBandViews::filter()
{
    QFETCH(int, band);
    QFETCH(int, tour);
    QFETCH(ViewFilter, expected);
    QCOMPARE(bandFilter(bandViews().at(band), tour), expected);
}

void TestBandViews::activeBand_data()
{
    QTest::addColumn<QList<int>>("marks");
    QTest::addColumn<int>("expected");
    QTest::newRow("design marks pick 80 SSB") << QList<int>{1, 1, 1, 0} << 0;
    QTest::newRow("only 160 CW") << QList<int>{0, 0, 0, 1} << 3;
    QTest::newRow("only 80 CW") << QList<int>{0, 1, 0, 0} << 1;
    QTest::newRow("first of two in search order") << QList<int>{0, 0, 1, 1} << 2;
    QTest::newRow("a mark other than 1 does not count") << QList<int>{2, -1, 0, 1} << 3;
    QTest::newRow("none") << QList<int>{0, 0, 0, 0} << -1;
}

void TestBandViews::activeBand()
{
    QFETCH(QList<int>, marks);
    QFETCH(int, expected);
    std::array<int, kBandCount> array{};
    std::copy(marks.cbegin(), marks.cend(), array.begin());
    QCOMPARE(activeBandIndex(array), expected);
}

void TestBandViews::worked_data()
{
    QTest::addColumn<QVariant>("time");
    QTest::addColumn<bool>("expected");
    QTest::newRow("null") << QVariant() << false;
    QTest::newRow("midnight is a time") << QVariant(QTime(0, 0)) << true;
    QTest::newRow("afternoon") << QVariant(QTime(16, 43, 19)) << true;
    QTest::newRow("invalid time") << QVariant(QTime()) << false;
    QTest::newRow("blank text") << QVariant(u"  "_s) << false;
    QTest::newRow("text") << QVariant(u"12:00"_s) << true;
}

void TestBandViews::worked()
{
    QFETCH(QVariant, time);
    QFETCH(bool, expected);
    QCOMPARE(isWorked(time), expected);
}

void TestBandViews::cellLook_data()
{
    QTest::addColumn<bool>("marked");
    QTest::addColumn<bool>("worked");
    QTest::addColumn<bool>("highlighted");
    QTest::addColumn<quint32>("text");
    QTest::addColumn<qint64>("background"); // -1: the grid keeps its own
    QTest::addColumn<bool>("bold");
    QTest::newRow("active band, planned") << true << false << false << 0x0000FFu << qint64(-1) << false;
    QTest::newRow("active band, planned, current") << true << false << true << 0x0000FFu << qint64(0xFFFF00) << true;
    QTest::newRow("active band, worked") << true << true << false << 0x0000FFu << qint64(0xFFD7FF) << false;
    QTest::newRow("active band, worked, current") << true << true << true << 0x0000FFu << qint64(0xFF93FF) << true;
    QTest::newRow("other band, planned") << false << false << false << 0x800080u << qint64(-1) << false;
    QTest::newRow("other band, worked") << false << true << false << 0x800080u << qint64(0xFFD7FF) << false;
    QTest::newRow("other band, worked, current") << false << true << true << 0x800080u << qint64(0xFF93FF) << true;
    QTest::newRow("other band, planned, current") << false << false << true << 0x800080u << qint64(0xFFFF00) << true;
}

void TestBandViews::cellLook()
{
    QFETCH(bool, marked);
    QFETCH(bool, worked);
    QFETCH(bool, highlighted);
    QFETCH(quint32, text);
    QFETCH(qint64, background);
    QFETCH(bool, bold);
    const BandCellLook look = bandCellLook(marked, worked, highlighted);
    QCOMPARE(look.text, text);
    QCOMPARE(look.background.has_value() ? qint64(*look.background) : qint64(-1), background);
    QCOMPARE(look.bold, bold);
}

QTEST_GUILESS_MAIN(TestBandViews)
#include "test_bandviews.moc"
