#include "support/TestEnvironment.h"

#include <QDir>

TestEnvironment::TestEnvironment()
    : m_previousDir(QDir::currentPath())
    , m_previousConfig(qgetenv("XDG_CONFIG_HOME"))
    , m_hadConfig(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
{
    QDir::setCurrent(m_work.path());
    qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
}

TestEnvironment::~TestEnvironment()
{
    QDir::setCurrent(m_previousDir);
    if (m_hadConfig) {
        qputenv("XDG_CONFIG_HOME", m_previousConfig);
    } else {
        qunsetenv("XDG_CONFIG_HOME");
    }
}

QString TestEnvironment::path(const QString& fileName) const
{
    return QDir(m_work.path()).absoluteFilePath(fileName);
}
