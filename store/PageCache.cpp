#include "store/PageCache.h"

#include "store/Database.h"
#include "store/FieldValue.h"
#include "store/Statement.h"

namespace
{
constexpr int kCacheLimit = 4096;
} // namespace

PageCache::PageCache(Database& db, QString table)
    : m_db(db)
    , m_table(std::move(table))
{
}

PageCache::~PageCache() = default;

void PageCache::setFields(QList<FieldDef> fields, QString pageSql)
{
    m_fields = std::move(fields);
    m_pageSql = std::move(pageSql);
    m_statement.reset();
    m_rows.clear();
}

void PageCache::close()
{
    m_statement.reset();
    m_rows.clear();
}

const QVariantList* PageCache::find(qint64 id) const
{
    const auto it = m_rows.constFind(id);
    return it == m_rows.cend() ? nullptr : &it.value();
}

void PageCache::fetch(const QList<qint64>& ids)
{
    if (m_rows.size() > kCacheLimit) {
        m_rows.clear();
    }
    if (!m_statement) {
        m_statement = std::make_unique<Statement>(m_db.prepareOn(m_table, m_pageSql));
    }
    for (int i = 0; i < kPageSize; ++i) {
        m_statement->bind(i + 1, i < ids.size() ? ids.at(i) : qint64(-1));
    }
    try {
        while (m_statement->step()) {
            QVariantList values;
            values.reserve(m_fields.size());
            for (int f = 0; f < m_fields.size(); ++f) {
                values.append(fromStoredValue(m_fields.at(f), m_statement->column(f + 1)));
            }
            m_rows.insert(m_statement->column(0).toLongLong(), values);
            ++m_fetchedRows;
        }
    } catch (...) {
        m_statement->reset();
        throw;
    }
    m_statement->reset();
}
