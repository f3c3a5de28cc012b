#include "contest/ReportLines.h"

#include "contest/ReportFormat.h"
#include "store/Cp1251.h"
#include "store/Database.h"
#include "store/FolderTable.h"
#include "store/StoreError.h"
#include "store/TableNames.h"
#include "store/TableView.h"

#include <QElapsedTimer>
#include <QScopedValueRollback>
#include <QTimeZone>

#include <utility>

namespace
{
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");
constexpr int kProgressStep = 5000;
constexpr int kLineReserve = 256;
// rows formatted between two looks at the clock while preparing
constexpr int kPrepareStep = 64;

int requiredField(const TableView& journal, const QString& field)
{
    const int index = journal.fieldIndex(field);
    if (index < 0) {
        throw StoreError(QStringLiteral("%1: Field '%2' not found").arg(journal.name(), field));
    }
    return index;
}

// the local time's rules as the report's conversion to UTC sees them
QByteArray currentTimeZone()
{
    return qgetenv("TZ") + '|' + QTimeZone::systemTimeZoneId();
}

class JournalRowReader
{
public:
    explicit JournalRowReader(const TableView& journal)
        : m_journal(journal)
        , m_diapasone(requiredField(journal, kFieldDiapasone))
        , m_modulation(requiredField(journal, kFieldModulation))
        , m_date(requiredField(journal, kFieldDate))
        , m_time(requiredField(journal, kFieldTime))
        , m_callSign(requiredField(journal, kFieldCallSign))
        , m_sentText(requiredField(journal, kFieldSentText))
        , m_recvText(requiredField(journal, kFieldRecvText))
    {
    }

    QByteArray line(int row)
    {
        ReportRow report;
        report.diapasone = m_journal.valueAt(row, m_diapasone);
        report.modulation = m_journal.valueAt(row, m_modulation).toString();
        report.utc = m_utc.toUtc(m_journal.valueAt(row, m_date), m_journal.valueAt(row, m_time));
        report.callSign = m_journal.valueAt(row, m_callSign).toString();
        report.sentText = m_journal.valueAt(row, m_sentText).toString();
        report.recvText = m_journal.valueAt(row, m_recvText).toString();
        return toCp1251(reportLine(report)) + kLineEnd;
    }

private:
    const TableView& m_journal;
    const int m_diapasone;
    const int m_modulation;
    const int m_date;
    const int m_time;
    const int m_callSign;
    const int m_sentText;
    const int m_recvText;
    ContactTimeConverter m_utc;
};
// the row's line as kept, formatted and kept first if need be
const QByteArray& keptLine(QHash<qint64, QByteArray>& lines, const TableView& journal, JournalRowReader& reader,
                           int row)
{
    const qint64 id = journal.idAt(row);
    auto line = lines.constFind(id);
    if (line == lines.cend()) {
        line = lines.insert(id, reader.line(row));
    }
    return line.value();
}
} // namespace

ReportLines::ReportLines(Database* db, QObject* parent)
    : QObject(parent)
    , m_remembers(db != nullptr)
{
    if (!db) {
        return;
    }
    connect(db, &Database::rowChanged, this, [this](FolderTable table, qint64 id, const QObject*) {
        // a row of the body changed or went; a row past its end is a contact the next body appends
        if (table == FolderTable::Journal && (m_lines.remove(id) || id <= m_lastId)) {
            m_bodyHolds = false;
        }
    });
    connect(db, &Database::tableReset, this, [this](FolderTable table) {
        if (table == FolderTable::Journal) {
            m_lines.clear();
            m_bodyHolds = false;
            m_preparedRows = 0;
        }
    });
}

QByteArray ReportLines::body(TableView& journal)
{
    const QScopedValueRollback writing(m_writing, true);
    journal.checkBrowseMode();
    followTimeZone();
    followView(journal);
    JournalRowReader reader(journal);
    const LineOf lineOf = [this, &journal, &reader](int row) -> const QByteArray& {
        return keptLine(m_lines, journal, reader, row);
    };
    if (!appendNewRows(journal, lineOf)) {
        joinAllRows(journal, lineOf);
    }
    journal.last();
    if (!m_remembers) {
        m_lines.clear();
        return std::exchange(m_body, {});
    }
    return m_body;
}

bool ReportLines::prepare(TableView& journal, std::chrono::milliseconds budget)
{
    // the progress the write shows lets events run, the read-ahead among them: joining the body meanwhile
    // would have the write go on after it, every line twice
    if (m_writing) {
        return false;
    }
    followTimeZone();
    followView(journal);
    if (!m_remembers || m_bodyHolds) {
        return true;
    }
    // a row being edited shows its pending values, which may never be stored
    if (journal.isEditing()) {
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    JournalRowReader reader(journal);
    const int rows = journal.recordCount();
    // every call gets on by a step at least
    const int start = m_preparedRows;
    for (; m_preparedRows < rows; ++m_preparedRows) {
        if (m_preparedRows - start >= kPrepareStep && m_preparedRows % kPrepareStep == 0
            && clock.elapsed() >= budget.count()) {
            return false;
        }
        keptLine(m_lines, journal, reader, m_preparedRows);
    }
    joinAllRows(journal, [this, &journal, &reader](int row) -> const QByteArray& {
        return keptLine(m_lines, journal, reader, row);
    });
    return true;
}

void ReportLines::followTimeZone()
{
    const QByteArray timeZone = currentTimeZone();
    if (timeZone != m_timeZone) {
        m_lines.clear();
        m_bodyHolds = false;
        m_preparedRows = 0;
        m_timeZone = timeZone;
    }
}

void ReportLines::followView(TableView& journal)
{
    if (m_bodyView == &journal) {
        return;
    }
    if (m_bodyView) {
        disconnect(m_bodyView, nullptr, this, nullptr);
    }
    m_bodyView = &journal;
    m_bodyHolds = false;
    // a view that reads its rows anew (opened, refiltered) may hold other rows in other places
    connect(&journal, &TableView::aboutToReset, this, [this] { m_bodyHolds = false; });
}

bool ReportLines::appendNewRows(TableView& journal, const LineOf& lineOf)
{
    if (!m_bodyHolds) {
        return false;
    }
    // reading the end of the view is cheap; the rows before the body's last are as the body has them
    const int rows = journal.recordCount();
    if (rows < m_bodyRows || (m_bodyRows > 0 && journal.idAt(m_bodyRows - 1) != m_lastId)) {
        return false;
    }
    for (int row = m_bodyRows; row < rows; ++row) {
        const qint64 id = journal.idAt(row);
        if (id <= m_lastId) {
            return false;
        }
        m_body += lineOf(row);
        m_lastId = id;
        m_bodyRows = row + 1;
    }
    return true;
}

void ReportLines::joinAllRows(TableView& journal, const LineOf& lineOf)
{
    const int rows = journal.recordCount();
    m_bodyHolds = false;
    const qsizetype lastSize = m_body.size();
    m_body.clear();
    // the body of the last report, and a contact more, without growing step by step
    m_body.reserve(lastSize + kLineReserve);
    m_bodyRows = 0;
    m_lastId = -1;
    for (int row = 0; row < rows; ++row) {
        if (row % kProgressStep == 0 && !m_lines.contains(journal.idAt(row))) {
            journal.database().work().setProgress(row, rows);
        }
        m_body += lineOf(row);
    }
    m_bodyRows = rows;
    m_lastId = rows > 0 ? journal.idAt(rows - 1) : -1;
    m_bodyHolds = m_remembers;
}
