#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>

class Database;
class TableView;

// The report's line for every Journal row, in code page 1251, kept from one rewrite to the next: the
// report is rewritten after every contact, and only the rows written since the last rewrite are read
// and formatted again. A row is forgotten when the store reports it written or deleted, everything
// when the table is reset behind the views (a rollback, bulk SQL) or the system's time zone changes.
class ReportLines : public QObject
{
    Q_OBJECT

public:
    // Without a database nothing is remembered beyond one report.
    explicit ReportLines(Database* db, QObject* parent = nullptr);

    // One line per row of the journal view in its order, each followed by CR LF; a pending change of
    // the view is posted first, and the view is left on its last row.
    QByteArray body(TableView& journal);

private:
    QHash<qint64, QByteArray> m_lines;
    QByteArray m_timeZone;
    qsizetype m_lastSize = 0;
};
