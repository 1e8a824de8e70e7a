#include "script/ScriptValues.h"

#include <QJSEngine>
#include <charconv>
#include <cmath>

#include "commands/check/CheckReport.h"
#include "commands/editing/SelectionFields.h"
#include "foundation/text/Latin1Text.h"
#include "mission/Mission.h"

namespace mw {

namespace {

// A stored 32-bit float as the number its shortest text says (4.2, not 4.199999809265137), as
// the inspector shows it.
double shown(double value)
{
    const float f = static_cast<float>(value);
    if (!std::isfinite(f) || static_cast<double>(f) != value)
        return value;
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, f).ptr;
    double out = value;
    std::from_chars(text, end, out);
    return out;
}

QJSValue vec3(QJSEngine& engine, Vec3 v)
{
    QJSValue out = engine.newObject();
    out.setProperty(QStringLiteral("x"), shown(v.x));
    out.setProperty(QStringLiteral("y"), shown(v.y));
    out.setProperty(QStringLiteral("z"), shown(v.z));
    return out;
}

QJSValue floats(QJSEngine& engine, std::span<const float> values)
{
    QJSValue out = engine.newArray(static_cast<quint32>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i)
        out.setProperty(static_cast<quint32>(i), shown(values[i]));
    return out;
}

QJSValue entry(QJSEngine& engine, const char* list, std::uint32_t row)
{
    QJSValue out = engine.newObject();
    out.setProperty(QStringLiteral("list"), QString::fromLatin1(list));
    out.setProperty(QStringLiteral("row"), row);
    return out;
}

QString kindOf(const SceneRecord& r)
{
    switch (r.typeCode) {
    case typecode::Light: return QStringLiteral("light");
    case typecode::Sound: return r.sound != SceneRecord::NoRow ? QStringLiteral("sound") : QStringLiteral("car");
    case typecode::ScriptedObject: return QStringLiteral("script");
    case typecode::Door: return QStringLiteral("door");
    case typecode::Human: return QStringLiteral("human");
    case typecode::PhysicalThing: return QStringLiteral("thing");
    case typecode::Tommy: return QStringLiteral("player");
    case typecode::None: return QStringLiteral("none");
    default: return QStringLiteral("other");
    }
}

QJSValue cachedValue(QJSEngine& engine, const Mission& mission, std::uint32_t row)
{
    const CacheRecord& r = mission.cache().records[row];
    QJSValue out = entry(engine, "cached", row);
    out.setProperty(QStringLiteral("name"), latin1Text(mission.cache().name(row)));
    out.setProperty(QStringLiteral("isBase"), r.baseRecord);
    if (r.TranslationOffset == 0)
        return out;
    out.setProperty(QStringLiteral("position"), vec3(engine, r.position));
    out.setProperty(QStringLiteral("rotation"), floats(engine, r.rotation));
    out.setProperty(QStringLiteral("size"), vec3(engine, r.size));
    if (const auto heading = fieldValue(mission, {MissionFile::Cache, row}, Field::Heading))
        out.setProperty(QStringLiteral("heading"), shown(*heading));
    return out;
}

QJSValue frameValue(QJSEngine& engine, const Mission& mission, std::uint32_t row)
{
    const ModelFrame& f = mission.model().frames[row];
    QJSValue out = entry(engine, "frames", row);
    out.setProperty(QStringLiteral("name"), latin1Text(f.name));
    out.setProperty(QStringLiteral("position"), vec3(engine, f.position));
    out.setProperty(QStringLiteral("rotation"), floats(engine, f.rotation));
    return out;
}

QJSValue bodyValue(QJSEngine& engine, const Mission& mission, std::uint32_t row)
{
    const CollisionLoadResult& tree = mission.tree();
    const CollisionBody& b = tree.body(row);
    QJSValue out = entry(engine, "bodies", row);
    out.setProperty(QStringLiteral("name"), latin1Text(tree.listText(row)));
    out.setProperty(QStringLiteral("kind"), latin1Text(b.CollisionKindTag));
    out.setProperty(QStringLiteral("link"), latin1Text(tree.linkName(row)));
    out.setProperty(QStringLiteral("material"), b.material);
    if (b.placed) {
        out.setProperty(QStringLiteral("position"), vec3(engine, b.position));
        out.setProperty(QStringLiteral("rotation"), floats(engine, b.rotation));
        out.setProperty(QStringLiteral("size"), vec3(engine, b.size));
    }
    return out;
}

template <class Each>
QJSValue arrayOf(QJSEngine& engine, std::size_t count, Each each)
{
    QJSValue out = engine.newArray(static_cast<quint32>(count));
    for (std::size_t i = 0; i < count; ++i)
        out.setProperty(static_cast<quint32>(i), each(static_cast<std::uint32_t>(i)));
    return out;
}

} // namespace

QJSValue objectValue(QJSEngine& engine, const Mission& mission, std::uint32_t row)
{
    const SceneCatalogue& c = mission.sceneCatalogue();
    const SceneRecord& r = c.records[row];
    QJSValue out = entry(engine, "objects", row);
    out.setProperty(QStringLiteral("name"), latin1Text(c.name(row)));
    out.setProperty(QStringLiteral("kind"), kindOf(r));
    out.setProperty(QStringLiteral("type"), r.typeCode);
    out.setProperty(QStringLiteral("model"), latin1Text(c.model(row)));
    out.setProperty(QStringLiteral("link"), latin1Text(c.link(row)));
    out.setProperty(QStringLiteral("hasScript"), r.hasScript);
    if (r.TranslationOffset)
        out.setProperty(QStringLiteral("position"), vec3(engine, c.translation(row)));
    if (r.RotationOffset)
        out.setProperty(QStringLiteral("rotation"), floats(engine, c.rotation(row)));
    if (r.SizeOffset)
        out.setProperty(QStringLiteral("size"), vec3(engine, c.size(row)));
    for (const FieldInfo& info : allFields()) {
        if (info.owner == FieldOwner::Any && info.field != Field::Heading)
            continue; // in position and size
        if (const auto value = fieldValue(mission, {MissionFile::Scene, row}, info.field))
            out.setProperty(QString::fromLatin1(info.name), shown(*value));
    }
    return out;
}

QJSValue listValue(QJSEngine& engine, const Mission& mission, ScriptList list)
{
    switch (list) {
    case ScriptList::Objects:
        if (!mission.isLoaded(MissionFile::Scene))
            return engine.newArray();
        return arrayOf(engine, mission.sceneCatalogue().FirstScriptIndex,
                       [&](std::uint32_t row) { return objectValue(engine, mission, row); });
    case ScriptList::Cached:
        return arrayOf(engine, mission.isLoaded(MissionFile::Cache) ? mission.cache().records.size() : 0,
                       [&](std::uint32_t row) { return cachedValue(engine, mission, row); });
    case ScriptList::Frames:
        return arrayOf(engine, mission.isLoaded(MissionFile::Model) ? mission.model().frames.size() : 0,
                       [&](std::uint32_t row) { return frameValue(engine, mission, row); });
    case ScriptList::Bodies:
        return arrayOf(engine, mission.isLoaded(MissionFile::Tree) ? mission.tree().bodyCount() : 0,
                       [&](std::uint32_t row) { return bodyValue(engine, mission, row); });
    }
    return engine.newArray();
}

QJSValue problemValues(QJSEngine& engine, const CheckReport& report)
{
    return arrayOf(engine, report.problems.size(), [&](std::uint32_t i) {
        const Problem& p = report.problems[i];
        QJSValue out = engine.newObject();
        out.setProperty(QStringLiteral("severity"), p.severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning"));
        out.setProperty(QStringLiteral("file"), QString::fromStdString(p.file));
        if (p.offset)
            out.setProperty(QStringLiteral("offset"), static_cast<double>(*p.offset));
        if (p.row)
            out.setProperty(QStringLiteral("row"), *p.row);
        out.setProperty(QStringLiteral("message"), QString::fromStdString(p.message));
        return out;
    });
}

QString latin1Text(std::string_view bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace mw
