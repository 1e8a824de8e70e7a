#include "commands/editing/ListValueSave.h"

#include "commands/editing/PatchList.h"
#include "commands/editing/Rotation.h"
#include "mission/Mission.h"

namespace mw {

Outcome saveCacheValues(const TransformForm& form, Mission& mission, std::size_t row, Prompter& prompter)
{
    if (row >= mission.cache().records.size())
        return Outcome::refused();
    const CacheRecord& record = mission.cache().records[row];
    Mission::Step step(mission, "Save values of " + std::string(mission.cache().name(row)), prompter);
    const auto checked = checkTransform(form, MissionFile::Cache, prompter);
    if (!checked)
        return Outcome::refused();
    const auto& t = checked->translation;
    const auto& s = checked->size;
    std::array<float, 4> q = form.rotation;
    q[1] = q2FromVerticalAngle(static_cast<float>(checked->verticalAngle));
    const std::uint64_t at = record.TranslationOffset;
    PatchList list;
    list.floats(at, {t[0], t[1], t[2], q[0], q[1], q[2], q[3]});
    list.floats(at ? at + 44 : 0, {s[0], s[1], s[2]});
    const std::uint32_t rows[] = {static_cast<std::uint32_t>(row)};
    const Outcome result = Outcome::of(mission.patch(MissionFile::Cache, list.patches(), prompter, nullptr, rows),
                                       MissionFile::Cache);
    if (result.done())
        step.commit();
    if (result.done() && at)
        mission.keepSavedCacheValues(row, {t[0], t[1], t[2]}, q, {s[0], s[1], s[2]});
    return result;
}

Outcome saveModelValues(const TransformForm& form, const ModelFrame& frame, Mission& mission,
                                Prompter& prompter)
{
    const auto row = static_cast<std::size_t>(&frame - mission.model().frames.data());
    Mission::Step step(mission, "Save values of " + frame.name, prompter);
    const auto checked = checkTransform(form, MissionFile::Model, prompter);
    if (!checked)
        return Outcome::refused();
    const auto& t = checked->translation;
    PatchList list;
    list.floats(frame.TranslationOffset, {t[0], t[1], t[2]});
    const std::uint32_t rows[] = {static_cast<std::uint32_t>(row)};
    const Outcome result = Outcome::of(mission.patch(MissionFile::Model, list.patches(), prompter, nullptr, rows),
                                       MissionFile::Model);
    if (result.done())
        step.commit();
    if (result.done() && frame.TranslationOffset)
        mission.keepSavedModelPosition(row, {t[0], t[1], t[2]});
    return result;
}

Outcome saveCollisionValues(const TransformForm& form, std::optional<int> material, Mission& mission,
                                    std::size_t row, Prompter& prompter)
{
    if (row >= mission.tree().bodyCount())
        return Outcome::refused();
    CollisionBody body = mission.tree().body(row); // what it shows after the save
    Mission::Step step(mission, "Save values of " + mission.tree().listText(row), prompter);
    const auto checked = checkTransform(form, MissionFile::Tree, prompter);
    if (!checked)
        return Outcome::refused();
    const auto [x, y, z] = checked->translation;
    const auto [sx, sy, sz] = checked->size;
    const std::uint64_t c = body.CollisionItemOffset;
    if (c < 5)
        return Outcome::refused();
    PatchList list;
    if (material)
        list.u8(c - 5, static_cast<std::uint8_t>(*material));
    const std::string_view tag = body.CollisionKindTag;
    bool centre = true, extent = true; // what the write changes of the shown values
    if (tag == "SC" || tag == "SR") {
        list.floats(c, {x - sx / 2, y - sy / 2, z - sz / 2, x + sx / 2, y + sy / 2, z + sz / 2});
        if (tag == "SR")
            list.floats(c + 96, {x, y, z});
    } else if (tag == "CY") {
        list.floats(c, {x});
        list.floats(c + 4, {z});
        extent = false;
    } else if (tag == "BI") {
        list.floats(c, {sz / 2, sx / 2, sy / 2, sz / 2, sx / 2, sy / 2});
        list.floats(c + 72, {x, y, z});
    } else if (tag == "SP") {
        list.floats(c, {x, y, z});
        extent = false;
    } else {
        centre = extent = false;
    }
    const std::uint32_t rows[] = {static_cast<std::uint32_t>(row)};
    const Outcome result = Outcome::of(mission.patch(MissionFile::Tree, list.patches(), prompter, nullptr, rows),
                                       MissionFile::Tree);
    if (result.done()) {
        step.commit();
        if (material)
            body.material = static_cast<std::uint8_t>(*material);
        if (centre)
            body.position = tag == "CY" ? Vec3{x, body.position.y, z} : Vec3{x, y, z};
        if (extent)
            body.size = {sx, sy, sz};
        mission.keepSavedBody(row, body);
    }
    return result;
}

} // namespace mw
