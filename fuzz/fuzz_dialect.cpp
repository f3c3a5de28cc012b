// Statements of the local-SQL dialect through the translator. A malformed statement is refused with the
// store's error; any other way out is a fault.
#include "store/SqlDialect.h"
#include "store/StoreError.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString sql = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const DialectStatement statement = translateDialect(sql);
        // a statement that needs no rewriting reaches SQLite exactly as written
        if (statement.kind == DialectStatement::Kind::Plain && !sql.contains(u"substring", Qt::CaseInsensitive)
            && statement.sql != sql.trimmed()) {
            std::abort();
        }
    } catch (const StoreError&) {
    }
    return 0;
}
