#include "store/paradox/ConvertedTables.h"

#include "store/Database.h"
#include "store/FieldValue.h"
#include "store/TableNames.h"
#include "store/Transaction.h"
#include "store/paradox/ParadoxLayout.h"

namespace
{
void insertRows(Database& db, const NamedParadoxTable& source)
{
    const QList<ParadoxField>& fields = source.content.header.fields;
    QStringList names;
    QStringList marks;
    QList<FieldDef> defs;
    for (const ParadoxField& field : fields) {
        names.append(quoteIdentifier(field.name));
        marks.append(QStringLiteral("?"));
        defs.append(storeField(field));
    }
    const QString table = quoteIdentifier(source.table);
    Statement insert = db.prepareOn(
        source.table,
        QStringLiteral("INSERT INTO %1.%1 (%2) VALUES (%3)").arg(table, names.join(u','), marks.join(u',')));
    for (const QVariantList& row : source.content.rows) {
        for (int i = 0; i < defs.size(); ++i) {
            insert.bind(i + 1, toStoredValue(defs.at(i), row.at(i)));
        }
        insert.run();
        insert.reset();
    }
}
} // namespace

void writeConvertedTables(const QString& folder, const QList<NamedParadoxTable>& tables)
{
    Database db(folder);
    const bool withJournal = std::any_of(tables.cbegin(), tables.cend(),
                                         [](const NamedParadoxTable& named) { return named.table == kTableJournal; });
    // the files are attached as they are made, which cannot happen inside a transaction
    for (const NamedParadoxTable& named : tables) {
        db.execute(createTableStatement(named.table, named.content.header));
        for (const QString& index : createIndexStatements(named.table, withJournal)) {
            db.execute(index);
        }
    }
    Transaction transaction(db);
    for (const NamedParadoxTable& named : tables) {
        insertRows(db, named);
    }
    transaction.commit();
}
