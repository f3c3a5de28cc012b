#pragma once

#include <QByteArray>

// Little-endian numbers of a Paradox file's headers; the caller has checked that the bytes are there.
inline int paradoxU8(const QByteArray& file, qsizetype at)
{
    return static_cast<unsigned char>(file.at(at));
}

inline int paradoxU16(const QByteArray& file, qsizetype at)
{
    return paradoxU8(file, at) | paradoxU8(file, at + 1) << 8;
}
