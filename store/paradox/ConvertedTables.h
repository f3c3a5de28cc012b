#pragma once

#include "store/paradox/ParadoxTable.h"

#include <QList>
#include <QString>

struct NamedParadoxTable
{
    QString table; // our table's name, as the schema spells it
    ParadoxTable content;
};

// Makes our table file for each Paradox table in `folder`, a folder of its own that holds nothing else:
// the table as the schema makes it, with every row, every value and every ID, in one transaction. AutoInc
// goes on after the largest ID. Throws StoreError; what was made is then of no use and is thrown away.
void writeConvertedTables(const QString& folder, const QList<NamedParadoxTable>& tables);
