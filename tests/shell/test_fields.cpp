#include "widgets/DateField.h"
#include "widgets/Gauge.h"
#include "widgets/SpinField.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include <limits>

using namespace Qt::Literals::StringLiterals;

class TestFields : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gaugePercent_data();
    void gaugePercent();
    void gaugeTextIsInvertedOverTheBar_data();
    void gaugeTextIsInvertedOverTheBar();
    void dateFromText_data();
    void dateFromText();
    void dateFieldShowsAndReadsThisCentury();
    void typedTwoDigitYearIsThisCentury();
    void spinFieldHasNoLimits();
};

void TestFields::gaugePercent_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("heldProgress");
    QTest::addColumn<int>("percent");
    QTest::newRow("design values") << 0 << 100 << 0 << 0 << 0;
    QTest::newRow("a third, cut") << 0 << 1800 << 600 << 600 << 33;
    QTest::newRow("just under full is cut, not rounded") << 0 << 1800 << 1799 << 1799 << 99;
    QTest::newRow("full") << 0 << 1800 << 1800 << 1800 << 100;
    QTest::newRow("above the maximum is held there") << 0 << 1800 << 5000 << 1800 << 100;
    QTest::newRow("below the minimum is held there") << 0 << 1800 << -7 << 0 << 0;
    QTest::newRow("maximum equal to minimum") << 0 << 0 << 10 << 0 << 0;
    QTest::newRow("maximum below the minimum is held at it") << 0 << -60 << 10 << 0 << 0;
    QTest::newRow("offset range") << 100 << 200 << 150 << 150 << 50;
    QTest::newRow("large values do not overflow")
        << 0 << std::numeric_limits<int>::max() << 2000000000 << 2000000000 << 93;
}

void TestFields::gaugePercent()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, progress);
    QFETCH(int, heldProgress);
    QFETCH(int, percent);
    Gauge gauge;
    gauge.setMinValue(minimum);
    gauge.setMaxValue(maximum);
    gauge.setProgress(progress);
    QCOMPARE(gauge.progress(), heldProgress);
    QVERIFY(gauge.maxValue() >= gauge.minValue());
    QCOMPARE(gauge.percentDone(), percent);
    QCOMPARE(gauge.percentText(), QString::number(percent) + u'%');
}

void TestFields::gaugeTextIsInvertedOverTheBar_data()
{
    QTest::addColumn<int>("progress");
    QTest::addColumn<QColor>("bar");
    QTest::newRow("empty bar: dark text on white") << 0 << QColor(Qt::white);
    QTest::newRow("full bar: light text on navy") << 100 << QColor(0, 0, 0x80);
}

void TestFields::gaugeTextIsInvertedOverTheBar()
{
    QFETCH(int, progress);
    QFETCH(QColor, bar);
    Gauge gauge;
    gauge.resize(200, 18);
    gauge.setProgress(progress);
    const QImage image = gauge.grab().toImage();
    const QColor inverted(255 - bar.red(), 255 - bar.green(), 255 - bar.blue());
    int barPixels = 0;
    int textPixels = 0;
    for (int x = 2; x < image.width() - 2; ++x) {
        for (int y = 2; y < image.height() - 2; ++y) {
            const QColor pixel = image.pixelColor(x, y);
            barPixels += pixel == bar ? 1 : 0;
            textPixels += pixel == inverted ? 1 : 0;
        }
    }
    QVERIFY2(barPixels > 2000, "the bar shows its fill colour");
    QVERIFY2(textPixels > 10, "the percentage is drawn in the inverse of the bar beneath it");
}

void TestFields::dateFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("design value") << u"22.10.06"_s << QDate(2006, 10, 22);
    QTest::newRow("99 is this century too") << u"01.01.99"_s << QDate(2099, 1, 1);
    QTest::newRow("00") << u"31.12.00"_s << QDate(2000, 12, 31);
    QTest::newRow("one-digit day and month") << u"1.2.07"_s << QDate(2007, 2, 1);
    QTest::newRow("four-digit year") << u"22.10.2006"_s << QDate(2006, 10, 22);
    QTest::newRow("leap day") << u"29.02.08"_s << QDate(2008, 2, 29);
    QTest::newRow("no leap day") << u"29.02.07"_s << QDate();
    QTest::newRow("day 32") << u"32.01.06"_s << QDate();
    QTest::newRow("month 13") << u"01.13.06"_s << QDate();
    QTest::newRow("empty") << QString() << QDate();
    QTest::newRow("letters") << u"ab.cd.ef"_s << QDate();
    QTest::newRow("three-digit year") << u"22.10.006"_s << QDate();
}

void TestFields::dateFromText()
{
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    QCOMPARE(DateField::dateFromText(text), expected);
}

void TestFields::dateFieldShowsAndReadsThisCentury()
{
    DateField field;
    QVERIFY(field.setText(u"22.10.06"_s));
    QCOMPARE(field.date(), QDate(2006, 10, 22));
    QCOMPARE(field.text(), u"22.10.06"_s);
    QVERIFY(!field.setText(u"not a date"_s));
    QCOMPARE(field.date(), QDate(2006, 10, 22));
    QVERIFY(field.calendarPopup());
}

void TestFields::typedTwoDigitYearIsThisCentury()
{
    DateField field;
    field.setDate(QDate(2006, 10, 22));
    field.show();
    QVERIFY(QTest::qWaitForWindowActive(&field));
    field.setFocus();
    field.setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClicks(&field, u"07"_s);
    QTest::keyClick(&field, Qt::Key_Return);
    QCOMPARE(field.date(), QDate(2007, 10, 22));
    field.setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClicks(&field, u"98"_s);
    QTest::keyClick(&field, Qt::Key_Return);
    QCOMPARE(field.date(), QDate(2098, 10, 22));
}

void TestFields::spinFieldHasNoLimits()
{
    SpinField field;
    field.setValue(std::numeric_limits<int>::min());
    QCOMPARE(field.value(), std::numeric_limits<int>::min());
    field.setValue(std::numeric_limits<int>::max());
    QCOMPARE(field.value(), std::numeric_limits<int>::max());
    field.setValue(-5);
    field.stepDown();
    QCOMPARE(field.value(), -6);
    QCOMPARE(field.text(), u"-6"_s);
}

QTEST_MAIN(TestFields)
#include "test_fields.moc"
