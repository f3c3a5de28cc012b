#pragma once

class TableView;

// Carries an edit of a worked contact in a band grid over to its Journal row: changed date, time and
// texts are copied, a cleared time removes the row. Runs after every post of the six views.
class JournalFollowUp
{
public:
    explicit JournalFollowUp(TableView& journal);

    void afterPost(TableView& posted, bool editMode);

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
