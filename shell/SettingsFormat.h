#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// How the saved settings turn values into text and back. Numbers always use "." whatever the regional
// settings say, so a file written under one locale reads back under another.

constexpr int kWholeNumberDigits = 18;
constexpr int kDateTimeDigits = 15;

// General number format: the shortest text of at most `significantDigits` digits.
QString formatNumber(double value, int significantDigits);
// A number rounded as a spin field shows it, halves to the even neighbour (2.5 -> 2, 3.5 -> 4); nullopt
// for anything that is not a finite number ("abc", "", "1,5", "inf") or lies beyond what a spin field holds.
std::optional<int> parseWholeNumber(const QString& text);

QString formatTruth(bool value);
// "True" and "False" in any letter case; anything else is nullopt.
std::optional<bool> parseTruth(const QString& text);

// Days since 1899-12-30, the fraction being the time of day. Before that day the whole part is
// negative and the fraction still counts forward from midnight (-1.25 is 1899-12-29 06:00).
QString formatDateTime(const QDateTime& dateTime);
// The time of day that a day count carries, or a clock time "16:43:19" as a contest folder's own file
// keeps it; nullopt for anything else.
std::optional<QTime> parseTimeOfDay(const QString& text);
// "16:43:19"
QString formatClockTime(QTime time);

// A whole number as the profile reads it: decimal, or hexadecimal after "0x"/"0X"; else the default.
int parseProfileInteger(const QString& text, int defaultValue);

// Four numbers "a,b,c,d"; reading takes the first four words split at commas and blanks, and a word
// that is missing or malformed takes the matching number of `defaults`.
QString formatFourNumbers(int a, int b, int c, int d);
struct FourNumbers
{
    int a = 0;
    int b = 0;
    int c = 0;
    int d = 0;
};
FourNumbers parseFourNumbers(const QString& text, const FourNumbers& defaults);
