#pragma once

#include "contest/ExportContacts.h"
#include "contest/Station.h"

#include <QByteArray>
#include <QDateTime>

// What the exports say about themselves beyond the station and the contacts.
struct ExportHeader
{
    QString programVersion;
    QDateTime createdUtc;
    qint64 claimedScore = 0;
};

// A Cabrillo 3.0 log: the header tags (empty ones left out), one QSO: line per contact in the given order,
// END-OF-LOG:, every line ending in CR LF. Plain ASCII: callsigns and exchanges in their Morse twins
// (morseLatin), names, addresses and the soapbox transliterated (passportLatin).
QByteArray cabrilloLog(const QList<ExportContact>& contacts, const Station& station, const ExportHeader& header);

// An ADIF 3.1.4 ADI file: a line of text, the header fields, <EOH>, one record per contact ending in <EOR>
// and CR LF. Empty fields are left out; lengths count bytes, and the text is plain ASCII.
QByteArray adifLog(const QList<ExportContact>& contacts, const Station& station, const ExportHeader& header);

// The station fields each format writes that still hold "?" once made ASCII, named by tag.
QStringList cabrilloStationProblems(const Station& station);
// The header tags that contest robots require and the station leaves empty. Band and mode are never
// missing: without a choice they are taken from the contacts.
QStringList cabrilloMissingTags(const Station& station);

QStringList adifStationProblems(const Station& station);
