#pragma once

#include <QSpinBox>

// A whole-number field with up and down buttons and no lower or upper limit of its own.
class SpinField : public QSpinBox
{
    Q_OBJECT

public:
    explicit SpinField(QWidget* parent = nullptr);
};
