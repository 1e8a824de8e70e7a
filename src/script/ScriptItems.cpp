#include "script/ScriptItems.h"

#include <cmath>
#include <set>
#include <utility>

#include "mission/Mission.h"
#include "script/ScriptValues.h"

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

// Adds one item (once, however often it is named); the reason when it names nothing there is, or
// a value read before a command moved the rows under it.
std::optional<std::string> addItem(const Mission& mission, const QJSValue& value, PlacedItems& items,
                                   std::set<std::pair<int, std::uint32_t>>& named)
{
    QString list = QStringLiteral("objects");
    std::optional<std::uint32_t> row = rowOf(value);
    std::optional<QString> name;
    if (!row && value.isObject()) {
        row = rowOf(value.property(QStringLiteral("row")));
        if (value.hasProperty(QStringLiteral("list")))
            list = value.property(QStringLiteral("list")).toString();
        if (const QJSValue n = value.property(QStringLiteral("name")); n.isString())
            name = n.toString();
    }
    if (!row)
        return "an item is a row number or a value read from mission.objects, .cached or .frames, not " +
               value.toString().left(40).toStdString();
    const std::string at = list.toStdString() + " row " + std::to_string(*row);
    QString nameThere;
    int which = 0;
    if (list == QStringLiteral("objects")) {
        const SceneCatalogue& c = mission.sceneCatalogue();
        if (!mission.isLoaded(MissionFile::Scene) || !c.isObject(*row))
            return "there is no object at " + at;
        nameThere = latin1Text(c.name(*row));
    } else if (list == QStringLiteral("cached")) {
        if (!mission.isLoaded(MissionFile::Cache) || *row >= mission.cache().records.size())
            return "there is no cached object at " + at;
        nameThere = latin1Text(mission.cache().name(*row));
        which = 1;
    } else if (list == QStringLiteral("frames")) {
        if (!mission.isLoaded(MissionFile::Model) || *row >= mission.model().frames.size())
            return "there is no frame at " + at;
        nameThere = latin1Text(mission.model().frames[*row].name);
        which = 2;
    } else {
        return "the commands do not take items of " + list.toStdString();
    }
    if (name && *name != nameThere)
        return "\"" + name->toStdString() + "\" is no longer at " + at +
               " (rows change when objects are inserted or removed: read the lists again)";
    if (!named.insert({which, *row}).second)
        return std::nullopt;
    auto& rows = which == 0 ? items.scene : which == 1 ? items.cache : items.frames;
    rows.push_back(*row);
    return std::nullopt;
}

} // namespace

std::variant<PlacedItems, std::string> itemsOf(const Mission& mission, const QJSValue& value)
{
    PlacedItems items;
    std::set<std::pair<int, std::uint32_t>> named;
    if (value.isArray()) {
        const auto length = value.property(QStringLiteral("length")).toUInt();
        for (quint32 i = 0; i < length; ++i)
            if (auto problem = addItem(mission, value.property(i), items, named))
                return *problem;
    } else if (auto problem = addItem(mission, value, items, named)) {
        return *problem;
    }
    return items;
}

} // namespace mw
