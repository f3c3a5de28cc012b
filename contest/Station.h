#pragma once

#include <QString>
#include <QStringList>

// What the exports say about the operator's own station. Empty text leaves its tag out; an empty band
// or mode category is taken from the contacts in the log.
struct Station
{
    QString callsign;
    QString operators; // one or more callsigns, separated by spaces
    QString name;
    QString email;
    QStringList address; // one line each
    QString addressCity;
    QString addressStateProvince;
    QString addressPostalcode;
    QString addressCountry;
    QString location;
    QString gridLocator;
    QString contest; // the Cabrillo contest name
    QString categoryOperator;
    QString categoryBand;
    QString categoryMode;
    QString categoryPower;
    QString categoryStation;
    QString categoryTransmitter;
    QString categoryAssisted;
    QString categoryTime;
    QString categoryOverlay;
    QString certificate;
    QString club;
    QStringList soapbox; // one line each
    QString adifContestId;

    bool operator==(const Station&) const = default;
};

// the values offered for the category fields, the empty choice first
QStringList categoryOperatorChoices();
QStringList categoryBandChoices();
QStringList categoryModeChoices();
QStringList categoryPowerChoices();
QStringList categoryStationChoices();
QStringList categoryTransmitterChoices();
QStringList categoryAssistedChoices();
QStringList categoryTimeChoices();
QStringList categoryOverlayChoices();
QStringList certificateChoices();

// The station's callsign as a file name: "/" (and anything else a file name should not hold) becomes "_".
QString stationFileStem(const Station& station);
