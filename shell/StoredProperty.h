#pragma once

#include <QDateTime>
#include <QString>

#include <exception>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

class ProfileFile;

// A control value that the settings keep, reached through a getter and a setter. The setter changes
// the control as the operator would, so that the control's change handler runs.
struct WholeNumberProperty
{
    std::function<int()> get;
    std::function<void(int)> set;
};

struct TruthProperty
{
    std::function<bool()> get;
    std::function<void(bool)> set;
};

struct TextProperty
{
    std::function<QString()> get;
    std::function<void(const QString&)> set;
};

// The picker's whole date-time is written; only its time of day is read back.
struct TimeOfDayProperty
{
    std::function<QDateTime()> get;
    std::function<void(QTime)> set;
};

struct StoredProperty
{
    QString component;
    QString property;
    std::variant<WholeNumberProperty, TruthProperty, TextProperty, TimeOfDayProperty> binding;
    // the key in the contest folder's own file, for a value that belongs to the contest and not to the
    // operator; empty for the operator's own
    QString contestKey = {};

    // "KIEdit" + "Value" is kept under KIEdit_Value
    QString key() const { return component + u'_' + property; }
};

// where a file keeps its properties: a section, and each property's key there (empty: not kept there)
using StoredKey = std::function<QString(const StoredProperty&)>;

// the control's value as the settings write it
QString storedText(const StoredProperty& property);

// Gives each control kept in the section the value read for it; a setter runs only for a real change,
// as the control's change handler would. A value that is missing or does not convert leaves its control as
// it is. An error raised by a change handler does not stop the others: the first is returned.
std::exception_ptr applyStoredTexts(const std::vector<StoredProperty>& properties, const ProfileFile& profile,
                                    const QString& section, const StoredKey& keyOf);

// The whole number kept for the control of that component under the key keyOf gives it; none when
// there is no such control, key or number.
std::optional<int> storedWholeNumber(const std::vector<StoredProperty>& properties, const QString& component,
                                     const ProfileFile& profile, const QString& section, const StoredKey& keyOf);
