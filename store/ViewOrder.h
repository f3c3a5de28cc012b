#pragma once

#include "store/RowOrder.h"
#include "store/ViewStatements.h"

#include <functional>
#include <vector>

class Database;

// The order of a view's rows, read as far as it is used. Opening a view counts its rows and reads the
// first screen; the rest of the order is read when a position is asked for (scrolling, Ctrl+End, a
// located row, a post), from the nearest stretch already read, so that the cost follows what the
// operator looks at and not the size of the table.
//
// Why this shape: at ten times a regional contest a band view of all tours holds 160,000 rows. Reading
// the whole order took 0.15 s a view at start-up and after every import. A count through the band
// index takes a few milliseconds and the first screen well under one; reading on from a row already
// read ("the rows after this one", spelt out key by key) needs no offset. Chunks grow with the
// distance to the position asked for, so a jump to the far end reads from that end instead. A row
// that lands between stretches not yet read (a contact moving the worked row among the dated ones) is
// placed by counting the rows before it, and kept as a stretch of its own.
class ViewOrder
{
public:
    using Entry = RowOrder::Entry;

    ViewOrder(Database& db, QString table, const ViewStatements& statements);

    // told when a read found the table changed behind the view: the order was read whole again
    void setOutOfStepHandler(std::function<void()> handler) { m_outOfStep = std::move(handler); }

    void clear();
    // counts the rows and reads the first of them
    void reset();

    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    qsizetype readCount() const;

    // the entry at a position, reading the order up to it if needed
    const Entry& at(qsizetype position);
    bool isRead(qsizetype position) const { return stretchAt(position) >= 0; }
    // the position of a row whose place has been read, or -1
    qsizetype readPosition(qint64 id) const;

    // where a row not in the order would go
    qsizetype insertionPoint(const Entry& entry);
    // adds a row at the position insertionPoint gave
    void insertAt(qsizetype position, Entry entry);
    void removeAt(qsizetype position);
    // the position of a row of the view, found by its keys and read if it was not; -1 if it is not there
    qsizetype adopt(const Entry& entry);
    // a position, among those not read, where a row that sorts as this one was; -1 if it falls among rows read
    qsizetype unreadPosition(const Entry& entry) const;

private:
    struct Stretch
    {
        qsizetype start = 0;
        RowOrder rows;
        qsizetype end() const { return start + rows.size(); }
    };

    // the stretch holding a position, or -1
    qsizetype stretchAt(qsizetype position) const;
    // the first stretch starting after a position
    qsizetype stretchAfter(qsizetype position) const;
    void read(qsizetype position);
    std::vector<Entry> readKeys(ViewStatements::Direction direction, qsizetype limit, const Entry* boundary);
    qsizetype countBefore(const Entry& entry);
    void readWhole();
    void shiftFrom(qsizetype stretch, qsizetype by);
    void joinTouching();

    Database& m_db;
    QString m_table;
    const ViewStatements& m_statements;
    std::vector<Stretch> m_stretches;
    qsizetype m_size = 0;
    std::function<void()> m_outOfStep;
};
