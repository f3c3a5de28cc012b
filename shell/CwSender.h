#pragma once

#include "contest/BandViews.h"
#include "contest/Prompter.h"
#include "shell/CwSettings.h"

#include <QList>
#include <QObject>

#include <array>
#include <memory>

class ContestSession;
class DataGrid;
class Keyer;
class QLabel;
class QMenu;
class QStatusBar;
class QWidget;
class RigFollower;

// The operator's CW: F1..F8 in a CW column send the messages of File > Messages..., Esc stops, PgUp and
// PgDn change the speed shown beside the radio's label. A message is filled in when its key is pressed and
// waits while the one before it is keyed: sent from the entry prompt, it carries the contact being entered,
// though that contact is logged, and the serial moves on, before its turn comes.
// In an SSB column F1..F8 play the followed radio's voice memories 1..8, where it has them, and otherwise do
// nothing; with no keyer chosen PgUp and PgDn page the column as before.
class CwSender : public QObject
{
    Q_OBJECT

public:
    // Adds File > Messages... after the menu's other items; the speed stands beside the radio's label.
    CwSender(ContestSession& session, const std::array<DataGrid*, kBandCount>& grids, QLabel& radioLabel,
             QStatusBar& statusBar, QMenu& fileMenu, RigFollower& rig, QWidget* window);
    ~CwSender() override;

    void chooseMessages();
    // The message (0 for F1) of a band's current row, sent once those before it are.
    void sendMessage(int index, int band);
    // Stops what is being keyed; what waits is dropped.
    void stop();
    bool isSending() const;
    void changeSpeed(int steps);
    const CwSettings& settings() const { return m_settings; }

    // The entry prompt of a contact opens on the band, and closes: on a CW row the exchange may go by itself.
    // again: the prompt of the same contact opened once more, after what was typed was refused; its exchange
    // went out the first time
    void entryPromptOpened(int band, bool again = false);
    void entryPromptClosed() { m_promptBand = -1; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply(const CwSettings& settings);
    void sendNext();
    void tellLeftOut(const QString& characters, const QString& why);
    void failed(const QString& reason);
    void showSpeed();
    int bandOf(QObject* watched) const;
    // whether the key went to a band grid in edit mode, where the grid's own keys hold
    bool editsInGrid(QObject* watched, int band) const;
    bool inWindow(QObject* watched) const;
    // in the entry prompt, the row being entered
    QString currentCall(int band) const;

    ContestSession& m_session;
    std::array<DataGrid*, kBandCount> m_grids;
    QStatusBar& m_statusBar;
    RigFollower& m_rig;
    QWidget* m_window;
    QLabel* m_speedLabel;
    CwSettings m_settings;
    std::unique_ptr<Keyer> m_keyer;
    // the texts to key, filled in
    QList<QString> m_waiting;
    // characters left out of the CW that the operator has been told of
    QString m_toldLeftOut;
    int m_promptBand = -1;
    // the tour clock may move the column to another row while the prompt is open
    QString m_promptCall;
};

// The prompter of the window while the entry prompt of a contact may open: it tells the CW sender when
// the prompt opens and closes, and passes everything on.
class CwEntryPrompter : public Prompter
{
public:
    CwEntryPrompter(CwSender& sender, int band, Prompter& prompter)
        : m_sender(sender)
        , m_band(band)
        , m_prompter(prompter)
    {
    }

    std::optional<QString> askLine(const QString& caption, const QString& label) override;
    std::optional<QString> askLineAbout(const QString& caption, const QString& label, const QString& subject,
                                        const QString& text = {}) override;
    void showMessage(const QString& text) override { m_prompter.showMessage(text); }
    std::optional<QString> askSaveFile(const QString& caption, const QString& proposedPath,
                                       const QString& filter) override
    {
        return m_prompter.askSaveFile(caption, proposedPath, filter);
    }
    std::optional<qsizetype> askChoice(const QString& text, const QStringList& answers) override
    {
        return m_prompter.askChoice(text, answers);
    }

private:
    CwSender& m_sender;
    int m_band;
    Prompter& m_prompter;
    bool m_opened = false;
};
