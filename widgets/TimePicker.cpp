#include "widgets/TimePicker.h"

#include "widgets/WindowLook.h"

TimePicker::TimePicker(QWidget* parent)
    : SectionTyping<QTimeEdit>(parent)
    , m_datePart(QDate::currentDate())
{
    setDisplayFormat(kLongTimeFormat);
}
