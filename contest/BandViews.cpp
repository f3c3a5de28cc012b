#include "contest/BandViews.h"

#include "store/TableNames.h"

#include <QTime>

const std::array<BandViewInfo, kBandCount>& bandViews()
{
    static const std::array<BandViewInfo, kBandCount> views = {{
        {QStringLiteral("Contest80"), QStringLiteral("DBGrid80"), QStringLiteral("Panel80"),
         QStringLiteral("80 м - SSB"), 80, QStringLiteral("SSB")},
        {QStringLiteral("Contest80CW"), QStringLiteral("DBGrid80CW"), QStringLiteral("Panel80CW"),
         QStringLiteral("80 м - CW"), 80, QStringLiteral("CW")},
        {QStringLiteral("Contest160"), QStringLiteral("DBGrid160"), QStringLiteral("Panel160"),
         QStringLiteral("160 м - SSB"), 160, QStringLiteral("SSB")},
        {QStringLiteral("Contest160CW"), QStringLiteral("DBGrid160CW"), QStringLiteral("Panel160CW"),
         QStringLiteral("160 м - CW"), 160, QStringLiteral("CW")},
    }};
    return views;
}

ViewFilter bandFilter(const BandViewInfo& band, int tour)
{
    ViewFilter filter{{kFieldDiapasone, band.metres}, {kFieldModulation, band.modulation}};
    if (tour != 0) {
        filter.add(kFieldTourNumber, tour);
    }
    return filter;
}

int activeBandIndex(const std::array<int, kBandCount>& marks)
{
    for (int i = 0; i < kBandCount; ++i) {
        if (marks.at(i) == 1) {
            return i;
        }
    }
    return -1;
}

bool isWorked(const QVariant& timeOfContact)
{
    if (timeOfContact.isNull()) {
        return false;
    }
    if (timeOfContact.typeId() == QMetaType::QTime) {
        return timeOfContact.toTime().isValid();
    }
    return !timeOfContact.toString().trimmed().isEmpty();
}

BandCellLook bandCellLook(bool ownPanelMarked, bool worked, bool highlighted)
{
    BandCellLook look;
    look.text = ownPanelMarked ? BandColour::kActiveText : BandColour::kInactiveText;
    if (worked) {
        look.background = highlighted ? BandColour::kWorkedHighlighted : BandColour::kWorked;
    } else if (highlighted) {
        look.background = BandColour::kPlannedHighlighted;
    }
    look.bold = highlighted;
    return look;
}
