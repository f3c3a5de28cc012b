#pragma once

#include <QString>

class Clock;
class Database;
class Prompter;
class TableView;
struct ContestValues;

// What contact entry needs of the window, read at the moment each value is used: the prompt is modal
// and the tour clock keeps running while it is open.
struct ContactEntryContext
{
    Database& db;
    TableView& band;     // the active band view
    QString bandCaption; // its title panel's caption, named in the prompt
    TableView& journal;
    Prompter& prompter;
    const Clock& clock;
    bool editMode = false;
    const ContestValues& values;
};

enum class ContactOutcome
{
    NotRecorded,
    Recorded,
};

// Enter on a planned contact: asks for the received code, stamps the Contest row and appends the Journal
// row in one transaction. The caller then rewrites the report and advances the serial number.
ContactOutcome EnterContact(const ContactEntryContext& context);
