#pragma once

class TableView;

// Carries an edit of a worked contact in a band grid over to its Journal row: changed date, time, texts,
// callsign and tour are copied (the KI follows the received text), a cleared time removes the row. The
// Journal row is the one of the key the contact had before the edit. Runs after every post of the six
// views, inside the post's transaction: what it refuses is not written at all.
class JournalFollowUp
{
public:
    explicit JournalFollowUp(TableView& journal);

    // True when the Journal was changed: the score and the report then follow. Raises StoreError, naming
    // the other contact, for an edit that would make a second worked contact of one key.
    bool afterPost(TableView& posted, bool editMode);

    // While a pause is alive, posts are not followed up: contact entry's own Contest post must not touch
    // the Journal row of an earlier contact with the same key.
    class Pause
    {
    public:
        explicit Pause(JournalFollowUp& followUp);
        ~Pause();
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

    private:
        JournalFollowUp& m_followUp;
    };

private:
    TableView& m_journal;
    int m_pauses = 0;
};
