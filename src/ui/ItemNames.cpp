#include "ui/ItemNames.h"

#include "ui/QtText.h"

namespace mw {

QString itemName(const Mission& mission, ItemRef item)
{
    const std::uint32_t row = item.row;
    switch (item.layer) {
    case ViewLayer::Scene:
        return row < mission.sceneCatalogue().entryCount() ? fromBytes(std::string(mission.sceneCatalogue().name(row))) : QString();
    case ViewLayer::Cache:
        return row < mission.cache().records.size() ? QStringLiteral("cached: ") + fromBytes(std::string(mission.cache().name(row)))
                                                    : QString();
    case ViewLayer::Collision:
        return row < mission.tree().bodyCount() ? fromBytes(mission.tree().listText(row)) : QString();
    case ViewLayer::Frames:
        return row < mission.model().frames.size() ? QStringLiteral("frame: ") + fromBytes(mission.model().frames[row].name)
                                                   : QString();
    case ViewLayer::Route:
        break;
    }
    return QString();
}

} // namespace mw
