#include "store/ViewOrder.h"

#include "store/Database.h"
#include "store/Statement.h"
#include "store/StoreError.h"

#include <algorithm>

namespace
{
// a screen of the tallest grid, with room to scroll
constexpr qsizetype kFirstRead = 128;
// the least read on demand: a gap smaller than this is closed at once
constexpr qsizetype kLeastRead = 256;
} // namespace

ViewOrder::ViewOrder(Database& db, QString table, const ViewStatements& statements)
    : m_db(db)
    , m_table(std::move(table))
    , m_statements(statements)
{
}

void ViewOrder::clear()
{
    m_stretches.clear();
    m_size = 0;
}

void ViewOrder::reset()
{
    const BoundSql count = m_statements.count();
    Statement query = m_db.prepareOn(m_table, count.sql);
    query.bindAll(count.values);
    const qsizetype size = query.step() ? query.column(0).toLongLong() : 0;
    std::vector<Entry> first = size > 0
        ? readKeys(ViewStatements::Direction::Forward, std::min(size, kFirstRead), nullptr)
        : std::vector<Entry>();
    clear();
    m_size = size;
    if (qsizetype(first.size()) != std::min(size, kFirstRead)) {
        readWhole();
        return;
    }
    if (!first.empty()) {
        m_stretches.push_back({0, {}});
        m_stretches.back().rows.assign(std::move(first));
    }
}

qsizetype ViewOrder::readCount() const
{
    qsizetype count = 0;
    for (const Stretch& stretch : m_stretches) {
        count += stretch.rows.size();
    }
    return count;
}

std::vector<ViewOrder::Entry> ViewOrder::readKeys(ViewStatements::Direction direction, qsizetype limit,
                                                  const Entry* boundary)
{
    const BoundSql keys = m_statements.keys(direction, limit, boundary);
    Statement query = m_db.prepareOn(m_table, keys.sql);
    query.bindAll(keys.values);
    std::vector<Entry> entries;
    if (limit > 0) {
        entries.reserve(size_t(limit));
    }
    const int keyCount = query.columnCount() - 1;
    while (query.step()) {
        Entry entry;
        entry.id = query.column(0).toLongLong();
        for (int i = 0; i < keyCount; ++i) {
            entry.key.append(query.column(i + 1));
        }
        entries.push_back(std::move(entry));
    }
    if (direction == ViewStatements::Direction::Backward) {
        std::reverse(entries.begin(), entries.end());
    }
    return entries;
}

void ViewOrder::readWhole()
{
    std::vector<Entry> all = readKeys(ViewStatements::Direction::Forward, -1, nullptr);
    const bool changed = qsizetype(all.size()) != m_size;
    clear();
    m_size = qsizetype(all.size());
    if (m_size > 0) {
        m_stretches.push_back({0, {}});
        m_stretches.back().rows.assign(std::move(all));
    }
    if (changed && m_outOfStep) {
        m_outOfStep();
    }
}

qsizetype ViewOrder::stretchAt(qsizetype position) const
{
    for (size_t i = 0; i < m_stretches.size(); ++i) {
        if (position >= m_stretches[i].start && position < m_stretches[i].end()) {
            return qsizetype(i);
        }
    }
    return -1;
}

qsizetype ViewOrder::stretchAfter(qsizetype position) const
{
    const auto it = std::upper_bound(m_stretches.begin(), m_stretches.end(), position,
                                     [](qsizetype p, const Stretch& stretch) { return p < stretch.start; });
    return qsizetype(it - m_stretches.begin());
}

const ViewOrder::Entry& ViewOrder::at(qsizetype position)
{
    // a position the order does not hold is a fault of the order's own bookkeeping: told, never read past
    if (position < 0 || position >= m_size) {
        throw StoreError(
            QStringLiteral("%1: row %2 asked of a view of %3 rows").arg(m_table).arg(position).arg(m_size));
    }
    qsizetype index = stretchAt(position);
    if (index < 0) {
        read(position);
        index = stretchAt(position);
    }
    if (index < 0) {
        throw StoreError(
            QStringLiteral("%1: the order of the view was not read up to row %2").arg(m_table).arg(position));
    }
    const Stretch& stretch = m_stretches[size_t(index)];
    return stretch.rows.at(position - stretch.start);
}

void ViewOrder::read(qsizetype position)
{
    const qsizetype nextIndex = stretchAfter(position);
    Stretch* previous = nextIndex > 0 ? &m_stretches[size_t(nextIndex - 1)] : nullptr;
    Stretch* next = nextIndex < qsizetype(m_stretches.size()) ? &m_stretches[size_t(nextIndex)] : nullptr;
    const qsizetype gapStart = previous ? previous->end() : 0;
    const qsizetype gapEnd = next ? next->start : m_size;
    const qsizetype gap = gapEnd - gapStart;
    // read from whichever side is nearer, as far again as the distance, so that scrolling reads in steps
    // that grow and a jump to the far end reads from that end
    const bool forward = position - gapStart <= gapEnd - 1 - position;
    const qsizetype distance = forward ? position - gapStart + 1 : gapEnd - position;
    qsizetype limit = std::min(gap, std::max(2 * distance, kLeastRead));
    if (gap - limit < kLeastRead) {
        limit = gap;
    }
    const Entry* boundary = forward ? (previous ? &previous->rows.at(previous->rows.size() - 1) : nullptr)
                                    : (next ? &next->rows.at(0) : nullptr);
    std::vector<Entry> entries = readKeys(
        forward ? ViewStatements::Direction::Forward : ViewStatements::Direction::Backward, limit, boundary);
    if (qsizetype(entries.size()) != limit) {
        // fewer rows than counted: the table changed without the view being told
        readWhole();
        return;
    }
    if (forward && previous) {
        previous->rows.append(std::move(entries));
    } else if (!forward && next) {
        next->start -= limit;
        next->rows.prepend(std::move(entries));
    } else {
        Stretch stretch;
        stretch.start = forward ? gapStart : gapEnd - limit;
        stretch.rows.assign(std::move(entries));
        m_stretches.insert(m_stretches.begin() + nextIndex, std::move(stretch));
    }
    joinTouching();
}

void ViewOrder::joinTouching()
{
    for (size_t i = 0; i + 1 < m_stretches.size();) {
        if (m_stretches[i].end() == m_stretches[i + 1].start) {
            m_stretches[i].rows.append(std::move(m_stretches[i + 1].rows));
            m_stretches.erase(m_stretches.begin() + qsizetype(i) + 1);
        } else {
            ++i;
        }
    }
}

qsizetype ViewOrder::readPosition(qint64 id) const
{
    for (const Stretch& stretch : m_stretches) {
        const qsizetype offset = stretch.rows.indexOfId(id);
        if (offset >= 0) {
            return stretch.start + offset;
        }
    }
    return -1;
}

qsizetype ViewOrder::countBefore(const Entry& entry)
{
    const BoundSql count = m_statements.countBefore(entry);
    Statement query = m_db.prepareOn(m_table, count.sql);
    query.bindAll(count.values);
    return query.step() ? query.column(0).toLongLong() : 0;
}

qsizetype ViewOrder::insertionPoint(const Entry& entry)
{
    qsizetype gapStart = 0;
    for (const Stretch& stretch : m_stretches) {
        if (RowOrder::less(entry, stretch.rows.at(0))) {
            if (stretch.start == gapStart) {
                return gapStart;
            }
            return std::clamp(countBefore(entry), gapStart, stretch.start);
        }
        if (!RowOrder::less(stretch.rows.at(stretch.rows.size() - 1), entry)) {
            return stretch.start + stretch.rows.insertionPoint(entry);
        }
        gapStart = stretch.end();
    }
    if (gapStart == m_size) {
        return m_size;
    }
    return std::clamp(countBefore(entry), gapStart, m_size);
}

void ViewOrder::shiftFrom(qsizetype stretch, qsizetype by)
{
    for (auto i = size_t(stretch); i < m_stretches.size(); ++i) {
        m_stretches[i].start += by;
    }
}

void ViewOrder::insertAt(qsizetype position, Entry entry)
{
    // a position inside a stretch read, or at its end, belongs to it; one between stretches is a stretch
    // of its own until the rows around it are read
    const qsizetype nextIndex = stretchAfter(position);
    qsizetype shiftStart = nextIndex;
    if (nextIndex > 0 && position <= m_stretches[size_t(nextIndex - 1)].end()) {
        m_stretches[size_t(nextIndex - 1)].rows.insert(std::move(entry));
    } else {
        Stretch stretch;
        stretch.start = position;
        stretch.rows.insert(std::move(entry));
        m_stretches.insert(m_stretches.begin() + nextIndex, std::move(stretch));
        shiftStart = nextIndex + 1;
    }
    shiftFrom(shiftStart, 1);
    ++m_size;
    joinTouching();
}

void ViewOrder::removeAt(qsizetype position)
{
    const qsizetype index = stretchAt(position);
    qsizetype shiftStart = stretchAfter(position);
    if (index >= 0) {
        Stretch& stretch = m_stretches[size_t(index)];
        stretch.rows.removeAt(position - stretch.start);
        if (stretch.rows.isEmpty()) {
            m_stretches.erase(m_stretches.begin() + index);
            shiftStart = index;
        }
    }
    shiftFrom(shiftStart, -1);
    --m_size;
    joinTouching();
}

qsizetype ViewOrder::adopt(const Entry& entry)
{
    qsizetype gapStart = 0;
    size_t index = 0;
    for (; index < m_stretches.size(); ++index) {
        const Stretch& stretch = m_stretches[index];
        if (RowOrder::less(entry, stretch.rows.at(0))) {
            break;
        }
        if (!RowOrder::less(stretch.rows.at(stretch.rows.size() - 1), entry)) {
            const qsizetype offset = stretch.rows.find(entry);
            return offset < 0 ? -1 : stretch.start + offset;
        }
        gapStart = stretch.end();
    }
    const qsizetype gapEnd = index < m_stretches.size() ? m_stretches[index].start : m_size;
    const qsizetype position = countBefore(entry);
    if (position < gapStart || position >= gapEnd) {
        return -1;
    }
    Stretch stretch;
    stretch.start = position;
    stretch.rows.insert(entry);
    m_stretches.insert(m_stretches.begin() + qsizetype(index), std::move(stretch));
    joinTouching();
    return position;
}

qsizetype ViewOrder::unreadPosition(const Entry& entry) const
{
    qsizetype gapStart = 0;
    for (const Stretch& stretch : m_stretches) {
        if (RowOrder::less(entry, stretch.rows.at(0))) {
            return stretch.start > gapStart ? gapStart : -1;
        }
        if (!RowOrder::less(stretch.rows.at(stretch.rows.size() - 1), entry)) {
            return -1;
        }
        gapStart = stretch.end();
    }
    return gapStart < m_size ? gapStart : -1;
}
