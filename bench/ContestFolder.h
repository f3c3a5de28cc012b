#pragma once

#include <QString>

#include <functional>

struct sqlite3;

// The size of a generated contest folder: participants, tours and worked contacts.
struct ContestScale
{
    int participants = 2000;
    int tours = 8;
    int contacts = 10000;

    // the regional contest, and the same contest ten times over
    static ContestScale regional() { return {}; }
    static ContestScale tenTimes() { return {20000, 8, 100000}; }
    int contestRows() const { return participants * 4 * tours; }
};

// Callsign of the n-th generated participant; lists of new participants continue the numbering.
QString generatedCallsign(int index);

// Fills a folder with the three tables made by the program's own schema routine, then its rows through
// bare SQLite: every participant with its matrix, and the worked rows with their Journal contacts.
void generateContestFolder(const QString& folder, const ContestScale& scale);

// Copies the table files of one folder into another, for a baseline that needs the same data.
void copyContestFolder(const QString& from, const QString& to);

// A bare SQLite connection laid out as the program's: a main file with the table files attached, a
// rollback journal and full synchronisation.
class BareConnection
{
public:
    static constexpr const char* kMainFileName = ".bare";

    explicit BareConnection(const QString& folder);
    ~BareConnection();
    BareConnection(const BareConnection&) = delete;
    BareConnection& operator=(const BareConnection&) = delete;

    sqlite3* handle() const { return m_db; }
    void exec(const char* sql);

private:
    sqlite3* m_db = nullptr;
};

// Throws with SQLite's message unless rc reports success.
void checkSqlite(int rc, sqlite3* db);
