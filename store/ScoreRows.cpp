#include "store/ScoreRows.h"

#include "store/Database.h"
#include "store/TableNames.h"

#include <QVariant>

#include <cmath>
#include <cstring>

namespace
{
// the columns that make a key: typeof(), the value and hex(), which gives text and blobs byte for byte
constexpr int kKeyColumns = 3;

QString keyColumns(const QString& field)
{
    return QStringLiteral("typeof(%1), %1, hex(%1)").arg(field);
}

QByteArray wholeNumberKey(qint64 value)
{
    return 'i' + QByteArray::number(value);
}

// The engine compares a real with a whole number by value: 3.0 groups with 3, -0.0 with 0.
QByteArray realKey(double value)
{
    constexpr double kLowest = -9223372036854775808.0;
    constexpr double kBeyondHighest = 9223372036854775808.0;
    if (std::trunc(value) == value && value >= kLowest && value < kBeyondHighest) {
        return wholeNumberKey(static_cast<qint64>(value));
    }
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return 'r' + QByteArray::number(bits, 16);
}

QByteArray groupKey(const Statement& query, int first)
{
    const QString type = query.column(first).toString();
    if (type == u"null") {
        return QByteArrayLiteral("n");
    }
    if (type == u"integer") {
        return wholeNumberKey(query.column(first + 1).toLongLong());
    }
    if (type == u"real") {
        return realKey(query.column(first + 1).toDouble());
    }
    const QByteArray bytes = QByteArray::fromHex(query.column(first + 2).toString().toLatin1());
    return (type == u"text" ? 't' : 'b') + bytes;
}

// Read by the table itself, in the order of IDs: through the index on the contest number the rows after an
// ID would be sorted anew at every slice of reading ahead.
QString scoreRowSelect()
{
    return QStringLiteral("SELECT %1, %2, %3 FROM %4.%4 NOT INDEXED WHERE %5=?")
        .arg(kFieldId, keyColumns(kFieldCallSign), keyColumns(kFieldKi), quoteIdentifier(kTableJournal),
             kFieldContestNumber);
}

ScoreRow scoreRow(const Statement& query)
{
    return ScoreRow{groupKey(query, 1), groupKey(query, 1 + kKeyColumns)};
}
} // namespace

bool journalScoreRowsFollowable(Database& db)
{
    db.attachExisting(kTableJournal);
    const QString schema = quoteIdentifier(kTableJournal);
    Statement objects = db.prepareOn(
        kTableJournal,
        QStringLiteral("SELECT type, sql FROM %1.sqlite_master WHERE tbl_name=? COLLATE NOCASE").arg(schema));
    objects.bind(1, kTableJournal);
    int tables = 0;
    while (objects.step()) {
        const QString type = objects.column(0).toString();
        if (type == u"table" && !objects.column(1).toString().contains(u"collate", Qt::CaseInsensitive)) {
            ++tables;
        } else if (type != u"index") {
            return false;
        }
    }
    if (tables != 1) {
        return false;
    }
    Statement columns = db.prepareOn(kTableJournal, QStringLiteral("PRAGMA %1.table_info(%1)").arg(schema));
    bool idIsTheKey = false;
    while (columns.step()) {
        const bool key = columns.column(5).toLongLong() > 0;
        const bool id = columns.column(1).toString().compare(kFieldId, Qt::CaseInsensitive) == 0;
        if (key && !(id && columns.column(2).toString().compare(u"INTEGER", Qt::CaseInsensitive) == 0)) {
            return false;
        }
        idIsTheKey = idIsTheKey || (key && id);
    }
    return idIsTheKey;
}

bool readJournalScoreRows(Database& db, qint64 contestNumber, qint64 afterId,
                          const std::function<bool(qint64 id, const ScoreRow& row)>& take)
{
    db.attachExisting(kTableJournal);
    Statement query = db.prepareOn(kTableJournal,
                                   scoreRowSelect() + QStringLiteral(" AND %1>? ORDER BY %1").arg(kFieldId));
    query.bind(1, contestNumber);
    query.bind(2, afterId);
    while (query.step()) {
        if (!take(query.column(0).toLongLong(), scoreRow(query))) {
            return false;
        }
    }
    return true;
}

QHash<qint64, ScoreRow> journalScoreRows(Database& db, qint64 contestNumber, const QList<qint64>& ids)
{
    db.attachExisting(kTableJournal);
    Statement query = db.prepareOn(kTableJournal, scoreRowSelect() + QStringLiteral(" AND %1=?").arg(kFieldId));
    QHash<qint64, ScoreRow> rows;
    for (const qint64 id : ids) {
        query.bind(1, contestNumber);
        query.bind(2, id);
        if (query.step()) {
            rows.insert(id, scoreRow(query));
        }
        query.reset();
    }
    return rows;
}
