// The house in layers: every #include under src/ points to the same layer or one below it; nothing
// below the render and script layers includes Qt, the render layer uses QtGui but no widgets, and
// the script layer (beside it) Qt Core and Qml only.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace fs = std::filesystem;

namespace {

// Bottom up; a path's layer is its first folder under src/. Drawing and scripting stand side by
// side on one floor: neither includes the other.
struct Layer {
    const char* folder;
    int floor;
};
constexpr std::array<Layer, 8> Layers{{{"foundation", 0}, {"formats", 1}, {"mission", 2}, {"commands", 3},
                                       {"render", 4}, {"script", 4}, {"ui", 5}, {"app", 6}}};
constexpr int QtFloor = 4;

// The layer's place in Layers, or -1.
int layerOf(const std::string& path)
{
    const std::string first = path.substr(0, path.find('/'));
    for (int i = 0; i < static_cast<int>(Layers.size()); ++i)
        if (first == Layers[i].folder)
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

// Headers of drawing (QtGui and OpenGL), which scripting has no use for.
bool isDrawingHeader(const std::string& header)
{
    static const std::regex drawing(R"(^(QtGui/.*|QImage|QPainter|QColor|QPixmap|QGuiApplication|QOpenGL.*|QFont.*|QPen|QBrush)$)");
    return std::regex_search(header, drawing);
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
            const int floor = Layers[layer].floor;
            if (m[1] == "\"") {
                const int to = layerOf(target);
                EXPECT_TRUE(to >= 0 && (Layers[to].floor < floor || to == layer))
                    << file << " includes \"" << target << "\", which lies above it or beside it";
            } else if (floor < QtFloor) {
                EXPECT_FALSE(target.rfind("Q", 0) == 0) << file << " includes <" << target << ">: Qt belongs to the window";
            } else if (floor == QtFloor) {
                EXPECT_FALSE(isWidgetHeader(target)) << file << " includes <" << target << ">: widgets belong to the window";
                EXPECT_FALSE(Layers[layer].folder == std::string("script") && isDrawingHeader(target))
                    << file << " includes <" << target << ">: scripting draws nothing";
            }
        }
    }
    EXPECT_GT(files, 50);
}
