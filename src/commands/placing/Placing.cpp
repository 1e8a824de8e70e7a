#include "commands/placing/Placing.h"

#include <cmath>

#include "commands/editing/Deletion.h"
#include "commands/editing/PatchList.h"
#include "commands/editing/Rotation.h"
#include "mission/Mission.h"

namespace mw {

namespace {

// The two stored components the first slider drives.
struct Heading {
    std::array<float, 2> components;
};

std::optional<Heading> headingOf(const Mission& mission, MissionFile file, std::uint32_t row)
{
    if (file == MissionFile::Scene) {
        const SceneCatalogue& scene = mission.sceneCatalogue();
        if (scene.records[row].RotationOffset == 0)
            return std::nullopt;
        const auto q = scene.rotation(row);
        return Heading{{q[0], q[2]}};
    }
    if (file == MissionFile::Cache) {
        const auto& q = mission.cache().records[row].rotation;
        return Heading{{q[0], q[1]}};
    }
    return std::nullopt;
}

} // namespace

std::vector<NewPlace> placesOf(const Mission& mission, const PlacedItems& items)
{
    std::vector<NewPlace> places;
    places.reserve(items.size());
    if (mission.isLoaded(MissionFile::Scene)) {
        const SceneCatalogue& scene = mission.sceneCatalogue();
        for (const std::uint32_t row : items.scene)
            if (row < scene.FirstScriptIndex && row < scene.entryCount() && !scene.records[row].isScript &&
                scene.records[row].TranslationOffset != 0)
                places.push_back({MissionFile::Scene, row, scene.translation(row), std::nullopt});
    }
    if (mission.isLoaded(MissionFile::Cache)) {
        const auto& records = mission.cache().records;
        for (const std::uint32_t row : items.cache)
            if (row < records.size() && records[row].TranslationOffset != 0)
                places.push_back({MissionFile::Cache, row, records[row].position, std::nullopt});
    }
    if (mission.isLoaded(MissionFile::Model)) {
        const auto& frames = mission.model().frames;
        for (const std::uint32_t row : items.frames)
            if (row < frames.size() && frames[row].TranslationOffset != 0)
                places.push_back({MissionFile::Model, row, frames[row].position, std::nullopt});
    }
    return places;
}

std::optional<Vec3> centreOf(const std::vector<NewPlace>& places)
{
    double x = 0, y = 0, z = 0;
    std::size_t counted = 0;
    for (const NewPlace& p : places) {
        if (!withinWorld(p.translation))
            continue;
        x += p.translation.x;
        y += p.translation.y;
        z += p.translation.z;
        ++counted;
    }
    if (counted == 0)
        return std::nullopt;
    const auto n = static_cast<double>(counted);
    return Vec3{static_cast<float>(x / n), static_cast<float>(y / n), static_cast<float>(z / n)};
}

NewPlace turned(const Mission& mission, const NewPlace& place, Vec3 pivot, double degrees)
{
    NewPlace out = place;
    const double a = degrees * pi() / 180.0, s = std::sin(a), c = std::cos(a);
    const double dx = place.translation.x - pivot.x, dz = place.translation.z - pivot.z;
    // +z towards +x: x' = x cos a + z sin a, z' = -x sin a + z cos a.
    out.translation.x = static_cast<float>(pivot.x + dx * c + dz * s);
    out.translation.z = static_cast<float>(pivot.z - dx * s + dz * c);
    if (const auto h = headingOf(mission, place.file, place.row)) {
        // To a ten-thousandth of a degree, about what two stored floats hold: a turn from a whole
        // slider angle by a whole angle lands on the slider's own components.
        const double angle = firstSliderAngleOf(h->components[0], h->components[1]) + degrees / 2;
        out.heading = firstSliderComponentsAt(std::round(angle * 1e4) / 1e4);
    }
    return out;
}

Outcome writePlaces(Mission& mission, const std::vector<NewPlace>& places, const std::string& name, Prompter& prompter)
{
    if (places.empty())
        return Outcome::refused();
    PatchList scene, cache, model;
    std::vector<std::uint32_t> sceneRows, cacheRows, modelRows;
    for (const NewPlace& p : places) {
        const Vec3& t = p.translation;
        switch (p.file) {
        case MissionFile::Scene: {
            const SceneRecord& r = mission.sceneCatalogue().records[p.row];
            scene.floats(r.TranslationOffset, {t.x, t.y, t.z});
            if (p.heading && r.RotationOffset) {
                scene.floats(r.RotationOffset, {(*p.heading)[0]});
                scene.floats(r.RotationOffset + 8ull, {(*p.heading)[1]});
            }
            sceneRows.push_back(p.row);
            break;
        }
        case MissionFile::Cache: {
            const std::uint64_t at = mission.cache().records[p.row].TranslationOffset;
            cache.floats(at, {t.x, t.y, t.z});
            if (p.heading)
                cache.floats(at + 12, {(*p.heading)[0], (*p.heading)[1]});
            cacheRows.push_back(p.row);
            break;
        }
        case MissionFile::Model:
            model.floats(mission.model().frames[p.row].TranslationOffset, {t.x, t.y, t.z});
            modelRows.push_back(p.row);
            break;
        case MissionFile::Tree:
        case MissionFile::Route:
            break;
        }
    }
    return runStep(mission, name, prompter, [&] {
        const struct {
            MissionFile file;
            const PatchList& list;
            const std::vector<std::uint32_t>& rows;
        } writes[] = {{MissionFile::Scene, scene, sceneRows}, {MissionFile::Cache, cache, cacheRows}, {MissionFile::Model, model, modelRows}};
        for (const auto& w : writes) {
            if (w.rows.empty())
                continue;
            const Outcome written = Outcome::of(mission.patch(w.file, w.list.patches(), prompter, nullptr, w.rows), w.file);
            if (!written.done())
                return written;
        }
        // The readers of the cache and the model file keep copies of the values: they show what was
        // written.
        for (const NewPlace& p : places) {
            if (p.file == MissionFile::Cache) {
                const CacheRecord& r = mission.cache().records[p.row];
                mission.keepSavedCacheValues(p.row, p.translation, *rotationAfter(mission, p), r.size);
            } else if (p.file == MissionFile::Model) {
                mission.keepSavedModelPosition(p.row, p.translation);
            }
        }
        return Outcome::doneWith(); // the selection stays as it is
    });
}

std::vector<NewPlace> movedPlaces(const Mission& mission, const PlacedItems& items, Vec3 offset)
{
    std::vector<NewPlace> places = placesOf(mission, items);
    for (NewPlace& p : places)
        p.translation += offset;
    return places;
}

Outcome moveItems(Mission& mission, const PlacedItems& items, Vec3 offset, Prompter& prompter)
{
    const std::vector<NewPlace> places = movedPlaces(mission, items, offset);
    return writePlaces(mission, places, "Move " + objectCount(places.size()), prompter);
}

std::vector<NewPlace> turnedPlaces(const Mission& mission, const PlacedItems& items, double degrees)
{
    std::vector<NewPlace> places = placesOf(mission, items);
    const auto pivot = centreOf(places);
    if (!pivot)
        return {};
    for (NewPlace& p : places)
        p = turned(mission, p, places.size() == 1 ? p.translation : *pivot, degrees);
    return places;
}

Outcome turnItems(Mission& mission, const PlacedItems& items, double degrees, Prompter& prompter)
{
    const std::vector<NewPlace> places = turnedPlaces(mission, items, degrees);
    return writePlaces(mission, places, "Turn " + objectCount(places.size()), prompter);
}

std::optional<std::array<float, 4>> rotationAfter(const Mission& mission, const NewPlace& place)
{
    std::array<float, 4> q;
    switch (place.file) {
    case MissionFile::Scene: {
        const SceneCatalogue& scene = mission.sceneCatalogue();
        if (place.row >= scene.entryCount() || scene.records[place.row].RotationOffset == 0)
            return std::nullopt;
        q = scene.rotation(place.row);
        if (place.heading) {
            q[0] = (*place.heading)[0]; // q1 and q3, where writePlaces puts them
            q[2] = (*place.heading)[1];
        }
        return q;
    }
    case MissionFile::Cache:
        if (place.row >= mission.cache().records.size())
            return std::nullopt;
        q = mission.cache().records[place.row].rotation;
        if (place.heading) {
            q[0] = (*place.heading)[0]; // q1 and q2
            q[1] = (*place.heading)[1];
        }
        return q;
    default:
        return std::nullopt;
    }
}

} // namespace mw
