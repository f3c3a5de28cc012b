#include "contest/ReportExport.h"

#include "contest/Cp1251.h"
#include "contest/ReportFormat.h"
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

ReportRow currentReportRow(const TableView& journal)
{
    ReportRow row;
    row.diapasone = journal.value(QStringLiteral("Diapasone"));
    row.modulation = journal.text(QStringLiteral("Modulation"));
    row.utc = contactTimeUtc(journal.value(QStringLiteral("D")), journal.value(QStringLiteral("T")));
    row.callSign = journal.text(QStringLiteral("CallSign"));
    row.sentText = journal.text(QStringLiteral("SentText"));
    row.recvText = journal.text(QStringLiteral("RecvText"));
    return row;
}

QByteArray reportBytes(TableView& journal, const ScoreTotals& totals)
{
    QStringList lines = {reportHeaderLine()};
    for (journal.first(); !journal.eof(); journal.next()) {
        lines.append(reportLine(currentReportRow(journal)));
    }
    lines.append(reportFooterLines(totals));
    return toCp1251(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
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

void writeReport(TableView& journal, const ScoreTotals& totals, const QDir& directory)
{
    const QByteArray bytes = reportBytes(journal, totals);
    QSaveFile file(directory.filePath(kReportFileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        cannotWrite(file);
    }
    rotateReports(directory);
    if (!file.commit()) {
        cannotWrite(file);
    }
}

void exportJournal(const std::function<ScoreTotals()>& updateScore, TableView& journal, const QDir& directory)
{
    const ScoreTotals totals = updateScore();
    writeReport(journal, totals, directory);
}
