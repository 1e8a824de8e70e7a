#include "script/ScriptItems.h"

#include <cmath>

#include "mission/Mission.h"

namespace mw {

namespace {

// A whole number in 0 … 2^32 - 1.
std::optional<std::uint32_t> rowOf(const QJSValue& value)
{
    if (!value.isNumber())
        return std::nullopt;
    const double n = value.toNumber();
    if (!(n >= 0 && n < 4294967296.0) || std::floor(n) != n)
        return std::nullopt;
    return static_cast<std::uint32_t>(n);
}

// Adds one item; the reason when it names nothing there is.
std::optional<std::string> addItem(const Mission& mission, const QJSValue& value, PlacedItems& items)
{
    QString list = QStringLiteral("objects");
    std::optional<std::uint32_t> row = rowOf(value);
    if (!row && value.isObject()) {
        row = rowOf(value.property(QStringLiteral("row")));
        if (value.hasProperty(QStringLiteral("list")))
            list = value.property(QStringLiteral("list")).toString();
    }
    if (!row)
        return "an item is a row number or a value read from mission.objects, .cached or .frames, not " +
               value.toString().left(40).toStdString();
    const std::string at = list.toStdString() + " row " + std::to_string(*row);
    if (list == QStringLiteral("objects")) {
        const SceneCatalogue& c = mission.sceneCatalogue();
        if (!mission.isLoaded(MissionFile::Scene) || *row >= c.FirstScriptIndex || c.records[*row].isScript)
            return "there is no object at " + at;
        items.scene.push_back(*row);
    } else if (list == QStringLiteral("cached")) {
        if (!mission.isLoaded(MissionFile::Cache) || *row >= mission.cache().records.size())
            return "there is no cached object at " + at;
        items.cache.push_back(*row);
    } else if (list == QStringLiteral("frames")) {
        if (!mission.isLoaded(MissionFile::Model) || *row >= mission.model().frames.size())
            return "there is no frame at " + at;
        items.frames.push_back(*row);
    } else {
        return "the commands do not take items of " + list.toStdString();
    }
    return std::nullopt;
}

} // namespace

std::variant<PlacedItems, std::string> itemsOf(const Mission& mission, const QJSValue& value)
{
    PlacedItems items;
    if (value.isArray()) {
        const auto length = value.property(QStringLiteral("length")).toUInt();
        for (quint32 i = 0; i < length; ++i)
            if (auto problem = addItem(mission, value.property(i), items))
                return *problem;
    } else if (auto problem = addItem(mission, value, items)) {
        return *problem;
    }
    return items;
}

} // namespace mw
