#include "store/EditBuffer.h"

void EditBuffer::startInsert(qsizetype fieldCount)
{
    m_values = QVariantList(fieldCount);
    m_before = m_values;
    m_set = QList<bool>(fieldCount, false);
    m_modified = false;
}

void EditBuffer::startEdit(const QVariantList& row, qsizetype fieldCount)
{
    m_values = row;
    m_values.resize(fieldCount);
    m_before = m_values;
    m_set = QList<bool>(fieldCount, false);
    m_modified = false;
}

void EditBuffer::clear()
{
    m_values.clear();
    m_modified = false;
}

void EditBuffer::set(qsizetype index, QVariant value)
{
    m_values[index] = std::move(value);
    m_set[index] = true;
    m_modified = true;
}
