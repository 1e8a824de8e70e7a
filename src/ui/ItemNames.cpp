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

QString pickedText(const Mission& mission, ItemRef item, std::size_t nth, std::size_t among)
{
    const QString name = itemName(mission, item);
    return among > 1 ? QStringLiteral("%1 (%2 of %3 here)").arg(name).arg(nth).arg(among) : name;
}

QString lockedText(std::size_t locked)
{
    return locked == 1 ? QStringLiteral("1 locked item left where it is") : QStringLiteral("%1 locked items left where they are").arg(locked);
}

QString moveText(Vec3 offset, Vec3 to)
{
    return QStringLiteral("Move %1 m to %2, %3, %4")
        .arg(static_cast<double>(length(offset)), 0, 'g', 4)
        .arg(static_cast<double>(to.x), 0, 'g', 6)
        .arg(static_cast<double>(to.y), 0, 'g', 6)
        .arg(static_cast<double>(to.z), 0, 'g', 6);
}

QString turnText(double degrees) { return QStringLiteral("Turn %1\u00B0").arg(degrees, 0, 'g', 5); }

QString leftOutText(std::size_t leftOut)
{
    return QStringLiteral("%1 left out of the 3D view: a place or size not finite or beyond %2 km")
        .arg(leftOut == 1 ? QStringLiteral("1 item") : QStringLiteral("%1 items").arg(leftOut))
        .arg(static_cast<double>(WorldLimit / 1000));
}

} // namespace mw
