#pragma once

#include <QByteArrayList>
#include <QString>

// A settings file of sections and key=value lines. Section and key names match without regard to
// case; reading trims a value, drops one pair of surrounding quotes and keeps at most 2047 characters.
// Lines that are not touched, other sections among them, are written back byte for byte, so a file
// shared with other programs or holding text in another code page loses nothing.
class ProfileFile
{
public:
    static constexpr qsizetype kMaxValueLength = 2047;

    explicit ProfileFile(QString path);

    const QString& path() const { return m_path; }

    // A missing file reads as empty. False when a file is there but cannot be read: it then reads as
    // empty and save() refuses to overwrite what it could not read.
    bool load();

    QString value(const QString& section, const QString& key, const QString& defaultValue) const;
    // A new key goes to the end of its section, a new section to the end of the file.
    void setValue(const QString& section, const QString& key, const QString& value);

    // Writes the whole file anew (CR LF line ends) and renames it into place, so no reader ever sees a
    // half-written file. Throws StoreError "Unable to write to <path>".
    void save() const;

private:
    qsizetype findSection(const QString& section) const;
    qsizetype sectionEnd(qsizetype header) const;
    qsizetype findKey(const QString& section, const QString& key) const;

    QString m_path;
    QByteArrayList m_lines;
    bool m_unreadable = false;
};

// The file is named after the executable, its extension replaced by ".INI", and lives in the user's
// configuration directory, never in the working directory where the contest tables are.
QString settingsFileName(const QString& executablePath);
QString userConfigDirectory();
QString settingsFilePath();
