#pragma once

#include <QList>
#include <QStringList>

class Prompter;

// Whether the contest number is to be exported: at once when it has contacts; otherwise the operator is
// told which numbers have them, and only a confirmed empty log goes out.
bool confirmContestToExport(int contestNumber, const QList<int>& numbersWithContacts, Prompter& prompter);

enum class MissingTagsAnswer
{
    Write, // nothing is missing, or the operator writes the log as it is
    FillIn,
    Cancel,
};

// What to do about the header tags a log lacks: nothing is asked when none are missing.
MissingTagsAnswer askAboutMissingTags(const QStringList& missingTags, Prompter& prompter);
