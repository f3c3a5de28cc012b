#pragma once

#include "contest/BandTunings.h"
#include "contest/BandViews.h"
#include "contest/RadioBand.h"
#include "store/ContactFrequencies.h"

#include <QObject>

#include <array>

class DataGrid;
class QLabel;
class QWidget;
class RigFollower;
class WorkProgress;
struct RadioSettings;

// The radio chosen in File > Radio..., followed: its reading shows in the label, and a change of its band
// makes that band the active one. Never under an open prompt, a long command or a cell being edited: the
// contact goes to the row where Enter was pressed, and a later reading moves the band once they are over.
class RadioBandFollower : public QObject
{
    Q_OBJECT

public:
    RadioBandFollower(QLabel& label, const std::array<DataGrid*, kBandCount>& grids, const WorkProgress& work,
                      QWidget* window);
    // the radio's thread reports to the controls: it ends before they go
    ~RadioBandFollower() override;

    // the radio dialog; a choice is saved first, and one that could not be kept leaves the radio followed so far
    void chooseRadio();
    void stop();
    // The operator made the band the active one. With the option on, a radio followed on another band
    // column is sent to this one's last frequency and mode; the readings on its way move nothing.
    void columnChosen(int band);
    // where the radio is, as last read; nothing while no radio is followed or reached
    const std::optional<ContactFrequency>& reading() const { return m_reading; }
    // the radio's own keyer is reached through the follower's connection
    RigFollower& rigFollower() { return *m_rigFollower; }

Q_SIGNALS:
    void bandChosen(int band);

private:
    void apply(const RadioSettings& settings);
    void radioRead(qint64 frequencyHz, const QString& modeName);
    bool held() const;

    QLabel& m_label;
    std::array<DataGrid*, kBandCount> m_grids;
    const WorkProgress& m_work;
    QWidget* m_window;
    RigFollower* m_rigFollower;
    // the operator's own choice holds until the radio's band changes
    RadioBandTracker m_radioBand;
    BandTunings m_tunings;
    std::optional<ContactFrequency> m_reading;
    bool m_tuneToColumn = false;
};
