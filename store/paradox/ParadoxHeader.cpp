#include "store/paradox/ParadoxHeader.h"

#include "store/Cp1251.h"
#include "store/StoreError.h"
#include "store/paradox/ParadoxBytes.h"

#include <algorithm>

namespace
{
// offsets in the header, from the public notes on the format
constexpr int kRecordSizeAt = 0x00;
constexpr int kHeaderSizeAt = 0x02;
constexpr int kFileTypeAt = 0x04;
constexpr int kBlockSizeCodeAt = 0x05;
constexpr int kRecordsAt = 0x06;
constexpr int kFileBlocksAt = 0x0C;
constexpr int kFirstBlockAt = 0x0E;
constexpr int kFieldCountAt = 0x21;
constexpr int kVersionAt = 0x39;
constexpr int kShortHeaderEnd = 0x58; // level 3 tables: the field descriptors follow here
constexpr int kLongHeaderEnd = 0x78;  // level 4 and later: after the extended header
constexpr int kFirstLongHeaderVersion = 5;
constexpr int kLevel7Version = 12;
constexpr int kMinVersion = 3;
constexpr int kBlockSizeUnit = 1024;
constexpr int kMaxBlockSizeCode = 32;
constexpr int kMaxFields = 255;
constexpr int kPointerSize = 4;
constexpr int kTableNameSize = 79;
constexpr int kLevel7TableNameSize = 261;
constexpr int kBcdType = 0x17;
constexpr int kBcdSize = 17;
// file types of a data table: keyed (0) and unkeyed (2); the others are index and auxiliary files
constexpr quint8 kKeyedTable = 0;
constexpr quint8 kUnkeyedTable = 2;

quint32 u32(const QByteArray& file, int at)
{
    return quint32(paradoxU16(file, at)) | quint32(paradoxU16(file, at + 2)) << 16;
}

int descriptorsAt(int version)
{
    return version >= kFirstLongHeaderVersion ? kLongHeaderEnd : kShortHeaderEnd;
}

// the checks of the fixed header; empty when they pass
QString fixedHeaderProblem(const QByteArray& file)
{
    if (file.size() < kShortHeaderEnd) {
        return QStringLiteral("the file is shorter than a Paradox header");
    }
    const int type = paradoxU8(file, kFileTypeAt);
    const int blockCode = paradoxU8(file, kBlockSizeCodeAt);
    const int version = paradoxU8(file, kVersionAt);
    const int fields = paradoxU16(file, kFieldCountAt);
    if (type != kKeyedTable && type != kUnkeyedTable) {
        return QStringLiteral("file type %1 is not that of a Paradox table").arg(type);
    }
    if (blockCode < 1 || blockCode > kMaxBlockSizeCode || version < kMinVersion || version > kLevel7Version
        || fields < 1 || fields > kMaxFields || paradoxU16(file, kRecordSizeAt) == 0) {
        return QStringLiteral("the header fields are not those of a Paradox table");
    }
    const int end = descriptorsAt(version) + 2 * fields;
    if (file.size() < end || paradoxU16(file, kHeaderSizeAt) < end) {
        return QStringLiteral("the header is too short for its %1 field descriptors").arg(fields);
    }
    int recordSize = 0;
    for (int i = 0; i < fields; ++i) {
        const int at = descriptorsAt(version) + 2 * i;
        recordSize += paradoxU8(file, at) == kBcdType ? kBcdSize : paradoxU8(file, at + 1);
    }
    if (recordSize != paradoxU16(file, kRecordSizeAt)) {
        return QStringLiteral("the record size %1 disagrees with the fields, which take %2 bytes")
            .arg(paradoxU16(file, kRecordSizeAt))
            .arg(recordSize);
    }
    return {};
}
} // namespace

bool looksLikeParadoxTable(const QByteArray& file)
{
    return fixedHeaderProblem(file).isEmpty();
}

ParadoxHeader readParadoxHeader(const QByteArray& file)
{
    if (const QString problem = fixedHeaderProblem(file); !problem.isEmpty()) {
        throw StoreError(problem);
    }
    ParadoxHeader header;
    header.recordSize = paradoxU16(file, kRecordSizeAt);
    header.headerSize = paradoxU16(file, kHeaderSizeAt);
    header.blockSize = paradoxU8(file, kBlockSizeCodeAt) * kBlockSizeUnit;
    header.records = u32(file, kRecordsAt);
    header.fileBlocks = paradoxU16(file, kFileBlocksAt);
    header.firstBlock = paradoxU16(file, kFirstBlockAt);
    header.version = paradoxU8(file, kVersionAt);
    const int count = paradoxU16(file, kFieldCountAt);
    const int descriptors = descriptorsAt(header.version);
    // the names follow the table name pointer, one pointer per field and the table name
    int at = descriptors + 2 * count + kPointerSize * (1 + count)
        + (header.version >= kLevel7Version ? kLevel7TableNameSize : kTableNameSize);
    const qsizetype namesEnd = std::min<qsizetype>(header.headerSize, file.size());
    for (int i = 0; i < count; ++i) {
        const qsizetype zero = at < namesEnd ? file.indexOf('\0', at) : -1;
        if (zero < 0 || zero >= namesEnd) {
            throw StoreError(QStringLiteral("the name of field %1 lies past the end of the header").arg(i + 1));
        }
        ParadoxField field;
        field.name = fromCp1251(QByteArrayView(file).sliced(at, zero - at));
        field.type = quint8(paradoxU8(file, descriptors + 2 * i));
        field.size = paradoxU8(file, descriptors + 2 * i + 1);
        header.fields.append(field);
        at = int(zero) + 1;
    }
    return header;
}
