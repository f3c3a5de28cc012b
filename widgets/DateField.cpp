#include "widgets/DateField.h"

#include "widgets/WindowLook.h"

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
    : QDateEdit(parent)
{
    const int first = centuryStart();
    setDateRange(QDate(first, 1, 1), QDate(first + kYearsPerCentury - 1, 12, 31));
    setDisplayFormat(kShortDateFormat);
    setCalendarPopup(true);
}

QDate DateField::dateFromText(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*(\d{1,2})[./-](\d{1,2})[./-](\d{2}|\d{4})\s*$)"));
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
    return QDateTime(date, QTime(0, 0));
}

bool DateField::focusNextPrevChild(bool next)
{
    return QWidget::focusNextPrevChild(next);
}
