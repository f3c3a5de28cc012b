#include "shell/ProfileFile.h"
#include "support/WindowFixture.h"
#include "widgets/DateField.h"
#include "widgets/TimePicker.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include <ctime>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace
{
// The local time zone for one test; the previous one comes back when it goes.
class LocalZone
{
public:
    explicit LocalZone(const QByteArray& zone)
        : m_hadZone(qEnvironmentVariableIsSet("TZ"))
        , m_previous(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~LocalZone()
    {
        if (m_hadZone) {
            qputenv("TZ", m_previous);
        } else {
            qunsetenv("TZ");
        }
        tzset();
    }
    LocalZone(const LocalZone&) = delete;
    LocalZone& operator=(const LocalZone&) = delete;

private:
    bool m_hadZone;
    QByteArray m_previous;
};

// as the operator types: each key goes to whatever has the focus at that moment
void typeKeys(const QString& keys)
{
    for (const QChar key : keys) {
        QWidget* focus = QApplication::focusWidget();
        if (key == u':') { // Shift goes down first, as on the keyboard
            QTest::keyPress(focus, Qt::Key_Shift);
            QTest::keyClick(focus, ':', Qt::ShiftModifier);
            QTest::keyRelease(focus, Qt::Key_Shift, Qt::ShiftModifier);
        } else {
            QTest::keyClick(focus, key.toLatin1());
        }
    }
}
} // namespace

class TestBegDate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typedDateIsTheDateTyped_data();
    void typedDateIsTheDateTyped();
    void typingOverASelectionReplacesIt_data();
    void typingOverASelectionReplacesIt();
    void typedDateAndTimeSurviveARestart();
    void clickBesideTheDigitsKeepsTheDate();
};

void TestBegDate::typedDateIsTheDateTyped_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QDate>("date");
    QTest::newRow("UTC") << "UTC"_ba << u"16.11.24"_s << QDate(2024, 11, 16);
    QTest::newRow("UTC+3") << "Europe/Moscow"_ba << u"16.11.24"_s << QDate(2024, 11, 16);
    QTest::newRow("UTC-5") << "America/New_York"_ba << u"16.11.24"_s << QDate(2024, 11, 16);
    QTest::newRow("UTC+5:30") << "Asia/Kolkata"_ba << u"16.11.24"_s << QDate(2024, 11, 16);
    QTest::newRow("digits only") << "Europe/Moscow"_ba << u"161124"_s << QDate(2024, 11, 16);
    QTest::newRow("one-digit day") << "Europe/Moscow"_ba << u"1.11.24"_s << QDate(2024, 11, 1);
    QTest::newRow("London, clocks go forward") << "Europe/London"_ba << u"31.03.24"_s << QDate(2024, 3, 31);
    QTest::newRow("New York, clocks go forward") << "America/New_York"_ba << u"10.03.24"_s << QDate(2024, 3, 10);
    QTest::newRow("Berlin, clocks go back") << "Europe/Berlin"_ba << u"27.10.24"_s << QDate(2024, 10, 27);
    QTest::newRow("Beirut, no midnight that day") << "Asia/Beirut"_ba << u"31.03.24"_s << QDate(2024, 3, 31);
}

void TestBegDate::typedDateIsTheDateTyped()
{
    QFETCH(QByteArray, zone);
    QFETCH(QString, keys);
    QFETCH(QDate, date);
    const LocalZone localZone(zone);
    QWidget host;
    auto* before = new QSpinBox(&host);
    auto* field = new DateField(&host);
    auto* after = new QLineEdit(&host);
    auto* layout = new QVBoxLayout(&host);
    layout->addWidget(before);
    layout->addWidget(field);
    layout->addWidget(after);
    field->setDate(QDate(2006, 10, 22));
    host.show();
    QVERIFY(QTest::qWaitForWindowActive(&host));
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), field);

    typeKeys(keys);
    QCOMPARE(QApplication::focusWidget(), field);
    QTest::keyClick(field, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), after);
    QCOMPARE(after->text(), QString());
    QCOMPARE(field->date(), date);
    QCOMPARE(field->text(), date.toString(u"dd.MM.yy"_s));

    // the arrow keys still step it
    field->setFocus();
    field->setSelectedSection(QDateTimeEdit::YearSection);
    QTest::keyClick(field, Qt::Key_Up);
    QCOMPARE(field->date(), date.addYears(1));
}

void TestBegDate::typingOverASelectionReplacesIt_data()
{
    QTest::addColumn<QVariant>("start"); // a date for the date field, a time for the time field
    QTest::addColumn<QKeySequence>("selecting");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QKeySequence>("then"); // none reads the field still being typed in
    QTest::addColumn<QVariant>("expected");
    const QVariant date(QDate(2006, 10, 22));
    const QVariant time(QTime(16, 43, 19));
    const auto day = [](int year, int month, int day) { return QVariant(QDate(year, month, day)); };
    const auto hour = [](int hour, int minute, int second) { return QVariant(QTime(hour, minute, second)); };
    const QKeySequence all(u"Ctrl+A"_s);
    const QKeySequence homeShiftEnd(u"Home, Shift+End"_s);
    const QKeySequence firstThree(u"Home, Shift+Right, Shift+Right, Shift+Right"_s);
    const QKeySequence tab(u"Tab"_s);
    QTest::newRow("date, Ctrl+A") << date << all << u"31.12.26"_s << tab << day(2026, 12, 31);
    QTest::newRow("date, Home and Shift+End") << date << homeShiftEnd << u"31.12.26"_s << tab << day(2026, 12, 31);
    QTest::newRow("date, another") << day(2027, 1, 2) << all << u"15.03.28"_s << tab << day(2028, 3, 15);
    QTest::newRow("date, digits only") << date << all << u"311226"_s << tab << day(2026, 12, 31);
    QTest::newRow("date, a part") << date << firstThree << u"31."_s << tab << day(2006, 10, 31);
    QTest::newRow("date, a key taken back") << date << all << u"31.12.27\b6"_s << tab << day(2026, 12, 31);
    QTest::newRow("date, no such day") << date << all << u"31.02.26"_s << tab << date;
    QTest::newRow("date, Esc") << date << all << u"31.12.26"_s << QKeySequence(u"Esc"_s) << date;
    QTest::newRow("date, read while typed in") << date << all << u"31.12.26"_s << QKeySequence() << day(2026, 12, 31);
    QTest::newRow("time, Ctrl+A") << time << all << u"19:00:00"_s << tab << hour(19, 0, 0);
    QTest::newRow("time, one-digit hour") << time << all << u"9:30:00"_s << tab << hour(9, 30, 0);
    QTest::newRow("time, over a one-digit hour")
        << hour(9, 5, 0) << homeShiftEnd << u"19:30:00"_s << QKeySequence(u"Return"_s) << hour(19, 30, 0);
    QTest::newRow("time, one-digit hour, then Up")
        << time << all << u"9:30:00"_s << QKeySequence(u"Up"_s) << hour(9, 30, 1);
    QTest::newRow("time, digits only") << time << all << u"193000"_s << tab << hour(19, 30, 0);
    QTest::newRow("time, one-digit hour, digits only") << time << all << u"930"_s << tab << hour(9, 30, 0);
    QTest::newRow("time, a part") << time << firstThree << u"9:"_s << tab << hour(9, 43, 19);
    QTest::newRow("time, no such hour") << time << all << u"25:00"_s << QKeySequence(u"Return"_s) << time;
    QTest::newRow("time, section by section, then Up")
        << time << QKeySequence() << u"19:30:00"_s << QKeySequence(u"Up"_s) << hour(19, 30, 1);
    // a time typed is that time: none of the milliseconds of the design's time stay hidden in it
    const QVariant designTime(QTime(16, 43, 19, 878));
    QTest::newRow("time with milliseconds, digits only") << designTime << all << u"052000"_s << tab << hour(5, 20, 0);
    QTest::newRow("time with milliseconds, section by section")
        << designTime << QKeySequence() << u"19:30:00"_s << tab << hour(19, 30, 0);
    QTest::newRow("time with milliseconds, Up")
        << designTime << QKeySequence() << QString() << QKeySequence(u"Up"_s) << hour(17, 43, 19);
}

void TestBegDate::typingOverASelectionReplacesIt()
{
    QFETCH(QVariant, start);
    QFETCH(QKeySequence, selecting);
    QFETCH(QString, keys);
    QFETCH(QKeySequence, then);
    QFETCH(QVariant, expected);
    const bool isDate = start.typeId() == QMetaType::QDate;
    const std::unique_ptr<QDateTimeEdit> field(isDate ? static_cast<QDateTimeEdit*>(new DateField) : new TimePicker);
    isDate ? field->setDate(start.toDate()) : field->setTime(start.toTime());
    field->show();
    QVERIFY(QTest::qWaitForWindowActive(field.get()));
    field->setFocus(Qt::TabFocusReason);

    QTest::keySequence(field.get(), selecting);
    typeKeys(keys);
    QTest::keySequence(field.get(), then);
    QCOMPARE(isDate ? QVariant(field->date()) : QVariant(field->time()), expected);
    const QString format = field->displayFormat();
    QCOMPARE(field->text(), isDate ? expected.toDate().toString(format) : expected.toTime().toString(format));
}

void TestBegDate::typedDateAndTimeSurviveARestart()
{
    const LocalZone localZone("Asia/Kolkata");
    WindowFixture w;
    w.start();
    w.ui().begDate().setFocus(Qt::TabFocusReason);
    typeKeys(u"16.11.24"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), &w.ui().begTime());
    typeKeys(u"7:05:30"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(w.ui().begDate().date(), QDate(2024, 11, 16));
    QCOMPARE(w.ui().begTime().time(), QTime(7, 5, 30));
    w.form->close();
    w.form.reset();

    QFile file(settingsFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    QVERIFY2(saved.contains("\r\nBegDate_Text=16.11.24\r\n"), saved.constData());
    w.start();
    QCOMPARE(w.ui().begDate().date(), QDate(2024, 11, 16));
    QCOMPARE(w.ui().begDate().text(), u"16.11.24"_s);
    QCOMPARE(w.ui().begTime().time().toString(u"H:mm:ss"_s), u"7:05:30"_s);

    // the window closed while a date is typed over the old one: saved as it will read
    w.ui().begDate().setFocus(Qt::TabFocusReason);
    QTest::keyClick(&w.ui().begDate(), Qt::Key_A, Qt::ControlModifier);
    typeKeys(u"311226"_s);
    w.form->close();
    file.close();
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("\r\nBegDate_Text=31.12.26\r\n"));
    QCOMPARE(w.errors, QStringList());
}

void TestBegDate::clickBesideTheDigitsKeepsTheDate()
{
    const LocalZone localZone("Europe/Moscow");
    DateField field;
    field.setDate(QDate(2024, 11, 16));
    field.resize(70, 19);
    field.show();
    QVERIFY(QTest::qWaitForWindowActive(&field));
    const QRect digits = field.findChild<QLineEdit*>()->geometry();
    const int middle = field.height() / 2;
    for (const QPoint spot : {QPoint(0, middle), QPoint(digits.left() - 1, middle), QPoint(digits.center().x(), 0),
                              QPoint(digits.center().x(), field.height() - 1)}) {
        QTest::mouseClick(&field, Qt::LeftButton, {}, spot);
        QVERIFY2(field.date() == QDate(2024, 11, 16),
                 qPrintable(u"a click at %1,%2 made it %3"_s.arg(spot.x()).arg(spot.y()).arg(field.text())));
    }
    QTest::mouseClick(&field, Qt::LeftButton, {}, QPoint(field.width() - 3, middle));
    QTRY_VERIFY2(field.calendarWidget()->isVisible(), "the calendar button opens the calendar");
}

QTEST_MAIN(TestBegDate)
#include "test_begdate.moc"
