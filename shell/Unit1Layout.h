#pragma once

#include "contest/BandViews.h"
#include "widgets/TableViewModel.h"

#include <QList>

#include <array>

class DataGrid;
class DateField;
class DigitalClock;
class Gauge;
class Panel;
class PanelStatusBar;
class QAction;
class QCheckBox;
class QLabel;
class QMainWindow;
class QMenu;
class SpinField;
class TimePicker;

// Every control of the main window, under the names the handlers use.
struct Unit1Controls
{
    Panel* panel4 = nullptr;
    DigitalClock* rxClock1 = nullptr;
    Panel* panel6 = nullptr;
    QLabel* label1 = nullptr;
    SpinField* kiEdit = nullptr;
    QLabel* label2 = nullptr;
    SpinField* nppEdit = nullptr;
    Panel* sendTextPanel = nullptr;
    Panel* panel7 = nullptr;
    QLabel* label6 = nullptr;
    SpinField* contestNumber = nullptr;
    QLabel* label4 = nullptr;
    DateField* begDate = nullptr;
    TimePicker* begTime = nullptr;
    QCheckBox* autoChangeTour = nullptr;
    QLabel* label7 = nullptr;
    SpinField* tour = nullptr;
    SpinField* tours = nullptr;
    SpinField* tourMinutes = nullptr;
    QCheckBox* editing = nullptr;

    // in the band order of bandViews()
    std::array<Panel*, kBandCount> columnPanels{};
    std::array<Panel*, kBandCount> titlePanels{};
    std::array<DataGrid*, kBandCount> bandGrids{};
    DataGrid* rxDBGrid3 = nullptr;

    PanelStatusBar* statusBar1 = nullptr;
    Gauge* gauge1 = nullptr;
    // the radio's state, in the free space of the contest area; hidden while no radio is followed
    QLabel* radioLabel = nullptr;
    QAction* radio1 = nullptr;

    QMenu* file1 = nullptr;
    QAction* clearContestTable1 = nullptr;
    QAction* importCallsign1 = nullptr;
    QAction* newCallsign1 = nullptr;
    QAction* exportJournal1 = nullptr;
    QAction* exit1 = nullptr;
    QAction* openContestFolder1 = nullptr;
    QAction* station1 = nullptr;
    QAction* exportCabrillo1 = nullptr;
    QAction* exportADIF1 = nullptr;
    QAction* restoreParticipants1 = nullptr;
};

// Builds the window's controls at their design positions, sizes, looks and values.
Unit1Controls buildUnit1Layout(QMainWindow& window);

// The columns of a band grid (band index as in bandViews()) and of the journal grid.
QList<GridColumn> bandGridColumns(int band);
QList<GridColumn> journalGridColumns();

constexpr int kTourNumberColumn = 4;
// the gauge starts here in the status bar and ends one pixel short of its right end
constexpr int kGaugeLeft = 323;
constexpr int kGaugeRightMargin = 324;
