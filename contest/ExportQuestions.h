#pragma once

#include <QList>

class Prompter;

// Whether the contest number is to be exported: at once when it has contacts; otherwise the operator is
// told which numbers have them, and only a confirmed empty log goes out.
bool confirmContestToExport(int contestNumber, const QList<int>& numbersWithContacts, Prompter& prompter);
