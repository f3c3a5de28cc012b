#include "widgets/TimePicker.h"

#include "widgets/WindowLook.h"

#include <QRegularExpression>

TimePicker::TimePicker(QWidget* parent)
    : SectionTyping<QTimeEdit>(parent)
    , m_datePart(QDate::currentDate())
{
    setDisplayFormat(kLongTimeFormat);
}

QTime TimePicker::timeFromText(const QString& text)
{
    // without separators the minutes and seconds take two digits each from the end, the hour what is left
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*(\d{1,2})[:.]?(\d{2})(?:[:.]?(\d{2}))?\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return {};
    }
    return QTime(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
}

bool TimePicker::setTypedText(const QString& text)
{
    const QTime typed = timeFromText(text);
    if (!typed.isValid() || typed < minimumTime() || typed > maximumTime()) {
        return false;
    }
    setTime(typed.addMSecs(time().msec()));
    return true;
}
