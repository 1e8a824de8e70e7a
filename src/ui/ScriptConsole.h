#pragma once
// The "Script Console" dock: a line to type JavaScript into (Enter runs it), the output and errors
// below with the line that failed, and the last 50 lines typed (Up and Down go back through them,
// kept in the user's settings). "&Tools" > "Run &Script…" runs a whole file here. A run is one
// command of the window: busy meanwhile, one step of "&Undo", its progress shown for long runs and
// stopped by "Stop".

#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>

class QDockWidget;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPlainTextEdit;
class QPushButton;
class QSettings;

namespace mw {

class CommandRunner;
class Mission;
class ScriptRun;

class ScriptConsole final : public QObject {
    Q_OBJECT
public:
    ScriptConsole(Mission& mission, CommandRunner& runner, QMainWindow* window);
    ~ScriptConsole() override;

    QDockWidget* dock() const { return m_dock; }
    // Where the lines typed are kept (it must outlive the console); none: nothing is kept.
    void keepIn(QSettings* settings);
    void setTimeLimit(std::chrono::milliseconds limit) { m_timeLimit = limit; }
    bool running() const { return m_run != nullptr; }

    // Runs a script's text, named `name` in its messages and its step; the dock shows what it
    // printed and where it stopped. True when it ran to its end.
    bool runScript(const QString& source, const QString& name);
    // Stops the running script.
    void stop();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void runTypedLine();
    void remember(const QString& line);
    void showLine(const QString& text, const char* colour = nullptr);

    Mission& m_mission;
    CommandRunner& m_runner;
    QDockWidget* m_dock = nullptr;
    QPlainTextEdit* m_output = nullptr;
    QLineEdit* m_input = nullptr;
    QPushButton* m_stop = nullptr;
    QLabel* m_progress = nullptr;
    QStringList m_typed;   // oldest first, at most 50
    int m_typedAt = 0;     // where Up and Down stand in it
    QSettings* m_settings = nullptr;
    ScriptRun* m_run = nullptr;
    std::chrono::milliseconds m_timeLimit{30'000};
};

} // namespace mw
