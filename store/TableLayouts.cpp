#include "store/TableLayouts.h"

#include "store/TableNames.h"

#include <QHash>

namespace
{
const QString kAutoInc = QStringLiteral("AutoInc");
// the index by callsign that the older table files carry under this name, its column spelt the same way
// (SQLite ignores the case; the text stored in the file stays as it always was)
const QString kIndexCallsign = QStringLiteral("Callsign");
} // namespace

const QStringList& contestTableNames()
{
    static const QStringList names = {kTableCallsign, kTableContest, kTableJournal};
    return names;
}

const QList<ColumnDeclaration>& tableColumns(const QString& table)
{
    static const QList<ColumnDeclaration> contest = {
        {kFieldId, kAutoInc},
        {kFieldDate, QStringLiteral("Date")},
        {kFieldTime, QStringLiteral("Time")},
        {kFieldCallSign, QStringLiteral("Char(10)")},
        {kFieldContestNumber, QStringLiteral("Integer")},
        {kFieldTourNumber, QStringLiteral("Integer")},
        {kFieldDiapasone, QStringLiteral("Integer")},
        {kFieldModulation, QStringLiteral("Char(10)")},
        {kFieldOutFlag, QStringLiteral("Boolean")},
        {kFieldSentText, QStringLiteral("Char(10)")},
        {kFieldRecvText, QStringLiteral("Char(10)")},
        {kFieldCommentary, QStringLiteral("Char(255)")},
    };
    static const QHash<QString, QList<ColumnDeclaration>> layouts = {
        {kTableCallsign,
         {{kFieldId, kAutoInc},
          {kFieldCallSign, QStringLiteral("Char(10)")},
          {kFieldInCalls, QStringLiteral("Integer")},
          {kFieldOutCalls, QStringLiteral("Integer")},
          {kFieldName, QStringLiteral("Char(60)")},
          {kFieldCommentary, QStringLiteral("Char(255)")}}},
        {kTableContest, contest},
        // the journal has the contest table's columns, with the received region before the commentary
        {kTableJournal,
         QList<ColumnDeclaration>(contest.cbegin(), contest.cend() - 1)
             << ColumnDeclaration{kFieldKi, QStringLiteral("Char(2)")} << contest.last()},
        // the Journal row's ID is the key: the rows are written with it, never numbered by the table
        {kTableFrequency,
         {{kFieldJournalId, kAutoInc},
          {kFieldHz, QStringLiteral("Integer")},
          {kFieldRadioMode, QStringLiteral("Char(10)")}}},
        // the planned row's ID is the key: a row is tied once, to one Journal row
        {kTableTie, {{kFieldContestId, kAutoInc}, {kFieldJournalId, QStringLiteral("Integer")}}},
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
    if (table == kTableCallsign) {
        return {QStringLiteral("Create Index %1 on %2 (%3)").arg(kIndexCallsign, kTableCallsign, kIndexCallsign)};
    }
    if (table == kTableContest) {
        return {QStringLiteral("Create Index %1 on %2 (%3, %4)")
                    .arg(kIndexCallsign, kTableContest, kFieldDate, kIndexCallsign)};
    }
    if (table == kTableTie) {
        // a Journal row is looked up for its planned row when it is deleted or corrected
        return {QStringLiteral("Create Index %1 on %2 (%1)").arg(kFieldJournalId, kTableTie)};
    }
    return {};
}

QString contestTimeIndexSql()
{
    return QStringLiteral("Create Index %1 on %2 (%3, %4)")
        .arg(contestTimeIndexName(), kTableContest, kFieldDate, kFieldTime);
}

QString contestTimeIndexName()
{
    return QStringLiteral("DT");
}
