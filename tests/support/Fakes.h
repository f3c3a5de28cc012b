#pragma once

#include "contest/Clock.h"
#include "contest/Prompter.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <optional>

// Answers prompts from a queue and records every prompt and message.
class FakePrompter : public Prompter
{
public:
    // answers in turn; a null QString cancels the prompt
    std::deque<QString> answers;
    QStringList captions;
    QStringList labels;
    // what each prompt was about, empty for a plain one, and the text its field started with
    QStringList subjects;
    QStringList startTexts;
    QStringList messages;
    QStringList questions;
    // runs while a prompt is "open", as the timer may while the real one waits
    std::function<void()> whilePrompting;

    std::optional<QString> askLine(const QString& caption, const QString& label) override
    {
        return askLineAbout(caption, label, QString());
    }

    std::optional<QString> askLineAbout(const QString& caption, const QString& label, const QString& subject,
                                        const QString& text = {}) override
    {
        subjects.append(subject);
        startTexts.append(text);
        captions.append(caption);
        labels.append(label);
        if (whilePrompting) {
            whilePrompting();
        }
        if (answers.empty()) {
            return std::nullopt;
        }
        const QString answer = answers.front();
        answers.pop_front();
        if (answer.isNull()) {
            return std::nullopt;
        }
        return std::make_optional(answer);
    }

    void showMessage(const QString& text) override { messages.append(text); }

    // answered from the same queue by the text of the button; a null or unknown answer closes the box
    std::optional<qsizetype> askChoice(const QString& text, const QStringList& choices) override
    {
        questions.append(text);
        if (answers.empty()) {
            return std::nullopt;
        }
        const qsizetype index = choices.indexOf(answers.front());
        answers.pop_front();
        return index < 0 ? std::nullopt : std::make_optional(index);
    }
};

class FakeClock : public Clock
{
public:
    QDateTime now = QDateTime(QDate(2006, 10, 22), QTime(20, 5, 13));

    QDateTime localNow() const override { return now; }
    QDateTime utcNow() const override { return now.toUTC(); }
};
