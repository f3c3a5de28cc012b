#include "shell/ContestFile.h"

#include "shell/ProfileFile.h"
#include "shell/SettingsFormat.h"

#include <QDir>
#include <QFileInfo>

#include <exception>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace
{
const QString kSection = u"Contest"_s;

QString contestKey(const StoredProperty& property)
{
    return property.contestKey;
}
} // namespace

ContestFile::ContestFile(const QString& folder, std::vector<StoredProperty> properties, bool writable)
    : m_path(QDir(folder).filePath(QString::fromLatin1(kFileName)))
    , m_properties(std::move(properties))
    , m_writable(writable)
{
}

bool ContestFile::exists() const
{
    return QFileInfo(m_path).isFile();
}

std::optional<int> ContestFile::wholeNumberToRestore(const QString& component) const
{
    ProfileFile profile(m_path);
    profile.load();
    return storedWholeNumber(m_properties, component, profile, kSection, contestKey);
}

bool ContestFile::restore()
{
    if (!exists()) {
        return false;
    }
    ProfileFile profile(m_path);
    profile.load();
    if (const std::exception_ptr failure = applyStoredTexts(m_properties, profile, kSection, contestKey)) {
        std::rethrow_exception(failure);
    }
    return true;
}

void ContestFile::save() const
{
    if (!m_writable) {
        return;
    }
    ProfileFile profile(m_path);
    profile.load();
    for (const StoredProperty& property : m_properties) {
        if (property.contestKey.isEmpty()) {
            continue;
        }
        // the start time as a clock shows it, not as the day count the settings file keeps
        const auto* time = std::get_if<TimeOfDayProperty>(&property.binding);
        profile.setValue(kSection, property.contestKey,
                         time ? formatClockTime(time->get().time()) : storedText(property));
    }
    profile.save();
}
