#include "contest/SerialRecovery.h"

#include "store/Database.h"
#include "store/StoreError.h"

std::optional<int> lastSentSerial(Database& db)
{
    try {
        Statement query = db.prepareDialect(QStringLiteral("select SentText from Journal order by ID desc limit 1"));
        if (!query.step()) {
            return std::nullopt;
        }
        const QString sent = query.column(0).toString().trimmed();
        bool ok = false;
        const int serial = sent.mid(sent.lastIndexOf(u' ') + 1).toInt(&ok);
        return ok ? std::optional<int>(serial) : std::nullopt;
    } catch (const StoreError&) {
        return std::nullopt;
    }
}
