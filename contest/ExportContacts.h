#pragma once

#include "store/ContactFrequencies.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

class TableView;

// One Journal row as the exports read it: the texts as stored, the time already in UTC.
struct ExportContact
{
    qint64 id = 0;
    QVariant localDate; // as entered, to name the row to the operator
    QVariant localTime;
    QDateTime utc;
    int band = 0; // metres
    QString mode;
    QString callSign;
    QString sentText;
    QString recvText;
    // the radio's at the contact, when it was kept and still fits the row's band and mode
    std::optional<ContactFrequency> frequency;
};

// Without the radio's frequency the exports give the band's lower edge, 0 for a band the log does not know.
int bandLowerEdgeKhz(int band);
bool isSsb(const QString& mode);
bool isCw(const QString& mode);

// The rows of one contest number in the order they were worked: by true UTC time (the report's
// conversion), ties by ID. The view is only read: its current row and any pending edit stay as they are.
QList<ExportContact> contactsOfContest(const TableView& journal, int contestNumber);

// The contest numbers the journal holds contacts of, in rising order. The view is only read.
QList<int> contestNumbersWithContacts(const TableView& journal);

void sortByUtc(QList<ExportContact>& contacts);

// The rows an export could not write whole, one line each ("22.10.06 20:05:13 UA3ЧBC: ..."): a letter
// with no Latin twin, an empty callsign, exchange or date, a band or mode the log does not know.
QStringList exportProblems(const QList<ExportContact>& contacts);
