#include "contest/BandTunings.h"
#include "contest/BandViews.h"
#include "contest/RadioBand.h"

#include <QTest>

#include <algorithm>
#include <optional>

using namespace Qt::Literals::StringLiterals;

// The radio's frequency and mode to the band column it picks, and when the active band follows it.
class TestRadioBand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void band_data();
    void band();
    void readingText();
    void tracker_data();
    void tracker();
    void tunings();
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

void TestRadioBand::tracker_data()
{
    // each step a reading, "held" while the band must not move, and after " > " the band it moves to
    QTest::addColumn<QStringList>("steps");

    QTest::newRow("the same reading twice")
        << QStringList{u"3520000 CW"_s, u"3520000 CW > Panel80CW"_s, u"3520000 CW"_s};
    QTest::newRow("a new frequency with the mode before it") << QStringList{
        u"3520000 CWR"_s, u"3520000 CWR > Panel80CW"_s, u"1900000 CWR"_s, u"1900000 FM"_s, u"1900000 FM"_s};
    // the operator chose 160 m SSB while the radio was on 14 MHz
    QTest::newRow("back to a band followed before")
        << QStringList{u"3520000 CW"_s, u"3520000 CW > Panel80CW"_s, u"14050000 CW"_s, u"14050000 CW"_s,
                       u"3520000 CW"_s, u"3520000 CW > Panel80CW"_s};
    QTest::newRow("held until the prompt closes")
        << QStringList{u"1830000 LSB held"_s, u"1830000 LSB held"_s, u"1830000 LSB > Panel160"_s, u"1830000 LSB"_s};
    QTest::newRow("held while the radio leaves the band") << QStringList{
        u"1830000 CW held"_s, u"1830000 CW held"_s, u"7050000 CW held"_s, u"7050000 CW held"_s, u"7050000 CW"_s};
    // "tune" is the window sending the radio to a column the operator chose
    QTest::newRow("sent to a column, readings on the way do not move back") << QStringList{u"3520000 CW"_s,
                                                                                           u"3520000 CW > Panel80CW"_s,
                                                                                           u"tune Panel160CW"_s,
                                                                                           u"3520000 CW"_s,
                                                                                           u"3520000 CW"_s,
                                                                                           u"1832500 LSB"_s,
                                                                                           u"1832500 CW"_s,
                                                                                           u"1832500 CW"_s,
                                                                                           u"1832500 CW"_s,
                                                                                           u"3520000 CW"_s,
                                                                                           u"3520000 CW > Panel80CW"_s};
    QTest::newRow("a radio that does not go is followed again") << QStringList{u"3520000 CW"_s,
                                                                               u"3520000 CW > Panel80CW"_s,
                                                                               u"tune Panel160"_s,
                                                                               u"3520000 CW"_s,
                                                                               u"3520000 CW"_s,
                                                                               u"3520000 CW"_s,
                                                                               u"3520000 CW"_s,
                                                                               u"3520000 CW"_s,
                                                                               u"3520000 CW > Panel80CW"_s};
}

void TestRadioBand::tracker()
{
    QFETCH(QStringList, steps);
    RadioBandTracker tracker;
    for (const QString& step : steps) {
        if (step.startsWith(u"tune "_s)) {
            const auto& views = bandViews();
            const auto chosen = std::find_if(views.begin(), views.end(),
                                             [&](const BandViewInfo& view) { return step.endsWith(view.panelName); });
            tracker.tunedTo(int(chosen - views.begin()));
            continue;
        }
        const QString reading = step.section(u" > "_s, 0, 0);
        const QStringList words = reading.split(u' ');
        const std::optional<int> band = tracker.read(words.at(0).toLongLong(), radioModeFromName(words.at(1)),
                                                     words.contains(u"held"_s));
        QCOMPARE(band ? reading + u" > "_s + bandViews().at(*band).panelName : reading, step);
    }
}

void TestRadioBand::tunings()
{
    BandTunings tunings;
    // before any reading, each column sends the radio somewhere that reads back as that column
    for (int band = 0; band < kBandCount; ++band) {
        const RadioTuning tuning = tunings.forBand(band);
        QCOMPARE(radioBand(tuning.frequencyHz, radioModeFromName(tuning.modeName)), band);
    }
    for (const auto& [hz, mode] :
         {std::pair{1'832'500, u"CWR"_s}, {3'650'400, u"USB"_s}, {7'050'000, u"LSB"_s}, {3'700'000, u"FM"_s}}) {
        tunings.note(hz, mode);
    }
    QCOMPARE(tunings.forBand(3), (RadioTuning{1'832'500, u"CWR"_s}));
    QCOMPARE(tunings.forBand(0), (RadioTuning{3'650'400, u"USB"_s}));
}

QTEST_GUILESS_MAIN(TestRadioBand)
#include "test_radioband.moc"
