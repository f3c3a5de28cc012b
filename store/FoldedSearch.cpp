#include "store/FoldedSearch.h"

#include "store/MorseTwins.h"

#include <QStringView>
#include <QVarLengthArray>

#include <sqlite3.h>

namespace
{
// callsigns are short: this many characters fold without a heap allocation
constexpr qsizetype kInlineLength = 32;
constexpr int kArgumentCount = 2;

using FoldedText = QVarLengthArray<QChar, kInlineLength>;

FoldedText folded(sqlite3_value* value)
{
    const auto* text = static_cast<const QChar*>(sqlite3_value_text16(value));
    const qsizetype length = sqlite3_value_bytes16(value) / qsizetype(sizeof(QChar));
    FoldedText result;
    result.reserve(length);
    for (qsizetype i = 0; i < length; ++i) {
        const QChar twin = morseLatinTwin(text[i]);
        result.append((twin.isNull() ? text[i] : twin).toUpper());
    }
    return result;
}

void foldedInstr(sqlite3_context* context, int, sqlite3_value** arguments)
{
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL || sqlite3_value_type(arguments[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const FoldedText text = folded(arguments[0]);
    const FoldedText typed = folded(arguments[1]);
    const qsizetype at =
        QStringView(text.constData(), text.size()).indexOf(QStringView(typed.constData(), typed.size()));
    sqlite3_result_int64(context, at + 1);
}
} // namespace

void registerFoldedSearch(sqlite3* db)
{
    sqlite3_create_function_v2(db, kFoldedInstr, kArgumentCount, SQLITE_UTF16 | SQLITE_DETERMINISTIC, nullptr,
                               foldedInstr, nullptr, nullptr, nullptr);
}
