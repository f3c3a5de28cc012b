#pragma once

#include "shell/Unit1Layout.h"

struct CellParams;
class TableView;

// The active band as the operator sees it: its title panel marked green, the text of its grid blue, and
// in every band grid the worked rows pink and the current row yellow while the grid has the focus.

// the band whose title panel is the first to carry the active mark, or -1
int markedBand(const Unit1Controls& ui);
// marks the band of the title panel and gives its grid the focus
void markBand(const Unit1Controls& ui, const Panel* panel);
// the band of a band grid, or -1 for another grid
int bandOfGrid(const Unit1Controls& ui, const DataGrid& grid);
void paintBandCell(const Unit1Controls& ui, int band, const TableView& view, int row, CellParams& params,
                   bool highlight);
