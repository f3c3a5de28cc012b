#include "store/paradox/ParadoxTable.h"

#include "store/Cp1251.h"
#include "store/StoreError.h"
#include "store/paradox/ParadoxBytes.h"

#include <QDate>
#include <QSet>
#include <QTime>

namespace
{
constexpr int kBlockHeaderSize = 6; // next block, previous block, bytes in use after the first record
constexpr quint32 kSignBit = 0x80000000U;
constexpr qint64 kJulianDayOfDayZero = 1721425; // 0001-01-01 is day 1
constexpr qint64 kLastDay = 3652059;            // 9999-12-31: later dates have no stored form
constexpr qint64 kMillisecondsPerDay = qint64{24} * 3600 * 1000;
constexpr quint8 kLogicalTrueBit = 0x7f;

int fixedSize(quint8 type)
{
    switch (ParadoxFieldType(type)) {
    case ParadoxFieldType::AutoInc:
    case ParadoxFieldType::Long:
    case ParadoxFieldType::Date:
    case ParadoxFieldType::Time:
        return 4;
    case ParadoxFieldType::Logical:
        return 1;
    case ParadoxFieldType::Alpha:
        return 0;
    }
    return -1;
}

void checkFields(const ParadoxHeader& header)
{
    for (const ParadoxField& field : header.fields) {
        const int size = fixedSize(field.type);
        if (size < 0) {
            throw StoreError(QStringLiteral("field %1 has type 0x%2, which Tourlog does not read")
                                 .arg(field.name)
                                 .arg(field.type, 2, 16, QLatin1Char('0')));
        }
        if ((size > 0 && field.size != size) || field.size == 0) {
            throw StoreError(QStringLiteral("field %1 has the wrong size %2").arg(field.name).arg(field.size));
        }
    }
}

QVariant decodeValue(const ParadoxField& field, const char* bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    const auto type = ParadoxFieldType(field.type);
    if (type == ParadoxFieldType::Alpha) {
        int length = 0;
        while (length < field.size && p[length] != 0) {
            ++length;
        }
        return length == 0 ? QVariant() : QVariant(fromCp1251(QByteArrayView(bytes, length)));
    }
    if (type == ParadoxFieldType::Logical) {
        return p[0] == 0 ? QVariant() : QVariant((p[0] & kLogicalTrueBit) != 0);
    }
    const quint32 raw = quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | quint32(p[3]);
    if (raw == 0) {
        if (type == ParadoxFieldType::AutoInc) {
            // the row's ID keeps the journal's order: a row without one cannot be placed
            throw StoreError(QStringLiteral("a row has no value in its AutoInc field %1").arg(field.name));
        }
        return {};
    }
    const auto value = qint32(raw ^ kSignBit);
    if (type == ParadoxFieldType::Date) {
        if (value < 1 || value > kLastDay) {
            throw StoreError(QStringLiteral("field %1 holds a date out of range (day %2)").arg(field.name).arg(value));
        }
        return QDate::fromJulianDay(value + kJulianDayOfDayZero);
    }
    if (type == ParadoxFieldType::Time) {
        if (value < 0 || value >= kMillisecondsPerDay) {
            throw StoreError(QStringLiteral("field %1 holds a time out of range (%2 ms)").arg(field.name).arg(value));
        }
        return QTime::fromMSecsSinceStartOfDay(value);
    }
    return value;
}
} // namespace

ParadoxTable readParadoxTable(const QByteArray& file)
{
    ParadoxTable table;
    table.header = readParadoxHeader(file);
    const ParadoxHeader& header = table.header;
    checkFields(header);
    const int perBlock = (header.blockSize - kBlockHeaderSize) / header.recordSize;
    QSet<int> visited;
    // a table without blocks has no chain to follow, whatever its first block says
    for (int block = header.fileBlocks == 0 ? 0 : header.firstBlock; block != 0;) {
        if (block > header.fileBlocks) {
            throw StoreError(
                QStringLiteral("the block chain leads to block %1 of %2").arg(block).arg(header.fileBlocks));
        }
        if (visited.contains(block)) {
            throw StoreError(QStringLiteral("the block chain loops back to block %1").arg(block));
        }
        visited.insert(block);
        const qint64 start = header.headerSize + qint64(block - 1) * header.blockSize;
        if (start + kBlockHeaderSize > file.size()) {
            throw StoreError(QStringLiteral("block %1 lies past the end of the file").arg(block));
        }
        const int inUse = qint16(paradoxU16(file, start + 4));
        // a block that holds no record says so with a negative size
        const int count = inUse < 0 ? 0 : inUse / header.recordSize + 1;
        if (inUse >= 0 && inUse % header.recordSize != 0) {
            throw StoreError(QStringLiteral("block %1 has a record count that does not fit its records").arg(block));
        }
        if (count > perBlock) {
            throw StoreError(QStringLiteral("block %1 claims %2 records, more than it can hold").arg(block).arg(count));
        }
        if (start + kBlockHeaderSize + qint64(count) * header.recordSize > file.size()) {
            throw StoreError(QStringLiteral("a record of block %1 lies past the end of the file").arg(block));
        }
        for (int record = 0; record < count; ++record) {
            const char* bytes = file.constData() + start + kBlockHeaderSize + qint64(record) * header.recordSize;
            QVariantList row;
            for (const ParadoxField& field : header.fields) {
                row.append(decodeValue(field, bytes));
                bytes += field.size;
            }
            table.rows.append(row);
        }
        block = paradoxU16(file, start);
    }
    if (quint32(table.rows.size()) != header.records) {
        throw StoreError(QStringLiteral("the header counts %1 rows, the block chain holds %2")
                             .arg(header.records)
                             .arg(table.rows.size()));
    }
    return table;
}
