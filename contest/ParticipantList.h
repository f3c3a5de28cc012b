#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Callsigns of a participant list: one per line (CR LF or LF), every space removed, lines of fewer than
// five characters skipped. A list saved as UTF-8 is read as such, anything else as code page 1251.
QStringList parseParticipantList(const QByteArray& bytes);

// Reads Callsign.txt or another list; a missing or unreadable file gives no callsigns.
QStringList readParticipantList(const QString& path);
