#pragma once

#include "shell/CwSettings.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// Edits the eight CW messages and chooses the keyer. Worked from the keyboard like the radio dialog:
// every field has its accelerator, Enter accepts, Esc cancels, an incomplete choice is told in the dialog.
class MessagesDialog : public QDialog
{
    Q_OBJECT

public:
    MessagesDialog(const CwSettings& settings, QWidget* parent = nullptr);

    CwSettings settings() const;

    void accept() override;

private:
    void updateFields();
    void refuse(const QString& problem, QWidget* field);

    std::array<QLineEdit*, kCwMessageCount> m_messages{};
    QCheckBox* m_cutNumbers = nullptr;
    QCheckBox* m_exchangeOnEntry = nullptr;
    QRadioButton* m_none = nullptr;
    QRadioButton* m_radio = nullptr;
    QRadioButton* m_cwdaemon = nullptr;
    QLineEdit* m_host = nullptr;
    QSpinBox* m_port = nullptr;
    QSpinBox* m_wpm = nullptr;
    QLabel* m_problem = nullptr;
};
