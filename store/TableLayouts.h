#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The three tables of a contest folder as the schema routine makes them, declared once in the local-SQL
// dialect: the schema routine and the conversion of older table files both make their tables from here.
struct ColumnDeclaration
{
    QString name;
    QString type; // as the dialect declares it: AutoInc, Integer, Char(10), Date, Time, Boolean
};

// Callsign, Contest, Journal
const QStringList& contestTableNames();
// the table's columns in their order, Journal with KI; empty for another name
const QList<ColumnDeclaration>& tableColumns(const QString& table);
// "Create Table" with these columns (in their order) and the AutoInc column as the primary key
QString createTableSql(const QString& table, const QList<ColumnDeclaration>& columns);
// the indexes made with the table itself
QStringList tableIndexSql(const QString& table);
// the index of Contest by date and time, which is made together with the Journal, and its name in the dialect
QString contestTimeIndexSql();
QString contestTimeIndexName();
