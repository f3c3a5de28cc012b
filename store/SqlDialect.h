#pragma once

#include <QString>
#include <QStringList>

// The older local-SQL dialect that the contest logic writes, rewritten into SQLite's.
struct DialectStatement
{
    enum class Kind
    {
        Plain,
        CreateTable,
        CreateIndex,
    };

    Kind kind = Kind::Plain;
    QString sql;
    // the table a CREATE TABLE or CREATE INDEX works on
    QString table;
    // every table the statement names, so that its file can be attached first
    QStringList tables;
};

DialectStatement translateDialect(const QString& sql);

// Name under which an index of the dialect is kept; SQLite keeps tables and indexes in one namespace.
QString scopedIndexName(const QString& table, const QString& index);
