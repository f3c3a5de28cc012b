#pragma once

#include "contest/ImportSummary.h"

#include <QString>

#include <functional>

class Database;
class Prompter;
class TableView;

struct ParticipantViews
{
    TableView& callsign;
    TableView& contest80;
    TableView& contest80CW;
    TableView& contest160;
    TableView& contest160CW;
};

// What a new contest matrix is made of: the contest number, and the number of tours, read afresh for
// every band and mode as the window's field holds it.
struct MatrixParameters
{
    int contestNumber = 1;
    std::function<int()> tours;
};

// Appends the planned contacts of one callsign through the unfiltered 80 m SSB view: each band, each
// mode, tours 1 to N, in that order.
void CreateContestMatrix(TableView& contest80, const QString& callsign, const MatrixParameters& parameters);

// Each command runs in one transaction: if it fails nothing of it stays, every view it closed or
// unfiltered is back as it was, and the error goes to the caller.
// A callsign refused for its length or for being blank adds nothing; the operator is told why.
void NewCallsign(Database& db, const ParticipantViews& views, Prompter& prompter, const MatrixParameters& parameters);
// Adds the participants of the list and completes every matrix; what became of the list's lines is returned.
ImportSummary ImportCallsign(Database& db, const ParticipantViews& views, const QString& listPath,
                             const MatrixParameters& parameters);
// The same, then tells the operator in one message what was added and which lines were skipped and why.
void ImportCallsign(Database& db, const ParticipantViews& views, Prompter& prompter, const QString& listPath,
                    const MatrixParameters& parameters);
void ClearContestTable(Database& db, const ParticipantViews& views);

// Runs work that rewrites the Callsign and Contest tables whole, as long work, with every participant view
// closed meanwhile and opened again afterwards as it was.
void RewriteParticipants(Database& db, const ParticipantViews& views, const std::function<void()>& work);
