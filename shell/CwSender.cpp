#include "shell/CwSender.h"

#include "contest/ContestSession.h"
#include "shell/CwdaemonKeyer.h"
#include "shell/ErrorBox.h"
#include "shell/MessagesDialog.h"
#include "shell/RigFollower.h"
#include "shell/RigKeyer.h"
#include "shell/StationSettings.h"
#include "store/StoreError.h"
#include "store/TableNames.h"
#include "store/TableView.h"
#include "widgets/DataGrid.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QStatusBar>

#include <algorithm>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr int kNoticeMs = 60000;
constexpr int kSpeedStep = 2;
constexpr int kSecondRowOffset = 21;
constexpr int kSpeedLabelWidth = 90;
const QString kCw = u"CW"_s;

// A callsign or a KI filled in may hold what cwdaemon would change its speed by: those go, and are returned.
QString takeSpeedSigns(QString& text)
{
    QString taken;
    for (const QChar sign : QStringView(kCwdaemonSpeedSigns)) {
        if (text.contains(sign)) {
            taken += sign;
            text.remove(sign);
        }
    }
    text = text.simplified();
    return taken;
}

bool isCwBand(int band)
{
    return band >= 0 && band < kBandCount && bandViews().at(size_t(band)).modulation == kCw;
}
} // namespace

CwSender::CwSender(ContestSession& session, const std::array<DataGrid*, kBandCount>& grids, QLabel& radioLabel,
                   QStatusBar& statusBar, QMenu& fileMenu, RigFollower& rig, QWidget* window)
    : QObject(window)
    , m_session(session)
    , m_grids(grids)
    , m_statusBar(statusBar)
    , m_rig(rig)
    , m_window(window)
    , m_speedLabel(new QLabel(radioLabel.parentWidget()))
{
    m_speedLabel->setObjectName(u"CwSpeedLabel"_s);
    m_speedLabel->setFont(radioLabel.font());
    m_speedLabel->setPalette(radioLabel.palette());
    // under the radio's state, on the contest area's second row: beside it there is no room at the design width
    m_speedLabel->setGeometry(radioLabel.x(), radioLabel.y() + kSecondRowOffset, kSpeedLabelWidth, radioLabel.height());
    QAction* messages = fileMenu.addAction(u"Messages..."_s);
    messages->setObjectName(u"Messages1"_s);
    connect(messages, &QAction::triggered, this, [this] { runGuarded(m_window, [this] { chooseMessages(); }); });
    connect(&m_rig, &RigFollower::voiceMemoryRefused, this, [this](int channel) {
        m_statusBar.showMessage(
            u"Voice memory %1 not played: the radio is not reached or did not play it"_s.arg(channel), kNoticeMs);
    });
    qApp->installEventFilter(this);
    apply(loadCwSettings());
}

CwSender::~CwSender()
{
    qApp->removeEventFilter(this);
    stop();
}

void CwSender::chooseMessages()
{
    MessagesDialog dialog(m_settings, m_window);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    CwSettings chosen = dialog.settings();
    saveCwSettings(chosen);
    apply(chosen);
}

void CwSender::apply(const CwSettings& settings)
{
    stop();
    m_settings = settings;
    m_keyer.reset();
    if (settings.keyer == CwSettings::Keyer::Cwdaemon) {
        m_keyer = std::make_unique<CwdaemonKeyer>(settings.host, settings.port);
    } else if (settings.keyer == CwSettings::Keyer::Radio) {
        m_keyer = std::make_unique<RigKeyer>(m_rig);
    }
    if (m_keyer) {
        connect(m_keyer.get(), &Keyer::sent, this, &CwSender::sendNext);
        connect(m_keyer.get(), &Keyer::failed, this, &CwSender::failed);
    }
    showSpeed();
}

void CwSender::sendMessage(int index, int band)
{
    if (!m_keyer) {
        m_statusBar.showMessage(u"CW not sent: no keyer is chosen (File > Messages...)"_s, kNoticeMs);
        return;
    }
    const ContestValues& values = m_session.values();
    const CwFields fields{loadStation().callsign, values.ki, values.serial, currentCall(band)};
    CwText cw = expandCwMessage(m_settings.messages.at(size_t(index)), fields, m_settings.cutNumbers);
    tellLeftOut(cw.leftOut, u"no Morse code for"_s);
    if (m_settings.keyer == CwSettings::Keyer::Cwdaemon) {
        tellLeftOut(takeSpeedSigns(cw.text), u"cwdaemon takes them as speed changes"_s);
    }
    if (!cw.text.isEmpty()) {
        m_waiting.append(cw.text);
    }
    if (!m_keyer->isSending()) {
        sendNext();
    }
}

void CwSender::sendNext()
{
    if (!m_waiting.isEmpty()) {
        m_keyer->send(m_waiting.takeFirst(), m_settings.wpm);
    }
}

void CwSender::tellLeftOut(const QString& characters, const QString& why)
{
    QString untold;
    for (const QChar ch : characters) {
        if (!m_toldLeftOut.contains(ch)) {
            untold += ch;
        }
    }
    if (!untold.isEmpty()) {
        m_toldLeftOut += untold;
        m_statusBar.showMessage(u"Left out of the CW, %1: %2"_s.arg(why, untold), kNoticeMs);
    }
}

void CwSender::failed(const QString& reason)
{
    // told once for all that was waiting: none of it goes
    m_waiting.clear();
    m_statusBar.showMessage(u"CW not sent: %1"_s.arg(reason), kNoticeMs);
}

void CwSender::stop()
{
    m_waiting.clear();
    if (m_keyer) {
        m_keyer->stop();
    }
}

bool CwSender::isSending() const
{
    return m_keyer && m_keyer->isSending();
}

void CwSender::changeSpeed(int steps)
{
    const int wpm = std::clamp(m_settings.wpm + steps * kSpeedStep, CwSettings::kMinWpm, CwSettings::kMaxWpm);
    if (wpm == m_settings.wpm) {
        return;
    }
    m_settings.wpm = wpm;
    showSpeed();
    try {
        CwSettings saved = loadCwSettings();
        saved.wpm = wpm;
        saveCwSettings(saved);
    } catch (const StoreError& error) {
        m_statusBar.showMessage(u"The CW speed is not kept: %1"_s.arg(error.message()), kNoticeMs);
    }
}

void CwSender::showSpeed()
{
    m_speedLabel->setText(u"CW %1 wpm"_s.arg(m_settings.wpm));
    m_speedLabel->setVisible(m_keyer != nullptr);
}

void CwSender::entryPromptOpened(int band, bool again)
{
    m_promptCall = currentCall(band);
    m_promptBand = band;
    if (!again && m_settings.exchangeOnEntry && m_keyer && isCwBand(band)) {
        sendMessage(kExchangeMessage, band);
    }
}

QString CwSender::currentCall(int band) const
{
    if (band == m_promptBand) {
        return m_promptCall;
    }
    try {
        const TableView& view = m_session.bandView(band);
        if (view.isOpen() && view.currentRow() >= 0) {
            return view.value(kFieldCallSign).toString().trimmed();
        }
    } catch (const StoreError&) {
        // a row that cannot be read has no callsign to send
    }
    return QString();
}

int CwSender::bandOf(QObject* watched) const
{
    for (auto* widget = qobject_cast<QWidget*>(watched); widget; widget = widget->parentWidget()) {
        if (const auto found = std::find(m_grids.cbegin(), m_grids.cend(), widget); found != m_grids.cend()) {
            return int(found - m_grids.cbegin());
        }
    }
    // in the entry prompt of a contact the keys serve its band
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (m_promptBand >= 0 && widget && widget->window()->isModal() && widget->window()->parentWidget() == m_window) {
        return m_promptBand;
    }
    return -1;
}

bool CwSender::editsInGrid(QObject* watched, int band) const
{
    if (band < 0) {
        return false;
    }
    DataGrid* grid = m_grids.at(band);
    const auto* widget = qobject_cast<QWidget*>(watched);
    return !grid->isReadOnly() && widget && (widget == grid || grid->isAncestorOf(widget));
}

bool CwSender::inWindow(QObject* watched) const
{
    const auto* widget = qobject_cast<QWidget*>(watched);
    return widget && (widget->window() == m_window || widget->window()->parentWidget() == m_window);
}

bool CwSender::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() != Qt::NoModifier && key->modifiers() != Qt::KeypadModifier) {
        return false;
    }
    if (key->key() == Qt::Key_Escape) {
        // then Esc does what it always has
        if (isSending() && inWindow(watched)) {
            stop();
        }
        return false;
    }
    const int band = bandOf(watched);
    if (key->key() == Qt::Key_F2 && editsInGrid(watched, band)) {
        // F2 opens the cell of a grid in edit mode, as it always has
        return false;
    }
    const bool messageKey = key->key() >= Qt::Key_F1 && key->key() < Qt::Key_F1 + kCwMessageCount;
    if (band >= 0 && !isCwBand(band) && messageKey && m_rig.isFollowing()) {
        // in an SSB column the keys play the radio's voice memories, where it has them
        if (!key->isAutoRepeat()) {
            m_rig.playVoiceMemory(key->key() - Qt::Key_F1 + 1);
        }
        return true;
    }
    if (!isCwBand(band)) {
        return false;
    }
    if (messageKey) {
        if (!key->isAutoRepeat()) {
            runGuarded(m_window, [&] { sendMessage(key->key() - Qt::Key_F1, band); });
        }
        return true;
    }
    if (m_keyer && (key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown)) {
        changeSpeed(key->key() == Qt::Key_PageUp ? 1 : -1);
        return true;
    }
    return false;
}

std::optional<QString> CwEntryPrompter::askLine(const QString& caption, const QString& label)
{
    return askLineAbout(caption, label, QString());
}

std::optional<QString> CwEntryPrompter::askLineAbout(const QString& caption, const QString& label,
                                                     const QString& subject, const QString& text)
{
    m_sender.entryPromptOpened(m_band, std::exchange(m_opened, true));
    const auto closed = qScopeGuard([this] { m_sender.entryPromptClosed(); });
    return m_prompter.askLineAbout(caption, label, subject, text);
}
