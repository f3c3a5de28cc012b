#pragma once

#include "contest/Score.h"

#include <QDateTime>
#include <QHash>
#include <QStringList>
#include <QVariant>

// One Journal row as the report writes it.
struct ReportRow
{
    QVariant diapasone; // band in metres; null gives empty text
    QString modulation;
    QDateTime utc;
    QString callSign;
    QString sentText;
    QString recvText;
};

QString reportHeaderLine();

// The contact's local date and time converted with the system's time-zone rules for that instant, so
// that zones behind UTC, half-hour zones and summer time come out right. An empty date counts as
// 30 December 1899 and an empty time as midnight.
QDateTime contactTimeUtc(const QVariant& localDate, const QVariant& localTime);

// contactTimeUtc for a whole journal: the offset from UTC is looked up once per local minute, the
// smallest step in which clocks are ever moved, instead of once per contact. Lives for one report, so
// that a change of the system's zone between reports is followed.
class ContactTimeConverter
{
public:
    QDateTime toUtc(const QVariant& localDate, const QVariant& localTime);

private:
    QHash<qint64, qint64> m_offsetByMinute; // local minute -> seconds to subtract
};

// "80 SSB\t22-Oct-06\t  17:05  \tUA3ABC\t22 001\t23 015", month names fixed to English.
QString reportLine(const ReportRow& row);

// The line of hyphens and the four score lines.
QStringList reportFooterLines(const ScoreTotals& totals);
