#include "store/SqlDialect.h"

#include "store/StoreError.h"

#include <QList>

namespace
{
struct Token
{
    enum class Type
    {
        Space,
        Word,
        Number,
        String,
        QuotedName,
        Symbol,
    };
    Type type;
    QString text;

    bool isWord(QStringView word) const { return type == Type::Word && text.compare(word, Qt::CaseInsensitive) == 0; }
    bool isSymbol(QChar c) const { return type == Type::Symbol && text.size() == 1 && text.at(0) == c; }
};

using Tokens = QList<Token>;

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

Tokens tokenize(const QString& sql)
{
    Tokens tokens;
    qsizetype i = 0;
    const qsizetype n = sql.size();
    while (i < n) {
        const QChar c = sql.at(i);
        qsizetype j = i + 1;
        Token::Type type = Token::Type::Symbol;
        if (c.isSpace()) {
            while (j < n && sql.at(j).isSpace()) {
                ++j;
            }
            type = Token::Type::Space;
        } else if (c == u'\'' || c == u'"' || c == u'[') {
            const QChar close = c == u'[' ? u']' : c;
            for (;;) {
                if (j >= n) {
                    throw StoreError(QStringLiteral("Unterminated quote in SQL: %1").arg(sql));
                }
                if (sql.at(j) == close) {
                    if (close != u']' && j + 1 < n && sql.at(j + 1) == close) {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            type = c == u'\'' ? Token::Type::String : Token::Type::QuotedName;
        } else if (c.isDigit()) {
            while (j < n && (sql.at(j).isLetterOrNumber() || sql.at(j) == u'.')) {
                ++j;
            }
            type = Token::Type::Number;
        } else if (isWordChar(c)) {
            while (j < n && isWordChar(sql.at(j))) {
                ++j;
            }
            type = Token::Type::Word;
        }
        tokens.append(Token{type, sql.mid(i, j - i)});
        i = j;
    }
    return tokens;
}

QString join(const Tokens& tokens)
{
    QString text;
    for (const Token& token : tokens) {
        text += token.text;
    }
    return text.trimmed();
}

// Joins tokens that were read without their spacing, putting one blank between two words.
QString joinWords(const Tokens& tokens)
{
    QString text;
    bool lastWasWord = false;
    for (const Token& token : tokens) {
        const bool isWord = token.type != Token::Type::Symbol && token.type != Token::Type::Space;
        if (isWord && lastWasWord) {
            text += u' ';
        }
        text += token.text;
        lastWasWord = isWord;
    }
    return text;
}

Tokens withoutSpace(const Tokens& tokens)
{
    Tokens result;
    for (const Token& token : tokens) {
        if (token.type != Token::Type::Space) {
            result.append(token);
        }
    }
    return result;
}

QString unquotedName(const Token& token)
{
    if (token.type == Token::Type::QuotedName) {
        return token.text.mid(1, token.text.size() - 2);
    }
    return token.text;
}

QString quotedName(const QString& name)
{
    QString escaped = name;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

// Splits the tokens between an opening parenthesis at `open` and its match at top-level commas.
QList<Tokens> parenthesisedList(const Tokens& tokens, qsizetype open, qsizetype* closeOut)
{
    QList<Tokens> items(1);
    int depth = 0;
    for (qsizetype i = open; i < tokens.size(); ++i) {
        const Token& token = tokens.at(i);
        if (token.isSymbol(u'(')) {
            if (depth++ == 0) {
                continue;
            }
        } else if (token.isSymbol(u')')) {
            if (--depth == 0) {
                *closeOut = i;
                return items;
            }
        } else if (depth == 1 && token.isSymbol(u',')) {
            items.append(Tokens());
            continue;
        }
        items.last().append(token);
    }
    throw StoreError(QStringLiteral("Unbalanced parentheses in SQL"));
}

QString tailText(const Tokens& tokens, qsizetype from)
{
    return joinWords(tokens.mid(from));
}

DialectStatement translateCreateTable(const Tokens& words)
{
    // Create Table T ( ... )
    if (words.size() < 5 || !words.at(3).isSymbol(u'(')) {
        throw StoreError(QStringLiteral("Malformed CREATE TABLE statement"));
    }
    DialectStatement result;
    result.kind = DialectStatement::Kind::CreateTable;
    result.table = unquotedName(words.at(2));
    result.tables = {result.table};

    qsizetype close = 0;
    const QList<Tokens> items = parenthesisedList(words, 3, &close);

    QStringList primaryKey;
    QString autoIncColumn;
    for (const Tokens& item : items) {
        if (item.size() >= 2 && item.at(0).isWord(u"primary") && item.at(1).isWord(u"key")) {
            qsizetype keyClose = 0;
            for (const Tokens& column : parenthesisedList(item, 2, &keyClose)) {
                primaryKey.append(joinWords(column));
            }
        } else if (item.size() >= 2 && item.at(1).isWord(u"AutoInc")) {
            autoIncColumn = unquotedName(item.at(0));
        }
    }

    QStringList definitions;
    for (const Tokens& item : items) {
        if (item.isEmpty()) {
            throw StoreError(QStringLiteral("Empty column definition in CREATE TABLE"));
        }
        if (item.size() >= 2 && item.at(0).isWord(u"primary") && item.at(1).isWord(u"key")) {
            // the AutoInc column carries the key itself
            const bool onlyAutoInc = primaryKey.size() == 1 && !autoIncColumn.isEmpty()
                && primaryKey.first().compare(autoIncColumn, Qt::CaseInsensitive) == 0;
            if (!onlyAutoInc) {
                definitions.append(joinWords(item));
            }
            continue;
        }
        const QString name = quotedName(unquotedName(item.at(0)));
        if (item.size() >= 2 && item.at(1).isWord(u"AutoInc")) {
            definitions.append(name + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT"));
        } else {
            definitions.append(name + u' ' + joinWords(item.mid(1)));
        }
    }
    result.sql = QStringLiteral("CREATE TABLE %1.%1 (%2)%3")
                     .arg(quotedName(result.table), definitions.join(QStringLiteral(", ")), tailText(words, close + 1));
    return result;
}

DialectStatement translateCreateIndex(const Tokens& words, bool unique)
{
    // Create [Unique] Index I on T ( ... )
    const qsizetype at = unique ? 3 : 2;
    if (words.size() < at + 4 || !words.at(at + 1).isWord(u"on") || !words.at(at + 3).isSymbol(u'(')) {
        throw StoreError(QStringLiteral("Malformed CREATE INDEX statement"));
    }
    DialectStatement result;
    result.kind = DialectStatement::Kind::CreateIndex;
    result.table = unquotedName(words.at(at + 2));
    result.tables = {result.table};
    const QString index = unquotedName(words.at(at));
    result.sql = QStringLiteral("CREATE %1INDEX %2.%3 ON %4 %5")
                     .arg(unique ? QStringLiteral("UNIQUE ") : QString(), quotedName(result.table),
                          quotedName(scopedIndexName(result.table, index)), quotedName(result.table),
                          tailText(words, at + 3));
    return result;
}

// SUBSTRING(x from a for b) becomes substr(x, a, b); other tokens pass through.
Tokens rewriteSubstring(const Tokens& tokens)
{
    Tokens out;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens.at(i);
        qsizetype open = i + 1;
        while (open < tokens.size() && tokens.at(open).type == Token::Type::Space) {
            ++open;
        }
        if (!token.isWord(u"substring") || open >= tokens.size() || !tokens.at(open).isSymbol(u'(')) {
            out.append(token);
            continue;
        }
        Tokens inner;
        int depth = 0;
        qsizetype close = -1;
        for (qsizetype k = open; k < tokens.size(); ++k) {
            if (tokens.at(k).isSymbol(u'(')) {
                ++depth;
            } else if (tokens.at(k).isSymbol(u')') && --depth == 0) {
                close = k;
                break;
            }
            if (k > open) {
                inner.append(tokens.at(k));
            }
        }
        if (close < 0) {
            throw StoreError(QStringLiteral("Unbalanced parentheses in SUBSTRING"));
        }
        inner = rewriteSubstring(inner);
        QList<Tokens> parts(1);
        depth = 0;
        for (const Token& t : inner) {
            if (t.isSymbol(u'(')) {
                ++depth;
            } else if (t.isSymbol(u')')) {
                --depth;
            }
            if (depth == 0 && (t.isWord(u"from") || t.isWord(u"for"))) {
                parts.append(Tokens());
                continue;
            }
            parts.last().append(t);
        }
        QStringList arguments;
        for (const Tokens& part : parts) {
            arguments.append(join(part));
        }
        out.append(Token{Token::Type::Word, QStringLiteral("substr(") + arguments.join(QStringLiteral(", ")) + u')'});
        i = close;
    }
    return out;
}

QStringList referencedTables(const Tokens& words)
{
    QStringList tables;
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
        const Token& token = words.at(i);
        const bool introducesTable = token.isWord(u"from") || token.isWord(u"into") || token.isWord(u"update")
            || token.isWord(u"join") || token.isWord(u"table");
        const Token& next = words.at(i + 1);
        if (introducesTable && (next.type == Token::Type::Word || next.type == Token::Type::QuotedName)) {
            const QString name = unquotedName(next);
            if (!tables.contains(name, Qt::CaseInsensitive)) {
                tables.append(name);
            }
        }
    }
    return tables;
}
} // namespace

QString scopedIndexName(const QString& table, const QString& index)
{
    return table + QStringLiteral("$") + index;
}

DialectStatement translateDialect(const QString& sql)
{
    const Tokens tokens = tokenize(sql);
    const Tokens words = withoutSpace(tokens);
    if (words.size() >= 2 && words.at(0).isWord(u"create") && words.at(1).isWord(u"table")) {
        return translateCreateTable(words);
    }
    if (words.size() >= 2 && words.at(0).isWord(u"create") && words.at(1).isWord(u"index")) {
        return translateCreateIndex(words, false);
    }
    if (words.size() >= 3 && words.at(0).isWord(u"create") && words.at(1).isWord(u"unique")
        && words.at(2).isWord(u"index")) {
        return translateCreateIndex(words, true);
    }
    DialectStatement result;
    result.sql = join(rewriteSubstring(tokens));
    result.tables = referencedTables(words);
    return result;
}
