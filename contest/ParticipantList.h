#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Callsigns of a participant list: one per line (CR LF or LF), every space removed, lines of fewer than
// five characters skipped. A line that is valid UTF-8 is read as such, any other as code page 1251, so a
// list pieced together from files of both kinds keeps every line readable.
QStringList parseParticipantList(const QByteArray& bytes);

// Hands the callsigns of Callsign.txt or another list to `take` one line at a time, so that a file of any
// size is never held whole. A missing or unreadable file gives no callsigns; a read error ends the list.
void readParticipantList(const QString& path, const std::function<void(const QString&)>& take);
