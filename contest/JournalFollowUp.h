#pragma once

class TableView;

// A correction of a worked contact typed in a band grid, stored with its Journal row in one transaction:
// changed date, time, texts, callsign and tour are copied (the KI follows the received text), a cleared
// time removes the row. The Journal row is the one tied to the planned row; a time typed into a planned row
// records the contact with its Journal row, tied. An edit that changed nothing is dropped. Returns true when the
// Journal was changed: the score and the report then follow. Raises StoreError, naming the other contact, for an edit
// that would make a second worked contact of one key; nothing is written then and the change stays pending as typed.
bool StoreCorrection(TableView& band, TableView& journal);
