#include "widgets/SpinField.h"

#include <limits>

SpinField::SpinField(QWidget* parent)
    : QSpinBox(parent)
{
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}
