#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A participant list is written in code page 1251, or in UTF-8, and one pieced together from files of both
// kinds holds lines of each. A code page 1251 line can be valid UTF-8 by accident (a capital letter
// followed by Ё, І, № and the like), so validity alone proves nothing: a line is read as UTF-8 only when
// that reading looks more like a participant list than its code page 1251 reading does.
enum class ListEncoding
{
    Utf8,
    Cp1251,
};

struct ListLine
{
    QString text;
    // the encoding the line shows by itself; none when either reading would do
    std::optional<ListEncoding> shown;
};

// `tie` reads a line whose two readings look equally likely (the caller knows the lines around it). A
// byte-order mark in front of a line is left out and shows UTF-8.
ListLine decodeListLine(const QByteArray& line, ListEncoding tie);
