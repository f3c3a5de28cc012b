#include "shell/RadioBandFollower.h"

#include "shell/ErrorBox.h"
#include "shell/HamlibRigs.h"
#include "shell/RadioDialog.h"
#include "shell/RadioSettings.h"
#include "shell/RigFollower.h"
#include "shell/WorkProgress.h"
#include "widgets/DataGrid.h"

#include <QApplication>
#include <QLabel>

#include <algorithm>

namespace
{
const QString kNoRadio = QStringLiteral("no radio");
} // namespace

RadioBandFollower::RadioBandFollower(QLabel& label, const std::array<DataGrid*, kBandCount>& grids,
                                     const WorkProgress& work, QWidget* window)
    : QObject(window)
    , m_label(label)
    , m_grids(grids)
    , m_work(work)
    , m_window(window)
    , m_rigFollower(new RigFollower(this))
{
    connect(m_rigFollower, &RigFollower::radioRead, this, [this](qint64 frequencyHz, const QString& modeName) {
        runGuarded(m_window, [&] { radioRead(frequencyHz, modeName); });
    });
    connect(m_rigFollower, &RigFollower::radioLost, this, [this] {
        m_label.setText(kNoRadio);
        m_reading.reset();
    });
    apply(loadRadioSettings());
}

RadioBandFollower::~RadioBandFollower()
{
    delete m_rigFollower;
}

void RadioBandFollower::chooseRadio()
{
    RadioDialog dialog(loadRadioSettings(), hamlibRigModels(), m_window);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    saveRadioSettings(dialog.settings());
    apply(dialog.settings());
}

void RadioBandFollower::stop()
{
    m_rigFollower->stop();
}

void RadioBandFollower::apply(const RadioSettings& settings)
{
    // nothing read from the radio followed so far counts for this one
    m_radioBand = RadioBandTracker();
    m_tuneToColumn = settings.tuneToColumn;
    m_reading.reset();
    m_rigFollower->start(settings);
    m_label.setText(kNoRadio);
    m_label.setVisible(m_rigFollower->isFollowing());
}

bool RadioBandFollower::held() const
{
    const QWidget* focused = QApplication::focusWidget();
    const bool editingCell = std::any_of(m_grids.cbegin(), m_grids.cend(), [focused](DataGrid* grid) {
        return focused && focused != grid && grid->isAncestorOf(focused);
    });
    return QApplication::activeModalWidget() || QApplication::activePopupWidget() || m_work.isBusy() || editingCell;
}

void RadioBandFollower::columnChosen(int band)
{
    // a radio on no column of the contest (or not read yet) is at other work: it is left where it is
    const std::optional<int> radioBand = m_radioBand.band();
    if (!m_tuneToColumn || !m_rigFollower->isFollowing() || !radioBand || *radioBand == band) {
        return;
    }
    const RadioTuning tuning = m_tunings.forBand(band);
    m_rigFollower->tune(tuning.frequencyHz, tuning.modeName);
    m_radioBand.tunedTo(band);
}

void RadioBandFollower::radioRead(qint64 frequencyHz, const QString& modeName)
{
    m_label.setText(radioReadingText(frequencyHz, modeName));
    m_reading = ContactFrequency{frequencyHz, modeName.trimmed()};
    const RadioMode mode = radioModeFromName(modeName);
    const std::optional<int> move = m_radioBand.read(frequencyHz, mode, held());
    // only where the radio is known to be: a new frequency read with the mode before it is no tuning to keep
    if (const std::optional<int> band = m_radioBand.band(); band && band == radioBand(frequencyHz, mode)) {
        m_tunings.note(frequencyHz, modeName);
    }
    if (move) {
        Q_EMIT bandChosen(*move);
    }
}
