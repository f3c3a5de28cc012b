#pragma once

#include <QString>

#include <functional>

class Clock;
class Database;
class JournalFollowUp;
class Prompter;
class TableView;

// What contact entry needs of the window, read at the moment each value is used: the prompt is modal
// and the tour clock keeps running while it is open.
struct ContactEntryContext
{
    Database& db;
    TableView& band;     // the active band view
    QString bandCaption; // its title panel's caption, named in the prompt
    TableView& journal;
    JournalFollowUp& followUp;
    Prompter& prompter;
    const Clock& clock;
    bool editMode = false;
    std::function<QString()> sentExchange;
    std::function<int()> contestNumber;
};

enum class ContactOutcome
{
    NotRecorded,
    Recorded,
};

// Enter on a planned contact: asks for the received code, stamps the Contest row and appends the Journal
// row in one transaction. The caller then rewrites the report and advances the serial number.
ContactOutcome EnterContact(const ContactEntryContext& context);
