#pragma once

#include "contest/LogFormats.h"

#include <QString>
#include <QStringList>

class TableView;

enum class LogFormat
{
    Cabrillo,
    Adif,
};

struct LogExportResult
{
    int contacts = 0;
    // the rows (and station fields) not written whole, one line each; empty when all went out as they are
    QStringList problems;
};

// the version the exports name as their creator
QString programVersion();

// "<station callsign>.log" for Cabrillo, ".adi" for ADIF.
QString proposedExportName(const Station& station, LogFormat format);

// Writes the contacts of one contest number to path. The file is written beside its place under another
// name and renamed into place only once it is whole, so a failed export leaves no half file and the old
// file as it was. Raises StoreError naming the file and the reason. The journal view is only read.
LogExportResult exportLog(const TableView& journal, int contestNumber, const Station& station,
                          const ExportHeader& header, LogFormat format, const QString& path);

// The bytes written whole to path through a temporary file. Raises StoreError naming the file.
void writeWholeFile(const QString& path, const QByteArray& bytes);

// The one message an export ends with when rows were not written whole.
QString exportProblemMessage(const QString& path, const QStringList& problems);
