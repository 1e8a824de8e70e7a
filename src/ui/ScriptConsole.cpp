#include "ui/ScriptConsole.h"

#include <QCoreApplication>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#include "script/ScriptRun.h"
#include "ui/CommandRunner.h"
#include "ui/ValueColours.h"

namespace mw {

namespace {

constexpr qsizetype TypedKept = 50;
const QString TypedKey = QStringLiteral("script/typed");

} // namespace

ScriptConsole::ScriptConsole(Mission& mission, CommandRunner& runner, QMainWindow* window)
    : m_mission(mission), m_runner(runner)
{
    m_dock = new QDockWidget(QStringLiteral("Script Console"), window);
    m_dock->setObjectName(QStringLiteral("ScriptConsoleDock"));
    auto* content = new QWidget;
    auto* box = new QVBoxLayout(content);
    box->setContentsMargins(4, 4, 4, 4);
    m_output = new QPlainTextEdit;
    m_output->setObjectName(QStringLiteral("ScriptOutput"));
    m_output->setReadOnly(true);
    m_output->setMaximumBlockCount(5000);
    box->addWidget(m_output, 1);
    auto* line = new QHBoxLayout;
    m_input = new QLineEdit;
    m_input->setObjectName(QStringLiteral("ScriptInput"));
    m_input->setPlaceholderText(QStringLiteral("JavaScript, e.g. move(mission.find(\"^Lamp\"), 0, 2, 0) — Enter runs it"));
    m_input->installEventFilter(this);
    line->addWidget(m_input, 1);
    m_progress = new QLabel;
    m_progress->setObjectName(QStringLiteral("ScriptProgress"));
    line->addWidget(m_progress);
    m_stop = new QPushButton(QStringLiteral("Stop"));
    m_stop->setObjectName(QStringLiteral("ScriptStop"));
    m_stop->setEnabled(false);
    line->addWidget(m_stop);
    box->addLayout(line);
    m_dock->setWidget(content);
    window->addDockWidget(Qt::BottomDockWidgetArea, m_dock);
    m_dock->hide();
    connect(m_input, &QLineEdit::returnPressed, this, &ScriptConsole::runTypedLine);
    connect(m_stop, &QPushButton::clicked, this, &ScriptConsole::stop);
}

ScriptConsole::~ScriptConsole() = default;

void ScriptConsole::keepIn(QSettings* settings)
{
    m_settings = settings;
    if (settings)
        m_typed = settings->value(TypedKey).toStringList().mid(0, TypedKept);
    m_typedAt = static_cast<int>(m_typed.size());
}

bool ScriptConsole::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_input && event->type() == QEvent::KeyPress && !m_typed.isEmpty()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            m_typedAt = std::clamp(m_typedAt + (key == Qt::Key_Up ? -1 : 1), 0, static_cast<int>(m_typed.size()));
            m_input->setText(m_typedAt < m_typed.size() ? m_typed[m_typedAt] : QString());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ScriptConsole::remember(const QString& line)
{
    m_typed.removeAll(line);
    m_typed.append(line);
    while (m_typed.size() > TypedKept)
        m_typed.removeFirst();
    m_typedAt = static_cast<int>(m_typed.size());
    if (m_settings)
        m_settings->setValue(TypedKey, m_typed);
}

void ScriptConsole::showLine(const QString& text, const char* colour)
{
    if (!colour) {
        m_output->appendPlainText(text);
        return;
    }
    m_output->appendHtml(QStringLiteral("<span style=\"color:%1; white-space:pre\">%2</span>").arg(QLatin1String(colour), text.toHtmlEscaped()));
}

void ScriptConsole::runTypedLine()
{
    const QString line = m_input->text().trimmed();
    if (line.isEmpty() || running())
        return;
    remember(line);
    showLine(QStringLiteral("> ") + line, "#555555");
    if (runScript(line, QStringLiteral("console")))
        m_input->clear();
}

bool ScriptConsole::runScript(const QString& source, const QString& name)
{
    if (running())
        return false;
    m_dock->show();
    ScriptOptions options;
    options.timeLimit = m_timeLimit;
    options.print = [this](const QString& line) { showLine(line); };
    // Between commands the window draws, and "Stop" can be clicked (everything else waits: the
    // mission is busy).
    QElapsedTimer sinceDrawn;
    sinceDrawn.start();
    std::size_t commands = 0;
    options.between = [&] {
        ++commands;
        if (sinceDrawn.elapsed() < 100)
            return;
        m_progress->setText(QString::number(commands) + QStringLiteral(" commands…"));
        QCoreApplication::processEvents();
        sinceDrawn.restart();
    };
    ScriptResult result;
    const CommandResult ran = m_runner.run([&] {
        ScriptRun run(m_mission, options);
        // The console forgets the run however it ends.
        struct Running {
            ScriptConsole& console;
            ~Running()
            {
                console.m_run = nullptr;
                console.m_stop->setEnabled(false);
            }
        } running{*this};
        m_run = &run;
        m_stop->setEnabled(true);
        result = run.run(source, name);
        if (result.staleFile)
            return CommandResult(Outcome::stale(*result.staleFile));
        return result.ok() ? CommandResult::done(result.summary(false), SavedColour) : CommandResult::refused();
    });
    m_progress->clear();
    if (!result.ok()) {
        showLine(result.summary(false), "#b00000");
        // The line that failed, as the script has it.
        const QStringList lines = source.split(QLatin1Char('\n'));
        if (result.stopped->line > 0 && result.stopped->line <= lines.size())
            showLine(QStringLiteral("    ") + lines[result.stopped->line - 1].trimmed(), "#b00000");
    } else if (ran.isDone()) {
        if (!result.value.isEmpty())
            showLine(result.value);
        showLine(result.summary(false), "#007000");
    } else {
        showLine(QStringLiteral("The editor is busy: the script did not run."), "#b00000");
    }
    return ran.isDone();
}

void ScriptConsole::stop()
{
    if (m_run)
        m_run->stop();
}

} // namespace mw
