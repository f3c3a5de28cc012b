#pragma once

#include <QChar>
#include <QStringList>

// The process-wide number and date formatting that the program fixes at start-up, whatever the
// regional settings say: "." as decimal separator and English month abbreviations.
struct FormatSettings
{
    QChar decimalSeparator = u'.';
    QStringList shortMonthNames;
};

FormatSettings& formatSettings();
void useFixedFormatSettings();
// month 1 to 12
QString shortMonthName(int month);
