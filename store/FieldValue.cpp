#include "store/FieldValue.h"

#include "store/StoreError.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <limits>
#include <optional>

namespace
{
[[noreturn]] void reject(const FieldDef& field, const QVariant& value, const QString& what)
{
    throw StoreError(QStringLiteral("'%1' is not a valid %2 for the field %3").arg(value.toString(), what, field.name));
}

bool isNumeric(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

QVariant toInteger(const FieldDef& field, const QVariant& value)
{
    qlonglong number = 0;
    bool ok = false;
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float) {
        const double d = value.toDouble();
        ok = d == double(qlonglong(d));
        number = qlonglong(d);
    } else if (isNumeric(value)) {
        number = value.toLongLong(&ok);
    } else {
        const QString text = value.toString().trimmed();
        if (text.isEmpty()) {
            return {};
        }
        number = text.toLongLong(&ok);
    }
    if (!ok || number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max()) {
        reject(field, value, QStringLiteral("whole number"));
    }
    return QVariant(number);
}

QVariant toDate(const FieldDef& field, const QVariant& value)
{
    QDate date;
    if (value.typeId() == QMetaType::QDate) {
        date = value.toDate();
    } else if (value.typeId() == QMetaType::QDateTime) {
        date = value.toDateTime().date();
    } else {
        const QString text = value.toString().trimmed();
        if (text.isEmpty()) {
            return {};
        }
        date = QDate::fromString(text, Qt::ISODate);
    }
    if (!date.isValid()) {
        reject(field, value, QStringLiteral("date"));
    }
    return QVariant(date);
}

QVariant toTime(const FieldDef& field, const QVariant& value)
{
    QTime time;
    if (value.typeId() == QMetaType::QTime) {
        time = value.toTime();
    } else if (value.typeId() == QMetaType::QDateTime) {
        time = value.toDateTime().time();
    } else {
        const QString text = value.toString().trimmed();
        if (text.isEmpty()) {
            return {};
        }
        time = timeOfDayFromText(text);
    }
    if (!time.isValid()) {
        reject(field, value, QStringLiteral("time"));
    }
    return QVariant(time);
}

QVariant toBoolean(const FieldDef& field, const QVariant& value)
{
    if (isNumeric(value)) {
        return QVariant(value.toLongLong() != 0);
    }
    const QString text = value.toString().trimmed();
    if (text.isEmpty()) {
        return {};
    }
    if (text.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0 || text == QStringLiteral("1")) {
        return QVariant(true);
    }
    if (text.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0 || text == QStringLiteral("0")) {
        return QVariant(false);
    }
    reject(field, value, QStringLiteral("truth value"));
}
} // namespace

QString cutToCharacters(const QString& text, int n)
{
    if (n <= 0) {
        return text;
    }
    int units = 0;
    int characters = 0;
    while (units < text.size() && characters < n) {
        units += (text.at(units).isHighSurrogate() && units + 1 < text.size()) ? 2 : 1;
        ++characters;
    }
    return text.left(units);
}

namespace
{
// The form the store writes, "HH:MM:SS.zzz", read without the general parser: a report reads it for
// every contact of the journal.
std::optional<QTime> storedTimeOfDay(const QString& text)
{
    static constexpr int kLength = 12;
    if (text.size() != kLength || text.at(2) != u':' || text.at(5) != u':' || text.at(8) != u'.') {
        return std::nullopt;
    }
    const auto number = [&text](int from, int digits) {
        int value = 0;
        for (int i = from; i < from + digits; ++i) {
            const char16_t c = text.at(i).unicode();
            if (c < u'0' || c > u'9') {
                return -1;
            }
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    const int hour = number(0, 2);
    const int minute = number(3, 2);
    const int second = number(6, 2);
    const int millisecond = number(9, 3);
    if (!QTime::isValid(hour, minute, second, millisecond)) {
        return std::nullopt;
    }
    return QTime(hour, minute, second, millisecond);
}
} // namespace

QTime timeOfDayFromText(const QString& text)
{
    if (const std::optional<QTime> stored = storedTimeOfDay(text)) {
        return *stored;
    }
    static const QStringList formats = {
        QStringLiteral("H:mm:ss.zzz"),
        QStringLiteral("H:mm:ss"),
        QStringLiteral("H:mm"),
    };
    for (const QString& format : formats) {
        const QTime time = QTime::fromString(text.trimmed(), format);
        if (time.isValid()) {
            return time;
        }
    }
    return {};
}

QVariant toStoredValue(const FieldDef& field, const QVariant& value)
{
    if (value.isNull()) {
        return {};
    }
    switch (field.kind) {
    case FieldKind::AutoInc:
    case FieldKind::Integer:
        return toInteger(field, value);
    case FieldKind::Date:
        return toDate(field, value);
    case FieldKind::Time:
        return toTime(field, value);
    case FieldKind::Boolean:
        return toBoolean(field, value);
    case FieldKind::Char:
        return QVariant(cutToCharacters(value.toString(), field.width));
    case FieldKind::Other:
        break;
    }
    return value;
}

QVariant fromStoredValue(const FieldDef& field, const QVariant& raw)
{
    if (raw.isNull()) {
        return {};
    }
    switch (field.kind) {
    case FieldKind::AutoInc:
    case FieldKind::Integer:
        if (raw.typeId() == QMetaType::LongLong) {
            return QVariant(int(raw.toLongLong()));
        }
        return raw;
    case FieldKind::Date: {
        const QDate date = QDate::fromString(raw.toString(), Qt::ISODate);
        return date.isValid() ? QVariant(date) : raw;
    }
    case FieldKind::Time: {
        const QTime time = timeOfDayFromText(raw.toString());
        return time.isValid() ? QVariant(time) : raw;
    }
    case FieldKind::Boolean:
        return QVariant(raw.toLongLong() != 0);
    case FieldKind::Char:
        return QVariant(raw.toString());
    case FieldKind::Other:
        break;
    }
    return raw;
}
