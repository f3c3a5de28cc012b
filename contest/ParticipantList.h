#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Fewer characters than this, once spaces are removed, make no callsign, but for a short one
// (isShortCallsign).
constexpr int kMinimumCallsignLength = 5;
// 1x2 calls such as R7AB are real: four characters that mix letters (Cyrillic ones too) and digits.
constexpr int kShortCallsignLength = 4;

// Where the lines of a participant list go: each callsign to `take`, each line too short for one to `skip`
// with its number (counted from 1) and its text without spaces. A blank line holds nothing to lose and
// goes to neither.
struct ParticipantListSink
{
    std::function<void(const QString& callsign)> take;
    std::function<void(qint64 line, const QString& text)> skip;
};

// How far a list was read: `error` says why it could not be opened or read to its end.
struct ListReading
{
    bool opened = false;
    qint64 lines = 0;
    QString error;
};

// Callsigns of a participant list: one per line (CR LF or LF), every space removed, lines of fewer than
// five characters skipped unless they hold a short callsign. Each line is decoded on its own (ListEncoding.h), so a
// list pieced together from files of both kinds keeps every line readable. A line whose bytes read equally well either
// way follows the nearest line before it that tells its encoding (the first such line, for those above it), or UTF-8
// throughout a list that starts with the byte-order mark; code page 1251, the list's own, when none tells.
QStringList parseParticipantList(const QByteArray& bytes);

// Hands the lines of Callsign.txt or another list to `sink` one at a time, so that a file of any size is
// never held whole. A missing or unreadable file gives no lines; a read error ends the list.
ListReading readParticipantList(const QString& path, const ParticipantListSink& sink);

// Four characters with at least one letter and one digit and no blank or control character among them.
bool isShortCallsign(const QString& text);

// Nothing left once blanks (spaces, tabs and other white space) are removed: refused as too short.
bool isBlankCallsign(const QString& text);
