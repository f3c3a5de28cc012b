// The handlers of TForm1 for the station data and the Cabrillo and ADIF exports of the log.
#include "shell/Unit1.h"

#include "contest/ContestSession.h"
#include "contest/Prompter.h"
#include "shell/ErrorBox.h"
#include "shell/StationDialog.h"
#include "shell/StationSettings.h"
#include "store/Database.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/SpinField.h"

#include <QAction>
#include <QDir>

namespace
{
constexpr int kExportNoticeMs = 60000;

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
} // namespace

void TForm1::bindExportEvents()
{
    const auto guarded = [this](auto handler) {
        return [this, handler](auto&&...) { runGuarded(this, [this, handler] { (this->*handler)(); }); };
    };
    connect(m_ui.station1, &QAction::triggered, this, guarded(&TForm1::Station1Click));
    connect(m_ui.exportCabrillo1, &QAction::triggered, this, guarded(&TForm1::ExportCabrillo1Click));
    connect(m_ui.exportADIF1, &QAction::triggered, this, guarded(&TForm1::ExportADIF1Click));
}

bool TForm1::editStation(Station& station)
{
    StationDialog dialog(station, this);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    station = dialog.station();
    // the data typed serve the export at hand even when the settings file cannot keep them
    try {
        saveStation(station);
    } catch (...) {
        reportCurrentException(this);
    }
    return true;
}

void TForm1::Station1Click()
{
    Station station = loadStation();
    editStation(station);
}

void TForm1::ExportCabrillo1Click()
{
    exportLogAs(LogFormat::Cabrillo);
}

void TForm1::ExportADIF1Click()
{
    exportLogAs(LogFormat::Adif);
}

void TForm1::exportLogAs(LogFormat format)
{
    Station station = loadStation();
    if (station.callsign.isEmpty() && !editStation(station)) {
        return;
    }
    if (station.callsign.isEmpty()) {
        m_prompter->showMessage(QStringLiteral("The export needs the station's own callsign (File, Station...)."));
        return;
    }
    const FormatTexts texts = formatTexts(format);
    const QString proposed = QDir(database().directory()).filePath(proposedExportName(station, format));
    const std::optional<QString> path = m_prompter->askSaveFile(texts.caption, proposed, texts.filter);
    if (!path || path->isEmpty()) {
        return;
    }
    const LogExportResult result = m_session->exportLog(format, station, *path);
    if (!result.problems.isEmpty()) {
        m_prompter->showMessage(exportProblemMessage(*path, result.problems));
        return;
    }
    m_ui.statusBar1->showMessage(
        QStringLiteral("%1 contacts written to %2").arg(result.contacts).arg(QDir::toNativeSeparators(*path)),
        kExportNoticeMs);
}
