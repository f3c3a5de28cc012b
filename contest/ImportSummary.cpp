#include "contest/ImportSummary.h"

#include "contest/ParticipantList.h"

namespace
{
constexpr int kShownSkippedLines = 20;

QString counted(qint64 count, const QString& one, const QString& many)
{
    return QString::number(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}
} // namespace

void ImportSummary::skip(qint64 line, const QString& text)
{
    ++skipped;
    if (firstSkipped.size() < kShownSkippedLines) {
        firstSkipped.append({line, text});
    }
}

QString importSummaryText(const ImportSummary& summary)
{
    if (!summary.listOpened) {
        return QStringLiteral("Import: %1 could not be read (%2); no participants added.")
            .arg(summary.listName, summary.readError);
    }
    QString text = QStringLiteral("Import: %1, %2 already in the list.")
                       .arg(counted(summary.added, QStringLiteral("participant added"),
                                    QStringLiteral("participants added")),
                            QString::number(summary.alreadyListed));
    if (!summary.readError.isEmpty()) {
        text += QStringLiteral("\nReading %1 stopped after line %2: %3.")
                    .arg(summary.listName, QString::number(summary.linesRead), summary.readError);
    }
    if (summary.skipped == 0) {
        return text;
    }
    text += QStringLiteral("\n%1:").arg(
        counted(summary.skipped, QStringLiteral("line skipped"), QStringLiteral("lines skipped")));
    const QString reason = QStringLiteral("shorter than %1 characters").arg(kMinimumCallsignLength);
    for (const ImportSummary::SkippedLine& skipped : summary.firstSkipped) {
        text += QStringLiteral("\nline %1 \"%2\": %3").arg(QString::number(skipped.line), skipped.text, reason);
    }
    if (summary.skipped > summary.firstSkipped.size()) {
        text += QStringLiteral("\n... and %1 more.").arg(summary.skipped - summary.firstSkipped.size());
    }
    return text;
}
