#include "shell/StoredProperty.h"

#include "shell/ProfileFile.h"
#include "shell/SettingsFormat.h"

#include <algorithm>

namespace
{
QString currentText(const WholeNumberProperty& binding)
{
    return formatNumber(binding.get(), kWholeNumberDigits);
}

QString currentText(const TruthProperty& binding)
{
    return formatTruth(binding.get());
}

QString currentText(const TextProperty& binding)
{
    return binding.get().trimmed();
}

QString currentText(const TimeOfDayProperty& binding)
{
    return formatDateTime(binding.get());
}

void apply(const WholeNumberProperty& binding, const QString& text)
{
    const std::optional<int> value = parseWholeNumber(text);
    if (value && *value != binding.get()) {
        binding.set(*value);
    }
}

void apply(const TruthProperty& binding, const QString& text)
{
    const std::optional<bool> value = parseTruth(text);
    if (value && *value != binding.get()) {
        binding.set(*value);
    }
}

void apply(const TextProperty& binding, const QString& text)
{
    if (text != binding.get()) {
        binding.set(text);
    }
}

void apply(const TimeOfDayProperty& binding, const QString& text)
{
    const std::optional<QTime> time = parseTimeOfDay(text);
    if (time && *time != binding.get().time()) {
        binding.set(*time);
    }
}
} // namespace

QString storedText(const StoredProperty& property)
{
    return std::visit([](const auto& binding) { return currentText(binding); }, property.binding);
}

std::exception_ptr applyStoredTexts(const std::vector<StoredProperty>& properties, const ProfileFile& profile,
                                    const QString& section, const StoredKey& keyOf)
{
    std::exception_ptr firstFailure;
    for (const StoredProperty& property : properties) {
        const QString key = keyOf(property);
        if (key.isEmpty()) {
            continue;
        }
        const QString text = profile.value(section, key, storedText(property)).trimmed();
        try {
            std::visit([&text](const auto& binding) { apply(binding, text); }, property.binding);
        } catch (...) {
            if (!firstFailure) {
                firstFailure = std::current_exception();
            }
        }
    }
    return firstFailure;
}

std::optional<int> storedWholeNumber(const std::vector<StoredProperty>& properties, const QString& component,
                                     const ProfileFile& profile, const QString& section, const StoredKey& keyOf)
{
    const auto stored = std::find_if(properties.cbegin(), properties.cend(), [&component](const StoredProperty& p) {
        return p.component == component && std::holds_alternative<WholeNumberProperty>(p.binding);
    });
    if (stored == properties.cend() || keyOf(*stored).isEmpty()) {
        return std::nullopt;
    }
    return parseWholeNumber(profile.value(section, keyOf(*stored), QString()).trimmed());
}
