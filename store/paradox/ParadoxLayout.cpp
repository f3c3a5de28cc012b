#include "store/paradox/ParadoxLayout.h"

#include <QHash>

#include <algorithm>

namespace
{
struct ExpectedField
{
    const char* name;
    FieldKind kind;
    int width;
};

// the fields of our tables as the schema routine creates them
const QHash<QString, QList<ExpectedField>>& expectedLayouts()
{
    static const QHash<QString, QList<ExpectedField>> layouts = {
        {QStringLiteral("Callsign"),
         {{"ID", FieldKind::AutoInc, 0},
          {"CallSign", FieldKind::Char, 10},
          {"InCalls", FieldKind::Integer, 0},
          {"OutCalls", FieldKind::Integer, 0},
          {"Name", FieldKind::Char, 60},
          {"Commentary", FieldKind::Char, 255}}},
        {QStringLiteral("Contest"),
         {{"ID", FieldKind::AutoInc, 0},
          {"D", FieldKind::Date, 0},
          {"T", FieldKind::Time, 0},
          {"CallSign", FieldKind::Char, 10},
          {"ContestNumber", FieldKind::Integer, 0},
          {"TourNumber", FieldKind::Integer, 0},
          {"Diapasone", FieldKind::Integer, 0},
          {"Modulation", FieldKind::Char, 10},
          {"OutFlag", FieldKind::Boolean, 0},
          {"SentText", FieldKind::Char, 10},
          {"RecvText", FieldKind::Char, 10},
          {"Commentary", FieldKind::Char, 255}}},
        {QStringLiteral("Journal"),
         {{"ID", FieldKind::AutoInc, 0},
          {"D", FieldKind::Date, 0},
          {"T", FieldKind::Time, 0},
          {"CallSign", FieldKind::Char, 10},
          {"ContestNumber", FieldKind::Integer, 0},
          {"TourNumber", FieldKind::Integer, 0},
          {"Diapasone", FieldKind::Integer, 0},
          {"Modulation", FieldKind::Char, 10},
          {"OutFlag", FieldKind::Boolean, 0},
          {"SentText", FieldKind::Char, 10},
          {"RecvText", FieldKind::Char, 10},
          {"KI", FieldKind::Char, 2},
          {"Commentary", FieldKind::Char, 255}}},
    };
    return layouts;
}

// the field the schema routine's upgrade adds to an older Journal
const QString kOptionalJournalField = QStringLiteral("KI");

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

const QStringList& paradoxTableNames()
{
    static const QStringList names = {QStringLiteral("Callsign"), QStringLiteral("Contest"), QStringLiteral("Journal")};
    return names;
}

FieldDef storeField(const ParadoxField& field)
{
    const bool key = ParadoxFieldType(field.type) == ParadoxFieldType::AutoInc;
    return fieldDefFromDeclaration(field.name, key ? QStringLiteral("integer") : declaredType(field), key);
}

QString paradoxLayoutProblem(const QString& table, const ParadoxHeader& header)
{
    const QList<ExpectedField> expected = expectedLayouts().value(table);
    QStringList missing;
    for (const ExpectedField& want : expected) {
        const QString name = QString::fromLatin1(want.name);
        const auto found = std::find_if(header.fields.cbegin(), header.fields.cend(), [&](const ParadoxField& field) {
            return field.name.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (found == header.fields.cend()) {
            if (!(table == QStringLiteral("Journal") && name == kOptionalJournalField)) {
                missing.append(name);
            }
            continue;
        }
        const FieldDef have = storeField(*found);
        if (have.kind != want.kind || have.width != want.width) {
            return QStringLiteral("field %1 is %2, not as in the %3 table")
                .arg(found->name, declaredType(*found), table);
        }
    }
    if (!missing.isEmpty()) {
        return QStringLiteral("it lacks the field(s) %1 of the %2 table")
            .arg(missing.join(QStringLiteral(", ")), table);
    }
    for (const ParadoxField& field : header.fields) {
        const bool known = std::any_of(expected.cbegin(), expected.cend(), [&](const ExpectedField& want) {
            return field.name.compare(QString::fromLatin1(want.name), Qt::CaseInsensitive) == 0;
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
        for (const ExpectedField& want : expectedLayouts().value(table)) {
            if (field.name.compare(QString::fromLatin1(want.name), Qt::CaseInsensitive) == 0) {
                field.name = QString::fromLatin1(want.name);
            }
        }
    }
}

QString createTableStatement(const QString& table, const ParadoxHeader& header)
{
    QStringList columns;
    QString key;
    for (const ParadoxField& field : header.fields) {
        columns.append(field.name + u' ' + declaredType(field));
        if (ParadoxFieldType(field.type) == ParadoxFieldType::AutoInc) {
            key = field.name;
        }
    }
    columns.append(QStringLiteral("primary key(%1)").arg(key));
    return QStringLiteral("Create Table %1 (%2)").arg(table, columns.join(QStringLiteral(", ")));
}

QStringList createIndexStatements(const QString& table, bool withJournal)
{
    if (table == QStringLiteral("Callsign")) {
        return {QStringLiteral("Create Index Callsign on Callsign (Callsign)")};
    }
    if (table == QStringLiteral("Contest")) {
        QStringList statements = {QStringLiteral("Create Index Callsign on Contest (D, Callsign)")};
        if (withJournal) {
            statements.append(QStringLiteral("Create Index DT on Contest (D, T)"));
        }
        return statements;
    }
    return {};
}
