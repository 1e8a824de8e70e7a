// The house in layers: every #include under src/ points to the same layer or one below it; nothing
// below the render layer includes Qt, and the render layer uses QtGui but no widgets.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace fs = std::filesystem;

namespace {

// Bottom up; a path's layer is its first folder under src/.
constexpr std::array<const char*, 7> Layers{"foundation", "formats", "mission", "commands", "render", "ui", "app"};
constexpr int Render = 4;

int layerOf(const std::string& path)
{
    const std::string first = path.substr(0, path.find('/'));
    for (int i = 0; i < static_cast<int>(Layers.size()); ++i)
        if (first == Layers[i])
            return i;
    return -1;
}

// Headers of Qt Widgets (the render layer's library does not link them, so its build refuses any of
// them too; this names the ones a drawing file would reach for).
bool isWidgetHeader(const std::string& header)
{
    static const std::regex widgets(
        R"(^(QtWidgets/.*|QWidget|QApplication|QMainWindow|QDialog|QOpenGLWidget|QLabel|QPushButton|QLineEdit|QListView|QMessageBox|QStyle|QDockWidget|QToolBar|QMenu)$)");
    return std::regex_search(header, widgets);
}

} // namespace

TEST(Layers, EveryIncludePointsToItsOwnLayerOrBelow)
{
    const fs::path src = MW_SOURCE_DIR;
    if (!fs::is_directory(src))
        GTEST_SKIP() << "the sources are not at " << src;
    const std::regex include(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const auto ext = entry.path().extension();
        if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp"))
            continue;
        const std::string file = entry.path().lexically_relative(src).generic_string();
        const int layer = layerOf(file);
        ASSERT_GE(layer, 0) << file << " stands in no layer";
        ++files;
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) {
            std::smatch m;
            if (!std::regex_search(line, m, include))
                continue;
            const std::string target = m[2];
            if (m[1] == "\"") {
                const int to = layerOf(target);
                EXPECT_TRUE(to >= 0 && to <= layer) << file << " includes \"" << target << "\", which lies above it";
            } else if (layer < Render) {
                EXPECT_FALSE(target.rfind("Q", 0) == 0) << file << " includes <" << target << ">: Qt belongs to the window";
            } else if (layer == Render) {
                EXPECT_FALSE(isWidgetHeader(target)) << file << " includes <" << target << ">: widgets belong to the window";
            }
        }
    }
    EXPECT_GT(files, 50);
}
