#pragma once

#include "contest/Score.h"
#include "store/ScoreRows.h"

#include <QHash>
#include <QObject>
#include <QSet>

#include <optional>

class Database;

// The score of one contest kept between updates: after a contact only the Journal rows the store reports
// written or deleted are read again, each taking back what it counted before. A reset of the Journal, another
// contest number, or a Journal whose rows cannot be followed one by one counts afresh with countScore, which
// the kept score always equals.
class ScoreTally : public QObject
{
    Q_OBJECT

public:
    explicit ScoreTally(Database& db, QObject* parent = nullptr);

    // Raises StoreError as countScore does.
    Score score(qint64 contestNumber);
    // whether the next update of the same contest reads only the rows changed meanwhile
    bool follows() const { return m_contestNumber.has_value(); }

private:
    Score recount(qint64 contestNumber);
    void follow();
    void add(const ScoreRow& row, int step);
    void forget();

    Database& m_db;
    bool m_started = false;
    std::optional<qint64> m_contestNumber; // set while the kept counts hold
    QHash<qint64, ScoreRow> m_rows;        // the rows of the contest by ID
    QHash<QByteArray, int> m_callSigns;    // rows per callsign group
    QHash<QByteArray, int> m_kis;          // rows per KI group
    QSet<qint64> m_changed;                // IDs written or deleted since the last update
};
