#include "shell/AppTitle.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString applicationTitle(const QString& executablePath)
{
    QString name = QFileInfo(executablePath).fileName();
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0) {
        name.truncate(dot);
    }
    if (name.isEmpty()) {
        return name;
    }
    return name.left(1).toUpper() + name.mid(1).toLower();
}

QString applicationTitle()
{
    const QStringList arguments = QCoreApplication::arguments();
    return applicationTitle(arguments.isEmpty() ? QStringLiteral("tourlog") : arguments.first());
}

QString windowCaption(const QString& folder, bool readOnly)
{
    const QString caption = QStringLiteral("Tourlog 1.03 (2006) - ") + QDir::toNativeSeparators(folder);
    return readOnly ? caption + QStringLiteral(" [read-only]") : caption;
}
