#pragma once

#include "shell/ProfileFile.h"
#include "shell/StoredProperty.h"

#include <QString>

#include <exception>
#include <functional>
#include <optional>
#include <vector>

class ContestFile;
class QWidget;

// Keeps the main window's placement and the given control values in the settings file, section
// [TForm1]. The window calls restore() when it is first shown and save() on every close request; the
// store saves once more when it is destroyed if no save completed since the last restore (so a close
// whose save failed is retried). Its getters and setters reach the window's controls, so it must go
// before they do: as a member of the window it does.
//
// Placement on this platform: ShowCmd 1 normal, 2 minimised, 3 maximised (full screen is kept as
// maximised); NormPos is the window's normal geometry (without the frame, as setGeometry takes it) as
// left, top, right, bottom. Flags are always 0 and MinMaxPos always -1,-1,-1,-1, as the window system
// offers no such record; both are still written so that the file keeps its key set.
class FormStorage
{
public:
    FormStorage(QWidget* window, std::vector<StoredProperty> properties, QString filePath = settingsFilePath());
    ~FormStorage();
    FormStorage(const FormStorage&) = delete;
    FormStorage& operator=(const FormStorage&) = delete;

    // Applies the saved placement and values, before the window appears on screen. A value that does
    // not convert leaves its control as it is. An error raised by a control's change handler does not
    // stop the others; the first such error is rethrown once all are applied.
    void restore();
    // The whole number restore() will give the control of that component, read ahead of it; none when
    // restore leaves the control as it is. The window opens its band views on the tour it is about to show.
    std::optional<int> wholeNumberToRestore(const QString& component) const;
    // Safe at any moment after restore(): the window also saves after every recorded contact, so that
    // the serial number survives a crash. Does nothing before the first restore.
    // Throws StoreError "Unable to write to <path>".
    void save();
    // The save after every contact: a file that cannot be written is told once, and again only after a save
    // has worked in between. Returns what to tell, empty when there is nothing to tell.
    QString saveAfterContact();
    // The folder's own contest values alone, as soon as one changes, told as saveAfterContact() tells.
    QString saveContestValues();
    // The contest folder's own values are written with every save, before the settings file; the file
    // must outlive the store.
    void setContestFile(ContestFile* file) { m_contestFile = file; }

private:
    void restorePlacement(const ProfileFile& profile);
    void restoreWindowState(const ProfileFile& profile);
    void write(bool destroying);
    // runs a save; a failure is told once, and again only after a save has worked in between
    QString toldOnce(const std::function<void()>& save);

    QWidget* m_window;
    std::vector<StoredProperty> m_properties;
    QString m_filePath;
    ContestFile* m_contestFile = nullptr;
    bool m_restored = false;
    bool m_saved = false;
    bool m_failureTold = false;
};
