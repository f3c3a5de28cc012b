#pragma once

#include "contest/BandViews.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/TableView.h"
#include "store/ViewDefinitions.h"
#include "support/TestEnvironment.h"

#include <memory>

// A contest folder with the three tables and the six views of the window open, as at start-up,
// the band views filtered by band and mode for all tours.
struct ContestFixture
{
    TestEnvironment env;
    std::unique_ptr<Database> db;
    std::unique_ptr<TableView> callsign;
    std::unique_ptr<TableView> journal;
    std::unique_ptr<TableView> contest80;
    std::unique_ptr<TableView> contest80CW;
    std::unique_ptr<TableView> contest160;
    std::unique_ptr<TableView> contest160CW;

    explicit ContestFixture(const char* vfsName = nullptr)
    {
        db = std::make_unique<Database>(env.workDir(), vfsName);
        EnsureTables(*db);
        callsign = std::make_unique<TableView>(*db, callsignViewDefinition());
        journal = std::make_unique<TableView>(*db, journalViewDefinition());
        contest80 = bandView(0);
        contest80CW = bandView(1);
        contest160 = bandView(2);
        contest160CW = bandView(3);
        for (TableView* view : all()) {
            view->open();
        }
    }

    ~ContestFixture()
    {
        callsign.reset();
        journal.reset();
        contest80.reset();
        contest80CW.reset();
        contest160.reset();
        contest160CW.reset();
    }

    // band index as in bandViews()
    std::unique_ptr<TableView> bandView(int band)
    {
        const BandViewInfo& info = bandViews().at(band);
        auto view = std::make_unique<TableView>(*db, contestViewDefinition(info.viewName));
        view->setFilter(bandFilter(info, 0));
        view->setFiltered(true);
        return view;
    }

    QList<TableView*> all() const
    {
        return {callsign.get(),    journal.get(),    contest80.get(),
                contest80CW.get(), contest160.get(), contest160CW.get()};
    }

    int count(const QString& sql)
    {
        Statement query = db->prepareDialect(sql);
        return query.step() ? query.column(0).toInt() : -1;
    }

    // makes every insert into a table fail, as a full disk would
    void failInserts(const QString& table)
    {
        db->prepare(
              QStringLiteral(
                  "CREATE TRIGGER %1.fail_%1 BEFORE INSERT ON %1 BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END")
                  .arg(table))
            .run();
    }

    void allowInserts(const QString& table) { db->prepare(QStringLiteral("DROP TRIGGER %1.fail_%1").arg(table)).run(); }
};
