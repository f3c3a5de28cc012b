#include "store/paradox/ParadoxLayout.h"

#include "store/TableLayouts.h"
#include "store/TableNames.h"

#include <algorithm>

namespace
{
// the field the schema routine's upgrade adds to an older Journal
const QString kOptionalJournalField = kFieldKi;

QString declaredType(const ParadoxField& field)
{
    switch (ParadoxFieldType(field.type)) {
    case ParadoxFieldType::AutoInc:
        return QStringLiteral("AutoInc");
    case ParadoxFieldType::Long:
        return QStringLiteral("Integer");
    case ParadoxFieldType::Date:
        return QStringLiteral("Date");
    case ParadoxFieldType::Time:
        return QStringLiteral("Time");
    case ParadoxFieldType::Logical:
        return QStringLiteral("Boolean");
    case ParadoxFieldType::Alpha:
        break;
    }
    return QStringLiteral("Char(%1)").arg(field.size);
}
} // namespace

// the store's field for a column as the dialect declares it
FieldDef declaredField(const QString& name, const QString& type)
{
    const bool key = type == QStringLiteral("AutoInc");
    return fieldDefFromDeclaration(name, key ? QStringLiteral("integer") : type, key);
}

FieldDef storeField(const ParadoxField& field)
{
    return declaredField(field.name, declaredType(field));
}

QString paradoxLayoutProblem(const QString& table, const ParadoxHeader& header)
{
    const QList<ColumnDeclaration>& expected = tableColumns(table);
    QStringList missing;
    for (const ColumnDeclaration& want : expected) {
        const QString& name = want.name;
        const auto found = std::find_if(header.fields.cbegin(), header.fields.cend(), [&](const ParadoxField& field) {
            return field.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (found == header.fields.cend()) {
            if (!(table == kTableJournal && name == kOptionalJournalField)) {
                missing.append(name);
            }
            continue;
        }
        const FieldDef have = storeField(*found);
        const FieldDef wanted = declaredField(want.name, want.type);
        if (have.kind != wanted.kind || have.width != wanted.width) {
            return QStringLiteral("field %1 is %2, not as in the %3 table")
                .arg(found->name, declaredType(*found), table);
        }
    }
    if (!missing.isEmpty()) {
        return QStringLiteral("it lacks the field(s) %1 of the %2 table")
            .arg(missing.join(QStringLiteral(", ")), table);
    }
    for (const ParadoxField& field : header.fields) {
        const bool known = std::any_of(expected.cbegin(), expected.cend(), [&](const ColumnDeclaration& want) {
            return field.name.compare(want.name, Qt::CaseInsensitive) == 0;
        });
        if (!known) {
            return QStringLiteral("it has a field %1 that the %2 table does not have").arg(field.name, table);
        }
    }
    return {};
}

void adoptOurFieldNames(const QString& table, ParadoxHeader& header)
{
    // only our own spelling reaches the statements, never a name read from the file
    for (ParadoxField& field : header.fields) {
        for (const ColumnDeclaration& want : tableColumns(table)) {
            if (field.name.compare(want.name, Qt::CaseInsensitive) == 0) {
                field.name = want.name;
            }
        }
    }
}

QString createTableStatement(const QString& table, const ParadoxHeader& header)
{
    QList<ColumnDeclaration> columns;
    for (const ParadoxField& field : header.fields) {
        columns.append({field.name, declaredType(field)});
    }
    return createTableSql(table, columns);
}

QStringList createIndexStatements(const QString& table, bool withJournal)
{
    QStringList statements = tableIndexSql(table);
    if (table == kTableContest && withJournal) {
        statements.append(contestTimeIndexSql());
    }
    return statements;
}
