#include "store/FoldedSearch.h"

#include "store/MorseTwins.h"

#include <QString>
#include <QVarLengthArray>

#include <sqlite3.h>

#include <algorithm>
#include <string_view>

namespace
{
// callsigns are short: this many bytes fold without a heap allocation
constexpr qsizetype kInlineLength = 32;
constexpr int kArgumentCount = 2;
constexpr int kTypedArgument = 1;

QString folded(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar ch : text) {
        const QChar twin = morseLatinTwin(ch);
        result.append((twin.isNull() ? ch : twin).toUpper());
    }
    return result;
}

// the typed text folded once per statement, not once per row
struct FoldedTyped
{
    QString text;
    QByteArray utf8;
};

void deleteFoldedTyped(void* typed)
{
    delete static_cast<FoldedTyped*>(typed);
}

const FoldedTyped* foldedTyped(sqlite3_context* context, sqlite3_value* value)
{
    if (const auto* kept = static_cast<const FoldedTyped*>(sqlite3_get_auxdata(context, kTypedArgument))) {
        return kept;
    }
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(value));
    auto* typed = new FoldedTyped;
    typed->text = folded(QString::fromUtf8(bytes, sqlite3_value_bytes(value)));
    typed->utf8 = typed->text.toUtf8();
    // SQLite may drop it at once (out of memory): then it is made again for the next row
    sqlite3_set_auxdata(context, kTypedArgument, typed, deleteFoldedTyped);
    return static_cast<const FoldedTyped*>(sqlite3_get_auxdata(context, kTypedArgument));
}

char asciiUpper(unsigned char c)
{
    return char(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c);
}

bool isContinuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

using FoldedBytes = QVarLengthArray<char, kInlineLength>;

// Folds UTF-8 as folded() folds text, straight from the bytes: the search runs over every row of a band view
// of all tours at each keystroke, and nearly every callsign is ASCII or Cyrillic, one or two bytes a letter.
// False for a character of more bytes, which takes the general path.
bool foldBytes(const unsigned char* text, qsizetype length, FoldedBytes& out)
{
    for (qsizetype i = 0; i < length; ++i) {
        const unsigned char lead = text[i];
        if (lead < 0x80) {
            out.append(asciiUpper(lead));
            continue;
        }
        if (lead < 0xC2 || lead > 0xDF || i + 1 >= length || !isContinuation(char(text[i + 1]))) {
            return false;
        }
        const QChar ch(char16_t(((lead & 0x1F) << 6) | (text[++i] & 0x3F)));
        const QChar twin = morseLatinTwin(ch);
        const char16_t upper = (twin.isNull() ? ch : twin).toUpper().unicode();
        if (upper < 0x80) {
            out.append(char(upper));
        } else if (upper < 0x800) {
            out.append(char(0xC0 | (upper >> 6)));
            out.append(char(0x80 | (upper & 0x3F)));
        } else {
            return false;
        }
    }
    return true;
}

qsizetype foldedPlace(const unsigned char* text, qsizetype length, const FoldedTyped& typed)
{
    FoldedBytes haystack;
    if (!foldBytes(text, length, haystack)) {
        const QString general = folded(QString::fromUtf8(reinterpret_cast<const char*>(text), length));
        return general.indexOf(typed.text) + 1;
    }
    const std::string_view view(haystack.constData(), size_t(haystack.size()));
    const size_t at = view.find(std::string_view(typed.utf8.constData(), size_t(typed.utf8.size())));
    if (at == std::string_view::npos) {
        return 0;
    }
    // the place in characters, as instr() counts
    return std::count_if(haystack.cbegin(), haystack.cbegin() + qsizetype(at),
                         [](char byte) { return !isContinuation(byte); })
        + 1;
}

void foldedInstr(sqlite3_context* context, int, sqlite3_value** arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL || sqlite3_value_type(arguments[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const FoldedTyped* typed = foldedTyped(context, arguments[kTypedArgument]);
    if (!typed) {
        sqlite3_result_error_nomem(context);
        return;
    }
    const unsigned char* text = sqlite3_value_text(arguments[0]);
    sqlite3_result_int64(context, foldedPlace(text, sqlite3_value_bytes(arguments[0]), *typed));
}
} // namespace

void registerFoldedSearch(sqlite3* db)
{
    sqlite3_create_function_v2(db, kFoldedInstr, kArgumentCount, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               foldedInstr, nullptr, nullptr, nullptr);
}
