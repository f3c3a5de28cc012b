#pragma once

class Database;
class TableView;

// Ctrl+Delete on a grid deletes both sides of a contact in one transaction, so that the contest table and
// the journal never disagree. Each returns true when the Journal changed (the score and report follow).

// The current row of a band view; a worked one takes its Journal row with it.
bool DeletePlannedRow(Database& db, TableView& band, TableView& journal);

// The current Journal row; when it is the row of a worked planned contact, that row is planned again.
bool DeleteJournalRow(Database& db, TableView& journal);
