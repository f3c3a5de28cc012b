#include "store/Transaction.h"

#include "store/Database.h"
#include "store/StoreError.h"

Transaction::Transaction(Database& db)
    : m_db(db)
{
    if (db.inTransaction()) {
        m_savepoint = QStringLiteral("tourlog_%1").arg(db.nextSavepointNumber());
        db.prepare(QStringLiteral("SAVEPOINT ") + m_savepoint).run();
    } else {
        db.restartLockWait();
        try {
            db.prepare(QStringLiteral("BEGIN IMMEDIATE")).run();
        } catch (const StoreError& error) {
            if (!error.isLocked()) {
                throw;
            }
            throw StoreError(db.lockedTablesMessage(), StoreError::Cause::Locked);
        }
    }
}

Transaction::~Transaction()
{
    if (!m_done) {
        rollBack();
    }
}

void Transaction::rollBack()
{
    m_done = true;
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
        try {
            m_db.prepare(QStringLiteral("COMMIT")).run();
        } catch (const StoreError& error) {
            if (!error.isLocked()) {
                throw;
            }
            // the transaction is still open after a refused commit; the files are asked once it is gone
            rollBack();
            throw StoreError(m_db.lockedTablesMessage(), StoreError::Cause::Locked);
        }
    } else {
        m_db.prepare(QStringLiteral("RELEASE ") + m_savepoint).run();
    }
    m_done = true;
}
