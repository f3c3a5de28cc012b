#pragma once

#include "store/ViewFilter.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <array>
#include <optional>

// The four views of Contest, one per band and mode, in the order every active-band lookup follows.
struct BandViewInfo
{
    QString viewName;
    QString gridName;
    QString panelName;
    QString caption;
    // the view's rows: the band in metres and the mode, as the table stores them
    int metres = 0;
    QString modulation;
};

constexpr int kBandCount = 4;

const std::array<BandViewInfo, kBandCount>& bandViews();

// The filter that shows one band for the tour (0 meaning every tour).
ViewFilter bandFilter(const BandViewInfo& band, int tour);

// Index of the band whose title panel is the first to carry the active mark, or -1.
int activeBandIndex(const std::array<int, kBandCount>& marks);

// A band row counts as worked once its time of contact is set.
bool isWorked(const QVariant& timeOfContact);

// Colours as 0xRRGGBB; the window turns them into its own colour type.
namespace BandColour
{
constexpr quint32 kActivePanel = 0x008000;
constexpr quint32 kActiveCaption = 0x00FF00;
constexpr quint32 kInactiveCaption = 0x800080;
constexpr quint32 kActiveText = 0x0000FF;
constexpr quint32 kInactiveText = 0x800080;
constexpr quint32 kWorked = 0xFFD7FF;
constexpr quint32 kWorkedHighlighted = 0xFF93FF;
constexpr quint32 kPlannedHighlighted = 0xFFFF00;
} // namespace BandColour

struct BandCellLook
{
    quint32 text = 0;
    // nothing means the grid keeps its own background
    std::optional<quint32> background;
    bool bold = false;
};

BandCellLook bandCellLook(bool ownPanelMarked, bool worked, bool highlighted);
