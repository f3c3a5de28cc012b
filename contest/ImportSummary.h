#pragma once

#include <QList>
#include <QString>

// What an import made of a participant list, for the one message the operator gets afterwards.
struct ImportSummary
{
    struct SkippedLine
    {
        qint64 line = 0;
        QString text;
    };

    QString listName;
    bool listOpened = false;
    // why the list could not be opened, or was not read to its end
    QString readError;
    qint64 linesRead = 0;
    int added = 0;
    int alreadyListed = 0;
    qint64 skipped = 0;
    // only the first few keep their text, so that a list of junk costs no memory
    QList<SkippedLine> firstSkipped;

    void skip(qint64 line, const QString& text);
};

QString importSummaryText(const ImportSummary& summary);
