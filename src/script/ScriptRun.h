#pragma once
// One run of a script over a mission: every command it makes is one held step of the history, so
// the files are written once, when it ends well, or not at all — a script that throws, is
// stopped, runs out of time, or whose command is refused leaves every file as it was and says where
// it stopped. A dry run writes nothing either way. The script reaches the mission only through the
// scripting interface: no files, processes or network.

#include <QString>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "mission/MissionFile.h"

class QJSEngine;

namespace mw {

class Mission;

// A script file's text. A script is a text a modder wrote: anything that is no regular file, or
// larger than 16 MiB, is refused as unreadable (IoError), as is a file that cannot be read.
QString readScriptSource(const std::filesystem::path& path);

struct ScriptOptions {
    std::chrono::milliseconds timeLimit{30'000};
    bool dryRun = false;
    std::function<void(const QString&)> print; // each line the script prints, as it prints it
    std::function<void()> between;             // after each command (the window may draw)
};

// Where and why a run stopped.
struct ScriptStop {
    QString file;
    int line = 0; // 0: not known
    QString message;
    // "lift.js:12: move: there is no object at objects row 40000"
    QString text() const;
};

struct ScriptResult {
    std::optional<ScriptStop> stopped;
    QStringList printed;
    QString value; // what the script's last statement gave, when it gave something (a console shows it)
    std::vector<std::string> files; // the files the run changed (a dry run: would have)
    std::string changes;            // "100 objects moved, 2 objects renamed"
    bool written = false;           // the changes are in the files
    std::optional<MissionFile> staleFile; // changed on disk: to be read again
    bool ok() const { return !stopped; }
    // One line: what was written, what a dry run would write, or where it stopped.
    QString summary(bool dryRun) const;
};

class ScriptRun {
public:
    ScriptRun(Mission& mission, ScriptOptions options);
    // `fileName` names the script in messages and in the step ("Script lift.js").
    ScriptResult run(const QString& source, const QString& fileName);
    // Stops the running script (from any thread, or from `between`): "stopped by the user".
    void stop();

    // The names the interface gives a script, as README and mwtool's help list them.
    static QString reference();

private:
    Mission& m_mission;
    ScriptOptions m_options;
    std::atomic<QJSEngine*> m_engine{nullptr};
    std::atomic<bool> m_stopRequested{false};
};

} // namespace mw
