#include "contest/FormatSettings.h"

#include <QLocale>

FormatSettings& formatSettings()
{
    static FormatSettings settings;
    return settings;
}

void useFixedFormatSettings()
{
    FormatSettings& settings = formatSettings();
    settings.decimalSeparator = u'.';
    settings.shortMonthNames = {
        QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mar"), QStringLiteral("Apr"),
        QStringLiteral("May"), QStringLiteral("Jun"), QStringLiteral("Jul"), QStringLiteral("Aug"),
        QStringLiteral("Sep"), QStringLiteral("Oct"), QStringLiteral("Nov"), QStringLiteral("Dec"),
    };
    // numbers that Qt formats through the default locale use "." as well
    QLocale::setDefault(QLocale::c());
}

QString shortMonthName(int month)
{
    const QStringList& names = formatSettings().shortMonthNames;
    if (month < 1 || month > names.size()) {
        return QString::number(month);
    }
    return names.at(month - 1);
}
