#pragma once

#include "contest/ContactEntry.h"
#include "contest/ContestValues.h"
#include "contest/JournalFollowUp.h"
#include "contest/Participants.h"
#include "support/ContestFixture.h"
#include "support/Fakes.h"

#include <QTest>

// A contest of one participant with one tour, whose 80 m SSB contact was logged in tour 1. In edit mode an
// edit is stored as the band grids store it, as a correction.
struct WorkedContest : ContestFixture
{
    FakePrompter prompter;
    FakeClock clock;
    bool editMode = false;
    ContestValues values{22, 1, 1, 1};

    WorkedContest()
    {
        newCallsign(QStringLiteral("RA3ABC"));
        enter();
    }

    ParticipantViews views() { return {*callsign, *contest80, *contest80CW, *contest160, *contest160CW}; }

    void newCallsign(const QString& callsign)
    {
        prompter.answers.push_back(callsign);
        NewCallsign(*db, views(), prompter, {1, [] { return 1; }});
    }

    ContactOutcome enter() { return enter(*contest80); }

    // the first row of the band view, with the code "23 015"
    ContactOutcome enter(TableView& band)
    {
        prompter.answers.push_back(QStringLiteral("23 015"));
        band.first();
        const ContactEntryContext context{*db,      band,  QStringLiteral("80 м - SSB"), *journal, prompter, clock,
                                          editMode, values};
        return EnterContact(context);
    }

    // edits the worked 80 m SSB row as the operator would in the grid
    void editWorked(const QString& field, const QVariant& value)
    {
        QVERIFY(contest80->locate(QStringLiteral("CallSign"), {QStringLiteral("RA3ABC")}, true));
        contest80->edit();
        contest80->setValue(field, value);
        store(*contest80);
    }

    // the pending change of a band view, stored as the band grids store it in edit mode
    void store(TableView& band)
    {
        if (editMode) {
            StoreCorrection(band, *journal);
        } else {
            band.post();
        }
    }

    QVariantList journalRow()
    {
        Statement row = db->prepare(QStringLiteral("SELECT D, T, SentText, RecvText, KI, CallSign FROM Journal"));
        QVariantList values;
        if (row.step()) {
            for (int i = 0; i < 6; ++i) {
                values.append(row.column(i));
            }
        }
        return values;
    }
};
