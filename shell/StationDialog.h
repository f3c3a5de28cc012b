#pragma once

#include "contest/Station.h"

#include <QDialog>

class QComboBox;
class QFormLayout;
class QLineEdit;
class QPlainTextEdit;

// The station data the exports write, edited from the keyboard: every field has its Alt key (Alt+V
// reaches two in turn), Enter takes the data (in the address and soapbox boxes it starts a new line), Esc
// leaves them as they were. The station and its address on the left, the contest and categories on the
// right.
class StationDialog : public QDialog
{
    Q_OBJECT

public:
    explicit StationDialog(const Station& station, QWidget* parent = nullptr);

    Station station() const;

    void accept() override;

private:
    // the column the next rows go into
    QFormLayout* m_column = nullptr;
    QLineEdit* addLine(const QString& label, const char* name, const QString& value);
    QComboBox* addChoice(const QString& label, const char* name, const QStringList& choices, const QString& value,
                         const QString& emptyText);
    QPlainTextEdit* addLines(const QString& label, const char* name, const QStringList& lines);

    QLineEdit* m_callsign = nullptr;
    QLineEdit* m_operators = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_email = nullptr;
    QPlainTextEdit* m_address = nullptr;
    QLineEdit* m_addressCity = nullptr;
    QLineEdit* m_addressStateProvince = nullptr;
    QLineEdit* m_addressPostalcode = nullptr;
    QLineEdit* m_addressCountry = nullptr;
    QLineEdit* m_location = nullptr;
    QLineEdit* m_gridLocator = nullptr;
    QLineEdit* m_contest = nullptr;
    QComboBox* m_categoryOperator = nullptr;
    QComboBox* m_categoryBand = nullptr;
    QComboBox* m_categoryMode = nullptr;
    QComboBox* m_categoryPower = nullptr;
    QComboBox* m_categoryStation = nullptr;
    QComboBox* m_categoryTransmitter = nullptr;
    QComboBox* m_categoryAssisted = nullptr;
    QComboBox* m_categoryTime = nullptr;
    QComboBox* m_categoryOverlay = nullptr;
    QComboBox* m_certificate = nullptr;
    QLineEdit* m_club = nullptr;
    QPlainTextEdit* m_soapbox = nullptr;
    QLineEdit* m_adifContestId = nullptr;
};
