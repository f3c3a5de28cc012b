#include "store/SqlRoutines.h"

#include "store/Database.h"
#include "store/StoreError.h"

#include <optional>

bool RunSql(Database& db, const QString& sql, bool busy)
{
    std::optional<LongWork::Scope> work;
    if (busy) {
        work.emplace(db.work());
    }
    try {
        db.execute(sql);
        return true;
    } catch (const StoreError&) {
        return false;
    }
}

QVariant QuerySingleValue(Database& db, const QString& sql)
{
    try {
        Statement query = db.prepareDialect(sql);
        if (query.step()) {
            QVariant value = query.column(0);
            if (!value.isNull()) {
                return value;
            }
        }
        return QVariant(kNoValue);
    } catch (const StoreError&) {
        return QVariant(kQueryFailed);
    }
}
