#pragma once

#include "store/Database.h"
#include "store/RawTableFile.h"
#include "store/Schema.h"

#include <QtEndian>

// A Contest of `rows` (a power of two) planned 80 m SSB rows over eight tours: its b-tree has an inner page.
inline void makeLargeContest(const QString& folder, int rows)
{
    Database db(folder);
    EnsureTables(db);
    const QString insert = QStringLiteral(
        "insert into Contest (CallSign, Diapasone, Modulation, TourNumber, Commentary) ");
    db.execute(insert + QStringLiteral("values ('QQ0AAA', 80, 'SSB', 1, 'a remark that fills the pages')"));
    for (int made = 1; made < rows; made *= 2) {
        db.execute(insert + QStringLiteral("select CallSign, 80, 'SSB', TourNumber % 8 + 1, Commentary from Contest"));
    }
}

// A few bytes of the table's file changed, as by a failing disk: either its first data page loses its last
// row (the cell count is one less), or the first third of the inner root page's children point past the end.
enum class PageDamage
{
    DataPage,
    InnerPage,
};

inline bool damageTablePages(const QString& path, const QString& table, PageDamage damage)
{
    const QString rootQuery = QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name='%1'").arg(table);
    const qint64 root = RawTableFile(path).value(rootQuery).toLongLong();
    QFile file(path);
    QByteArray bytes = file.open(QIODevice::ReadWrite) ? file.readAll() : QByteArray();
    auto* data = reinterpret_cast<uchar*>(bytes.data());
    const qint64 pageSize = bytes.size() > 100 ? qFromBigEndian<quint16>(data + 16) : 0;
    uchar* page = data + (root - 1) * pageSize;
    // an inner page: type 5, cell count at 3, cell pointers from 12, each cell led by its child's number
    if (root < 2 || page[0] != 5) {
        return false;
    }
    const auto child = [&](int cell) { return page + qFromBigEndian<quint16>(page + 12 + 2 * cell); };
    if (damage == PageDamage::InnerPage) {
        for (int cell = 0; cell < qFromBigEndian<quint16>(page + 3) / 3; ++cell) {
            qToBigEndian<quint32>(0x7fff0000, child(cell));
        }
    } else {
        uchar* leaf = data + (qFromBigEndian<quint32>(child(0)) - 1) * pageSize;
        qToBigEndian<quint16>(qFromBigEndian<quint16>(leaf + 3) - 1, leaf + 3);
    }
    return file.seek(0) && file.write(bytes) == bytes.size();
}
