#pragma once
// The track dialog ("QRA Create Circuit", objectName trackform): the source scene and the route
// file, and the three commands on them — "Transform", "Put Track" and "Create". Shown without
// blocking the main window; it works on the files it names, not on the loaded mission's lists.

#include <QWidget>
#include <array>
#include <filesystem>
#include <functional>

#include "commands/Outcome.h"

class QLabel;
class QLineEdit;
class QProgressBar;

namespace mw {

class CommandRunner;
class FileChooser;
class Mission;
class Progress;
class Prompter;

class TrackDialog final : public QWidget {
    Q_OBJECT
public:
    TrackDialog(Mission& mission, Prompter& prompter, FileChooser& files, CommandRunner& runner);

    // The "&Racing" command: the two paths chosen last, empty counters, hidden progress labels,
    // reset bars; then shown.
    void prepare();

private:
    // A command's area: its bar and the counter that shows how far it is.
    struct Area {
        QLabel* label;
        QProgressBar* bar;
        QLineEdit* counter;
    };
    void browse(bool source);
    void run(const Area& area, const std::function<Outcome(Progress&)>& command);

    Mission& m_mission;
    Prompter& m_prompter;
    FileChooser& m_files;
    CommandRunner& m_runner;
    // The source scene and the destination route file chosen (kept while the editor runs).
    std::filesystem::path m_sourcePath, m_destinationPath;
    QLineEdit* m_source;      // Text1
    QLineEdit* m_destination; // Text2
    QLineEdit* m_rows;        // Text3
    QLineEdit* m_points;      // Text4
    QLineEdit* m_markers;     // Text6
    QProgressBar* m_transformBar; // ProgressBar2
    QProgressBar* m_putBar;       // ProgressBar1
    QProgressBar* m_reverseBar;   // ProgressBar3
    std::array<QLabel*, 3> m_progressLabels{}; // "Progress" of the three areas
};

} // namespace mw
