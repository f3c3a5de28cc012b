#include "shell/ProfileFile.h"

#include "store/StoreError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace
{
// fromUtf8 also drops a byte order mark at the start of the file
QString lineText(const QByteArray& line)
{
    return QString::fromUtf8(line).trimmed();
}

std::optional<QString> sectionName(const QString& text)
{
    if (!text.startsWith(u'[')) {
        return std::nullopt;
    }
    const qsizetype close = text.indexOf(u']');
    return text.mid(1, close < 0 ? -1 : close - 1).trimmed();
}

bool isSectionHeader(const QByteArray& line)
{
    return sectionName(lineText(line)).has_value();
}

bool isQuotedPair(const QString& text)
{
    if (text.size() < 2) {
        return false;
    }
    const QChar first = text.front();
    return (first == u'"' || first == u'\'') && text.back() == first;
}

// Quoting keeps a value that itself begins and ends with a quote from losing them on reading; a line
// break would start a line of its own and could plant keys or sections, so it becomes a blank.
QString encodeValue(QString value)
{
    value.replace(u'\r', u' ').replace(u'\n', u' ');
    if (isQuotedPair(value)) {
        return u'"' + value + u'"';
    }
    return value;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

ProfileFile::ProfileFile(QString path)
    : m_path(std::move(path))
{
}

bool ProfileFile::load()
{
    m_lines.clear();
    m_unreadable = false;
    QFile file(m_path);
    if (!file.exists()) {
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        m_unreadable = true;
        return false;
    }
    m_lines = file.readAll().split('\n');
    if (!m_lines.isEmpty() && m_lines.last().isEmpty()) {
        m_lines.removeLast();
    }
    for (QByteArray& line : m_lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    return true;
}

qsizetype ProfileFile::findSection(const QString& section) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const std::optional<QString> name = sectionName(lineText(m_lines.at(i)));
        if (name && sameName(*name, section)) {
            return i;
        }
    }
    return -1;
}

qsizetype ProfileFile::sectionEnd(qsizetype header) const
{
    qsizetype end = header + 1;
    while (end < m_lines.size() && !isSectionHeader(m_lines.at(end))) {
        ++end;
    }
    return end;
}

qsizetype ProfileFile::findKey(const QString& section, const QString& key) const
{
    const qsizetype header = findSection(section);
    if (header < 0) {
        return -1;
    }
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const QString text = lineText(m_lines.at(i));
        const qsizetype equals = text.indexOf(u'=');
        if (equals > 0 && sameName(text.left(equals).trimmed(), key)) {
            return i;
        }
    }
    return -1;
}

QString ProfileFile::value(const QString& section, const QString& key, const QString& defaultValue) const
{
    const qsizetype index = findKey(section, key);
    if (index < 0) {
        return defaultValue;
    }
    const QString text = lineText(m_lines.at(index));
    QString result = text.mid(text.indexOf(u'=') + 1).trimmed();
    if (isQuotedPair(result)) {
        result = result.mid(1, result.size() - 2);
    }
    // never half a character: a lone surrogate would be written back as a replacement mark
    const bool cutsPair = result.size() > kMaxValueLength && result.at(kMaxValueLength - 1).isHighSurrogate();
    result.truncate(cutsPair ? kMaxValueLength - 1 : kMaxValueLength);
    return result;
}

void ProfileFile::setValue(const QString& section, const QString& key, const QString& value)
{
    const QByteArray line = (key + u'=' + encodeValue(value)).toUtf8();
    const qsizetype existing = findKey(section, key);
    if (existing >= 0) {
        m_lines[existing] = line;
        return;
    }
    const qsizetype header = findSection(section);
    if (header < 0) {
        if (!m_lines.isEmpty() && !lineText(m_lines.last()).isEmpty()) {
            m_lines.append(QByteArray());
        }
        m_lines.append((u'[' + section + u']').toUtf8());
        m_lines.append(line);
        return;
    }
    // after the section's last entry, so that blank lines that set off the next section stay put
    qsizetype insertAt = sectionEnd(header);
    while (insertAt > header + 1 && lineText(m_lines.at(insertAt - 1)).isEmpty()) {
        --insertAt;
    }
    m_lines.insert(insertAt, line);
}

void ProfileFile::save() const
{
    const auto failure = [this] {
        return StoreError(u"Unable to write to %1"_s.arg(QDir::toNativeSeparators(m_path)));
    };
    if (m_unreadable) {
        throw failure();
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw failure();
    }
    for (const QByteArray& line : m_lines) {
        file.write(line);
        file.write("\r\n");
    }
    if (!file.commit()) {
        throw failure();
    }
}

QString settingsFileName(const QString& executablePath)
{
    QString name = QFileInfo(executablePath).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot > 0) {
        name.truncate(dot);
    }
    return name + u".INI"_s;
}

QString userConfigDirectory()
{
    // a relative XDG_CONFIG_HOME would land in the working directory; the XDG rules say to ignore it
    QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured)) {
        return configured;
    }
#ifdef Q_OS_WIN
    // where Windows programs keep their settings: the roaming application data of the user
    const QString applicationData = qEnvironmentVariable("APPDATA");
    if (!applicationData.isEmpty() && QDir::isAbsolutePath(applicationData)) {
        return QDir(applicationData).filePath(u"Tourlog"_s);
    }
#endif
    return QDir::homePath() + u"/.config"_s;
}

QString settingsFilePath()
{
    return QDir(userConfigDirectory()).filePath(settingsFileName(QCoreApplication::applicationFilePath()));
}
