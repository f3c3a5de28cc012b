#pragma once

#include "contest/Station.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/TableView.h"
#include "store/ViewDefinitions.h"
#include "support/TestEnvironment.h"
#include "support/TimeZone.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <ctime>

using namespace Qt::Literals::StringLiterals;

inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A contest folder with the journal open. Rows are given in UTC and stored as the local date and time
// of the zone in force, as contact entry stores them.
struct ExportJournal
{
    TestEnvironment env;
    Database db{env.workDir()};
    TableView journal{db, journalViewDefinition()};

    ExportJournal()
    {
        EnsureTables(db);
        journal.open();
    }

    void add(const QDateTime& utc, int contest, int band, const QString& mode, const QString& call, const QString& sent,
             const QString& recv)
    {
        const QDateTime local = utc.toLocalTime();
        journal.append();
        journal.setValue(u"D"_s, local.date());
        journal.setValue(u"T"_s, local.time());
        journal.setValue(u"ContestNumber"_s, contest);
        journal.setValue(u"Diapasone"_s, band);
        journal.setValue(u"Modulation"_s, mode);
        journal.setValue(u"CallSign"_s, call);
        journal.setValue(u"SentText"_s, sent);
        journal.setValue(u"RecvText"_s, recv);
        journal.post();
    }

    // Both bands and modes across midnight UTC, entered out of time order, a tie in time, a row of
    // another contest, a callsign with "/" and an exchange as long as the journal keeps.
    void addMixedLog()
    {
        const QDate day(2006, 10, 22);
        const QDate next = day.addDays(1);
        add(QDateTime(next, QTime(0, 1, 10), Qt::UTC), 1, 160, u"CW"_s, u"RA3/DL1AB"_s, u"22 002"_s, u"16 007"_s);
        add(QDateTime(day, QTime(23, 58, 30), Qt::UTC), 1, 80, u"SSB"_s, u"UA9XYZ"_s, u"22 001"_s, u"23 015"_s);
        add(QDateTime(day, QTime(23, 59), Qt::UTC), 2, 80, u"SSB"_s, u"UA1AAA"_s, u"22 005"_s, u"11 111"_s);
        add(QDateTime(next, QTime(0, 5, 59), Qt::UTC), 1, 80, u"CW"_s, u"RK3AWL"_s, u"22 1234567"_s, u"17 123"_s);
        add(QDateTime(next, QTime(0, 5, 59), Qt::UTC), 1, 160, u"SSB"_s, u"UA4BBB"_s, u"22 004"_s, u"18 042"_s);
    }
};

inline Station fullStation()
{
    Station station;
    station.callsign = u"UA3ABC/P"_s;
    station.operators = u"UA3ABC UA3DEF"_s;
    station.name = u"Ivan Petrov"_s;
    station.email = u"ua3abc@example.org"_s;
    station.address = {u"Box 12"_s, u"Moscow"_s};
    station.contest = u"TOUR-80-160"_s;
    station.categoryOperator = u"SINGLE-OP"_s;
    station.categoryPower = u"LOW"_s;
    station.categoryStation = u"PORTABLE"_s;
    station.categoryTransmitter = u"ONE"_s;
    station.club = u"Tour Radio Club"_s;
    station.soapbox = {u"First tour on 160 m."_s, u"Thanks all."_s};
    station.adifContestId = u"RU-TOUR"_s;
    return station;
}
