#include "store/FieldDef.h"

#include <QRegularExpression>

FieldDef fieldDefFromDeclaration(const QString& name, const QString& declaredType, bool primaryKey)
{
    FieldDef def;
    def.name = name;
    const QString type = declaredType.trimmed().toLower();
    if (primaryKey && type.startsWith(QStringLiteral("integer"))) {
        def.kind = FieldKind::AutoInc;
    } else if (type.startsWith(QStringLiteral("char")) || type.startsWith(QStringLiteral("varchar"))) {
        def.kind = FieldKind::Char;
        static const QRegularExpression width(QStringLiteral("\\(\\s*(\\d+)\\s*\\)"));
        const QRegularExpressionMatch match = width.match(type);
        def.width = match.hasMatch() ? match.captured(1).toInt() : 0;
    } else if (type == QStringLiteral("date")) {
        def.kind = FieldKind::Date;
    } else if (type == QStringLiteral("time")) {
        def.kind = FieldKind::Time;
    } else if (type == QStringLiteral("boolean")) {
        def.kind = FieldKind::Boolean;
    } else if (type.startsWith(QStringLiteral("int"))) {
        def.kind = FieldKind::Integer;
    }
    return def;
}
