#include "script/ScriptApi.h"

#include <QJSEngine>
#include <algorithm>
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

bool isLatin1(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 256; });
}

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
        return value.toString().toLatin1().toStdString();
    return std::nullopt;
}

// The insert dialog's boxes from a script's object, over the dialog's own first values; the name
// of the first text that is not Latin-1 in `notLatin1`.
InsertForm insertFormOf(const QString& kind, const QJSValue& fields, std::string& notLatin1)
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
        if (v.isUndefined())
            return;
        if (v.isNumber()) {
            into = formatDouble(v.toNumber());
            return;
        }
        const QString t = v.toString();
        if (!isLatin1(t) && notLatin1.empty())
            notLatin1 = key;
        into = t.toLatin1().toStdString();
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

ScriptApi::ScriptApi(QJSEngine& engine, Mission& mission, ScriptPrompter& prompter, ScriptTally& tally, Sinks sinks,
                     QString fileName)
    : m_engine(engine), m_mission(mission), m_prompter(prompter), m_tally(tally), m_sinks(std::move(sinks)),
      m_fileName(std::move(fileName))
{
}

template <class Command>
QJSValue ScriptApi::command(const QString& name, Command&& body)
{
    // A command answers for itself: what an earlier one said is no reason for this one's refusal.
    m_prompter.last.clear();
    m_lists.fill(QJSValue());
    if (m_refusal)
        return refuse(name, "an earlier command was refused");
    try {
        return body();
    } catch (const std::exception& error) {
        return refuse(name, error.what());
    }
}

QJSValue ScriptApi::list(ScriptList which)
{
    QJSValue& kept = m_lists[static_cast<std::size_t>(which)];
    if (kept.isUndefined()) {
        kept = listValue(m_engine, m_mission, which);
        if (m_sinks.between)
            m_sinks.between();
    }
    return kept;
}

QJSValue ScriptApi::objects() { return list(ScriptList::Objects); }
QJSValue ScriptApi::cached() { return list(ScriptList::Cached); }
QJSValue ScriptApi::frames() { return list(ScriptList::Frames); }
QJSValue ScriptApi::bodies() { return list(ScriptList::Bodies); }

QJSValue ScriptApi::check() { return problemValues(m_engine, checkFiles(loadedFiles(m_mission))); }

bool ScriptApi::hasModelFile(const QString& model)
{
    if (!m_modelFolder)
        m_modelFolder.emplace(m_mission.workspace().ScenePath);
    return m_modelFolder->find(modelFileNameFor(model.toLatin1().toStdString())).has_value();
}

void ScriptApi::print(const QString& line)
{
    if (m_sinks.print)
        m_sinks.print(line);
    if (m_sinks.between)
        m_sinks.between();
}

QJSValue ScriptApi::refuse(const QString& command, const std::string& what)
{
    const QString message = command + QStringLiteral(": ") + QString::fromStdString(what);
    if (!m_refusal)
        m_refusal = ScriptStop{m_fileName, 0, message};
    m_engine.throwError(QJSValue::GenericError, message);
    return {};
}

void ScriptApi::refusedAt(const QString& stack)
{
    if (!m_refusal || m_refusal->line > 0)
        return;
    // "at function (file:line:column)" or "function@file:line:column", one frame a line: the first
    // frame of the script itself.
    for (const QString& frame : stack.split(QLatin1Char('\n'))) {
        const qsizetype at = frame.indexOf(m_fileName + QLatin1Char(':'));
        if (at < 0)
            continue;
        const QString rest = frame.mid(at + m_fileName.size() + 1);
        bool ok = false;
        const int line = rest.section(QLatin1Char(':'), 0, 0).toInt(&ok);
        if (ok && line > 0) {
            m_refusal->line = line;
            return;
        }
    }
}

std::optional<std::string> ScriptApi::latin1(const QString& command, const QString& text, const char* what)
{
    if (!isLatin1(text)) {
        refuse(command, std::string(what) + " holds characters that the game's files cannot store");
        return std::nullopt;
    }
    return text.toLatin1().toStdString();
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
    const QString name = QStringLiteral("move");
    return command(name, [&]() -> QJSValue {
        const auto placed = itemsArg(name, items);
        if (!placed)
            return {};
        const auto x = number(name, dx, "dx"), y = x ? number(name, dy, "dy") : std::nullopt,
                   z = y ? number(name, dz, "dz") : std::nullopt;
        if (!z || placed->empty())
            return {};
        const Vec3 offset{static_cast<float>(*x), static_cast<float>(*y), static_cast<float>(*z)};
        if (done(name, moveItems(m_mission, *placed, offset, m_prompter)))
            m_tally.add("moved", placed->size());
        return {};
    });
}

QJSValue ScriptApi::place(const QJSValue& item, const QJSValue& x, const QJSValue& y, const QJSValue& z)
{
    const QString name = QStringLiteral("place");
    return command(name, [&]() -> QJSValue {
        const auto placed = itemsArg(name, item);
        if (!placed)
            return {};
        const auto px = number(name, x, "x"), py = px ? number(name, y, "y") : std::nullopt,
                   pz = py ? number(name, z, "z") : std::nullopt;
        if (!pz)
            return {};
        std::vector<NewPlace> places = placesOf(m_mission, *placed);
        if (places.size() != 1)
            return refuse(name, "place takes one item that has a translation");
        places.front().translation = {static_cast<float>(*px), static_cast<float>(*py), static_cast<float>(*pz)};
        if (done(name, writePlaces(m_mission, places, "Place 1 object", m_prompter)))
            m_tally.add("placed", 1);
        return {};
    });
}

QJSValue ScriptApi::turn(const QJSValue& items, const QJSValue& degrees)
{
    const QString name = QStringLiteral("turn");
    return command(name, [&]() -> QJSValue {
        const auto placed = itemsArg(name, items);
        if (!placed)
            return {};
        const auto d = number(name, degrees, "degrees");
        if (!d || placed->empty())
            return {};
        if (done(name, turnItems(m_mission, *placed, *d, m_prompter)))
            m_tally.add("turned", placed->size());
        return {};
    });
}

QJSValue ScriptApi::dropToGround(const QJSValue& items)
{
    const QString name = QStringLiteral("dropToGround");
    return command(name, [&]() -> QJSValue {
        const auto placed = itemsArg(name, items);
        if (!placed)
            return {};
        if (placed->empty())
            return 0;
        const Result<Dropped> dropped = mw::dropToGround(m_mission, *placed, m_prompter);
        // Nothing below any of them is no failure: they stay where they are.
        if (dropped.ended == Ended::Refused && dropped.value.moved == 0 && dropped.value.nothingBelow > 0)
            return 0;
        if (!done(name, dropped))
            return {};
        m_tally.add("dropped to the ground", dropped.value.moved);
        return static_cast<double>(dropped.value.moved);
    });
}

QJSValue ScriptApi::setField(const QJSValue& items, const QString& field, const QJSValue& value)
{
    const QString name = QStringLiteral("setField");
    return command(name, [&]() -> QJSValue {
        const auto placed = itemsArg(name, items);
        if (!placed)
            return {};
        const auto which = fieldNamed(field.toStdString());
        if (!which) {
            std::string names;
            for (const FieldInfo& info : allFields())
                names += (names.empty() ? "" : ", ") + std::string(info.name);
            return refuse(name, "no field is named \"" + field.toStdString() + "\"; the fields are " + names);
        }
        if (value.isString() && !latin1(name, value.toString(), "the value"))
            return {};
        const auto text = fieldText(value);
        if (!text)
            return refuse(name, "the value must be a number or a text");
        if (!placed->frames.empty())
            return refuse(name, "a frame has no such field");
        if (placed->empty())
            return 0;
        const Result<FieldsSet> set = mw::setField(m_mission, fieldItemsOf(*placed), *which, *text, m_prompter);
        if (!done(name, set))
            return {};
        m_tally.add("with " + std::string(infoOf(*which).name) + " set", set.value.items);
        return static_cast<double>(set.value.items);
    });
}

QJSValue ScriptApi::duplicate(const QJSValue& items)
{
    const QString name = QStringLiteral("duplicate");
    return command(name, [&]() -> QJSValue {
        const auto placed = itemsArg(name, items);
        if (!placed)
            return {};
        if (!placed->cache.empty() || !placed->frames.empty())
            return refuse(name, "only scene objects can be duplicated");
        if (placed->scene.empty())
            return m_engine.newArray();
        const CopiedObjects copied = copyObjects(m_mission, placed->scene);
        PasteOptions options;
        options.stepName = "Duplicate " + objectCount(placed->scene.size());
        const Result<Pasted> pasted = pasteObjects(m_mission, copied.package, m_prompter, options);
        if (!done(name, pasted))
            return {};
        m_tally.add("duplicated", pasted.value.count);
        QJSValue out = m_engine.newArray(static_cast<quint32>(pasted.value.count));
        for (std::uint32_t i = 0; i < pasted.value.count; ++i)
            out.setProperty(i, objectValue(m_engine, m_mission, pasted.value.firstRow + i));
        return out;
    });
}

QJSValue ScriptApi::remove(const QJSValue& items)
{
    const QString name = QStringLiteral("remove");
    return command(name, [&]() -> QJSValue {
        const auto placed = itemsArg(name, items);
        if (!placed)
            return {};
        if (!placed->cache.empty() || !placed->frames.empty())
            return refuse(name, "only scene objects can be removed");
        if (placed->scene.empty())
            return 0;
        if (done(name, deleteObjects(m_mission, placed->scene, m_prompter, false)))
            m_tally.add("removed", placed->scene.size());
        return {};
    });
}

QJSValue ScriptApi::insert(const QString& kind, const QJSValue& fields)
{
    const QString name = QStringLiteral("insert");
    return command(name, [&]() -> QJSValue {
        if (!insertKindNamed(kind.toStdString())) {
            std::string kinds;
            for (const InsertKind& k : insertKinds())
                kinds += (kinds.empty() ? "" : ", ") + std::string(k.kind);
            return refuse(name, "no kind is named \"" + kind.toStdString() + "\"; the kinds are " + kinds);
        }
        std::string notLatin1;
        const InsertForm form = insertFormOf(kind, fields.isObject() ? fields : m_engine.newObject(), notLatin1);
        if (!notLatin1.empty())
            return refuse(name, notLatin1 + " holds characters that the game's files cannot store");
        const Outcome inserted = insertObject(m_mission, form, m_prompter);
        if (!done(name, inserted))
            return {};
        m_tally.add("inserted", 1);
        if (inserted.select && inserted.select->all)
            return objectValue(m_engine, m_mission, *inserted.select->all);
        return {};
    });
}

QJSValue ScriptApi::rename(const QJSValue& item, const QString& newName)
{
    const QString name = QStringLiteral("rename");
    return command(name, [&]() -> QJSValue {
        const auto placed = itemsArg(name, item);
        if (!placed)
            return {};
        if (placed->scene.size() != 1 || placed->size() != 1)
            return refuse(name, "rename takes one scene object");
        const auto text = latin1(name, newName, "the name");
        if (!text)
            return {};
        if (!done(name, renameObject(m_mission, placed->scene.front(), *text, m_prompter)))
            return {};
        m_tally.add("renamed", 1);
        return objectValue(m_engine, m_mission, placed->scene.front());
    });
}

} // namespace mw
