#include "widgets/TimePicker.h"

#include "widgets/WindowLook.h"

TimePicker::TimePicker(QWidget* parent)
    : QTimeEdit(parent)
    , m_datePart(QDate::currentDate())
{
    setDisplayFormat(kLongTimeFormat);
}

bool TimePicker::focusNextPrevChild(bool next)
{
    return QWidget::focusNextPrevChild(next);
}
