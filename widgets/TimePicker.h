#pragma once

#include <QTimeEdit>

// A time-of-day field that also carries a date part of its own, which it never shows; whoever reads
// the whole date-time value gets that date with the time shown.
class TimePicker : public QTimeEdit
{
    Q_OBJECT

public:
    explicit TimePicker(QWidget* parent = nullptr);

    QDate datePart() const { return m_datePart; }
    void setDatePart(const QDate& date) { m_datePart = date; }
    QDateTime value() const { return QDateTime(m_datePart, time()); }

protected:
    // Tab leaves the field instead of stepping through hours, minutes and seconds
    bool focusNextPrevChild(bool next) override;

private:
    QDate m_datePart;
};
