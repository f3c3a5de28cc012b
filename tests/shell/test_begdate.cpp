#include "shell/ProfileFile.h"
#include "shell/Unit1.h"
#include "support/TestEnvironment.h"
#include "support/WindowControls.h"
#include "widgets/DateField.h"
#include "widgets/TimePicker.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QFile>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
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

void TestBegDate::typedDateAndTimeSurviveARestart()
{
    const TestEnvironment env;
    const LocalZone localZone("Asia/Kolkata");
    auto form = std::make_unique<TForm1>();
    controls(form).timer1().stop();
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    controls(form).begDate().setFocus(Qt::TabFocusReason);
    typeKeys(u"16.11.24"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), &controls(form).begTime());
    typeKeys(u"7:05:30"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(controls(form).begDate().date(), QDate(2024, 11, 16));
    QCOMPARE(controls(form).begTime().time(), QTime(7, 5, 30, 878));
    form->close();
    form.reset();

    QFile file(settingsFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    QVERIFY2(saved.contains("\r\nBegDate_Text=16.11.24\r\n"), saved.constData());
    form = std::make_unique<TForm1>();
    controls(form).timer1().stop();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QCOMPARE(controls(form).begDate().date(), QDate(2024, 11, 16));
    QCOMPARE(controls(form).begDate().text(), u"16.11.24"_s);
    QCOMPARE(controls(form).begTime().time().toString(u"H:mm:ss"_s), u"7:05:30"_s);
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
