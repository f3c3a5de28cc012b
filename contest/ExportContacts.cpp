#include "contest/ExportContacts.h"

#include "contest/MorseLatin.h"
#include "contest/RadioBand.h"
#include "contest/ReportFormat.h"
#include "store/Database.h"
#include "store/StoreError.h"
#include "store/TableNames.h"
#include "store/TableView.h"

#include <algorithm>
#include <set>

namespace
{
constexpr int kProgressStep = 2000;

int requiredField(const TableView& journal, const QString& field)
{
    const int index = journal.fieldIndex(field);
    if (index < 0) {
        throw StoreError(QStringLiteral("%1: Field '%2' not found").arg(journal.name(), field));
    }
    return index;
}

QString rowName(const ExportContact& contact)
{
    const QString date = contact.localDate.isNull() ? QString() : contact.localDate.toDate().toString(u"dd.MM.yy");
    const QString time = contact.localTime.isNull() ? QString() : contact.localTime.toTime().toString(u"HH:mm:ss");
    const QString call = contact.callSign.isEmpty() ? QStringLiteral("(no callsign)") : contact.callSign;
    return date + u' ' + time + u' ' + call;
}
} // namespace

int bandLowerEdgeKhz(int band)
{
    switch (band) {
    case 80:
        return 3500;
    case 160:
        return 1800;
    default:
        return 0;
    }
}

bool isSsb(const QString& mode)
{
    return mode.compare(u"SSB", Qt::CaseInsensitive) == 0;
}

bool isCw(const QString& mode)
{
    return mode.compare(u"CW", Qt::CaseInsensitive) == 0;
}

QList<ExportContact> contactsOfContest(const TableView& journal, int contestNumber)
{
    const int contestField = requiredField(journal, kFieldContestNumber);
    const int dateField = requiredField(journal, kFieldDate);
    const int timeField = requiredField(journal, kFieldTime);
    const int bandField = requiredField(journal, kFieldDiapasone);
    const int modeField = requiredField(journal, kFieldModulation);
    const int callField = requiredField(journal, kFieldCallSign);
    const int sentField = requiredField(journal, kFieldSentText);
    const int recvField = requiredField(journal, kFieldRecvText);
    ContactTimeConverter utc;
    const QHash<qint64, ContactFrequency> frequencies = contactFrequencies(journal.database());
    QList<ExportContact> contacts;
    const int rows = journal.recordCount();
    for (int row = 0; row < rows; ++row) {
        if (row % kProgressStep == 0) {
            journal.database().work().setProgress(row, rows);
        }
        const QVariant number = journal.valueAt(row, contestField);
        if (number.isNull() || number.toLongLong() != contestNumber) {
            continue;
        }
        ExportContact contact;
        contact.id = journal.idAt(row);
        contact.localDate = journal.valueAt(row, dateField);
        contact.localTime = journal.valueAt(row, timeField);
        contact.utc = utc.toUtc(contact.localDate, contact.localTime);
        contact.band = journal.valueAt(row, bandField).toInt();
        contact.mode = journal.valueAt(row, modeField).toString().trimmed();
        contact.callSign = journal.valueAt(row, callField).toString().trimmed();
        contact.sentText = journal.valueAt(row, sentField).toString().trimmed();
        contact.recvText = journal.valueAt(row, recvField).toString().trimmed();
        // a correction of the band or mode since leaves the contact with its band edge
        if (const auto kept = frequencies.constFind(contact.id);
            kept != frequencies.cend() && readingFits(kept->hz, kept->mode, contact.band, contact.mode)) {
            contact.frequency = *kept;
        }
        contacts.append(contact);
    }
    sortByUtc(contacts);
    return contacts;
}

QList<int> contestNumbersWithContacts(const TableView& journal)
{
    const int contestField = requiredField(journal, kFieldContestNumber);
    std::set<int> numbers;
    const int rows = journal.recordCount();
    for (int row = 0; row < rows; ++row) {
        const QVariant number = journal.valueAt(row, contestField);
        if (!number.isNull()) {
            numbers.insert(number.toInt());
        }
    }
    return {numbers.begin(), numbers.end()};
}

void sortByUtc(QList<ExportContact>& contacts)
{
    std::sort(contacts.begin(), contacts.end(), [](const ExportContact& a, const ExportContact& b) {
        return a.utc != b.utc ? a.utc < b.utc : a.id < b.id;
    });
}

QStringList exportProblems(const QList<ExportContact>& contacts)
{
    QStringList lines;
    for (const ExportContact& contact : contacts) {
        QStringList faults;
        if (morseLatin(contact.callSign).lossy || morseLatin(contact.sentText).lossy
            || morseLatin(contact.recvText).lossy) {
            faults.append(QStringLiteral("letters without a Latin twin written as ?"));
        }
        if (contact.callSign.isEmpty()) {
            faults.append(QStringLiteral("no callsign"));
        }
        if (contact.sentText.isEmpty() || contact.recvText.isEmpty()) {
            faults.append(QStringLiteral("no exchange"));
        }
        if (contact.localDate.isNull()) {
            faults.append(QStringLiteral("no date"));
        }
        if (bandLowerEdgeKhz(contact.band) == 0) {
            faults.append(QStringLiteral("no band"));
        }
        if (!isSsb(contact.mode) && !isCw(contact.mode)) {
            faults.append(QStringLiteral("no mode"));
        }
        if (!faults.isEmpty()) {
            lines.append(rowName(contact) + QStringLiteral(": ") + faults.join(QStringLiteral(", ")));
        }
    }
    return lines;
}
