#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The field types of the Paradox tables that older contest folders hold; no other type is read.
enum class ParadoxFieldType : quint8
{
    Alpha = 0x01,
    Date = 0x02,
    Long = 0x04,
    Logical = 0x09,
    Time = 0x14,
    AutoInc = 0x16,
};

struct ParadoxField
{
    QString name;
    quint8 type = 0;
    int size = 0; // bytes in the record
};

// The header of a Paradox table (.db): where the data blocks are and what a record holds.
struct ParadoxHeader
{
    int recordSize = 0;
    int headerSize = 0;
    int blockSize = 0; // bytes
    quint32 records = 0;
    int fileBlocks = 0;
    int firstBlock = 0;
    int version = 0; // file version code: 3..12, 12 being level 7
    QList<ParadoxField> fields;
};

// Whether the file starts as a Paradox table does. Such a file has no magic string, so the fixed header
// fields are checked together with the field descriptors: record size and header size must agree with them.
bool looksLikeParadoxTable(const QByteArray& file);

// Reads the header and the field names; throws StoreError with the reason when the file is not a
// Paradox table or its header cannot be read whole.
ParadoxHeader readParadoxHeader(const QByteArray& file);
