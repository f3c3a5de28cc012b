#pragma once

#include "store/paradox/ParadoxHeader.h"

#include <QList>
#include <QVariant>

// A Paradox table read whole: its header and every record in block-chain order. A value is a null
// QVariant, or an int (AutoInc, Long), QDate, QTime, bool or QString.
struct ParadoxTable
{
    ParadoxHeader header;
    QList<QVariantList> rows;
};

// Follows the block chain from the first block, each block giving its own record count; throws StoreError
// with the reason when the table cannot be read whole (a broken or looping chain, a record past the end of
// the file, a field type that is not read, a value out of range, fewer or more rows than the header counts).
ParadoxTable readParadoxTable(const QByteArray& file);
