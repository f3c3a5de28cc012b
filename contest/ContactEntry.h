#pragma once

#include "store/ContactFrequencies.h"

#include <QString>

#include <optional>

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
    // where the radio followed was when Enter was pressed; nothing without one
    std::optional<ContactFrequency> radio = std::nullopt;
};

enum class ContactOutcome
{
    NotRecorded,
    Recorded,
};

// Enter on a planned contact: asks for the received code, stamps the Contest row and appends the Journal
// row (with the radio's frequency at the moment Enter was pressed, when there is one) in one transaction. The caller
// then rewrites the report and advances the serial number.
ContactOutcome EnterContact(const ContactEntryContext& context);
