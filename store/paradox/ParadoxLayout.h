#pragma once

#include "store/FieldDef.h"
#include "store/paradox/ParadoxHeader.h"

#include <QString>
#include <QStringList>

// Why the Paradox table does not have the fields of our table of that name (names without regard to case,
// types and widths as our table declares them; an older Journal may lack KI); empty when it has them.
QString paradoxLayoutProblem(const QString& table, const ParadoxHeader& header);

// Spells the fields of a table that passed the layout check as our table does.
void adoptOurFieldNames(const QString& table, ParadoxHeader& header);

// The store's field for a Paradox field of a table that passed the layout check.
FieldDef storeField(const ParadoxField& field);

// The statement, in the local-SQL dialect, that makes our table with the Paradox table's fields in their order.
QString createTableStatement(const QString& table, const ParadoxHeader& header);

// The index statements that make a converted table what the schema routine makes; the DT index on Contest
// comes with a Journal, as it does there.
QStringList createIndexStatements(const QString& table, bool withJournal);
