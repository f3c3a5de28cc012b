#pragma once

#include "widgets/SectionTyping.h"

#include <QTimeEdit>

// A time-of-day field that also carries a date part of its own, which it never shows; whoever reads
// the whole date-time value gets that date with the time shown.
class TimePicker : public SectionTyping<QTimeEdit>
{
    Q_OBJECT

public:
    explicit TimePicker(QWidget* parent = nullptr);

    QDate datePart() const { return m_datePart; }
    void setDatePart(const QDate& date) { m_datePart = date; }
    QDateTime value() const { return QDateTime(m_datePart, time()); }

    // the time an H:mm:ss or H:mm text stands for, with or without the separators (Hmmss, Hmm); invalid
    // when it stands for none
    static QTime timeFromText(const QString& text);

protected:
    // A time typed or stepped is exactly the time shown: the milliseconds that a time set by the program may
    // carry go, or a tour would change a fraction of a second away from the time the operator set.
    bool setTypedText(const QString& text) override;
    void keyPressEvent(QKeyEvent* event) override;
    void stepBy(int steps) override;

private:
    void dropMillisecondsIfChanged(const QTime& before);

    QDate m_datePart;
};
