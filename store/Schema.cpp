#include "store/Schema.h"

#include "store/Database.h"
#include "store/SqlRoutines.h"

void EnsureTables(Database& db)
{
    if (!db.tableFileExists(QStringLiteral("Callsign"))) {
        RunSql(db, QStringLiteral("Create Table Callsign (ID AutoInc, CallSign Char(10), InCalls Integer, "
                                  "OutCalls Integer, Name Char(60), Commentary Char(255), primary key(ID))"));
        RunSql(db, QStringLiteral("Create Index Callsign on Callsign (Callsign)"));
    }
    if (!db.tableFileExists(QStringLiteral("Contest"))) {
        RunSql(db, QStringLiteral("Create Table Contest (ID AutoInc, D Date, T Time, CallSign Char(10), "
                                  "ContestNumber Integer, TourNumber Integer, Diapasone Integer, "
                                  "Modulation Char(10), OutFlag Boolean, SentText Char(10), RecvText Char(10), "
                                  "Commentary Char(255), primary key(ID))"));
        RunSql(db, QStringLiteral("Create Index Callsign on Contest (D, Callsign)"));
    }
    if (db.tableFileExists(QStringLiteral("Journal"))) {
        const QVariant ki = QuerySingleValue(db, QStringLiteral("select KI from Journal"));
        if (ki.typeId() == QMetaType::Int && ki.toInt() == kQueryFailed) {
            RunSql(db, QStringLiteral("alter table Journal add KI Char(2)"));
            RunSql(db, QStringLiteral("update Journal set KI=SUBSTRING(RecvText from 1 for 2)"));
        }
    } else {
        RunSql(db, QStringLiteral("Create Table Journal (ID AutoInc, D Date, T Time, CallSign Char(10), "
                                  "ContestNumber Integer, TourNumber Integer, Diapasone Integer, "
                                  "Modulation Char(10), OutFlag Boolean, SentText Char(10), RecvText Char(10), "
                                  "KI Char(2), Commentary Char(255), primary key(ID))"));
        RunSql(db, QStringLiteral("Create Index DT on Contest (D, T)"));
    }
}
