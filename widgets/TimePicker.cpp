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
    setTime(typed);
    return true;
}

void TimePicker::keyPressEvent(QKeyEvent* event)
{
    const QTime before = time();
    SectionTyping<QTimeEdit>::keyPressEvent(event);
    dropMillisecondsIfChanged(before);
}

void TimePicker::stepBy(int steps)
{
    const QTime before = time();
    SectionTyping<QTimeEdit>::stepBy(steps);
    dropMillisecondsIfChanged(before);
}

void TimePicker::dropMillisecondsIfChanged(const QTime& before)
{
    const QTime now = time();
    if (now != before && now.msec() != 0) {
        setTime(now.addMSecs(-now.msec()));
    }
}
