#pragma once

#include "store/ContactTies.h"

#include <QDateTime>
#include <QList>
#include <QString>

class Database;
struct ParticipantViews;

// A copy of the participants and planned contacts under backup/, as Clear Contest-Table leaves it.
struct ParticipantCopy
{
    QString folder; // relative to the contest folder
    QDateTime made;
    qint64 participants = 0;
    qint64 planned = 0;
    qint64 worked = 0;
    QString problem; // why the copy cannot be read; the counts are then unknown
};

// The copies in the contest folder's backup/ that hold participants or planned contacts, newest first.
QList<ParticipantCopy> participantCopies(const QString& contestFolder);

// Puts the participants and planned contacts of the copy back in place of the present ones, both tables in
// one transaction, with the participant views closed meanwhile as Clear closes them, and ties them to the Journal
// (tieByKey). Raises StoreError, and then nothing has changed.
KeyedTies RestoreParticipants(Database& db, const ParticipantViews& views, const QString& copyFolder);
