#include "contest/SerialRecovery.h"

#include "store/Database.h"
#include "store/StoreError.h"

std::optional<int> lastSentSerial(Database& db, int contestNumber, qint64 ki)
{
    try {
        Statement query = db.prepareDialect(
            QStringLiteral("select SentText from Journal where ContestNumber=? order by ID desc limit 1"));
        query.bind(1, contestNumber);
        if (!query.step()) {
            return std::nullopt;
        }
        const QStringList parts = query.column(0).toString().split(u' ', Qt::SkipEmptyParts);
        bool ok = false;
        const int serial = parts.size() == 2 && parts.first() == QString::number(ki) ? parts.last().toInt(&ok) : 0;
        return ok ? std::optional<int>(serial) : std::nullopt;
    } catch (const StoreError&) {
        return std::nullopt;
    }
}
