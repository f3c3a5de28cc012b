#pragma once

#include <QColor>
#include <QFont>
#include <QString>

// The window's fonts and system colours, with the nearest equivalents that this platform offers.
QFont windowFont(int pixelSize = 11, bool bold = false);
QFont gaugeFont();
QColor buttonFace();
QColor windowText();
QColor toolTipBackground();

// Grids and date fields show dates and times in the regional formats the program was made for.
inline const QString kShortDateFormat = QStringLiteral("dd.MM.yy");
inline const QString kLongTimeFormat = QStringLiteral("H:mm:ss");
