#include "shell/LogExportDialogs.h"

#include "contest/ExportQuestions.h"
#include "contest/Prompter.h"
#include "shell/ErrorBox.h"
#include "shell/StationDialog.h"
#include "shell/StationSettings.h"
#include "store/Database.h"

#include <QDir>

namespace
{
struct FormatTexts
{
    QString caption;
    QString filter;
};

FormatTexts formatTexts(LogFormat format)
{
    if (format == LogFormat::Cabrillo) {
        return {QStringLiteral("Export Cabrillo"), QStringLiteral("Cabrillo log (*.log);;All files (*)")};
    }
    return {QStringLiteral("Export ADIF"), QStringLiteral("ADIF file (*.adi);;All files (*)")};
}

// Asked again after each visit to the station data, until nothing is missing or the operator decides;
// false when the operator cancels.
bool completeCabrilloHeader(Station& station, Prompter& prompter, QWidget* window)
{
    for (;;) {
        switch (askAboutMissingTags(cabrilloMissingTags(station), prompter)) {
        case MissingTagsAnswer::Write:
            return true;
        case MissingTagsAnswer::Cancel:
            return false;
        case MissingTagsAnswer::FillIn:
            editStation(station, window);
            break;
        }
    }
}
} // namespace

bool editStation(Station& station, QWidget* window)
{
    StationDialog dialog(station, window);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    station = dialog.station();
    // the data typed serve the export at hand even when the settings file cannot keep them
    try {
        saveStation(station);
    } catch (...) {
        reportCurrentException(window);
    }
    return true;
}

SessionChange exportLogAs(LogFormat format, ContestSession& session, Prompter& prompter, QWidget* window)
{
    Station station = loadStation();
    if (station.callsign.isEmpty() && !editStation(station, window)) {
        return {};
    }
    if (station.callsign.isEmpty()) {
        prompter.showMessage(QStringLiteral("The export needs the station's own callsign (File, Station...)."));
        return {};
    }
    if (!session.confirmContestToExport()) {
        return {};
    }
    if (format == LogFormat::Cabrillo && !completeCabrilloHeader(station, prompter, window)) {
        return {};
    }
    const FormatTexts texts = formatTexts(format);
    const QString proposed = QDir(session.database().directory()).filePath(proposedExportName(station, format));
    const std::optional<QString> path = prompter.askSaveFile(texts.caption, proposed, texts.filter);
    if (!path || path->isEmpty()) {
        return {};
    }
    const LogExportResult result = session.exportLog(format, station, *path);
    if (!result.problems.isEmpty()) {
        prompter.showMessage(exportProblemMessage(*path, result.problems));
        return {};
    }
    SessionChange written;
    written.notice =
        QStringLiteral("%1 contacts written to %2").arg(result.contacts).arg(QDir::toNativeSeparators(*path));
    return written;
}
