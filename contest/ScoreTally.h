#pragma once

#include "contest/Score.h"
#include "store/ScoreRows.h"

#include <QHash>
#include <QObject>
#include <QSet>

#include <chrono>
#include <functional>
#include <optional>

class Database;

// The score of one contest kept between updates: after a contact only the Journal rows the store reports
// written or deleted are read again, each taking back what it counted before. A reset of the Journal, another
// contest number, or a Journal whose rows cannot be followed one by one counts afresh with countScore, which
// the kept score always equals. The rows to follow are read ahead in slices (prepare), so that the first
// contact after start-up does not wait for all of them.
class ScoreTally : public QObject
{
    Q_OBJECT

public:
    explicit ScoreTally(Database& db, QObject* parent = nullptr);

    // Raises StoreError as countScore does. A first update before the rows are read ahead is the engine's count
    // alone.
    Score score(qint64 contestNumber);
    // Reads the rows to follow for about the given time, a step at least. True once there is nothing more to
    // read: the kept counts hold, or the journal is one to count afresh. Raises StoreError.
    bool prepare(qint64 contestNumber, std::chrono::milliseconds budget);
    // whether the next update of the same contest reads only the rows changed meanwhile
    bool follows() const { return m_contestNumber.has_value(); }

private:
    Score recount(qint64 contestNumber);
    // reads on from where the last slice stopped, until the rows run out or keepReading says no
    bool readRows(qint64 contestNumber, const std::function<bool()>& keepReading);
    // keeps the counts read if they are the engine's, which they are unless keys group otherwise
    void keepIfCounted(qint64 contestNumber, const Score& counted);
    void follow(qint64 contestNumber);
    void add(const ScoreRow& row, int step);
    void forget();

    Database& m_db;
    bool m_started = false;
    std::optional<qint64> m_contestNumber; // set while the kept counts hold
    std::optional<qint64> m_reading;       // the contest whose rows are being read ahead
    qint64 m_readUpTo = 0;                 // the last ID read ahead
    QHash<qint64, ScoreRow> m_rows;        // the rows of the contest by ID
    QHash<QByteArray, int> m_callSigns;    // rows per callsign group
    QHash<QByteArray, int> m_kis;          // rows per KI group
    QSet<qint64> m_changed;                // IDs written or deleted since the last update
};
