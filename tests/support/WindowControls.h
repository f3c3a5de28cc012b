#pragma once

#include "contest/BandViews.h"
#include "shell/Unit1.h"
#include "store/TableView.h"
#include "widgets/DataGrid.h"
#include "widgets/DateField.h"
#include "widgets/DigitalClock.h"
#include "widgets/Gauge.h"
#include "widgets/Panel.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"
#include "widgets/TimePicker.h"

#include <QAction>
#include <QCheckBox>
#include <QMetaObject>
#include <QTimer>

#include <array>
#include <cstdlib>

// The main window's controls, views and timer, found by their object names the way a user of the window
// sees them; band index as in bandViews(): 80 m SSB, 80 m CW, 160 m SSB, 160 m CW.
class WindowControls
{
public:
    explicit WindowControls(const TForm1& form)
        : m_form(form)
    {
    }

    TableView& callsignView() const { return named<TableView>(QStringLiteral("Callsign")); }
    TableView& journalView() const { return named<TableView>(QStringLiteral("Journal")); }
    TableView& bandView(int band) const { return named<TableView>(bandViews().at(band).viewName); }
    TableView& contest80() const { return bandView(0); }
    TableView& contest160CW() const { return bandView(3); }
    QTimer& timer1() const { return named<QTimer>(QStringLiteral("Timer1")); }

    DigitalClock& rxClock1() const { return named<DigitalClock>(QStringLiteral("RxClock1")); }
    SpinField& kiEdit() const { return named<SpinField>(QStringLiteral("KIEdit")); }
    SpinField& nppEdit() const { return named<SpinField>(QStringLiteral("NppEdit")); }
    Panel& sendTextPanel() const { return named<Panel>(QStringLiteral("SendTextPanel")); }
    SpinField& contestNumber() const { return named<SpinField>(QStringLiteral("ContestNumber")); }
    DateField& begDate() const { return named<DateField>(QStringLiteral("BegDate")); }
    TimePicker& begTime() const { return named<TimePicker>(QStringLiteral("BegTime")); }
    QCheckBox& autoChangeTour() const { return named<QCheckBox>(QStringLiteral("AutoChangeTour")); }
    SpinField& tour() const { return named<SpinField>(QStringLiteral("Tour")); }
    SpinField& tours() const { return named<SpinField>(QStringLiteral("Tours")); }
    SpinField& tourMinutes() const { return named<SpinField>(QStringLiteral("TourMinutes")); }
    QCheckBox& editing() const { return named<QCheckBox>(QStringLiteral("Editing")); }
    Panel& columnPanel(int band) const
    {
        static const std::array<const char*, kBandCount> names = {"Panel1", "Panel3", "Panel9", "Panel2"};
        return named<Panel>(QString::fromLatin1(names.at(band)));
    }
    Panel& titlePanel(int band) const
    {
        static const std::array<const char*, kBandCount> names = {"Panel80", "Panel80CW", "Panel160", "Panel160CW"};
        return named<Panel>(QString::fromLatin1(names.at(band)));
    }
    DataGrid& bandGrid(int band) const { return named<DataGrid>(bandViews().at(band).gridName); }
    DataGrid& rxDBGrid3() const { return named<DataGrid>(QStringLiteral("RxDBGrid3")); }
    PanelStatusBar& statusBar1() const { return named<PanelStatusBar>(QStringLiteral("StatusBar1")); }
    Gauge& gauge1() const { return named<Gauge>(QStringLiteral("Gauge1")); }
    QAction& clearContestTable1() const { return named<QAction>(QStringLiteral("ClearContestTable1")); }
    QAction& importCallsign1() const { return named<QAction>(QStringLiteral("ImportCallsign1")); }
    QAction& newCallsign1() const { return named<QAction>(QStringLiteral("NewCallsign1")); }
    QAction& exportJournal1() const { return named<QAction>(QStringLiteral("ExportJournal1")); }
    QAction& exit1() const { return named<QAction>(QStringLiteral("Exit1")); }

    // a tick of the window's timer, as the running timer gives it
    void tick() const { QMetaObject::invokeMethod(&timer1(), "timeout", Qt::DirectConnection); }

private:
    template<typename Control>
    Control& named(const QString& name) const
    {
        auto* control = m_form.findChild<Control*>(name);
        if (control == nullptr) {
            qFatal("the window has no control named %s", qPrintable(name));
        }
        return *control;
    }

    const TForm1& m_form;
};

inline WindowControls controls(const TForm1& form)
{
    return WindowControls(form);
}
// through a pointer to the window, raw or owning
template<typename Pointer>
WindowControls controls(const Pointer& form)
{
    return WindowControls(*form);
}
