#pragma once

#include "shell/StoredProperty.h"

#include <QString>

#include <optional>
#include <vector>

// This contest's own values (serial, Contest, Begin, start time, Tours, tour length, Tour, AutoChange
// Tour), kept beside its tables in a settings file of its own, section [Contest], under readable keys: a
// folder copied to another machine carries its contest, and the next folder opened does not start with
// this one's serial. The operator's own values (KI, the window) stay in the settings file alone. A folder
// that can only be read is read and never written.
class ContestFile
{
public:
    static constexpr const char* kFileName = "ContestSettings.ini";

    // only the properties with a contest key are kept here
    ContestFile(const QString& folder, std::vector<StoredProperty> properties, bool writable);

    // whether the folder has values of its own yet
    bool exists() const;
    // the whole number restore() will give the control of that component; none when it gives none
    std::optional<int> wholeNumberToRestore(const QString& component) const;
    // Gives the controls the folder's values; false, leaving them as they are, when it has none yet. An
    // error raised by a control's change handler is rethrown once all the others are applied.
    bool restore();
    // Throws StoreError "Unable to write to <path>"; does nothing in a folder that can only be read.
    void save() const;

private:
    QString m_path;
    std::vector<StoredProperty> m_properties;
    bool m_writable;
};
