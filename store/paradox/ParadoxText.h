#pragma once

#include <QByteArrayView>
#include <QString>

// Text in a Paradox table of a contest folder is in code page 1251. The store may not reach the
// contest layer's codec, so it asks Qt for the same converter by the same name; throws StoreError when
// the system lacks it.
QString fromParadoxText(QByteArrayView bytes);
