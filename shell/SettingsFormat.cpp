#include "shell/SettingsFormat.h"

#include "contest/DayZero.h"
#include "contest/Rounding.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::Literals::StringLiterals;

namespace
{
constexpr double kMsPerDay = 86400000.0;
constexpr qint64 kLastMsOfDay = 86399999;

std::optional<double> parseNumber(const QString& text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

double dateTimeToDays(const QDateTime& dateTime)
{
    const auto days = static_cast<double>(kDayZero.daysTo(dateTime.date()));
    const double fraction = dateTime.time().msecsSinceStartOfDay() / kMsPerDay;
    return days < 0 ? days - fraction : days + fraction;
}
} // namespace

QString formatNumber(double value, int significantDigits)
{
    return QString::number(value, 'g', significantDigits);
}

std::optional<int> parseWholeNumber(const QString& text)
{
    const std::optional<double> number = parseNumber(text);
    if (!number) {
        return std::nullopt;
    }
    const double rounded = roundHalfToEven(*number);
    if (rounded < std::numeric_limits<int>::min() || rounded > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(rounded);
}

QString formatTruth(bool value)
{
    return value ? u"True"_s : u"False"_s;
}

std::optional<bool> parseTruth(const QString& text)
{
    if (text.compare(u"True"_s, Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (text.compare(u"False"_s, Qt::CaseInsensitive) == 0) {
        return false;
    }
    return std::nullopt;
}

QString formatDateTime(const QDateTime& dateTime)
{
    return formatNumber(dateTimeToDays(dateTime), kDateTimeDigits);
}

std::optional<QTime> parseTimeOfDay(const QString& text)
{
    const std::optional<double> days = parseNumber(text);
    if (!days) {
        const QTime clock = QTime::fromString(text.trimmed(), u"H:mm:ss"_s);
        return clock.isValid() ? std::optional(clock) : std::nullopt;
    }
    const double fraction = std::abs(*days - std::trunc(*days));
    const qint64 ms = std::min(std::llround(fraction * kMsPerDay), kLastMsOfDay);
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
}

QString formatClockTime(QTime time)
{
    return time.toString(u"HH:mm:ss"_s);
}

int parseProfileInteger(const QString& text, int defaultValue)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    int value = 0;
    if (trimmed.startsWith(u"0x"_s, Qt::CaseInsensitive)) {
        value = trimmed.mid(2).toInt(&ok, 16);
    } else {
        value = trimmed.toInt(&ok, 10);
    }
    return ok ? value : defaultValue;
}

QString formatFourNumbers(int a, int b, int c, int d)
{
    return u"%1,%2,%3,%4"_s.arg(a).arg(b).arg(c).arg(d);
}

FourNumbers parseFourNumbers(const QString& text, const FourNumbers& defaults)
{
    static const QRegularExpression separators(u"[, \\t]+"_s);
    const QStringList words = text.split(separators, Qt::SkipEmptyParts);
    const auto word = [&words](qsizetype index, int fallback) {
        return index < words.size() ? parseProfileInteger(words.at(index), fallback) : fallback;
    };
    return {word(0, defaults.a), word(1, defaults.b), word(2, defaults.c), word(3, defaults.d)};
}
