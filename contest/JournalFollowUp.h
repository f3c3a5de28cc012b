#pragma once

class TableView;

// Carries an edit of a worked contact in a band grid over to its Journal row: changed date, time and
// texts are copied (the KI follows the received text), a cleared time removes the row. Runs after every
// post of the six views.
class JournalFollowUp
{
public:
    explicit JournalFollowUp(TableView& journal);

    // true when the Journal was changed: the score and the report then follow
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

// Makes the Journal row that the planned contact at the current row of `planned` stands for current:
// the newest row with its tour, band, mode and callsign (letter case ignored), whatever contest number it
// carries, since the journal takes that number from the window. False when there is none.
bool locateJournalRowOf(TableView& journal, const TableView& planned);
