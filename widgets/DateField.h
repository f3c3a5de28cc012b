#pragma once

#include "widgets/SectionTyping.h"

#include <QDateEdit>

// A date field with a calendar button that shows a two-digit year. Qt would read a two-digit year
// as 19xx when parsing text; here it always stands for a year of the current century.
class DateField : public SectionTyping<QDateEdit>
{
    Q_OBJECT

public:
    explicit DateField(QWidget* parent = nullptr);

    // the date a day.month.year text stands for, with or without the separators (ddMMyy, ddMMyyyy);
    // invalid when it stands for none
    static QDate dateFromText(const QString& text);
    // shows the date the text stands for; returns false and changes nothing when it is not a date
    bool setText(const QString& text);

protected:
    bool setTypedText(const QString& text) override { return setText(text); }
    QDateTime dateTimeFromText(const QString& text) const override;
    // a click beside the digits steps nothing; the calendar button still opens the calendar
    void mousePressEvent(QMouseEvent* event) override;
    StepEnabled stepEnabled() const override;

private:
    bool m_pressing = false;
};
