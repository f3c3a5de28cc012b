#include "shell/ErrorBox.h"
#include "shell/FormStorage.h"
#include "shell/SettingsFormat.h"
#include "store/StoreError.h"
#include "support/TestEnvironment.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QMetaProperty>
#include <QScreen>
#include <QSpinBox>
#include <QTest>

#include <limits>
#include <memory>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace
{
const QRect kDesignGeometry(100, 100, 400, 300);
const QDateTime kDesignTime(QDate(2006, 10, 17), QTime(16, 43, 19, 878));

QString screenSize()
{
    const QSize size = QGuiApplication::primaryScreen()->size();
    return u"%1x%2"_s.arg(size.width()).arg(size.height());
}

// "<ppi>" and "<size>" stand for this screen's values
void writeSettings(const QByteArray& body)
{
    QByteArray text = "[TForm1]\r\n" + body;
    text.replace("<ppi>", QByteArray::number(QWidget().logicalDpiY())).replace("<size>", screenSize().toUtf8());
    QFile file(settingsFilePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QStringList settingsLines()
{
    QFile file(settingsFilePath());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split(u"\r\n"_s) : QStringList();
}

// the value of the one line that holds the key, in any letter case
QString savedValue(const QString& key)
{
    const QStringList found = settingsLines().filter(
        QRegularExpression(u"^"_s + QRegularExpression::escape(key) + u'=', QRegularExpression::CaseInsensitiveOption));
    return found.size() == 1 ? found.first().mid(key.size() + 1) : u"<%1 lines>"_s.arg(found.size());
}
} // namespace

// Stands in for the main window: nine controls bound as the stored properties, a restore at the first
// showing and a save on each close request. Every setter call is noted, as a change handler would see it.
class StoredForm : public QMainWindow
{
public:
    StoredForm()
    {
        std::vector<StoredProperty> list;
        for (const auto& [name, value] : {std::pair{u"KIEdit"_s, 22},
                                          {u"NppEdit"_s, 1},
                                          {u"Tour"_s, 0},
                                          {u"TourMinutes"_s, 30},
                                          {u"Tours"_s, 8},
                                          {u"ContestNumber"_s, 1}}) {
            auto* box = add<QSpinBox>(name);
            box->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
            box->setValue(value);
            list.push_back({name, u"Value"_s,
                            WholeNumberProperty{[box] { return box->value(); },
                                                [=, this](int v) {
                                                    box->setValue(v);
                                                    changed(box);
                                                }}});
        }
        auto* check = add<QCheckBox>(u"AutoChangeTour"_s);
        check->setChecked(true);
        list.push_back({check->objectName(), u"Checked"_s,
                        TruthProperty{[check] { return check->isChecked(); },
                                      [=, this](bool v) {
                                          check->setChecked(v);
                                          changed(check);
                                      }}});
        auto* date = add<QLineEdit>(u"BegDate"_s);
        date->setText(u"22.10.06"_s);
        list.push_back({date->objectName(), u"Text"_s,
                        TextProperty{[date] { return date->text(); },
                                     [=, this](const QString& v) {
                                         date->setText(v);
                                         changed(date);
                                     }}});
        auto* time = add<QDateTimeEdit>(u"BegTime"_s);
        time->setDateTime(kDesignTime);
        list.push_back({time->objectName(), u"Time"_s,
                        TimeOfDayProperty{[time] { return time->dateTime(); },
                                          [=, this](QTime v) {
                                              time->setTime(v);
                                              changed(time);
                                          }}});
        setGeometry(kDesignGeometry);
        storage = std::make_unique<FormStorage>(this, std::move(list));
    }

    QString readout(const QString& name) const
    {
        const QWidget* control = findChild<QWidget*>(name);
        return control->metaObject()->userProperty().read(control).toString();
    }

    QSpinBox* spin(const QString& name) const { return findChild<QSpinBox*>(name); }

    // what the setters ran for, as "control=value"; a setter of `failingControl` throws as a handler may
    QStringList changes;
    QString failingControl;
    std::unique_ptr<FormStorage> storage;

protected:
    void showEvent(QShowEvent* event) override
    {
        if (!std::exchange(m_shown, true)) {
            runGuarded(this, [this] { storage->restore(); });
        }
        QMainWindow::showEvent(event);
    }

    void closeEvent(QCloseEvent* event) override
    {
        runGuarded(this, [this] { storage->save(); });
        event->accept();
    }

private:
    template<typename Control>
    Control* add(const QString& name)
    {
        auto* control = new Control(this);
        control->setObjectName(name);
        return control;
    }

    void changed(const QWidget* control)
    {
        changes << control->objectName() + u'=' + readout(control->objectName());
        if (control->objectName() == failingControl) {
            throw StoreError(u"handler failed"_s);
        }
    }

    bool m_shown = false;
};

class TestFormStorage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_errors.clear();
        setErrorReporter([this](const QString& message) { m_errors << message; });
    }

    void cleanup()
    {
        setErrorReporter({});
        m_env.reset();
    }

    void firstSaveWritesEveryKeyInOrder()
    {
        // a comma as the locale's decimal separator must not reach the file
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        StoredForm form;
        form.show();
        QVERIFY(form.changes.isEmpty());
        form.close();
        QLocale::setDefault(QLocale::c());

        const QString size = screenSize();
        const QString normPos = u"100,100,500,400"_s;
        const QStringList expected = {u"[TForm1]"_s,
                                      u"FormVersion=0"_s,
                                      u"Flags=0"_s,
                                      u"ShowCmd=1"_s,
                                      u"PixelsPerInch="_s + QString::number(form.logicalDpiY()),
                                      u"MinMaxPos(%1)=-1,-1,-1,-1"_s.arg(size),
                                      u"MinMaxPos=-1,-1,-1,-1"_s,
                                      u"NormPos(%1)=%2"_s.arg(size, normPos),
                                      u"NormPos="_s + normPos,
                                      u"Visible=0"_s,
                                      u"KIEdit_Value=22"_s,
                                      u"NppEdit_Value=1"_s,
                                      u"Tour_Value=0"_s,
                                      u"TourMinutes_Value=30"_s,
                                      u"Tours_Value=8"_s,
                                      u"ContestNumber_Value=1"_s,
                                      u"AutoChangeTour_Checked=True"_s,
                                      u"BegDate_Text=22.10.06"_s,
                                      u"BegTime_Time=39007.6967578472"_s,
                                      QString()};
        QCOMPARE(settingsLines(), expected);
    }

    void restoresValue_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("written");

        // `shown` empty: the control keeps its value and no setter runs
        const auto row = [](const char* name, const char* line, const char* control, const char* shown,
                            const char* written) {
            QTest::newRow(name) << QByteArray(line) << QString::fromUtf8(control) << QString::fromUtf8(shown)
                                << QString::fromUtf8(written);
        };
        row("2.5 rounds to even 2", "KIEdit_Value=2.5", "KIEdit", "2", "2");
        row("3.5 rounds to even 4", "KIEdit_Value=3.5", "KIEdit", "4", "4");
        row("letters", "KIEdit_Value=abc", "KIEdit", "", "22");
        row("empty number", "KIEdit_Value=", "KIEdit", "", "22");
        row("comma is no decimal point", "KIEdit_Value=2,5", "KIEdit", "", "22");
        row("beyond the field's range", "KIEdit_Value=2147483648", "KIEdit", "", "22");
        row("at the field's range", "KIEdit_Value=-2147483648", "KIEdit", "-2147483648", "-2147483648");
        row("key in other case", "kiedit_value=7", "KIEdit", "7", "7");
        row("contest number", "ContestNumber_Value=3", "ContestNumber", "3", "3");
        row("same value runs no setter", "Tour_Value=0", "Tour", "", "0");
        row("false in lower case", "AutoChangeTour_Checked=false", "AutoChangeTour", "false", "False");
        row("0 is no truth value", "AutoChangeTour_Checked=0", "AutoChangeTour", "", "True");
        row("date text set unchecked", "BegDate_Text=no date", "BegDate", "no date", "no date");
        row("date text in single quotes", "BegDate_Text=\"'22.10.06'\"", "BegDate", "'22.10.06'", "\"'22.10.06'\"");
        row("half a day keeps the date", "BegTime_Time=0.5", "BegTime", "2006-10-17T12:00:00.000", "39007.5");
        row("time before day zero", "BegTime_Time=-1.25", "BegTime", "2006-10-17T06:00:00.000", "39007.25");
        row("same time of day", "BegTime_Time=12345.6967578472", "BegTime", "", "39007.6967578472");
    }

    void restoresValue()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, control);
        QFETCH(QString, shown);
        QFETCH(QString, written);
        writeSettings(line + "\r\n");
        StoredForm form;
        const QString before = form.readout(control);
        form.show();
        QCOMPARE(form.readout(control), shown.isEmpty() ? before : shown);
        QCOMPARE(form.changes, shown.isEmpty() ? QStringList() : QStringList{control + u'=' + shown});
        form.close();
        QCOMPARE(savedValue(QString::fromUtf8(line.left(line.indexOf('=')))), written);
    }

    void restoresPlacementAndState_data()
    {
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<int>("state");

        const QRect design = kDesignGeometry;
        const QRect stored(20, 30, 400, 300);
        const int normal = Qt::WindowNoState;
        const int maximized = Qt::WindowMaximized;
        const auto row = [](const char* name, const char* keys, QRect geometry, int state) {
            QTest::newRow(name) << QByteArray(keys) << geometry << state;
        };
        row("no keys", "", design, normal);
        row("another screen size, plain key", "PixelsPerInch=<ppi>\r\nNormPos(1x1)=1,1,9,9\r\nNormPos=20,30,420,330",
            stored, normal);
        row("this screen size first", "NormPos(<size>)=20,30,420,330\r\nNormPos=1,1,900,900", stored, normal);
        row("empty sized key falls back", "NormPos(<size>)=\r\nNormPos=20,30,420,330", stored, normal);
        row("other pixels per inch keeps the state", "PixelsPerInch=1<ppi>\r\nNormPos=20,30,420,330\r\nShowCmd=3",
            design, maximized);
        row("wholly off every screen", "NormPos=5000,5000,5400,5300", design, normal);
        row("partly on a screen", "NormPos=700,500,1100,800", QRect(700, 500, 400, 300), normal);
        row("right not beyond left", "NormPos=300,30,300,330", design, normal);
        row("bottom not below top", "NormPos=20,330,420,330", design, normal);
        row("missing words take the current edges", "NormPos=20,30", QRect(20, 30, 480, 370), normal);
        row("malformed word takes the current edge", "NormPos=20,x,420,500", QRect(20, 100, 400, 400), normal);
        row("commas and blanks", "NormPos= 20 , 30,,420 330", stored, normal);
        row("3 maximised", "ShowCmd=3", design, maximized);
        for (const char* command : {"ShowCmd=2", "ShowCmd=6", "ShowCmd=7"}) {
            row(command, command, design, Qt::WindowMinimized);
        }
        row("unknown show command", "ShowCmd=42", design, normal);
        row("hexadecimal form version", "FormVersion=0x1F\r\nShowCmd=3", design, maximized);
        row("malformed form version counts as 0", "FormVersion=abc\r\nShowCmd=3", design, maximized);
        row("form version below 0 applies nothing", "FormVersion=-1\r\nShowCmd=3\r\nNormPos=20,30,420,330", design,
            normal);
    }

    void restoresPlacementAndState()
    {
        QFETCH(QByteArray, keys);
        QFETCH(QRect, geometry);
        QFETCH(int, state);
        writeSettings(keys + "\r\n");
        StoredForm form;
        form.show();
        QCoreApplication::processEvents();
        QCOMPARE(form.normalGeometry(), geometry);
        QCOMPARE(int(form.windowState() & ~Qt::WindowActive), state);
    }

    // a minimised window saves 2; the next run opens normal and minimises once the event loop runs
    void minimisedStateRoundTrips_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("showCmd");
        QTest::newRow("normal") << int(Qt::WindowNoState) << u"1"_s;
        QTest::newRow("minimised") << int(Qt::WindowMinimized) << u"2"_s;
        QTest::newRow("maximised") << int(Qt::WindowMaximized) << u"3"_s;
        QTest::newRow("full screen kept as maximised") << int(Qt::WindowFullScreen) << u"3"_s;
    }

    void minimisedStateRoundTrips()
    {
        QFETCH(int, state);
        QFETCH(QString, showCmd);
        {
            StoredForm form;
            form.show();
            form.setWindowState(Qt::WindowStates(state));
            form.close();
        }
        QCOMPARE(savedValue(u"ShowCmd"_s), showCmd);
        QCOMPARE(savedValue(u"NormPos"_s), u"100,100,500,400"_s);

        StoredForm next;
        next.show();
        const bool minimised = state == Qt::WindowMinimized;
        QCOMPARE(next.isMinimized(), false);
        QCoreApplication::processEvents();
        QCOMPARE(next.isMinimized(), minimised);
        QCOMPARE(next.isMaximized(), !minimised && state != Qt::WindowNoState);
    }

    void savesAtAnyMomentAndAtDestructionOnlyIfNeeded()
    {
        {
            StoredForm neverShown;
        }
        QVERIFY2(!QFile::exists(settingsFilePath()), "a window never shown wrote its settings");

        auto form = std::make_unique<StoredForm>();
        form->show();
        form->spin(u"NppEdit"_s)->setValue(5);
        form->storage->save();
        QCOMPARE(savedValue(u"NppEdit_Value"_s), u"5"_s);
        form->spin(u"NppEdit"_s)->setValue(6);
        form->close();
        form->spin(u"NppEdit"_s)->setValue(7);
        form.reset();
        QCOMPARE(savedValue(u"NppEdit_Value"_s), u"6"_s);
        QCOMPARE(savedValue(u"Visible"_s), u"0"_s);

        form = std::make_unique<StoredForm>();
        form->show();
        form->spin(u"NppEdit"_s)->setValue(8);
        form.reset();
        QCOMPARE(savedValue(u"NppEdit_Value"_s), u"8"_s);
        QCOMPARE(savedValue(u"Visible"_s), u"1"_s);
        QVERIFY(m_errors.isEmpty());
    }

    void reportsUnwritableFileAndClosesAnyway()
    {
        const QString message = u"Unable to write to "_s + QDir::toNativeSeparators(settingsFilePath());
        auto form = std::make_unique<StoredForm>();
        form->show();
        form->storage->save();
        QVERIFY(QFile::remove(settingsFilePath()));
        QVERIFY(QDir().mkpath(settingsFilePath()));
        form->close();
        QVERIFY(!form->isVisible());
        QCOMPARE(m_errors, QStringList{message});
        // the close did not complete its save, so destruction tries once more and is refused the same way,
        // which the error box does not show a second time in a row
        form.reset();
        QCOMPARE(m_errors, QStringList{message});
    }

    void garbageFileGivesDefaultsAndIsKept_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("binary") << QByteArray("\x7F"
                                              "ELF\x02\x01\x00\x00[\xFF\r\n=\x00]\n\xFE\xFF",
                                              20);
        QTest::newRow("one endless line") << QByteArray(1 << 20, '[');
        QTest::newRow("values of the wrong kind")
            << "[TForm1]\nFormVersion=\xFF\nShowCmd=\x00\nNormPos=,,,,\nKIEdit_Value=\xFF\xFE\n"
               "AutoChangeTour_Checked=yes\nBegTime_Time=NaN\nTour_Value=inf\n"_ba;
    }

    void garbageFileGivesDefaultsAndIsKept()
    {
        QFETCH(QByteArray, content);
        QFile file(settingsFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        StoredForm form;
        form.show();
        QCOMPARE(form.changes, QStringList());
        QCOMPARE(form.geometry(), kDesignGeometry);
        form.close();
        QVERIFY(m_errors.isEmpty());
        QCOMPARE(savedValue(u"KIEdit_Value"_s), u"22"_s);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray foreign = content.startsWith("[TForm1]") ? QByteArray() : content.left(content.indexOf('\n'));
        QVERIFY2(file.readAll().startsWith(foreign), "foreign content was lost");
    }

    void failingHandlerDoesNotStopTheOthers()
    {
        writeSettings("Tour_Value=2\r\nContestNumber_Value=3\r\n");
        StoredForm form;
        form.failingControl = u"Tour"_s;
        form.show();
        QCOMPARE(form.changes, QStringList({u"Tour=2"_s, u"ContestNumber=3"_s}));
        QCOMPARE(m_errors, QStringList{u"handler failed"_s});
        // the restore counts as done, so the close still saves
        form.close();
        QCOMPARE(savedValue(u"ContestNumber_Value"_s), u"3"_s);
    }

    void formatsDateTime_data()
    {
        QTest::addColumn<QDateTime>("dateTime");
        QTest::addColumn<QString>("written");
        QTest::newRow("day zero") << QDateTime(QDate(1899, 12, 30), QTime(0, 0)) << u"0"_s;
        QTest::newRow("before day zero") << QDateTime(QDate(1899, 12, 29), QTime(6, 0)) << u"-1.25"_s;
    }

    void formatsDateTime()
    {
        QFETCH(QDateTime, dateTime);
        QFETCH(QString, written);
        QCOMPARE(formatDateTime(dateTime), written);
        QCOMPARE(parseTimeOfDay(written), std::optional<QTime>(dateTime.time()));
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    QStringList m_errors;
};

QTEST_MAIN(TestFormStorage)
#include "test_formstorage.moc"
