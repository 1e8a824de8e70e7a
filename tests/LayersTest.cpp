// The house in layers: every #include under src/ points to the same layer or one below it, and
// nothing below the window includes Qt.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace fs = std::filesystem;

namespace {

// Bottom up; a path's layer is its first folder under src/.
constexpr std::array<const char*, 6> Layers{"foundation", "formats", "mission", "commands", "ui", "app"};
constexpr int Window = 4;

int layerOf(const std::string& path)
{
    const std::string first = path.substr(0, path.find('/'));
    for (int i = 0; i < static_cast<int>(Layers.size()); ++i)
        if (first == Layers[i])
            return i;
    return -1;
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
            } else if (layer < Window) {
                EXPECT_FALSE(target.rfind("Q", 0) == 0) << file << " includes <" << target << ">: Qt belongs to the window";
            }
        }
    }
    EXPECT_GT(files, 50);
}
