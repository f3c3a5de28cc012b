#pragma once

#include <QList>
#include <QPair>
#include <QString>

// What start-up did with the Paradox tables of a contest folder.
struct ParadoxConversion
{
    enum class Outcome
    {
        NothingToDo,
        Converted,
        Refused, // nothing was changed, or a conversion decided before could not be finished yet
    };
    Outcome outcome = Outcome::NothingToDo;
    QList<QPair<QString, int>> tables; // converted tables with their row counts
    QString originalsFolder;           // where the original files went
    QString message;                   // for the operator, one message; empty when there was nothing to do
};

// The folder inside a contest folder that keeps the original Paradox files after a conversion.
inline const QString kParadoxOriginalsFolder = QStringLiteral("paradox");

// Converts the Paradox tables of the contest folder into our table files, before the schema routine runs.
// All or nothing for the folder: the new files are made in a hidden folder of their own, and only once they
// are complete and that is recorded there (the point of no return) are the originals moved into paradox/
// and the new files moved into place. A start after a crash before that point finds the folder untouched and
// tries again; after it, it finishes the moves.
ParadoxConversion convertParadoxFolder(const QString& folder);

// The first half alone, up to and including the point of no return (a crash right after it, for tests).
// Returns a refusal or NothingToDo; Converted means the second half is still to run.
ParadoxConversion prepareParadoxConversion(const QString& folder);
