#include "shell/AppTitle.h"

#include <QCoreApplication>
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
