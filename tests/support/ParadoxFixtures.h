#pragma once

#include <QDate>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTime>
#include <QVariant>

// The Paradox fixtures (tests/data/paradox) and their expected values: one TSV per table, a header line of
// field names, then one line per row; \N is NULL.
namespace paradoxfixtures
{
inline QString fixturePath(const QString& fixture, const QString& file = {})
{
    return QDir(QStringLiteral(PARADOX_FIXTURES "/") + fixture).filePath(file);
}

// copies the fixture's tables (not its expected values) into `folder`, writable
inline void copyFixture(const QString& fixture, const QString& folder)
{
    const QDir source(fixturePath(fixture));
    for (const QString& name : source.entryList(QDir::Files)) {
        const QString target = QDir(folder).filePath(name);
        QFile::copy(source.filePath(name), target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
}

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline QStringList expectedLines(const QString& fixture, const QString& table)
{
    return QString::fromUtf8(readAll(fixturePath(fixture, QStringLiteral("expected/%1.tsv").arg(table))))
        .split(u'\n', Qt::SkipEmptyParts);
}

inline QString tsvValue(const QVariant& value)
{
    if (value.isNull()) {
        return QStringLiteral("\\N");
    }
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("HH:mm:ss.zzz"));
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return value.toString();
    }
}

inline QString tsvLine(const QVariantList& row)
{
    QStringList values;
    for (const QVariant& value : row) {
        values.append(tsvValue(value));
    }
    return values.join(u'\t');
}

// (fixture, table) for every expected table
inline QList<QPair<QString, QString>> allExpectedTables()
{
    QList<QPair<QString, QString>> tables;
    const QDir root(QStringLiteral(PARADOX_FIXTURES));
    for (const QString& fixture : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QString& tsv : QDir(root.filePath(fixture + QStringLiteral("/expected"))).entryList(QDir::Files)) {
            tables.append({fixture, tsv.chopped(4)});
        }
    }
    return tables;
}
} // namespace paradoxfixtures
