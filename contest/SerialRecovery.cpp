#include "contest/SerialRecovery.h"

#include "store/ColumnQueries.h"
#include "store/StoreError.h"
#include "store/TableNames.h"

std::optional<int> lastSentSerial(Database& db, int contestNumber, qint64 ki)
{
    try {
        const QVariant sent = lastValueWhere(db, kTableJournal, kFieldSentText, kFieldContestNumber, contestNumber);
        const QStringList parts = sent.toString().split(u' ', Qt::SkipEmptyParts);
        // a KI below 10 is sent with a leading zero today, without one in older journals
        bool kiOk = false;
        bool ok = false;
        const int serial = parts.size() == 2 && parts.first().toLongLong(&kiOk) == ki && kiOk ? parts.last().toInt(&ok)
                                                                                              : 0;
        return ok ? std::optional<int>(serial) : std::nullopt;
    } catch (const StoreError&) {
        return std::nullopt;
    }
}
