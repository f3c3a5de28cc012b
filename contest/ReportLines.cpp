#include "contest/ReportLines.h"

#include "contest/Cp1251.h"
#include "contest/ReportFormat.h"
#include "store/Database.h"
#include "store/StoreError.h"
#include "store/TableNames.h"
#include "store/TableView.h"

#include <QTimeZone>

namespace
{
const QString kJournalTable = QStringLiteral("journal");
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");
constexpr int kProgressStep = 5000;

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
} // namespace

ReportLines::ReportLines(Database* db, QObject* parent)
    : QObject(parent)
{
    if (!db) {
        return;
    }
    connect(db, &Database::rowChanged, this, [this](const QString& table, qint64 id, const QObject*) {
        if (table == kJournalTable) {
            m_lines.remove(id);
        }
    });
    connect(db, &Database::tableReset, this, [this](const QString& table) {
        if (table == kJournalTable) {
            m_lines.clear();
        }
    });
}

QByteArray ReportLines::body(TableView& journal)
{
    journal.checkBrowseMode();
    const QByteArray timeZone = currentTimeZone();
    if (timeZone != m_timeZone) {
        m_lines.clear();
        m_timeZone = timeZone;
    }
    JournalRowReader reader(journal);
    QByteArray bytes;
    // the body of the last report, and a contact more, without growing step by step
    bytes.reserve(m_lastSize + 256);
    const int rows = journal.recordCount();
    for (int row = 0; row < rows; ++row) {
        const qint64 id = journal.idAt(row);
        auto line = m_lines.constFind(id);
        if (line == m_lines.cend()) {
            if (row % kProgressStep == 0) {
                journal.database().work().setProgress(row, rows);
            }
            line = m_lines.insert(id, reader.line(row));
        }
        bytes += line.value();
    }
    journal.last();
    m_lastSize = bytes.size();
    return bytes;
}
