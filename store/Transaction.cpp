#include "store/Transaction.h"

#include "store/Database.h"

namespace
{
int g_savepointCounter = 0;
}

Transaction::Transaction(Database& db)
    : m_db(db)
{
    if (db.inTransaction()) {
        m_savepoint = QStringLiteral("tourlog_%1").arg(++g_savepointCounter);
        db.prepare(QStringLiteral("SAVEPOINT ") + m_savepoint).run();
    } else {
        db.prepare(QStringLiteral("BEGIN IMMEDIATE")).run();
    }
}

Transaction::~Transaction()
{
    if (m_done) {
        return;
    }
    try {
        if (m_savepoint.isEmpty()) {
            if (m_db.inTransaction()) {
                m_db.prepare(QStringLiteral("ROLLBACK")).run();
            }
        } else {
            m_db.prepare(QStringLiteral("ROLLBACK TO ") + m_savepoint).run();
            m_db.prepare(QStringLiteral("RELEASE ") + m_savepoint).run();
        }
    } catch (...) {
        // SQLite has already rolled back what it could not keep; nothing more can be done here.
    }
    try {
        m_db.notifyAllTablesReset();
    } catch (...) {
        // a view that cannot re-read its table shows empty and reports the failure when next used
    }
}

void Transaction::commit()
{
    if (m_savepoint.isEmpty()) {
        m_db.prepare(QStringLiteral("COMMIT")).run();
    } else {
        m_db.prepare(QStringLiteral("RELEASE ") + m_savepoint).run();
    }
    m_done = true;
}
