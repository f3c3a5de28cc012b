#pragma once

#include <QVarLengthArray>
#include <QVariant>

#include <vector>

using SortKey = QVarLengthArray<QVariant, 2>;

// Orders two sort keys as SQLite's ORDER BY does: null first, then numbers, then text.
int compareSortKeys(const SortKey& a, const SortKey& b);

// The rows of a view in its order: row ids with their sort keys, kept in blocks so that a row is
// inserted or removed in place in time that grows with the block, not with the whole view.
class RowOrder
{
public:
    struct Entry
    {
        qint64 id = 0;
        SortKey key;
    };

    // whether a sorts before b in the view's order: sort keys, then row id
    static bool less(const Entry& a, const Entry& b);

    void clear();
    // entries must already be in order
    void assign(std::vector<Entry>&& entries);
    // entries in order, all sorting after (append) or before (prepend) every entry held
    void append(std::vector<Entry>&& entries);
    void prepend(std::vector<Entry>&& entries);
    // another order whose entries all sort after these
    void append(RowOrder&& other);

    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    const Entry& at(qsizetype position) const;

    // Position at which insert() would put the entry.
    qsizetype insertionPoint(const Entry& entry) const;
    // Inserts in sorted position and returns that position.
    qsizetype insert(Entry entry);
    void removeAt(qsizetype position);

    // Position of a row whose key is known (binary search), or -1.
    qsizetype find(const Entry& entry) const;
    // Position of a row by id alone (a walk through the view), or -1.
    qsizetype indexOfId(qint64 id) const;

private:
    static constexpr qsizetype kBlockSize = 512;

    static std::vector<std::vector<Entry>> toBlocks(std::vector<Entry>&& entries);

    // index of the first block whose last entry is not less than the entry, and the entries before it
    qsizetype blockFor(const Entry& entry, qsizetype* before) const;
    void locate(qsizetype position, qsizetype* block, qsizetype* offset) const;
    void rebuildStarts() const;

    std::vector<std::vector<Entry>> m_blocks;
    mutable std::vector<qsizetype> m_starts;
    mutable bool m_startsValid = true;
    qsizetype m_size = 0;
};
