#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <initializer_list>

// Which rows of its table a view shows: those in which every field of the filter holds its value (a null
// value, as SQL's "=" has it, matches no row). The values are bound to the view's statements, never
// written into their text, so any text may be a value.
class ViewFilter
{
public:
    struct Condition
    {
        QString field;
        QVariant value;

        bool operator==(const Condition&) const = default;
    };

    // every row
    ViewFilter() = default;
    ViewFilter(std::initializer_list<Condition> conditions)
        : m_conditions(conditions)
    {
    }

    // narrows the filter to the rows whose field holds the value as well
    void add(const QString& field, const QVariant& value) { m_conditions.append({field, value}); }

    bool isEmpty() const { return m_conditions.isEmpty(); }
    const QList<Condition>& conditions() const { return m_conditions; }

    bool operator==(const ViewFilter&) const = default;

private:
    QList<Condition> m_conditions;
};
