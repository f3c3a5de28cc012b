#include "shell/FormStorage.h"
#include "shell/ProfileFile.h"
#include "shell/StationDialog.h"
#include "shell/StationSettings.h"
#include "store/TableView.h"
#include "support/ExportJournal.h"
#include "support/WindowFixture.h"
#include "widgets/DataGrid.h"
#include "widgets/SpinField.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

// The station data and the exports driven through the window's menu and the real station dialog.
class TestUnit1Exports : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { m_w.reset(); }
    void menuHoldsTheExportsAfterExportJournal();
    void firstExportAsksForTheStationThenWrites();
    void stationDataLiveBesideTheWindowSettings();

private:
    // types into the station dialog once it is up, then presses the key
    void answerStationDialog(const QString& callsign, Qt::Key key);

    std::unique_ptr<WindowFixture> m_w;
    bool m_dialogSeen = false;
};

void TestUnit1Exports::init()
{
    m_w = std::make_unique<WindowFixture>();
    m_dialogSeen = false;
    m_w->start();
}

void TestUnit1Exports::answerStationDialog(const QString& callsign, Qt::Key key)
{
    QTimer::singleShot(0, this, [this, callsign, key] {
        auto* dialog = qobject_cast<StationDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            return;
        }
        m_dialogSeen = true;
        QWidget* focused = dialog->focusWidget();
        QTest::keyClicks(focused, callsign);
        QTest::keyClick(focused, key);
    });
}

void TestUnit1Exports::menuHoldsTheExportsAfterExportJournal()
{
    QStringList names;
    for (const QAction* action : m_w->form->findChild<QMenu*>(u"File1"_s)->actions()) {
        names << action->objectName();
    }
    const qsizetype journal = names.indexOf(u"ExportJournal1"_s);
    const qsizetype station = names.indexOf(u"Station1"_s);
    QVERIFY(journal >= 0 && station > journal);
    QCOMPARE(names.mid(station, 3), QStringList({u"Station1"_s, u"ExportCabrillo1"_s, u"ExportADIF1"_s}));
    QCOMPARE(m_w->form->findChild<QAction*>(u"ExportCabrillo1"_s)->text(), u"Export Cabrillo..."_s);
}

void TestUnit1Exports::firstExportAsksForTheStationThenWrites()
{
    TableView& journal = m_w->ui().journalView();
    journal.append();
    journal.setValue(u"D"_s, QDate(2006, 10, 22));
    journal.setValue(u"T"_s, QTime(20, 5, 13));
    journal.setValue(u"ContestNumber"_s, m_w->ui().contestNumber().value());
    journal.setValue(u"Diapasone"_s, 80);
    journal.setValue(u"Modulation"_s, u"CW"_s);
    journal.setValue(u"CallSign"_s, u"УА3ЧБЦ"_s);
    journal.setValue(u"SentText"_s, u"22 001"_s);
    journal.setValue(u"RecvText"_s, u"23 015"_s);
    journal.post();
    QAction* exportCabrillo = m_w->form->findChild<QAction*>(u"ExportCabrillo1"_s);

    // Esc leaves the station data empty and writes nothing
    answerStationDialog(u"UA3ABC/P"_s, Qt::Key_Escape);
    exportCabrillo->trigger();
    QVERIFY(m_dialogSeen);
    QVERIFY(!QFile::exists(m_w->env.path(u"UA3ABC_P.log"_s)));

    // the categories robots require are asked for; the operator writes the log without them
    m_dialogSeen = false;
    answerStationDialog(u"UA3ABC/P"_s, Qt::Key_Return);
    m_w->prompter.answers.push_back(u"Write anyway"_s);
    exportCabrillo->trigger();
    QCOMPARE(m_w->prompter.questions.size(), 1);
    QVERIFY(m_dialogSeen);
    QFile file(m_w->env.path(u"UA3ABC_P.log"_s));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray log = file.readAll();
    QVERIFY2(log.contains("\r\nCALLSIGN: UA3ABC/P\r\n"), log.constData());
    QCOMPARE(m_w->prompter.messages.size(), 1);
    QVERIFY(m_w->prompter.messages.at(0).contains(u"УА3ЧБЦ"_s));

    // the station is kept: the next export asks nothing more
    m_dialogSeen = false;
    answerStationDialog(QString(), Qt::Key_Escape);
    m_w->form->findChild<QAction*>(u"ExportADIF1"_s)->trigger();
    QVERIFY(!m_dialogSeen);
    QVERIFY(QFile::exists(m_w->env.path(u"UA3ABC_P.adi"_s)));
    QCOMPARE(m_w->errors, QStringList());
}

void TestUnit1Exports::stationDataLiveBesideTheWindowSettings()
{
    m_w->form->formStorage1().save();
    answerStationDialog(u"R3A"_s, Qt::Key_Return);
    m_w->form->findChild<QAction*>(u"Station1"_s)->trigger();
    QVERIFY(m_dialogSeen);
    // each save keeps the other's section
    for (int round = 0; round < 2; ++round) {
        ProfileFile profile(settingsFilePath());
        QVERIFY(profile.load());
        QCOMPARE(profile.value(u"Station"_s, u"Callsign"_s, QString()), u"R3A"_s);
        QCOMPARE(profile.value(u"TForm1"_s, u"ContestNumber_Value"_s, QString()),
                 QString::number(m_w->ui().contestNumber().value()));
        m_w->form->formStorage1().save();
    }
    // every field, the newer ones too, comes back as it was saved
    Station station = fullStation();
    station.categoryAssisted = u"ASSISTED"_s;
    station.categoryTime = u"12-HOURS"_s;
    station.categoryOverlay = u"YOUTH"_s;
    station.certificate = u"NO"_s;
    station.addressCity = u"Тула"_s;
    station.addressStateProvince = u"TL"_s;
    station.addressPostalcode = u"300000"_s;
    station.addressCountry = u"Россия"_s;
    station.location = u"EU"_s;
    station.gridLocator = u"KO94"_s;
    saveStation(station);
    QCOMPARE(loadStation(), station);
    QCOMPARE(m_w->errors, QStringList());
}

QTEST_MAIN(TestUnit1Exports)
#include "test_unit1exports.moc"
