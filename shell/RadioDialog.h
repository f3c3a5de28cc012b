#pragma once

#include "shell/HamlibRigs.h"
#include "shell/RadioSettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

// Chooses the radio the window follows: none, a rig model on a serial line, or a rig served over the
// network by rigctld. Worked from the keyboard: every field has its accelerator, Enter accepts, Esc
// cancels; an incomplete choice is told in the dialog and nothing is lost.
class RadioDialog : public QDialog
{
    Q_OBJECT

public:
    RadioDialog(const RadioSettings& settings, const QList<RigModelEntry>& models, QWidget* parent = nullptr);

    RadioSettings settings() const;

    void accept() override;

private:
    void updateFields();

    QRadioButton* m_none = nullptr;
    QRadioButton* m_serial = nullptr;
    QRadioButton* m_network = nullptr;
    QComboBox* m_model = nullptr;
    QLineEdit* m_device = nullptr;
    QComboBox* m_speed = nullptr;
    QLineEdit* m_host = nullptr;
    QSpinBox* m_port = nullptr;
    QCheckBox* m_tuneToColumn = nullptr;
    QLabel* m_problem = nullptr;
};
