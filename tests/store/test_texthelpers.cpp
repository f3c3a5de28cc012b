#include "store/TextHelpers.h"

#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;

class TestTextHelpers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replaceAll_data();
    void replaceAll();
    void removeSpaces_data();
    void removeSpaces();
    void removeCharIsExact();
    void repeatChar_data();
    void repeatChar();
    void padding_data();
    void padding();
    void zeroPadded_data();
    void zeroPadded();
    void chooseValue_data();
    void chooseValue();
    void padWithOtherCharacters();
};

void TestTextHelpers::replaceAll_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("expected");

    QTest::newRow("every space") << u"a  b"_s << u" "_s << u"0"_s << u"a00b"_s;
    QTest::newRow("no re-scan of the result") << u"aaaa"_s << u"aa"_s << u"a"_s << u"aa"_s;
    QTest::newRow("replacement contains the pattern") << u"ab"_s << u"a"_s << u"aa"_s << u"aab"_s;
    QTest::newRow("occurrences do not overlap") << u"aaa"_s << u"aa"_s << u"b"_s << u"ba"_s;
    QTest::newRow("empty pattern never found") << u"abc"_s << QString() << u"x"_s << u"abc"_s;
    QTest::newRow("pattern absent") << u"abc"_s << u"z"_s << u"x"_s << u"abc"_s;
    QTest::newRow("removal by empty replacement") << u"a-b-c"_s << u"-"_s << QString() << u"abc"_s;
    QTest::newRow("case is exact") << u"aAa"_s << u"a"_s << u"b"_s << u"bAb"_s;
    QTest::newRow("cyrillic") << u"ЯЯ яЯ"_s << u"Я"_s << u"R"_s << u"RR яR"_s;
    QTest::newRow("whole text") << u"abc"_s << u"abc"_s << u""_s << u""_s;
}

void TestTextHelpers::replaceAll()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(QString, replacement);
    QFETCH(QString, expected);
    QCOMPARE(ReplaceAll(text, pattern, replacement), expected);
}

void TestTextHelpers::removeSpaces_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("spaces everywhere") << u" a b  c "_s << u"abc"_s;
    QTest::newRow("tabs stay") << u"a\tb c"_s << u"a\tbc"_s;
    QTest::newRow("non-breaking space stays") << u"a\u00A0b"_s << u"a\u00A0b"_s;
    QTest::newRow("only spaces") << u"    "_s << u""_s;
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("callsign with remark") << u"QQ0QQQ 59"_s << u"QQ0QQQ59"_s;
}

void TestTextHelpers::removeSpaces()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(RemoveSpaces(text), expected);
}

void TestTextHelpers::removeCharIsExact()
{
    QCOMPARE(RemoveChar(u"aAbBa"_s, u'a'), u"AbB"_s);
    QCOMPARE(RemoveChar(u"ЖжЖ"_s, u'Ж'), u"ж"_s);
}

void TestTextHelpers::repeatChar_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");

    QTest::newRow("three") << 3 << u"xxx"_s;
    QTest::newRow("one") << 1 << u"x"_s;
    QTest::newRow("zero") << 0 << u""_s;
    QTest::newRow("negative") << -4 << u""_s;
}

void TestTextHelpers::repeatChar()
{
    QFETCH(int, count);
    QFETCH(QString, expected);
    QCOMPARE(RepeatChar(u'x', count), expected);
}

void TestTextHelpers::padding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");

    QTest::newRow("longer than width is never cut") << u"22 001"_s << 2 << u"22 001"_s << u"22 001"_s;
    QTest::newRow("one short") << u"7"_s << 2 << u" 7"_s << u"7 "_s;
    QTest::newRow("empty text") << QString() << 2 << u"  "_s << u"  "_s;
    QTest::newRow("exact width") << u"ab"_s << 2 << u"ab"_s << u"ab"_s;
    QTest::newRow("zero width") << u"ab"_s << 0 << u"ab"_s << u"ab"_s;
    QTest::newRow("negative width") << u"ab"_s << -3 << u"ab"_s << u"ab"_s;
    QTest::newRow("cyrillic counts characters") << u"Жа"_s << 4 << u"  Жа"_s << u"Жа  "_s;
}

void TestTextHelpers::padding()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, left);
    QFETCH(QString, right);
    QCOMPARE(PadLeft(text, width), left);
    QCOMPARE(PadRight(text, width), right);
}

void TestTextHelpers::zeroPadded_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");

    QTest::newRow("7 at 3") << 7 << 3 << u"007"_s;
    QTest::newRow("1234 at 3 is not cut") << 1234 << 3 << u"1234"_s;
    QTest::newRow("0 at 3") << 0 << 3 << u"000"_s;
    // the sign is part of the text that is padded, so the zeros go in front of it
    QTest::newRow("-5 at 3") << -5 << 3 << u"0-5"_s;
    QTest::newRow("width 0") << 42 << 0 << u"42"_s;
    QTest::newRow("lowest 32-bit value") << std::numeric_limits<qint32>::min() << 3 << u"-2147483648"_s;
    QTest::newRow("highest 32-bit value") << std::numeric_limits<qint32>::max() << 12 << u"002147483647"_s;
}

void TestTextHelpers::zeroPadded()
{
    QFETCH(int, value);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(ZeroPadded(value, width), expected);
}

void TestTextHelpers::chooseValue_data()
{
    QTest::addColumn<bool>("flag");
    QTest::addColumn<QVariant>("first");
    QTest::addColumn<QVariant>("second");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("mode index 1") << true << QVariant(u"SSB"_s) << QVariant(u"CW"_s) << QVariant(u"SSB"_s);
    QTest::newRow("mode index 2") << false << QVariant(u"SSB"_s) << QVariant(u"CW"_s) << QVariant(u"CW"_s);
    QTest::newRow("numbers") << false << QVariant(80) << QVariant(160) << QVariant(160);
    QTest::newRow("null chosen") << true << QVariant() << QVariant(1) << QVariant();
}

void TestTextHelpers::chooseValue()
{
    QFETCH(bool, flag);
    QFETCH(QVariant, first);
    QFETCH(QVariant, second);
    QFETCH(QVariant, expected);
    const QVariant chosen = ChooseValue(flag, first, second);
    QCOMPARE(chosen.isNull(), expected.isNull());
    QCOMPARE(chosen, expected);
}

void TestTextHelpers::padWithOtherCharacters()
{
    QCOMPARE(PadLeftWith(u'0', u"7"_s, 3), u"007"_s);
    QCOMPARE(PadRightWith(u'*', u"ab"_s, 4), u"ab**"_s);
    QCOMPARE(PadLeftWith(u'0', u"1234"_s, 3), u"1234"_s);
}

QTEST_GUILESS_MAIN(TestTextHelpers)
#include "test_texthelpers.moc"
