#pragma once

#include "store/Database.h"

#include <QStringList>

// the rows a query of the tables finds, each row's columns joined by a space
inline QStringList tableRows(Database& db, const QString& sql)
{
    QStringList found;
    Statement query = db.prepare(sql);
    while (query.step()) {
        QStringList columns;
        for (int i = 0; i < query.columnCount(); ++i) {
            columns << query.column(i).toString();
        }
        found << columns.join(u' ');
    }
    return found;
}
