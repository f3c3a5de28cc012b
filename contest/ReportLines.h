#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>

#include <chrono>
#include <functional>

class Database;
class TableView;

// The report's line for every Journal row, in code page 1251, kept from one rewrite to the next: the
// report is rewritten after every contact, and only the rows written since the last rewrite are read
// and formatted again. A row is forgotten when the store reports it written or deleted, everything
// when the table is reset behind the views (a rollback, bulk SQL) or the system's time zone changes.
// The body itself is kept too: rows appended at the end of the view since the last body only add their
// lines; any other change joins the kept lines anew over the whole view.
class ReportLines : public QObject
{
    Q_OBJECT

public:
    // Without a database nothing is remembered beyond one report.
    explicit ReportLines(Database* db, QObject* parent = nullptr);

    // One line per row of the journal view in its order, each followed by CR LF; a pending change of
    // the view is posted first, and the view is left on its last row.
    QByteArray body(TableView& journal);
    // Reads and formats the lines not kept yet for about the given time, leaving the view as it is, so that
    // the first report after start-up finds them ready. True once the body of the whole view is kept; a
    // row being edited, and a body being written, are waited for.
    bool prepare(TableView& journal, std::chrono::milliseconds budget);

private:
    using LineOf = std::function<const QByteArray&(int row)>;
    bool appendNewRows(TableView& journal, const LineOf& lineOf);
    void joinAllRows(TableView& journal, const LineOf& lineOf);
    void followView(TableView& journal);
    // forgets every line when the local time's rules have changed since they were formatted
    void followTimeZone();

    const bool m_remembers;
    QHash<qint64, QByteArray> m_lines;
    QByteArray m_timeZone;
    QByteArray m_body;
    // the body holds the lines of the first m_bodyRows rows of m_bodyView, the last of them m_lastId
    bool m_bodyHolds = false;
    QPointer<TableView> m_bodyView;
    int m_bodyRows = 0;
    qint64 m_lastId = -1;
    // the rows of the view whose lines prepare() has looked at
    int m_preparedRows = 0;
    // a body is being written; prepare() waits for it
    bool m_writing = false;
};
