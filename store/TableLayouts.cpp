#include "store/TableLayouts.h"

#include <QHash>

namespace
{
const QString kAutoInc = QStringLiteral("AutoInc");
} // namespace

const QStringList& contestTableNames()
{
    static const QStringList names = {QStringLiteral("Callsign"), QStringLiteral("Contest"), QStringLiteral("Journal")};
    return names;
}

const QList<ColumnDeclaration>& tableColumns(const QString& table)
{
    static const QList<ColumnDeclaration> contest = {
        {QStringLiteral("ID"), kAutoInc},
        {QStringLiteral("D"), QStringLiteral("Date")},
        {QStringLiteral("T"), QStringLiteral("Time")},
        {QStringLiteral("CallSign"), QStringLiteral("Char(10)")},
        {QStringLiteral("ContestNumber"), QStringLiteral("Integer")},
        {QStringLiteral("TourNumber"), QStringLiteral("Integer")},
        {QStringLiteral("Diapasone"), QStringLiteral("Integer")},
        {QStringLiteral("Modulation"), QStringLiteral("Char(10)")},
        {QStringLiteral("OutFlag"), QStringLiteral("Boolean")},
        {QStringLiteral("SentText"), QStringLiteral("Char(10)")},
        {QStringLiteral("RecvText"), QStringLiteral("Char(10)")},
        {QStringLiteral("Commentary"), QStringLiteral("Char(255)")},
    };
    static const QHash<QString, QList<ColumnDeclaration>> layouts = {
        {QStringLiteral("Callsign"),
         {{QStringLiteral("ID"), kAutoInc},
          {QStringLiteral("CallSign"), QStringLiteral("Char(10)")},
          {QStringLiteral("InCalls"), QStringLiteral("Integer")},
          {QStringLiteral("OutCalls"), QStringLiteral("Integer")},
          {QStringLiteral("Name"), QStringLiteral("Char(60)")},
          {QStringLiteral("Commentary"), QStringLiteral("Char(255)")}}},
        {QStringLiteral("Contest"), contest},
        // the journal has the contest table's columns, with the received region before the commentary
        {QStringLiteral("Journal"),
         QList<ColumnDeclaration>(contest.cbegin(), contest.cend() - 1)
             << ColumnDeclaration{QStringLiteral("KI"), QStringLiteral("Char(2)")} << contest.last()},
    };
    static const QList<ColumnDeclaration> none;
    const auto found = layouts.constFind(table);
    return found == layouts.cend() ? none : *found;
}

QString createTableSql(const QString& table, const QList<ColumnDeclaration>& columns)
{
    QStringList parts;
    QString key;
    for (const ColumnDeclaration& column : columns) {
        parts.append(column.name + u' ' + column.type);
        if (column.type == kAutoInc) {
            key = column.name;
        }
    }
    parts.append(QStringLiteral("primary key(%1)").arg(key));
    return QStringLiteral("Create Table %1 (%2)").arg(table, parts.join(QStringLiteral(", ")));
}

QStringList tableIndexSql(const QString& table)
{
    if (table == QStringLiteral("Callsign")) {
        return {QStringLiteral("Create Index Callsign on Callsign (Callsign)")};
    }
    if (table == QStringLiteral("Contest")) {
        return {QStringLiteral("Create Index Callsign on Contest (D, Callsign)")};
    }
    return {};
}

QString contestTimeIndexSql()
{
    return QStringLiteral("Create Index DT on Contest (D, T)");
}
