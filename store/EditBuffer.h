#pragma once

#include <QList>
#include <QVariant>

// The values of the row being edited or appended, which of them were set, and what the row held when
// its edit began (kept after the post, for whoever follows it).
class EditBuffer
{
public:
    void startInsert(qsizetype fieldCount);
    // a row that could not be read starts as nulls
    void startEdit(const QVariantList& row, qsizetype fieldCount);
    // drops the pending values; what the row held before stays
    void clear();

    bool isModified() const { return m_modified; }
    const QVariant& value(qsizetype index) const { return m_values.at(index); }
    void set(qsizetype index, QVariant value);
    bool isSet(qsizetype index) const { return m_set.at(index); }
    // null for an appended row, or before any edit
    QVariant valueBefore(qsizetype index) const { return m_before.value(index); }

private:
    QVariantList m_values;
    QVariantList m_before;
    QList<bool> m_set;
    bool m_modified = false;
};
