// A Paradox table as an old contest folder may hold it, through the reader. A table that cannot be read
// whole is refused with the store's error; any other way out is a fault, and so is a read that does not
// hold exactly the rows its header counts.
#include "store/StoreError.h"
#include "store/paradox/ParadoxTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const bool detected = looksLikeParadoxTable(bytes);
    try {
        const ParadoxTable table = readParadoxTable(bytes);
        if (!detected || quint32(table.rows.size()) != table.header.records) {
            std::abort();
        }
        for (const QVariantList& row : table.rows) {
            if (row.size() != table.header.fields.size()) {
                std::abort();
            }
        }
    } catch (const StoreError&) {
    }
    return 0;
}
