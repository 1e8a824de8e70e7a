#include "script/ScriptRun.h"

#include <QFileInfo>
#include <QJSEngine>
#include <QJSValueIterator>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "foundation/files/FileAccess.h"
#include "foundation/files/Paths.h"
#include "mission/Mission.h"
#include "script/ScriptApi.h"

namespace mw {

QString readScriptSource(const std::filesystem::path& path)
{
    constexpr std::uintmax_t LargestScript = 16u * 1024u * 1024u;
    std::error_code error;
    if (!fileExists(path) || std::filesystem::file_size(path, error) > LargestScript || error)
        throw IoError("cannot read " + utf8Of(path));
    const std::vector<std::uint8_t> source = readWholeFile(path);
    return QString::fromUtf8(reinterpret_cast<const char*>(source.data()), static_cast<qsizetype>(source.size()));
}

namespace {

// The script's names: `mission` and the commands, over the interface object, which the script
// itself never sees; each becomes a global.
constexpr const char* Prelude = R"js(
(function (api) {
    "use strict";
    const shown = (v) => (typeof v === "object" && v !== null ? JSON.stringify(v) : String(v));
    // A refused command throws; where the script called it is kept, even when the script
    // catches what it threw (the run stops there all the same).
    const refused = (e) => {
        api.refusedAt(String(e && e.stack || ""));
        return e;
    };
    const find = (pattern) => {
        let expression;
        try {
            expression = pattern instanceof RegExp ? new RegExp(pattern.source, pattern.flags.replace(/[gy]/g, ""))
                                                   : new RegExp(String(pattern));
        } catch (e) {
            throw new Error("find: \"" + String(pattern) + "\" is no regular expression");
        }
        return api.objects().filter((o) => expression.test(o.name));
    };
    return {
        mission: Object.freeze({
            get objects() { return api.objects(); },
            get cached() { return api.cached(); },
            get frames() { return api.frames(); },
            get bodies() { return api.bodies(); },
            find,
            check: () => api.check(),
            hasModelFile: (model) => api.hasModelFile(String(model)),
        }),
        print: (...values) => api.print(values.map(shown).join(" ")),
        move: (items, dx, dy, dz) => { try { return api.move(items, dx, dy, dz); } catch (e) { throw refused(e); } },
        place: (item, x, y, z) => { try { return api.place(item, x, y, z); } catch (e) { throw refused(e); } },
        turn: (items, degrees) => { try { return api.turn(items, degrees); } catch (e) { throw refused(e); } },
        dropToGround: (items) => { try { return api.dropToGround(items); } catch (e) { throw refused(e); } },
        setField: (items, field, value) => { try { return api.setField(items, String(field), value); } catch (e) { throw refused(e); } },
        duplicate: (items) => { try { return api.duplicate(items); } catch (e) { throw refused(e); } },
        remove: (items) => { try { return api.remove(items); } catch (e) { throw refused(e); } },
        insert: (kind, fields) => { try { return api.insert(String(kind), fields); } catch (e) { throw refused(e); } },
        rename: (item, name) => { try { return api.rename(item, String(name)); } catch (e) { throw refused(e); } },
    };
})
)js";

// Interrupts the engine when the time is up, from a thread of its own.
class Watchdog {
public:
    Watchdog(QJSEngine& engine, std::chrono::milliseconds limit)
        : m_thread([this, &engine, limit] {
              std::unique_lock lock(m_mutex);
              if (!m_ended.wait_for(lock, limit, [this] { return m_done; })) {
                  m_fired = true;
                  engine.setInterrupted(true);
              }
          })
    {
    }
    ~Watchdog() { finish(); }
    // True when the time ran out.
    bool finish()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_ended.notify_one();
        if (m_thread.joinable())
            m_thread.join();
        return m_fired;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_done = false;
    bool m_fired = false;
    std::thread m_thread;
};

QString seconds(std::chrono::milliseconds limit)
{
    const double s = static_cast<double>(limit.count()) / 1000.0;
    return QString::number(s, 'g', 3) + QStringLiteral(" s");
}

// The line of the script in a stack's first frame of it ("function:line:column:file URL"); 0 when
// the stack holds none.
int stopLine(const QStringList& stack, const QString& fileName)
{
    for (const QString& frame : stack) {
        const QStringList parts = frame.split(QLatin1Char(':'));
        if (parts.size() >= 4 && parts.mid(3).join(QLatin1Char(':')).endsWith(fileName))
            return parts[1].toInt();
    }
    return 0;
}

// Where an exception that left the script was thrown: an Error carries its line; anything else
// thrown is found in the stack.
ScriptStop stopOf(const QJSValue& thrown, const QStringList& stack, const QString& fileName)
{
    ScriptStop stop{fileName, 0, thrown.toString()};
    if (thrown.isError()) {
        stop.message = thrown.property(QStringLiteral("message")).toString();
        const QString name = thrown.property(QStringLiteral("name")).toString();
        if (!name.isEmpty() && name != QStringLiteral("Error"))
            stop.message = name + QStringLiteral(": ") + stop.message;
        stop.line = thrown.property(QStringLiteral("lineNumber")).toInt();
    }
    if (const int line = stopLine(stack, fileName))
        stop.line = line;
    return stop;
}

} // namespace

QString ScriptStop::text() const
{
    const QString where = line > 0 ? file + QLatin1Char(':') + QString::number(line) : file;
    return where + QStringLiteral(": ") + message;
}

QString ScriptResult::summary(bool dryRun) const
{
    if (stopped)
        return QStringLiteral("Stopped at ") + stopped->text() + QStringLiteral(". Nothing was changed.");
    QString files;
    for (std::size_t i = 0; i < this->files.size(); ++i)
        files += (i == 0 ? QString() : i + 1 == this->files.size() ? QStringLiteral(" and ") : QStringLiteral(", ")) +
                 QString::fromStdString(this->files[i]);
    const QString what = changes.empty() ? QString() : QStringLiteral(": ") + QString::fromStdString(changes);
    if (dryRun)
        return this->files.empty() ? QStringLiteral("Dry run: the script changes nothing.")
                                   : QStringLiteral("Dry run, nothing written: the script would change ") + files + what + QLatin1Char('.');
    return this->files.empty() ? QStringLiteral("Nothing changed.") : QStringLiteral("Changed ") + files + what + QLatin1Char('.');
}

QString ScriptRun::reference()
{
    return QStringLiteral(
        "mission.objects   the scene objects: list, row, name, kind, type, position {x, y, z}, heading, rotation,\n"
        "                  size {x, y, z}, model, link, hasScript, and their kind's values (brightness, red,\n"
        "                  green, blue, cone, range1, range2, soundKind, volume, distance, behaviour,\n"
        "                  aggression, humanWeight, thingWeight, thingSound, ...)\n"
        "mission.cached    the cached objects: list, row, name, isBase, position, rotation, size, heading\n"
        "mission.frames    the model file's frames: list, row, name, position, rotation\n"
        "mission.bodies    the collision bodies: list, row, name, kind, link, material, position, rotation, size\n"
        "mission.find(re)  the scene objects whose name the regular expression (a text or /.../i) matches\n"
        "mission.check()   the check's problems: severity, file, offset, row, message\n"
        "mission.hasModelFile(model)  whether the game's models folder holds the model's file\n"
        "print(...)        prints its values\n"
        "move(items, dx, dy, dz)        moves the items (objects, cached objects, frames) by an offset\n"
        "place(item, x, y, z)           puts one item at a place\n"
        "turn(items, degrees)           turns the items about the vertical axis (several: about their centre)\n"
        "dropToGround(items)            drops the items onto the collision bodies below; how many moved\n"
        "setField(items, field, value)  sets a field (x, y, z, sizeX, sizeY, sizeZ, heading, a kind's value) of\n"
        "                               every item that has it; a text may be relative: \"+2\", \"-0.5\", \"*1.5\"\n"
        "duplicate(items)               copies of the scene objects, named free; the copies\n"
        "remove(items)                  deletes the scene objects with their definitions\n"
        "insert(kind, fields)           a new object of a kind of the Insert menu (human, car, truck, policecar,\n"
        "                               building, door, things, light, sound, other); fields as the dialog's:\n"
        "                               name, model, x, y, z, sizeX, sizeY, sizeZ, brightness, aggression, ...\n"
        "                               returns the new object\n"
        "rename(item, name)             renames a scene object; its definition and the links to it follow\n"
        "Items are rows of mission.objects, values read from a list, or arrays of them. Rows change when\n"
        "objects are inserted or removed: read the lists again after such a command. A refused command\n"
        "ends the run even when the script catches it; texts are Latin-1.");
}

ScriptRun::ScriptRun(Mission& mission, ScriptOptions options) : m_mission(mission), m_options(std::move(options)) {}

void ScriptRun::stop()
{
    m_stopRequested = true;
    if (QJSEngine* engine = m_engine.load())
        engine->setInterrupted(true);
}

ScriptResult ScriptRun::run(const QString& source, const QString& fileName)
{
    ScriptResult result;
    ScriptPrompter prompter;
    ScriptTally tally;
    // No extensions: the script has the language's own objects and what the prelude gives it.
    QJSEngine engine;
    ScriptApi api(engine, m_mission, prompter, tally,
                  {[&](const QString& line) {
                       result.printed << line;
                       if (m_options.print)
                           m_options.print(line);
                   },
                   m_options.between},
                  fileName);
    QJSEngine::setObjectOwnership(&api, QJSEngine::CppOwnership);
    const std::string stepName = "Script " + QFileInfo(fileName).fileName().toStdString();
    bool committed = false;
    {
        const Mission::BusyScope busy(m_mission);
        Mission::Step step(m_mission, stepName, prompter);
        if (!step.holdWrites()) {
            result.stopped = ScriptStop{fileName, 0, QStringLiteral("a script cannot run inside another command")};
            return result;
        }
        const QJSValue names = engine.evaluate(QString::fromLatin1(Prelude)).call({engine.newQObject(&api)});
        QJSValueIterator name(names);
        while (name.next())
            engine.globalObject().setProperty(name.name(), name.value());
        m_stopRequested = false;
        // Stop() reaches the engine, and the time limit holds, until the last value is formatted.
        m_engine = &engine;
        struct Forget {
            std::atomic<QJSEngine*>& engine;
            ~Forget() { engine = nullptr; }
        } forget{m_engine};
        Watchdog watchdog(engine, m_options.timeLimit);
        QStringList stack;
        const QJSValue value = engine.evaluate(source, fileName, 1, &stack);
        QString shown;
        if (stack.isEmpty() && !value.isError() && !value.isUndefined())
            shown = value.isObject() ? engine.globalObject().property(QStringLiteral("JSON")).property(QStringLiteral("stringify")).call({value}).toString()
                                     : value.toString();
        const bool timedOut = watchdog.finish();
        if (timedOut || m_stopRequested)
            result.stopped = ScriptStop{fileName, stopLine(stack, fileName),
                                        timedOut ? QStringLiteral("stopped after ") + seconds(m_options.timeLimit)
                                                 : QStringLiteral("stopped by the user")};
        else if (api.refusal())
            // A refused command ends the run even when the script caught what it threw.
            result.stopped = *api.refusal();
        else if (!stack.isEmpty() || value.isError())
            result.stopped = stopOf(value, stack, fileName);
        else
            result.value = shown;
        if (const HistoryStep* open = m_mission.history().openStep())
            for (const FileChange& c : open->changes)
                result.files.push_back(c.path.filename().string());
        prompter.last.clear();
        if (!result.stopped && !m_options.dryRun) {
            step.commit();
            committed = true;
        }
    }
    // Written when the step ended: a file changed on disk meanwhile, or a failed write, took it back.
    if (committed && !prompter.last.empty())
        result.stopped = ScriptStop{fileName, 0, QString::fromStdString(prompter.last)};
    // A file another program changed meanwhile is to be read again, wherever the run noticed it.
    if (result.stopped)
        for (const MissionFile file : FolderFiles)
            if (m_mission.changedOnDisk(file))
                result.staleFile = file;
    result.written = committed && !result.stopped && !result.files.empty();
    result.changes = tally.text();
    if (result.stopped)
        result.files.clear();
    return result;
}

} // namespace mw
