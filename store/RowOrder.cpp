#include "store/RowOrder.h"

#include "store/StoreError.h"

#include <algorithm>

namespace
{
int storageClass(const QVariant& value)
{
    if (value.isNull()) {
        return 0;
    }
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Double:
    case QMetaType::Bool:
        return 1;
    default:
        return 2;
    }
}

int compareValues(const QVariant& a, const QVariant& b)
{
    const int classA = storageClass(a);
    const int classB = storageClass(b);
    if (classA != classB) {
        return classA < classB ? -1 : 1;
    }
    if (classA == 0) {
        return 0;
    }
    if (classA == 1) {
        if (a.typeId() == QMetaType::Double || b.typeId() == QMetaType::Double) {
            const double x = a.toDouble();
            const double y = b.toDouble();
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        const qlonglong x = a.toLongLong();
        const qlonglong y = b.toLongLong();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    // SQLite's BINARY collation compares UTF-8 bytes; UTF-16 code units order the same way for every
    // character outside the surrogate range, which callsigns and dates never reach.
    // texts are compared in place: an import places tens of thousands of rows, each by a binary search
    const bool texts = a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString;
    const int c = texts ? QString::compare(*static_cast<const QString*>(a.constData()),
                                           *static_cast<const QString*>(b.constData()), Qt::CaseSensitive)
                        : QString::compare(a.toString(), b.toString(), Qt::CaseSensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool entryLess(const RowOrder::Entry& a, const RowOrder::Entry& b)
{
    const int c = compareSortKeys(a.key, b.key);
    if (c != 0) {
        return c < 0;
    }
    return a.id < b.id;
}
} // namespace

int compareSortKeys(const SortKey& a, const SortKey& b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int c = compareValues(a.at(i), b.at(i));
        if (c != 0) {
            return c;
        }
    }
    return 0;
}

bool RowOrder::less(const Entry& a, const Entry& b)
{
    return entryLess(a, b);
}

void RowOrder::clear()
{
    m_blocks.clear();
    m_size = 0;
    m_startsValid = false;
}

std::vector<std::vector<RowOrder::Entry>> RowOrder::toBlocks(std::vector<Entry>&& entries)
{
    std::vector<std::vector<Entry>> blocks;
    const auto size = qsizetype(entries.size());
    for (qsizetype start = 0; start < size; start += kBlockSize) {
        const qsizetype end = std::min(size, start + kBlockSize);
        blocks.emplace_back(std::make_move_iterator(entries.begin() + start),
                            std::make_move_iterator(entries.begin() + end));
    }
    return blocks;
}

void RowOrder::assign(std::vector<Entry>&& entries)
{
    clear();
    append(std::move(entries));
}

void RowOrder::append(std::vector<Entry>&& entries)
{
    m_size += qsizetype(entries.size());
    for (std::vector<Entry>& block : toBlocks(std::move(entries))) {
        m_blocks.push_back(std::move(block));
    }
    m_startsValid = false;
}

void RowOrder::prepend(std::vector<Entry>&& entries)
{
    m_size += qsizetype(entries.size());
    std::vector<std::vector<Entry>> blocks = toBlocks(std::move(entries));
    m_blocks.insert(m_blocks.begin(), std::make_move_iterator(blocks.begin()), std::make_move_iterator(blocks.end()));
    m_startsValid = false;
}

void RowOrder::append(RowOrder&& other)
{
    m_size += other.m_size;
    for (std::vector<Entry>& block : other.m_blocks) {
        m_blocks.push_back(std::move(block));
    }
    other.clear();
    m_startsValid = false;
}

void RowOrder::rebuildStarts() const
{
    m_starts.resize(m_blocks.size());
    qsizetype start = 0;
    for (size_t i = 0; i < m_blocks.size(); ++i) {
        m_starts[i] = start;
        start += qsizetype(m_blocks[i].size());
    }
    m_startsValid = true;
}

void RowOrder::locate(qsizetype position, qsizetype* block, qsizetype* offset) const
{
    if (!m_startsValid) {
        rebuildStarts();
    }
    const auto it = std::upper_bound(m_starts.begin(), m_starts.end(), position);
    *block = qsizetype(it - m_starts.begin()) - 1;
    *offset = position - m_starts[size_t(*block)];
}

const RowOrder::Entry& RowOrder::at(qsizetype position) const
{
    if (position < 0 || position >= m_size) {
        throw StoreError(QStringLiteral("row %1 asked of an order of %2 rows").arg(position).arg(m_size));
    }
    qsizetype block = 0;
    qsizetype offset = 0;
    locate(position, &block, &offset);
    return m_blocks[size_t(block)][size_t(offset)];
}

qsizetype RowOrder::blockFor(const Entry& entry, qsizetype* before) const
{
    if (!m_startsValid) {
        rebuildStarts();
    }
    const auto it = std::lower_bound(
        m_blocks.begin(), m_blocks.end(), entry,
        [](const std::vector<Entry>& block, const Entry& e) { return entryLess(block.back(), e); });
    qsizetype index = qsizetype(it - m_blocks.begin());
    if (index == qsizetype(m_blocks.size()) && index > 0) {
        --index; // after every entry: the last block takes it
    }
    *before = m_blocks.empty() ? 0 : m_starts[size_t(index)];
    return index;
}

qsizetype RowOrder::insertionPoint(const Entry& entry) const
{
    if (m_blocks.empty()) {
        return 0;
    }
    qsizetype before = 0;
    const qsizetype index = blockFor(entry, &before);
    const std::vector<Entry>& block = m_blocks[size_t(index)];
    return before + qsizetype(std::upper_bound(block.begin(), block.end(), entry, entryLess) - block.begin());
}

qsizetype RowOrder::insert(Entry entry)
{
    if (m_blocks.empty()) {
        m_blocks.emplace_back();
        m_blocks.back().push_back(std::move(entry));
        m_size = 1;
        m_startsValid = false;
        return 0;
    }
    qsizetype before = 0;
    const qsizetype index = blockFor(entry, &before);
    std::vector<Entry>& block = m_blocks[size_t(index)];
    const auto it = std::upper_bound(block.begin(), block.end(), entry, entryLess);
    const qsizetype offset = qsizetype(it - block.begin());
    block.insert(it, std::move(entry));
    ++m_size;
    if (qsizetype(block.size()) > 2 * kBlockSize) {
        std::vector<Entry> tail(std::make_move_iterator(block.begin() + kBlockSize),
                                std::make_move_iterator(block.end()));
        block.resize(size_t(kBlockSize));
        m_blocks.insert(m_blocks.begin() + index + 1, std::move(tail));
    }
    m_startsValid = false;
    return before + offset;
}

void RowOrder::removeAt(qsizetype position)
{
    qsizetype block = 0;
    qsizetype offset = 0;
    locate(position, &block, &offset);
    std::vector<Entry>& entries = m_blocks[size_t(block)];
    entries.erase(entries.begin() + offset);
    if (entries.empty()) {
        m_blocks.erase(m_blocks.begin() + block);
    }
    --m_size;
    m_startsValid = false;
}

qsizetype RowOrder::find(const Entry& entry) const
{
    if (m_blocks.empty()) {
        return -1;
    }
    qsizetype before = 0;
    const qsizetype index = blockFor(entry, &before);
    const std::vector<Entry>& block = m_blocks[size_t(index)];
    const auto it = std::lower_bound(block.begin(), block.end(), entry, entryLess);
    if (it == block.end() || it->id != entry.id) {
        return -1;
    }
    return before + qsizetype(it - block.begin());
}

qsizetype RowOrder::indexOfId(qint64 id) const
{
    qsizetype position = 0;
    for (const std::vector<Entry>& block : m_blocks) {
        for (const Entry& entry : block) {
            if (entry.id == id) {
                return position;
            }
            ++position;
        }
    }
    return -1;
}
