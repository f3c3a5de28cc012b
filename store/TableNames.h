#pragma once

#include <QString>

// The names of the contest folder's tables and fields, spelt once: other programs read the table files by
// these names, so a typo here must show at compile time, not as a missing column in the operator's hands.
// Inline variables are initialised before any later constant of a file that includes this header.

inline const QString kTableCallsign = QStringLiteral("Callsign");
inline const QString kTableContest = QStringLiteral("Contest");
inline const QString kTableJournal = QStringLiteral("Journal");
// the radio's frequency and mode at each contact, keyed by the Journal row, in a file of its own so that the
// Journal keeps its layout
inline const QString kTableFrequency = QStringLiteral("Frequency");
// which Journal row each worked planned row is, by their IDs: a contact's two halves are found by this key,
// never by a search on callsign, band, mode and tour
inline const QString kTableTie = QStringLiteral("Tie");

inline const QString kFieldId = QStringLiteral("ID");
inline const QString kFieldDate = QStringLiteral("D");
inline const QString kFieldTime = QStringLiteral("T");
inline const QString kFieldCallSign = QStringLiteral("CallSign");
inline const QString kFieldContestNumber = QStringLiteral("ContestNumber");
inline const QString kFieldTourNumber = QStringLiteral("TourNumber");
inline const QString kFieldDiapasone = QStringLiteral("Diapasone");
inline const QString kFieldModulation = QStringLiteral("Modulation");
inline const QString kFieldOutFlag = QStringLiteral("OutFlag");
inline const QString kFieldSentText = QStringLiteral("SentText");
inline const QString kFieldRecvText = QStringLiteral("RecvText");
inline const QString kFieldCommentary = QStringLiteral("Commentary");
// the received region, the first two characters of RecvText; Journal only
inline const QString kFieldKi = QStringLiteral("KI");
// Callsign only
inline const QString kFieldName = QStringLiteral("Name");
inline const QString kFieldInCalls = QStringLiteral("InCalls");
inline const QString kFieldOutCalls = QStringLiteral("OutCalls");
// Frequency and Tie
inline const QString kFieldJournalId = QStringLiteral("JournalID");
// Tie only
inline const QString kFieldContestId = QStringLiteral("ContestID");
inline const QString kFieldHz = QStringLiteral("Hz");
inline const QString kFieldRadioMode = QStringLiteral("RadioMode");
