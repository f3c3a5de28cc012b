#include "contest/ReportExport.h"

#include "contest/ReportFormat.h"
#include "contest/ReportLines.h"
#include "store/Cp1251.h"
#include "store/Database.h"
#include "store/StoreError.h"
#include "store/TableView.h"

#include <QFile>
#include <QSaveFile>

namespace
{
const QString kReportFileName = QStringLiteral("Report.txt");
const QStringList kOlderReportNames = {
    QStringLiteral("Report.000"),
    QStringLiteral("Report.001"),
    QStringLiteral("Report.002"),
};

QByteArray reportBytes(TableView& journal, const ScoreTotals& totals, ReportLines* kept)
{
    ReportLines once(nullptr);
    ReportLines& lines = kept ? *kept : once;
    const QByteArray body = lines.body(journal);
    const QString footer = reportFooterLines(totals).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return toCp1251(reportHeaderLine() + QStringLiteral("\r\n")) + body + toCp1251(footer);
}

[[noreturn]] void cannotWrite(const QSaveFile& file)
{
    throw StoreError(QStringLiteral("Cannot write %1: %2").arg(file.fileName(), file.errorString()));
}
} // namespace

void rotateReports(const QDir& directory)
{
    QFile::remove(directory.filePath(kOlderReportNames.last()));
    for (qsizetype i = kOlderReportNames.size() - 1; i > 0; --i) {
        QFile::rename(directory.filePath(kOlderReportNames.at(i - 1)), directory.filePath(kOlderReportNames.at(i)));
    }
    QFile::rename(directory.filePath(kReportFileName), directory.filePath(kOlderReportNames.first()));
}

void writeReport(TableView& journal, const ScoreTotals& totals, const QDir& directory, ReportLines* lines)
{
    // the first report after start-up reads the whole journal
    const LongWork::Scope busy(journal.database().work());
    const QByteArray bytes = reportBytes(journal, totals, lines);
    QSaveFile file(directory.filePath(kReportFileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        cannotWrite(file);
    }
    rotateReports(directory);
    if (!file.commit()) {
        cannotWrite(file);
    }
}

void exportJournal(const std::function<ScoreTotals()>& updateScore, TableView& journal, const QDir& directory,
                   ReportLines* lines)
{
    const ScoreTotals totals = updateScore();
    writeReport(journal, totals, directory, lines);
}
