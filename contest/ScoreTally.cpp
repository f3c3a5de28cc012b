#include "contest/ScoreTally.h"

#include "store/Database.h"
#include "store/FolderTable.h"
#include "store/StoreError.h"

#include <QTimer>

namespace
{
constexpr int kFollowAfterStartMs = 2000;

void count(QHash<QByteArray, int>& groups, const QByteArray& key, int step)
{
    auto group = groups.find(key);
    if (group == groups.end()) {
        groups.insert(key, step);
    } else if ((*group += step) == 0) {
        groups.erase(group);
    }
}
} // namespace

ScoreTally::ScoreTally(Database& db, QObject* parent)
    : QObject(parent)
    , m_db(db)
{
    connect(&db, &Database::rowChanged, this, [this](FolderTable table, qint64 id, const QObject*) {
        if (table == FolderTable::Journal && m_contestNumber) {
            m_changed.insert(id);
        }
    });
    connect(&db, &Database::tableReset, this, [this](FolderTable table) {
        if (table == FolderTable::Journal) {
            forget();
        }
    });
}

Score ScoreTally::score(qint64 contestNumber)
{
    if (!m_started) {
        // Start-up shows the engine's count at once; the rows to follow are read a moment after the window
        // is up (0.2 s for 100,000 contacts), or at the first contact if it comes sooner.
        m_started = true;
        QTimer::singleShot(kFollowAfterStartMs, this, [this, contestNumber] {
            try {
                if (!m_contestNumber) {
                    recount(contestNumber);
                }
            } catch (const StoreError&) {
                // the next update counts again and reports it
            }
        });
        return countScore(m_db, contestNumber);
    }
    if (!m_contestNumber || *m_contestNumber != contestNumber) {
        return recount(contestNumber);
    }
    try {
        follow();
    } catch (const StoreError&) {
        return recount(contestNumber);
    }
    return scoreOf(m_rows.size(), m_callSigns.size(), m_kis.size());
}

Score ScoreTally::recount(qint64 contestNumber)
{
    forget();
    // the reference count first: its engine errors are the caller's, as they always were
    const Score counted = countScore(m_db, contestNumber);
    try {
        if (!journalScoreRowsFollowable(m_db)) {
            return counted;
        }
        m_rows = journalScoreRows(m_db, contestNumber);
    } catch (const StoreError&) {
        forget();
        return counted;
    }
    for (const ScoreRow& row : std::as_const(m_rows)) {
        add(row, 1);
    }
    // keys that group otherwise than the engine does would show here; such a journal is counted afresh
    if (m_rows.size() == counted.contacts && m_callSigns.size() == counted.correspondents
        && m_kis.size() == counted.regions) {
        m_contestNumber = contestNumber;
    } else {
        forget();
    }
    return counted;
}

void ScoreTally::follow()
{
    if (m_changed.isEmpty()) {
        return;
    }
    const QList<qint64> ids = m_changed.values();
    const QHash<qint64, ScoreRow> fresh = journalScoreRows(m_db, *m_contestNumber, ids);
    for (const qint64 id : ids) {
        const auto old = m_rows.find(id);
        if (old != m_rows.end()) {
            add(*old, -1);
            m_rows.erase(old);
        }
        const auto now = fresh.constFind(id);
        if (now != fresh.cend()) {
            add(*now, 1);
            m_rows.insert(id, *now);
        }
    }
    m_changed.clear();
}

void ScoreTally::add(const ScoreRow& row, int step)
{
    count(m_callSigns, row.callSign, step);
    count(m_kis, row.ki, step);
}

void ScoreTally::forget()
{
    m_contestNumber.reset();
    m_rows.clear();
    m_callSigns.clear();
    m_kis.clear();
    m_changed.clear();
}
