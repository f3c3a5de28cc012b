#include "widgets/WindowLook.h"

#include <QApplication>
#include <QPalette>

namespace
{
QFont fontFrom(const QStringList& families, int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
} // namespace

QFont windowFont(int pixelSize, bool bold)
{
    // the condensed face comes closest to the narrow bitmap font the sizes were drawn for
    static const QStringList families = {QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                                         QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans Condensed"),
                                         QStringLiteral("DejaVu Sans")};
    return fontFrom(families, pixelSize, bold);
}

QFont gaugeFont()
{
    static const QStringList families = {QStringLiteral("Tahoma"), QStringLiteral("Verdana"),
                                         QStringLiteral("DejaVu Sans")};
    return fontFrom(families, 11, false);
}

QColor buttonFace()
{
    return QApplication::palette().color(QPalette::Button);
}

QColor windowText()
{
    return QApplication::palette().color(QPalette::WindowText);
}

QColor toolTipBackground()
{
    return QApplication::palette().color(QPalette::ToolTipBase);
}
