#include "widgets/DateField.h"

#include "widgets/WindowLook.h"

#include <QMouseEvent>
#include <QRegularExpression>

namespace
{
constexpr int kYearsPerCentury = 100;

int centuryStart()
{
    const int year = QDate::currentDate().year();
    return year - year % kYearsPerCentury;
}
} // namespace

DateField::DateField(QWidget* parent)
    : SectionTyping<QDateEdit>(parent)
{
    const int first = centuryStart();
    setDateRange(QDate(first, 1, 1), QDate(first + kYearsPerCentury - 1, 12, 31));
    setDisplayFormat(kShortDateFormat);
    setCalendarPopup(true);
}

QDate DateField::dateFromText(const QString& text)
{
    // (?| numbers the groups of either form alike
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(?|(\d{1,2})[./-](\d{1,2})[./-](\d{2}|\d{4})|(\d{2})(\d{2})(\d{2}|\d{4}))\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return {};
    }
    int year = match.captured(3).toInt();
    if (match.capturedLength(3) == 2) {
        year += centuryStart();
    }
    return QDate(year, match.captured(2).toInt(), match.captured(1).toInt());
}

bool DateField::setText(const QString& text)
{
    const QDate date = dateFromText(text);
    if (!date.isValid() || date < minimumDate() || date > maximumDate()) {
        return false;
    }
    setDate(date);
    return true;
}

QDateTime DateField::dateTimeFromText(const QString& text) const
{
    const QDate date = dateFromText(text);
    if (!date.isValid()) {
        return QDateEdit::dateTimeFromText(text);
    }
    // Qt keeps a date field's value in UTC whatever the zone, and converts what is returned here into
    // it: a local midnight would land on the day before east of UTC.
    return date.startOfDay(timeSpec());
}

void DateField::mousePressEvent(QMouseEvent* event)
{
    // With the calendar button Qt finds the spot clicked as on a combo box but acts on it as on a spin
    // box: the frame counts as the up button and the edit area as the down button, so a click beside the
    // digits would step the date. The field has no step buttons to press.
    m_pressing = true;
    SectionTyping<QDateEdit>::mousePressEvent(event);
    m_pressing = false;
    event->accept();
}

QAbstractSpinBox::StepEnabled DateField::stepEnabled() const
{
    return m_pressing ? StepNone : QDateEdit::stepEnabled();
}
