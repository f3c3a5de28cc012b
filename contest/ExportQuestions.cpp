#include "contest/ExportQuestions.h"

#include "contest/Prompter.h"

#include <QStringList>

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
