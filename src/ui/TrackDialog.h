#pragma once
// The track dialog ("QRA Create Circuit", objectName trackform): the source scene and the route
// file, and the three commands on them — "Transform", "Put Track" and "Create". Shown without
// blocking the main window; it works on the files it names, not on the loaded mission's lists.

#include <QWidget>
#include <functional>

class QLineEdit;
class QProgressBar;

namespace mw {

class FileChooser;
class Mission;
class Prompter;

class TrackDialog final : public QWidget {
    Q_OBJECT
public:
    TrackDialog(Mission& mission, std::function<Prompter&()> prompter, std::function<FileChooser&()> files);

    // The "&Racing" command: the workspace's two paths, empty counters, reset bars; then shown.
    void prepare();

private:
    void browse(bool source);
    void run(QProgressBar* bar, QLineEdit* counter, int count, const std::function<bool()>& command);

    Mission& m_mission;
    std::function<Prompter&()> m_prompter;
    std::function<FileChooser&()> m_files;
    QLineEdit* m_source;      // Text1
    QLineEdit* m_destination; // Text2
    QLineEdit* m_rows;        // Text3
    QLineEdit* m_points;      // Text4
    QLineEdit* m_markers;     // Text6
    QProgressBar* m_transformBar; // ProgressBar2
    QProgressBar* m_putBar;       // ProgressBar1
    QProgressBar* m_reverseBar;   // ProgressBar3
};

} // namespace mw
