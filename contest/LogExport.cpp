#include "contest/LogExport.h"

#include "store/Database.h"
#include "store/StoreError.h"
#include "store/TableView.h"

#include <QDir>
#include <QSaveFile>

namespace
{
// the message stays on one screen; the rest is counted
constexpr qsizetype kListedProblems = 30;

[[noreturn]] void cannotWrite(const QString& path, const QString& reason)
{
    throw StoreError(QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), reason));
}
} // namespace

QString programVersion()
{
    return QStringLiteral(TOURLOG_VERSION);
}

QString proposedExportName(const Station& station, LogFormat format)
{
    return stationFileStem(station) + (format == LogFormat::Cabrillo ? QStringLiteral(".log") : QStringLiteral(".adi"));
}

void writeWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        cannotWrite(path, file.errorString());
    }
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        cannotWrite(path, reason);
    }
    if (!file.commit()) {
        cannotWrite(path, file.errorString());
    }
}

LogExportResult exportLog(const TableView& journal, int contestNumber, const Station& station,
                          const ExportHeader& header, LogFormat format, const QString& path)
{
    const LongWork::Scope busy(journal.database().work());
    const QList<ExportContact> contacts = contactsOfContest(journal, contestNumber);
    const bool cabrillo = format == LogFormat::Cabrillo;
    writeWholeFile(path, cabrillo ? cabrilloLog(contacts, station, header) : adifLog(contacts, station, header));
    LogExportResult result;
    result.contacts = int(contacts.size());
    result.problems = cabrillo ? cabrilloStationProblems(station) : adifStationProblems(station);
    result.problems += exportProblems(contacts);
    return result;
}

QString exportProblemMessage(const QString& path, const QStringList& problems)
{
    QStringList shown = problems.first(std::min(problems.size(), kListedProblems));
    if (problems.size() > kListedProblems) {
        shown.append(QStringLiteral("... and %1 more").arg(problems.size() - kListedProblems));
    }
    return QStringLiteral("%1 was written, but these are not in it exactly as logged:\n\n%2")
        .arg(QDir::toNativeSeparators(path), shown.join(u'\n'));
}
