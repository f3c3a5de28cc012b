#include "contest/ReportFormat.h"

#include "contest/DayZero.h"
#include "contest/FormatSettings.h"

#include <QDate>
#include <QTime>

namespace
{

QString twoDigits(int number)
{
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

// A tab, CR or LF inside a field would break the row into other columns or lines.
QString column(const QString& text)
{
    QString cleaned = text;
    for (QChar& ch : cleaned) {
        if (ch.unicode() < 0x20) {
            ch = u' ';
        }
    }
    return cleaned;
}

QString bandText(const QVariant& diapasone, const QString& modulation)
{
    const QString band = diapasone.isNull() ? QString() : QString::number(diapasone.toLongLong());
    return band + u' ' + modulation;
}

QString utcDateText(const QDate& date)
{
    return twoDigits(date.day()) + u'-' + shortMonthName(date.month()) + u'-' + twoDigits(qAbs(date.year() % 100));
}

QString utcTimeText(const QTime& time)
{
    return QStringLiteral("  ") + twoDigits(time.hour()) + u':' + twoDigits(time.minute()) + QStringLiteral("  ");
}
} // namespace

QString reportHeaderLine()
{
    return QStringLiteral(" Band\t   Date   \tUTC-Time\t Sign\t Sent\t Recv");
}

QDateTime contactTimeUtc(const QVariant& localDate, const QVariant& localTime)
{
    const QDate date = localDate.isNull() ? kDayZero : localDate.toDate();
    const QTime time = localTime.isNull() ? QTime(0, 0) : localTime.toTime();
    const QDateTime local(date, time, Qt::LocalTime);
    if (local.isValid()) {
        return local.toUTC();
    }
    // a wall-clock time skipped when the clocks went forward: read it with the offset in force before
    const qint64 offsetBefore = QDateTime(date.addDays(-1), time, Qt::LocalTime).offsetFromUtc();
    return QDateTime(date, time, Qt::UTC).addSecs(-offsetBefore);
}

QDateTime ContactTimeConverter::toUtc(const QVariant& localDate, const QVariant& localTime)
{
    const QDate date = localDate.isNull() ? kDayZero : localDate.toDate();
    const QTime time = localTime.isNull() ? QTime(0, 0) : localTime.toTime();
    if (!date.isValid() || !time.isValid()) {
        return contactTimeUtc(localDate, localTime);
    }
    const QTime minute(time.hour(), time.minute());
    const QDateTime wallClock(date, time, Qt::UTC);
    const qint64 key = date.toJulianDay() * 24 * 60 + qint64{time.hour()} * 60 + time.minute();
    auto offset = m_offsetByMinute.constFind(key);
    if (offset == m_offsetByMinute.cend()) {
        const QDateTime minuteUtc = contactTimeUtc(QVariant(date), QVariant(minute));
        offset = m_offsetByMinute.insert(
            key, QDateTime(date, minute, Qt::UTC).toSecsSinceEpoch() - minuteUtc.toSecsSinceEpoch());
    }
    return wallClock.addSecs(-offset.value());
}

QString reportLine(const ReportRow& row)
{
    const QStringList columns = {
        column(bandText(row.diapasone, row.modulation)),
        utcDateText(row.utc.date()),
        utcTimeText(row.utc.time()),
        column(row.callSign),
        column(row.sentText),
        column(row.recvText),
    };
    return columns.join(u'\t');
}

QStringList reportFooterLines(const ScoreTotals& totals)
{
    return {
        QStringLiteral("-----------------------------"),
        QStringLiteral("Очки за связи:           ") + QString::number(totals.contactPoints),
        QStringLiteral("Очки за корреспондентов: ") + QString::number(totals.correspondentPoints),
        QStringLiteral("Очки за районы:          ") + QString::number(totals.regionPoints),
        QStringLiteral("Всего очков:             ") + QString::number(totals.totalPoints),
    };
}
