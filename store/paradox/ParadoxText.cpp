#include "store/paradox/ParadoxText.h"

#include "store/StoreError.h"

#include <QStringDecoder>

QString fromParadoxText(QByteArrayView bytes)
{
    QStringDecoder decoder("windows-1251", QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) {
        throw StoreError(QStringLiteral("The code page windows-1251 is not available"));
    }
    return decoder.decode(bytes);
}
