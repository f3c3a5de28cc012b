#include "contest/BandViews.h"
#include "contest/RadioBand.h"

#include <QTest>

#include <optional>

using namespace Qt::Literals::StringLiterals;

// The radio's frequency and mode to the band column it picks.
class TestRadioBand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void band_data();
    void band();
    void readingText();
};

void TestRadioBand::band_data()
{
    QTest::addColumn<qint64>("hz");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("panel"); // empty: the band stays as it is

    QTest::newRow("below 160 m") << qint64(1'799'999) << u"CW"_s << QString();
    QTest::newRow("160 m low edge") << qint64(1'800'000) << u"CW"_s << u"Panel160CW"_s;
    QTest::newRow("160 m CW reverse") << qint64(1'830'000) << u"CWR"_s << u"Panel160CW"_s;
    QTest::newRow("160 m high edge LSB") << qint64(2'000'000) << u"LSB"_s << u"Panel160"_s;
    QTest::newRow("above 160 m") << qint64(2'000'001) << u"LSB"_s << QString();
    QTest::newRow("below 80 m") << qint64(3'499'999) << u"LSB"_s << QString();
    QTest::newRow("80 m low edge") << qint64(3'500'000) << u"CW"_s << u"Panel80CW"_s;
    QTest::newRow("80 m LSB") << qint64(3'650'000) << u"LSB"_s << u"Panel80"_s;
    QTest::newRow("80 m high edge USB") << qint64(4'000'000) << u"USB"_s << u"Panel80"_s;
    QTest::newRow("above 80 m") << qint64(4'000'001) << u"CW"_s << QString();
    QTest::newRow("40 m") << qint64(7'050'000) << u"CW"_s << QString();
    QTest::newRow("80 m AM") << qint64(3'650'000) << u"AM"_s << QString();
    QTest::newRow("160 m FM") << qint64(1'850'000) << u"FM"_s << QString();
    QTest::newRow("160 m CW data mode") << qint64(1'850'000) << u"PKTLSB"_s << QString();
}

void TestRadioBand::band()
{
    QFETCH(qint64, hz);
    QFETCH(QString, mode);
    QFETCH(QString, panel);
    const std::optional<int> band = radioBand(hz, radioModeFromName(mode));
    QCOMPARE(band ? bandViews().at(*band).panelName : QString(), panel);
}

void TestRadioBand::readingText()
{
    QCOMPARE(radioReadingText(3'520'000, u"CW"_s), u"80 m CW 3.520 MHz"_s);
    QCOMPARE(radioReadingText(1'999'500, u"USB"_s), u"160 m SSB 2.000 MHz"_s);
    QCOMPARE(radioReadingText(7'050'000, u"CWR"_s), u"CW 7.050 MHz"_s);
    QCOMPARE(radioReadingText(145'000'000, u"FM"_s), u"FM 145.000 MHz"_s);
}

QTEST_GUILESS_MAIN(TestRadioBand)
#include "test_radioband.moc"
