#pragma once

#include "store/FolderTable.h"

#include <QList>
#include <QString>
#include <QStringList>

enum class FieldKind
{
    AutoInc,
    Integer,
    Char,
    Date,
    Time,
    Boolean,
    Other,
};

// A field as the table declares it, read back from the table file.
struct FieldDef
{
    QString name;
    FieldKind kind = FieldKind::Other;
    int width = 0; // characters, for Char(n)
};

FieldDef fieldDefFromDeclaration(const QString& name, const QString& declaredType, bool primaryKey);

// A field that a view exposes, with the title its grid shows.
struct DeclaredField
{
    QString name;
    QString label;
    bool readOnly = false;

    // a field without a label is titled with its name
    QString title() const { return label.isEmpty() ? name : label; }
};

struct ViewDefinition
{
    QString viewName;
    FolderTable table{};
    QList<DeclaredField> fields;
    // fields of the index that orders the view; empty means the primary key
    QStringList orderBy;
};
