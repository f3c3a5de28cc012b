#include "shell/BandMarks.h"

#include "store/TableNames.h"
#include "store/TableView.h"
#include "widgets/DataGrid.h"
#include "widgets/Panel.h"
#include "widgets/WindowLook.h"

#include <algorithm>

namespace
{
template<typename Control>
int indexOf(const std::array<Control*, kBandCount>& controls, const void* control)
{
    const auto found = std::find(controls.cbegin(), controls.cend(), control);
    return found == controls.cend() ? -1 : int(found - controls.cbegin());
}
} // namespace

int markedBand(const Unit1Controls& ui)
{
    std::array<int, kBandCount> marks{};
    for (int band = 0; band < kBandCount; ++band) {
        marks.at(band) = ui.titlePanels.at(band)->tag();
    }
    return activeBandIndex(marks);
}

void markBand(const Unit1Controls& ui, const Panel* panel)
{
    for (Panel* other : ui.titlePanels) {
        const bool marked = other == panel;
        other->setBackground(marked ? QColor::fromRgb(BandColour::kActivePanel) : buttonFace());
        other->setCaptionColor(QColor::fromRgb(marked ? BandColour::kActiveCaption : BandColour::kInactiveCaption));
        other->setTag(marked ? 1 : 0);
    }
    for (DataGrid* grid : ui.bandGrids) {
        grid->viewport()->update();
    }
    if (const int band = indexOf(ui.titlePanels, panel); band >= 0) {
        ui.bandGrids.at(band)->setFocus();
    }
}

int bandOfGrid(const Unit1Controls& ui, const DataGrid& grid)
{
    return indexOf(ui.bandGrids, &grid);
}

void paintBandCell(const Unit1Controls& ui, int band, const TableView& view, int row, CellParams& params,
                   bool highlight)
{
    QVariant time;
    try {
        time = view.valueAt(row, view.fieldIndex(kFieldTime));
    } catch (...) {
        // painting goes on; the grid's own read of the row reports the failure
    }
    const BandCellLook look = bandCellLook(ui.titlePanels.at(band)->tag() == 1, isWorked(time), highlight);
    params.text = QColor::fromRgb(look.text);
    if (look.background) {
        params.background = QColor::fromRgb(*look.background);
    }
    params.font.setBold(look.bold);
}
