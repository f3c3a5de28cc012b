#include "contest/CwMessages.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestCwMessages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void expand_data();
    void expand();
    void duration_data();
    void duration();
};

void TestCwMessages::expand_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("ki");
    QTest::addColumn<int>("serial");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("leftOut");

    QTest::newRow("exchange as the panel shows it")
        << u"{EXCH}"_s << QString() << 22 << 15 << false << u"22 015"_s << QString();
    QTest::newRow("a KI below ten keeps its zero")
        << u"{exch} tu"_s << QString() << 5 << 2 << false << u"05 002 TU"_s << QString();
    QTest::newRow("cut numbers cut the serial, not the KI")
        << u"5NN {EXCH}"_s << QString() << 20 << 109 << true << u"5NN 20 1TN"_s << QString();
    QTest::newRow("the serial alone") << u"NR {NR} {NR}"_s << QString() << 22 << 90 << true << u"NR TNT TNT"_s
                                      << QString();
    QTest::newRow("a Cyrillic call as its Morse twins")
        << u"{CALL} TU"_s << u"ра3абц/щ"_s << 22 << 1 << false << u"RA3ABC/Q TU"_s << QString();
    QTest::newRow("small ё as е") << u"{CALL}"_s << u"уа3ёж"_s << 22 << 1 << false << u"UA3EV"_s << QString();
    QTest::newRow("letters without a twin left out, each told once")
        << u"ЧЧ {CALL} ШЯ"_s << u"UA3ЧX"_s << 22 << 1 << false << u"UA3X"_s << u"ЧШЯ"_s;
    // cwdaemon takes an escape as a command, rigctld a line break as the end of one
    const QString escape(QChar(0x1b));
    QTest::newRow("control characters never reach the keyer")
        << u"{CALL}"_s << u"UA"_s + escape + u"5\nK"_s << 22 << 1 << false << u"UA5 K"_s << escape;
    QTest::newRow("a question mark typed is sent") << u"?"_s << QString() << 22 << 1 << false << u"?"_s << QString();
    QTest::newRow("an unknown placeholder loses its braces")
        << u"{FOO} #1\t QRL?"_s << QString() << 22 << 1 << false << u"FOO 1 QRL?"_s << u"{}#"_s;
    QTest::newRow("a row without a call")
        << u"{CALL}  {CALL} ?"_s << QString() << 22 << 1 << false << u"?"_s << QString();
}

void TestCwMessages::expand()
{
    QFETCH(QString, message);
    QFETCH(QString, call);
    QFETCH(int, ki);
    QFETCH(int, serial);
    QFETCH(bool, cut);
    const CwText cw = expandCwMessage(message, CwFields{u"UA3ABC"_s, ki, serial, call}, cut);
    QTEST(cw.text, "text");
    QTEST(cw.leftOut, "leftOut");
}

void TestCwMessages::duration_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("wpm");
    QTest::addColumn<int>("ms");
    // the standard word PARIS with its word gap is 50 dots long
    QTest::newRow("PARIS at 20 wpm") << u"PARIS "_s << 20 << 3000;
    QTest::newRow("two words at 12 wpm") << u"PARIS PARIS "_s << 12 << 10000;
    QTest::newRow("digits and punctuation") << u"0/?"_s << 60 << 1120;
}

void TestCwMessages::duration()
{
    QFETCH(QString, text);
    QFETCH(int, wpm);
    QTEST(morseDurationMs(text, wpm), "ms");
}

QTEST_GUILESS_MAIN(TestCwMessages)
#include "test_cwmessages.moc"
