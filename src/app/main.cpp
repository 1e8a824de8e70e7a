// The editor. It opens the mission files or folders named on the command line, and where it was
// left: its size, its docks, the layers shown and the folders its file dialogs last used are
// remembered between runs (QSettings, in the platform's usual place).
#include <QApplication>
#include <QIcon>
#include <QSettings>
#include <QStringList>
#include <cstdio>
#include <cstring>

#include "ui/MainWindow.h"

namespace {

constexpr const char* Help =
    "Usage: mission-workshop [FILE|FOLDER]...\n"
    "Opens the mission files named (scene2.bin, cache.bin, tree.klz, scene.4ds) as their load commands\n"
    "would, or the mission files in each FOLDER.\n"
    "\n"
    "  -h, --help     prints this help and exits\n"
    "  -v, --version  prints the version and exits\n";

} // namespace

int main(int argc, char** argv)
{
    // Answered before any window is made, so that they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Help, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            std::printf("mission-workshop %s\n", MW_VERSION);
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("MissionWorkshop"));
    QApplication::setApplicationName(QStringLiteral("mission-workshop"));
    QApplication::setApplicationVersion(QStringLiteral(MW_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.missionworkshop.MissionWorkshop"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.missionworkshop.MissionWorkshop")));

    mw::MainWindow window;
    QSettings settings;
    window.restoreSettings(settings);
    window.show();
    QObject::connect(&app, &QApplication::aboutToQuit, &window, [&] { window.saveSettings(settings); });
    // Files or mission folders named on the command line open as their load commands would.
    window.openPaths(QApplication::arguments().mid(1));
    return app.exec();
}
