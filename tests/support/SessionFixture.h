#pragma once

#include "contest/ContestSession.h"
#include "contest/Score.h"
#include "store/Database.h"
#include "store/StoreError.h"
#include "store/TableView.h"
#include "support/Fakes.h"
#include "support/TableRows.h"
#include "support/TestEnvironment.h"

#include <QFile>
#include <QTest>

#include <memory>
#include <optional>
#include <utility>

using FieldEdits = QList<std::pair<QString, QVariant>>;

// A contest session on a fresh contest folder, as the window holds one: prompts answered from a queue, the
// time set by the test, the exchange 22 001 of contest 1 sent next. start() opens it, so that a case may
// prepare the folder first; the window's operations are then called on `session` as its handlers call them.
struct SessionFixture
{
    TestEnvironment env;
    FakePrompter prompter;
    FakeClock clock;
    std::unique_ptr<ContestSession> session;
    SessionOpening opening;

    // the folder's permissions come back whatever a case did to them, so that the folder can be removed
    ~SessionFixture()
    {
        session.reset();
        QFile::setPermissions(env.workDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void start(int tours = 1, int tour = 0)
    {
        session = std::make_unique<ContestSession>(env.workDir(), prompter, clock);
        session->setExchange(22, 1);
        session->setTours(tours);
        opening = session->open(tour);
        // as the window does once it has been drawn
        session->finishStartUp();
    }

    // band index as in bandViews(); -1 is the journal
    TableView& view(int band) { return band < 0 ? session->journalView() : session->bandView(band); }
    Database& db() { return session->database(); }
    QStringList rows(const QString& sql) { return tableRows(db(), sql); }
    // Report.txt; empty when there is none
    QByteArray report() const
    {
        QFile file(env.path(QStringLiteral("Report.txt")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString score() const { return scoreStatusText(session->score()); }

    void addParticipants(const QStringList& callsigns)
    {
        for (const QString& callsign : callsigns) {
            prompter.answers.push_back(callsign);
            session->newCallsign();
        }
    }

    // the view on the first row of the callsign; false when it shows none
    bool goTo(const QString& callsign, int band = 0)
    {
        const bool found = view(band).locate(QStringLiteral("CallSign"), {callsign}, true);
        if (!found) {
            QTest::qFail(qPrintable(QStringLiteral("no row of %1 to go to").arg(callsign)), __FILE__, __LINE__);
        }
        return found;
    }

    // Enter on the callsign's row, the code typed at the prompt (a null code cancels it)
    SessionChange enter(const QString& callsign, const QString& code, int band = 0,
                        const std::optional<ContactFrequency>& radio = std::nullopt)
    {
        if (!goTo(callsign, band)) {
            return {};
        }
        prompter.answers.push_back(code);
        return session->enterContact(band, bandViews().at(band).caption, false, radio);
    }

    // the callsign's row changed as typed in its band grid, not yet stored
    void type(const QString& callsign, const FieldEdits& edits, int band = 0)
    {
        if (!goTo(callsign, band)) {
            return;
        }
        view(band).edit();
        for (const auto& [field, value] : edits) {
            view(band).setValue(field, value);
        }
    }

    // the change typed, stored as the grid stores it when the row is left
    SessionChange correct(const QString& callsign, const FieldEdits& edits, int band = 0)
    {
        type(callsign, edits, band);
        return session->storeCorrection(band);
    }

    // what the operation was refused with; empty when it went through
    template<typename Operation>
    static QString refusal(Operation operation)
    {
        try {
            operation();
        } catch (const StoreError& error) {
            return error.message();
        }
        return {};
    }
};
