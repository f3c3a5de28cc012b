// The handlers of TForm1 that follow the radio: its settings dialog and the band it is on.
#include "shell/Unit1.h"

#include "contest/RadioBand.h"
#include "shell/ErrorBox.h"
#include "shell/HamlibRigs.h"
#include "shell/RadioDialog.h"
#include "shell/RadioSettings.h"
#include "shell/RigFollower.h"
#include "shell/WorkProgress.h"
#include "widgets/DataGrid.h"

#include <QAction>
#include <QApplication>
#include <QLabel>

namespace
{
const QString kNoRadio = QStringLiteral("no radio");
} // namespace

void TForm1::startRadio()
{
    m_rigFollower = new RigFollower(this);
    connect(m_rigFollower, &RigFollower::radioRead, this, [this](qint64 frequencyHz, const QString& modeName) {
        runGuarded(this, [&] { radioRead(frequencyHz, modeName); });
    });
    connect(m_rigFollower, &RigFollower::radioLost, this, [this] { m_ui.radioLabel->setText(kNoRadio); });
    connect(m_ui.radio1, &QAction::triggered, this, [this] { runGuarded(this, [this] { Radio1Click(); }); });
    applyRadioSettings(loadRadioSettings());
}

void TForm1::Radio1Click()
{
    RadioDialog dialog(loadRadioSettings(), hamlibRigModels(), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // saved first: a choice that could not be kept is told, and the radio followed so far stays
    saveRadioSettings(dialog.settings());
    applyRadioSettings(dialog.settings());
}

void TForm1::applyRadioSettings(const RadioSettings& settings)
{
    // nothing read from the radio followed so far counts for this one
    m_radioBand = RadioBandTracker();
    m_rigFollower->start(settings);
    m_ui.radioLabel->setText(kNoRadio);
    m_ui.radioLabel->setVisible(m_rigFollower->isFollowing());
}

void TForm1::radioRead(qint64 frequencyHz, const QString& modeName)
{
    m_ui.radioLabel->setText(radioReadingText(frequencyHz, modeName));
    // Never under an open prompt, a long command or a cell being edited: the contact goes to the row
    // where Enter was pressed. A later reading moves the band once they are over.
    const QWidget* focused = QApplication::focusWidget();
    const bool editingCell = std::any_of(m_ui.bandGrids.cbegin(), m_ui.bandGrids.cend(), [focused](DataGrid* grid) {
        return focused && focused != grid && grid->isAncestorOf(focused);
    });
    const bool held = QApplication::activeModalWidget() || QApplication::activePopupWidget() || m_workProgress->isBusy()
        || editingCell;
    if (const std::optional<int> band = m_radioBand.read(frequencyHz, radioModeFromName(modeName), held)) {
        Panel80Click(m_ui.titlePanels.at(*band));
    }
}
