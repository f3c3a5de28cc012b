// Settings files of any bytes, read as the window restores them and then saved over. Reading never
// fails on content; a value written reads back as written, and writing one key changes no other.
#include "shell/ProfileFile.h"
#include "shell/SettingsFormat.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace
{
const QString kSection = u"TForm1"_s;
const QString kWrittenKey = u"NppEdit_Value"_s;
constexpr qint64 kLargestWholeDouble = qint64(1) << 53;

const QStringList& readKeys()
{
    static const QStringList keys = {
        u"FormVersion"_s,  u"Flags"_s,        u"ShowCmd"_s,           u"PixelsPerInch"_s,          u"NormPos"_s,
        u"MinMaxPos"_s,    u"KIEdit_Value"_s, u"Tour_Value"_s,        u"AutoChangeTour_Checked"_s, u"BegDate_Text"_s,
        u"BegTime_Time"_s, u"Tours_Value"_s,  u"NormPos(1024x768)"_s,
    };
    return keys;
}

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

void parseAsTheWindowDoes(const QString& value)
{
    const std::optional<qint64> whole = parseWholeNumber(value);
    check(!whole || (*whole <= kLargestWholeDouble && *whole >= -kLargestWholeDouble));
    parseTruth(value);
    parseTimeOfDay(value);
    parseProfileInteger(value, 0);
    parseFourNumbers(value, {1, 2, 3, 4});
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(u"tourlog.INI"_s);
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        check(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }

    ProfileFile profile(path);
    check(profile.load());
    QStringList before;
    for (const QString& key : readKeys()) {
        const QString value = profile.value(kSection, key, QString());
        check(value.size() <= ProfileFile::kMaxValueLength);
        parseAsTheWindowDoes(value);
        before.append(value);
    }

    // the window trims what it writes; a line break in a value could never be read back as one line
    QString written = profile.value(kSection, u"BegDate_Text"_s, u"22.10.06"_s);
    written.replace(u'\r', u' ').replace(u'\n', u' ');
    written = written.trimmed();
    profile.setValue(kSection, kWrittenKey, written);
    profile.save();

    ProfileFile again(path);
    check(again.load());
    check(again.value(kSection, kWrittenKey, QString()) == written);
    for (qsizetype i = 0; i < readKeys().size(); ++i) {
        check(again.value(kSection, readKeys().at(i), QString()) == before.at(i));
    }
    return 0;
}
