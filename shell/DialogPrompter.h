#pragma once

#include "contest/Prompter.h"

class QWidget;

// The operator's side of the contest operations: Qt's modal one-line input box and message box.
// Both run the event loop while they wait, so the timer keeps ticking.
class DialogPrompter : public Prompter
{
public:
    explicit DialogPrompter(QWidget* parent);

    std::optional<QString> askLine(const QString& caption, const QString& label) override;
    std::optional<QString> askLineAbout(const QString& caption, const QString& label, const QString& subject,
                                        const QString& text = {}) override;
    void showMessage(const QString& text) override;
    std::optional<QString> askSaveFile(const QString& caption, const QString& proposedPath,
                                       const QString& filter) override;
    std::optional<qsizetype> askChoice(const QString& text, const QStringList& answers) override;

private:
    QWidget* m_parent;
};
