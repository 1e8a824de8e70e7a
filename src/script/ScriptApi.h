#pragma once
// What a script reaches of the mission, and nothing else: the lists as plain values, a search, the
// check, print, and the commands, each one of the mission's own commands. A command that is
// refused throws into the script with the command's own message, which ends the run.

#include <QJSValue>
#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "commands/placing/Placing.h"
#include "foundation/seams/Prompter.h"
#include "mission/ModelFolder.h"
#include "script/ScriptRun.h"
#include "script/ScriptValues.h"

class QJSEngine;

namespace mw {

class Mission;
struct Outcome;

// The commands' messages and questions during a run: kept, not shown; a question is answered No.
class ScriptPrompter final : public Prompter {
public:
    void message(std::string_view text, std::string_view title) override;
    bool askYesNo(std::string_view text, std::string_view title) override;
    // The last message or question, with its title: what a refused command said.
    std::string last;
};

// How many objects each kind of command changed in a run, for its summary.
class ScriptTally {
public:
    void add(const std::string& what, std::size_t objects) { m_done[what] += objects; }
    bool empty() const { return m_done.empty(); }
    // "100 objects moved, 2 objects with brightness set".
    std::string text() const;

private:
    std::map<std::string, std::size_t> m_done;
};

class ScriptApi final : public QObject {
    Q_OBJECT
public:
    struct Sinks {
        std::function<void(const QString&)> print;
        std::function<void()> between; // after each command: the window may draw
    };
    ScriptApi(QJSEngine& engine, Mission& mission, ScriptPrompter& prompter, ScriptTally& tally, Sinks sinks,
              QString fileName);

    // The first command refused in the run, with where the script called it: the run stops there
    // even when the script caught what the command threw.
    const std::optional<ScriptStop>& refusal() const { return m_refusal; }

    // The lists, read once after each command: a loop over `mission.objects[i]` reads them once.
    Q_INVOKABLE QJSValue objects();
    Q_INVOKABLE QJSValue cached();
    Q_INVOKABLE QJSValue frames();
    Q_INVOKABLE QJSValue bodies();
    Q_INVOKABLE QJSValue check();
    // Whether the game's models folder holds the file an object's model stands for (letter case
    // ignored): the one thing of the disk a script may learn, and only as yes or no.
    Q_INVOKABLE bool hasModelFile(const QString& model);
    Q_INVOKABLE void print(const QString& line);

    Q_INVOKABLE QJSValue move(const QJSValue& items, const QJSValue& dx, const QJSValue& dy, const QJSValue& dz);
    Q_INVOKABLE QJSValue place(const QJSValue& item, const QJSValue& x, const QJSValue& y, const QJSValue& z);
    Q_INVOKABLE QJSValue turn(const QJSValue& items, const QJSValue& degrees);
    Q_INVOKABLE QJSValue dropToGround(const QJSValue& items);
    Q_INVOKABLE QJSValue setField(const QJSValue& items, const QString& field, const QJSValue& value);
    Q_INVOKABLE QJSValue duplicate(const QJSValue& items);
    Q_INVOKABLE QJSValue remove(const QJSValue& items);
    Q_INVOKABLE QJSValue insert(const QString& kind, const QJSValue& fields);
    Q_INVOKABLE QJSValue rename(const QJSValue& item, const QString& newName);
    // Where the script called the command that was refused: its stack, as the prelude caught it.
    Q_INVOKABLE void refusedAt(const QString& stack);

private:
    // Runs one command: the lists are read again after it, and an exception it throws is a refusal.
    template <class Command>
    QJSValue command(const QString& name, Command&& body);
    QJSValue list(ScriptList which);
    // Throws `what` into the script and keeps it as the run's refusal (the caller returns at once).
    QJSValue refuse(const QString& command, const std::string& what);
    // A text of the files from a script's text: single bytes, so only Latin-1 characters.
    std::optional<std::string> latin1(const QString& command, const QString& text, const char* what);
    // True when the command was done; otherwise its message is thrown.
    bool done(const QString& command, const Outcome& outcome);
    // The items a command's argument names, or nothing once refused.
    std::optional<PlacedItems> itemsArg(const QString& command, const QJSValue& value);
    // The numbers of a command's arguments, or nothing once refused.
    std::optional<double> number(const QString& command, const QJSValue& value, const char* what);

    std::optional<ModelFolder> m_modelFolder; // listed when first asked
    std::array<QJSValue, 4> m_lists;            // undefined: to be read
    std::optional<ScriptStop> m_refusal; // the models folder's names, folded, once read
    QJSEngine& m_engine;
    Mission& m_mission;
    ScriptPrompter& m_prompter;
    ScriptTally& m_tally;
    Sinks m_sinks;
    QString m_fileName;
};

} // namespace mw
