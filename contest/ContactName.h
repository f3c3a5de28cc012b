#pragma once

#include <QString>

#include <QList>

struct ContactKey;
struct StoredContact;

// A contact as the operator is told about it: "BB1BBB, 80 m SSB, tour 1" ("all tours" for tour 0).
QString contactName(const ContactKey& key);

// The worked planned rows that have no journal line of their own, named for the operator; empty when there are
// none.
QString untiedContactsText(const QList<StoredContact>& rows);
// The worked planned rows of a copy put back whose contacts are no longer in the journal; empty when none.
QString plannedAgainText(const QList<StoredContact>& rows);
// The contacts in the journal that repeat one worked already and stay apart from the planned rows.
QString repeatedContactsText(const QList<StoredContact>& rows);
