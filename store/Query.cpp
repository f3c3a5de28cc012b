#include "store/Query.h"

#include "store/Database.h"
#include "store/StoreError.h"

Query::Query(Database& db)
    : m_db(db)
{
}

void Query::open()
{
    close();
    Statement statement = m_db.prepareDialect(m_sql);
    int rows = 0;
    while (statement.step()) {
        ++rows;
    }
    m_rows = rows;
    m_open = true;
}

void Query::close()
{
    m_open = false;
    m_rows = 0;
}
