#include "contest/ScoreTally.h"

#include "store/Database.h"
#include "store/FolderTable.h"
#include "store/StoreError.h"

#include <QElapsedTimer>

#include <limits>
#include <utility>

namespace
{
// rows read ahead between two looks at the clock
constexpr int kReadStep = 16;

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
        if (table == FolderTable::Journal && (m_contestNumber || m_reading)) {
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
    if (!std::exchange(m_started, true) && m_contestNumber != contestNumber) {
        // asked before the rows to follow are all read ahead: the engine's count, and the reading goes on
        return countScore(m_db, contestNumber);
    }
    if (!m_contestNumber || *m_contestNumber != contestNumber) {
        return recount(contestNumber);
    }
    try {
        follow(contestNumber);
    } catch (const StoreError&) {
        return recount(contestNumber);
    }
    return scoreOf(m_rows.size(), m_callSigns.size(), m_kis.size());
}

bool ScoreTally::prepare(qint64 contestNumber, std::chrono::milliseconds budget)
{
    if (m_contestNumber == contestNumber) {
        return true;
    }
    QElapsedTimer clock;
    clock.start();
    if (!readRows(contestNumber, [&clock, budget] { return clock.elapsed() < budget.count(); })) {
        return false;
    }
    if (m_reading) {
        keepIfCounted(contestNumber, countScore(m_db, contestNumber));
    }
    return true;
}

Score ScoreTally::recount(qint64 contestNumber)
{
    // the reference count first: its engine errors are the caller's, as they always were
    const Score counted = countScore(m_db, contestNumber);
    try {
        // rows read ahead are kept: only the rest is read
        readRows(contestNumber, [] { return true; });
    } catch (const StoreError&) {
        forget();
        return counted;
    }
    keepIfCounted(contestNumber, counted);
    return counted;
}

bool ScoreTally::readRows(qint64 contestNumber, const std::function<bool()>& keepReading)
{
    if (m_reading != contestNumber) {
        forget();
        if (!journalScoreRowsFollowable(m_db)) {
            return true;
        }
        m_reading = contestNumber;
        m_readUpTo = std::numeric_limits<qint64>::min();
    }
    int read = 0;
    const bool ranOut = readJournalScoreRows(m_db, contestNumber, m_readUpTo,
                                             [this, &read, &keepReading](qint64 id, const ScoreRow& row) {
                                                 m_rows.insert(id, row);
                                                 add(row, 1);
                                                 m_readUpTo = id;
                                                 return ++read % kReadStep != 0 || keepReading();
                                             });
    if (ranOut) {
        // the rows written while they were being read are read again, as after a contact
        follow(contestNumber);
    }
    return ranOut;
}

void ScoreTally::keepIfCounted(qint64 contestNumber, const Score& counted)
{
    // keys that group otherwise than the engine does would show here; such a journal is counted afresh
    if (m_reading == contestNumber && m_rows.size() == counted.contacts && m_callSigns.size() == counted.correspondents
        && m_kis.size() == counted.regions) {
        m_reading.reset();
        m_contestNumber = contestNumber;
    } else {
        forget();
    }
}

void ScoreTally::follow(qint64 contestNumber)
{
    if (m_changed.isEmpty()) {
        return;
    }
    const QList<qint64> ids = m_changed.values();
    const QHash<qint64, ScoreRow> fresh = journalScoreRows(m_db, contestNumber, ids);
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
    m_reading.reset();
    m_rows.clear();
    m_callSigns.clear();
    m_kis.clear();
    m_changed.clear();
}
