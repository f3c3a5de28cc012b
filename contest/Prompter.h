#pragma once

#include <QString>

#include <optional>

// How the contest operations reach the operator: a modal one-line prompt and a modal message.
class Prompter
{
public:
    virtual ~Prompter() = default;
    // the text confirmed, or nothing when the operator cancels
    virtual std::optional<QString> askLine(const QString& caption, const QString& label) = 0;
    virtual void showMessage(const QString& text) = 0;
};
