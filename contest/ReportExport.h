#pragma once

#include "contest/Score.h"

#include <QDir>

#include <functional>

class ReportLines;
class TableView;

// Writes Report.txt in code page 1251 with CR LF line ends: the header, one line per row of the journal
// view in its order (the view is left on its last row), the footer with the given totals. The new report
// is written to a temporary file first; only once it is complete do the older reports move down one
// place (Report.txt -> .000 -> .001 -> .002, the oldest dropped) and the new one is renamed into place,
// so no half report is ever left behind. Raises StoreError naming the file if the report cannot be
// written; a file that cannot be created, a full disk or a store error while reading the journal show
// before anything has moved. Lines kept from an earlier report are used where given.
void writeReport(TableView& journal, const ScoreTotals& totals, const QDir& directory, ReportLines* lines = nullptr);

// The Export Journal command: the score update runs first, and if it raises, no file is touched.
void exportJournal(const std::function<ScoreTotals()>& updateScore, TableView& journal, const QDir& directory,
                   ReportLines* lines = nullptr);

// Moves Report.002 out and the others down one place; a move never replaces an existing file and each
// step is tried whatever became of the one before.
void rotateReports(const QDir& directory);
