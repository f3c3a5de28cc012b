#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// How the contest operations reach the operator: a modal one-line prompt and a modal message.
class Prompter
{
public:
    virtual ~Prompter() = default;
    // the text confirmed, or nothing when the operator cancels
    virtual std::optional<QString> askLine(const QString& caption, const QString& label) = 0;
    // The same prompt about one thing, the station of the row it will record, which a prompter with a
    // dialog shows larger above the label; without one it is the plain prompt. The field starts with `text`:
    // what was typed before, when the prompt opens again after it was refused.
    virtual std::optional<QString> askLineAbout(const QString& caption, const QString& label, const QString& subject,
                                                const QString& text = {})
    {
        Q_UNUSED(subject);
        Q_UNUSED(text);
        return askLine(caption, label);
    }
    virtual void showMessage(const QString& text) = 0;
    // The file to write, starting from the proposed path, or nothing when the operator cancels. Without a
    // dialog of its own a prompter takes the proposal as it is.
    virtual std::optional<QString> askSaveFile(const QString& caption, const QString& proposedPath,
                                               const QString& filter)
    {
        Q_UNUSED(caption);
        Q_UNUSED(filter);
        return proposedPath;
    }
    // A question answered with one of the buttons named in answers: its index, or nothing when the operator
    // cancels, which is what Enter and Esc do. Without a dialog of its own a prompter answers
    // nothing, so that nothing is done on its behalf.
    virtual std::optional<qsizetype> askChoice(const QString& text, const QStringList& answers)
    {
        Q_UNUSED(text);
        Q_UNUSED(answers);
        return std::nullopt;
    }
};
