#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh temporary working directory and configuration directory for one test; the previous working
// directory and XDG_CONFIG_HOME come back when it goes.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    QString workDir() const { return m_work.path(); }
    QString configDir() const { return m_config.path(); }
    QString path(const QString& fileName) const;

private:
    QTemporaryDir m_work;
    QTemporaryDir m_config;
    QString m_previousDir;
    QByteArray m_previousConfig;
    bool m_hadConfig = false;
};
