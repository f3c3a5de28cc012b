#pragma once

#include <QFile>
#include <QList>
#include <QString>
#include <QVariant>

#include <sqlite3.h>

#include <stdexcept>

// A table file opened with SQLite directly, bypassing the store: tests look at what really landed on
// disk, and build files in shapes the store itself would never write.
class RawTableFile
{
public:
    explicit RawTableFile(const QString& path, bool readOnly = true)
    {
        const int flags = readOnly ? SQLITE_OPEN_READONLY : (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr) != SQLITE_OK) {
            const std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
            sqlite3_close(m_db);
            throw std::runtime_error(message);
        }
    }
    ~RawTableFile() { sqlite3_close(m_db); }
    RawTableFile(const RawTableFile&) = delete;
    RawTableFile& operator=(const RawTableFile&) = delete;

    // Every row of the statement, each as its column values; SQLite errors throw.
    QList<QVariantList> rows(const QString& sql) const
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
            throw std::runtime_error(sqlite3_errmsg(m_db));
        }
        QList<QVariantList> result;
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            QVariantList row;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                switch (sqlite3_column_type(stmt, i)) {
                case SQLITE_NULL:
                    row.append(QVariant());
                    break;
                case SQLITE_INTEGER:
                    row.append(qlonglong(sqlite3_column_int64(stmt, i)));
                    break;
                default:
                    row.append(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                                                 sqlite3_column_bytes(stmt, i)));
                }
            }
            result.append(row);
        }
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE) {
            throw std::runtime_error(sqlite3_errmsg(m_db));
        }
        return result;
    }

    QVariant value(const QString& sql) const
    {
        const QList<QVariantList> all = rows(sql);
        return all.isEmpty() || all.first().isEmpty() ? QVariant() : all.first().first();
    }

    void exec(const QString& sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string message = error ? error : "unknown error";
            sqlite3_free(error);
            throw std::runtime_error(message);
        }
    }

private:
    sqlite3* m_db = nullptr;
};

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
