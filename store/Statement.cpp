#include "store/Statement.h"

#include "store/StoreError.h"

#include <QDate>
#include <QTime>

#include <sqlite3.h>

#include <utility>

namespace
{
QString engineMessage(sqlite3* db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}
} // namespace

QString dateToStored(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString timeToStored(const QTime& time)
{
    return time.toString(QStringLiteral("HH:mm:ss.zzz"));
}

Statement::Statement(sqlite3* db, const QString& sql, QString context)
    : m_db(db)
    , m_context(std::move(context))
{
    const QByteArray text = sql.toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_stmt, &tail);
    if (rc != SQLITE_OK) {
        const QString message = engineMessage(db);
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        fail(message, rc);
    }
    if (!m_stmt) {
        throw StoreError(QStringLiteral("Empty SQL statement"));
    }
    if (tail && QByteArray(tail).trimmed().size() > 0 && QByteArray(tail).trimmed() != QByteArrayLiteral(";")) {
        sqlite3_finalize(m_stmt);
        throw StoreError(QStringLiteral("Only one SQL statement may be run at a time"));
    }
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement&& other) noexcept
    : m_db(other.m_db)
    , m_stmt(other.m_stmt)
    , m_context(std::move(other.m_context))
{
    other.m_stmt = nullptr;
}

void Statement::fail(const QString& message, int code) const
{
    const auto cause = (code & 0xff) == SQLITE_BUSY ? StoreError::Cause::Locked : StoreError::Cause::Failure;
    throw StoreError(m_context.isEmpty() ? message : m_context + QStringLiteral(": ") + message, cause);
}

void Statement::bind(int index, const QVariant& value)
{
    int rc = SQLITE_OK;
    if (value.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::Short:
            rc = sqlite3_bind_int64(m_stmt, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, index, value.toDouble());
            break;
        case QMetaType::QDate: {
            const QByteArray text = dateToStored(value.toDate()).toUtf8();
            rc = sqlite3_bind_text(m_stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QTime: {
            const QByteArray text = timeToStored(value.toTime()).toUtf8();
            rc = sqlite3_bind_text(m_stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK) {
        fail(engineMessage(m_db));
    }
}

void Statement::bindAll(const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i) {
        bind(i + 1, values.at(i));
    }
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    const QString message = engineMessage(m_db);
    sqlite3_reset(m_stmt);
    fail(message, rc);
}

void Statement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

void Statement::run()
{
    while (step()) { }
}

bool Statement::isReadOnly() const
{
    return sqlite3_stmt_readonly(m_stmt) != 0;
}

int Statement::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QVariant Statement::column(int index) const
{
    switch (sqlite3_column_type(m_stmt, index)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(m_stmt, index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, index));
    case SQLITE_NULL:
        return {};
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, index));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, index)));
    }
    }
}

QByteArrayView Statement::columnUtf8(int index) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, index));
    return {text, sqlite3_column_bytes(m_stmt, index)};
}

QString Statement::columnName(int index) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, index));
}
