#include "script/ScriptApi.h"

#include <QJSEngine>
#include <cmath>

#include "commands/check/CheckTargets.h"
#include "commands/check/MissionCheck.h"
#include "commands/editing/Deletion.h"
#include "commands/editing/FieldEdit.h"
#include "commands/insertion/InsertEngine.h"
#include "commands/insertion/InsertKinds.h"
#include "commands/objects/CopyPaste.h"
#include "commands/objects/Rename.h"
#include "commands/placing/DropToGround.h"
#include "commands/placing/Placing.h"
#include "formats/model/PlaceholderModel.h"
#include "foundation/files/Paths.h"
#include "foundation/text/Latin1Text.h"
#include "foundation/text/NumericText.h"
#include "mission/Mission.h"
#include "script/ScriptItems.h"
#include "script/ScriptValues.h"

namespace mw {

namespace {

std::string said(std::string_view text, std::string_view title)
{
    return title.empty() ? std::string(text) : std::string(text) + " (" + std::string(title) + ")";
}

// A field's text from a script's value: a number as its shortest text (a negative one set as it
// is, not subtracted), a text as typed ("+2", "*1.5" change each object's own value).
std::optional<std::string> fieldText(const QJSValue& value)
{
    if (value.isNumber()) {
        const double v = value.toNumber();
        return (v < 0 ? "=" : "") + formatDouble(v);
    }
    if (value.isString())
        return value.toString().toStdString();
    return std::nullopt;
}

// The insert dialog's boxes from a script's object, over the dialog's own first values.
InsertForm insertFormOf(const QString& kind, const QJSValue& fields)
{
    InsertForm f;
    f.kind = kind.toStdString();
    f.translationX = f.translationY = f.translationZ = "0";
    f.sizeX = f.sizeY = f.sizeZ = "1";
    f.verticalAngle = "0";
    f.brightness = "1", f.lightDistance = "25";
    f.sex = "17", f.aggression = "0.5", f.humanWeight = "80";
    f.thingWeight = "80";
    f.volume = "1", f.soundDistance = "100";
    const auto text = [&](const char* key, std::string& into) {
        const QJSValue v = fields.property(QString::fromLatin1(key));
        if (!v.isUndefined())
            into = v.isNumber() ? formatDouble(v.toNumber()) : v.toString().toStdString();
    };
    const auto whole = [&](const char* key, int& into) {
        const QJSValue v = fields.property(QString::fromLatin1(key));
        if (v.isNumber())
            into = v.toInt();
    };
    text("name", f.name), text("model", f.model);
    text("x", f.translationX), text("y", f.translationY), text("z", f.translationZ);
    text("sizeX", f.sizeX), text("sizeY", f.sizeY), text("sizeZ", f.sizeZ);
    text("verticalAngle", f.verticalAngle);
    text("brightness", f.brightness), text("lightDistance", f.lightDistance);
    text("red", f.colour[0]), text("green", f.colour[1]), text("blue", f.colour[2]);
    text("thingWeight", f.thingWeight), whole("thingSound", f.thingSound);
    text("aggression", f.aggression), text("humanWeight", f.humanWeight), text("sex", f.sex);
    whole("behaviour", f.behaviour);
    text("soundFile", f.soundFile), text("volume", f.volume), text("soundDistance", f.soundDistance);
    whole("soundKind", f.soundKind), whole("doorSound", f.doorSound);
    f.noScript = fields.property(QStringLiteral("noScript")).toBool();
    if (f.model.empty())
        if (const InsertKind* k = insertKindNamed(f.kind))
            f.model = std::string(k->defaultModel);
    return f;
}

} // namespace

void ScriptPrompter::message(std::string_view text, std::string_view title) { last = said(text, title); }

bool ScriptPrompter::askYesNo(std::string_view text, std::string_view title)
{
    last = said(text, title);
    return false;
}

std::string ScriptTally::text() const
{
    std::string out;
    for (const auto& [what, count] : m_done)
        out += (out.empty() ? "" : ", ") + objectCount(count) + " " + what;
    return out;
}

ScriptApi::ScriptApi(QJSEngine& engine, Mission& mission, ScriptPrompter& prompter, ScriptTally& tally, Sinks sinks)
    : m_engine(engine), m_mission(mission), m_prompter(prompter), m_tally(tally), m_sinks(std::move(sinks))
{
}

QJSValue ScriptApi::objects() const { return listValue(m_engine, m_mission, ScriptList::Objects); }
QJSValue ScriptApi::cached() const { return listValue(m_engine, m_mission, ScriptList::Cached); }
QJSValue ScriptApi::frames() const { return listValue(m_engine, m_mission, ScriptList::Frames); }
QJSValue ScriptApi::bodies() const { return listValue(m_engine, m_mission, ScriptList::Bodies); }

QJSValue ScriptApi::find(const QString& pattern)
{
    bool valid = true;
    QJSValue found = objectsMatching(m_engine, m_mission, pattern, valid);
    if (!valid)
        return refuse(QStringLiteral("find"), "\"" + pattern.toStdString() + "\" is no regular expression");
    return found;
}

QJSValue ScriptApi::check() const { return problemValues(m_engine, checkFiles(loadedFiles(m_mission))); }

bool ScriptApi::hasModelFile(const QString& model)
{
    if (!m_modelFiles) {
        // Names only, at most as many as a game's folder holds.
        constexpr std::size_t MostFiles = 200'000;
        m_modelFiles.emplace();
        std::error_code error;
        if (const auto folder = modelsFolderOf(m_mission.workspace().ScenePath))
            for (auto it = std::filesystem::directory_iterator(*folder, error);
                 !error && it != std::filesystem::directory_iterator() && m_modelFiles->size() < MostFiles; it.increment(error))
                if (it->is_regular_file(error))
                    m_modelFiles->insert(foldedCase(utf8Of(it->path().filename())));
    }
    return m_modelFiles->count(foldedCase(modelFileNameFor(model.toLatin1().toStdString()))) > 0;
}

void ScriptApi::print(const QString& line)
{
    if (m_sinks.print)
        m_sinks.print(line);
}

QJSValue ScriptApi::refuse(const QString& command, const std::string& what)
{
    m_engine.throwError(QJSValue::GenericError, command + QStringLiteral(": ") + QString::fromStdString(what));
    return {};
}

bool ScriptApi::done(const QString& command, const Outcome& outcome)
{
    if (m_sinks.between)
        m_sinks.between();
    if (outcome.done())
        return true;
    std::string why = m_prompter.last.empty() ? std::string("the command was refused") : m_prompter.last;
    if (outcome.ended == Ended::Stale)
        why = std::string(missionFileName(outcome.staleFile)) + " was changed outside the editor";
    refuse(command, why);
    return false;
}

std::optional<double> ScriptApi::number(const QString& command, const QJSValue& value, const char* what)
{
    const double n = value.toNumber();
    if (!value.isNumber() || !std::isfinite(n)) {
        refuse(command, std::string(what) + " must be a number");
        return std::nullopt;
    }
    return n;
}

std::optional<PlacedItems> ScriptApi::itemsArg(const QString& command, const QJSValue& value)
{
    auto found = itemsOf(m_mission, value);
    if (auto* problem = std::get_if<std::string>(&found)) {
        refuse(command, *problem);
        return std::nullopt;
    }
    return std::get<PlacedItems>(std::move(found));
}

QJSValue ScriptApi::move(const QJSValue& items, const QJSValue& dx, const QJSValue& dy, const QJSValue& dz)
{
    const QString command = QStringLiteral("move");
    const auto placed = itemsArg(command, items);
    if (!placed)
        return {};
    const auto x = number(command, dx, "dx"), y = x ? number(command, dy, "dy") : std::nullopt,
               z = y ? number(command, dz, "dz") : std::nullopt;
    if (!z || placed->empty())
        return {};
    const Vec3 offset{static_cast<float>(*x), static_cast<float>(*y), static_cast<float>(*z)};
    if (done(command, moveItems(m_mission, *placed, offset, m_prompter)))
        m_tally.add("moved", placed->size());
    return {};
}

QJSValue ScriptApi::place(const QJSValue& item, const QJSValue& x, const QJSValue& y, const QJSValue& z)
{
    const QString command = QStringLiteral("place");
    const auto placed = itemsArg(command, item);
    if (!placed)
        return {};
    const auto px = number(command, x, "x"), py = px ? number(command, y, "y") : std::nullopt,
               pz = py ? number(command, z, "z") : std::nullopt;
    if (!pz)
        return {};
    std::vector<NewPlace> places = placesOf(m_mission, *placed);
    if (places.size() != 1)
        return refuse(command, "place takes one item that has a translation");
    places.front().translation = {static_cast<float>(*px), static_cast<float>(*py), static_cast<float>(*pz)};
    if (done(command, writePlaces(m_mission, places, "Place 1 object", m_prompter)))
        m_tally.add("placed", 1);
    return {};
}

QJSValue ScriptApi::turn(const QJSValue& items, const QJSValue& degrees)
{
    const QString command = QStringLiteral("turn");
    const auto placed = itemsArg(command, items);
    if (!placed)
        return {};
    const auto d = number(command, degrees, "degrees");
    if (!d || placed->empty())
        return {};
    if (done(command, turnItems(m_mission, *placed, *d, m_prompter)))
        m_tally.add("turned", placed->size());
    return {};
}

QJSValue ScriptApi::dropToGround(const QJSValue& items)
{
    const QString command = QStringLiteral("dropToGround");
    const auto placed = itemsArg(command, items);
    if (!placed)
        return {};
    if (placed->empty())
        return 0;
    const Result<Dropped> dropped = mw::dropToGround(m_mission, *placed, m_prompter);
    // Nothing below any of them is no failure: they stay where they are.
    if (dropped.ended == Ended::Refused && dropped.value.moved == 0 && dropped.value.nothingBelow > 0)
        return 0;
    if (!done(command, dropped))
        return {};
    m_tally.add("dropped to the ground", dropped.value.moved);
    return static_cast<double>(dropped.value.moved);
}

QJSValue ScriptApi::setField(const QJSValue& items, const QString& field, const QJSValue& value)
{
    const QString command = QStringLiteral("setField");
    const auto placed = itemsArg(command, items);
    if (!placed)
        return {};
    const auto which = fieldNamed(field.toStdString());
    if (!which) {
        std::string names;
        for (const FieldInfo& info : allFields())
            names += (names.empty() ? "" : ", ") + std::string(info.name);
        return refuse(command, "no field is named \"" + field.toStdString() + "\"; the fields are " + names);
    }
    const auto text = fieldText(value);
    if (!text)
        return refuse(command, "the value must be a number or a text");
    if (!placed->frames.empty())
        return refuse(command, "a frame has no such field");
    if (placed->empty())
        return 0;
    const Result<FieldsSet> set = mw::setField(m_mission, fieldItemsOf(*placed), *which, *text, m_prompter);
    if (!done(command, set))
        return {};
    m_tally.add("with " + std::string(infoOf(*which).name) + " set", set.value.items);
    return static_cast<double>(set.value.items);
}

QJSValue ScriptApi::duplicate(const QJSValue& items)
{
    const QString command = QStringLiteral("duplicate");
    const auto placed = itemsArg(command, items);
    if (!placed)
        return {};
    if (!placed->cache.empty() || !placed->frames.empty())
        return refuse(command, "only scene objects can be duplicated");
    if (placed->scene.empty())
        return m_engine.newArray();
    const CopiedObjects copied = copyObjects(m_mission, placed->scene);
    PasteOptions options;
    options.stepName = "Duplicate " + objectCount(placed->scene.size());
    const Result<Pasted> pasted = pasteObjects(m_mission, copied.package, m_prompter, options);
    if (!done(command, pasted))
        return {};
    m_tally.add("duplicated", pasted.value.count);
    QJSValue out = m_engine.newArray(static_cast<quint32>(pasted.value.count));
    for (std::uint32_t i = 0; i < pasted.value.count; ++i)
        out.setProperty(i, objectValue(m_engine, m_mission, pasted.value.firstRow + i));
    return out;
}

QJSValue ScriptApi::remove(const QJSValue& items)
{
    const QString command = QStringLiteral("remove");
    const auto placed = itemsArg(command, items);
    if (!placed)
        return {};
    if (!placed->cache.empty() || !placed->frames.empty())
        return refuse(command, "only scene objects can be removed");
    if (placed->scene.empty())
        return 0;
    if (done(command, deleteObjects(m_mission, placed->scene, m_prompter, false)))
        m_tally.add("removed", placed->scene.size());
    return {};
}

QJSValue ScriptApi::insert(const QString& kind, const QJSValue& fields)
{
    const QString command = QStringLiteral("insert");
    if (!insertKindNamed(kind.toStdString())) {
        std::string kinds;
        for (const InsertKind& k : insertKinds())
            kinds += (kinds.empty() ? "" : ", ") + std::string(k.kind);
        return refuse(command, "no kind is named \"" + kind.toStdString() + "\"; the kinds are " + kinds);
    }
    const Outcome inserted = insertObject(m_mission, insertFormOf(kind, fields.isObject() ? fields : m_engine.newObject()), m_prompter);
    if (!done(command, inserted))
        return {};
    m_tally.add("inserted", 1);
    if (inserted.select && inserted.select->all)
        return objectValue(m_engine, m_mission, *inserted.select->all);
    return {};
}

QJSValue ScriptApi::rename(const QJSValue& item, const QString& name)
{
    const QString command = QStringLiteral("rename");
    const auto placed = itemsArg(command, item);
    if (!placed)
        return {};
    if (placed->scene.size() != 1 || placed->size() != 1)
        return refuse(command, "rename takes one scene object");
    if (!done(command, renameObject(m_mission, placed->scene.front(), name.toLatin1().toStdString(), m_prompter)))
        return {};
    m_tally.add("renamed", 1);
    return objectValue(m_engine, m_mission, placed->scene.front());
}

} // namespace mw
