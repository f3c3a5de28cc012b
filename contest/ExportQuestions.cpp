#include "contest/ExportQuestions.h"

#include "contest/Prompter.h"

bool confirmContestToExport(int contestNumber, const QList<int>& numbersWithContacts, Prompter& prompter)
{
    if (numbersWithContacts.contains(contestNumber)) {
        return true;
    }
    QStringList numbers;
    for (const int number : numbersWithContacts) {
        numbers.append(QString::number(number));
    }
    const QString where = numbers.isEmpty()
        ? QStringLiteral("The journal holds no contacts at all.")
        : QStringLiteral("Contacts are logged under contest %1.").arg(numbers.join(QStringLiteral(", ")));
    const QString text =
        QStringLiteral("Contest %1 has no contacts. %2\n\nWrite a log without contacts?").arg(contestNumber).arg(where);
    return prompter.askChoice(text, {QStringLiteral("Write empty log")}).has_value();
}

MissingTagsAnswer askAboutMissingTags(const QStringList& missingTags, Prompter& prompter)
{
    if (missingTags.isEmpty()) {
        return MissingTagsAnswer::Write;
    }
    const QString text =
        QStringLiteral("Contest robots refuse a log without these header tags:\n\n%1\n\nFill them in now (Station...) "
                       "or write the log without them?")
            .arg(missingTags.join(u'\n'));
    const std::optional<qsizetype> answer = prompter.askChoice(
        text, {QStringLiteral("Fill in now"), QStringLiteral("Write anyway")});
    if (!answer) {
        return MissingTagsAnswer::Cancel;
    }
    return *answer == 0 ? MissingTagsAnswer::FillIn : MissingTagsAnswer::Write;
}
