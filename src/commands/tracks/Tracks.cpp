#include "commands/tracks/Tracks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "formats/route/LaneTable.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/bytes/ByteWriter.h"
#include "foundation/files/FileAccess.h"
#include "foundation/files/Paths.h"
#include "foundation/seams/Prompter.h"
#include "mission/Mission.h"

namespace mw {

namespace {

struct Point {
    float x = 0, y = 0, z = 0;
};

std::string notFound(const std::string& name) { return "**Sorry, " + name + " not found! Nothing was changed. **"; }

std::optional<std::vector<std::uint8_t>> readFile(const std::filesystem::path& path, Prompter& prompter)
{
    try {
        return readWholeFile(path);
    } catch (const IoError& error) {
        prompter.message(error.what(), "");
        return std::nullopt;
    }
}

Point pointAt(std::span<const std::uint8_t> file, std::size_t at)
{
    const ByteReader r(file);
    return {r.f32(at), r.f32(at + 4), r.f32(at + 8)};
}

void putPoint(std::vector<std::uint8_t>& file, std::size_t at, Point p)
{
    putF32(file, at, p.x);
    putF32(file, at + 4, p.y);
    putF32(file, at + 8, p.z);
}

// Moves v by `by` towards zero (negative `by`: away from it).
float towardsZero(float v, float by) { return v >= 0 ? v - by : v + by; }

// Writes a changed file through the mission as one step, and reads a loaded scene again.
Outcome writeFile(Mission& mission, const std::filesystem::path& path, const std::vector<std::uint8_t>& image,
                  const char* step, Prompter& prompter)
{
    const Outcome written = runStep(mission, step, prompter, [&] {
        return Outcome::of(mission.replace(path, image, prompter), MissionFile::Scene);
    });
    if (written.done() && !mission.workspace().ScenePath.empty() && mission.workspace().ScenePath == path)
        return Outcome::doneWith(mission.reloadScene(mission.rememberedRows(), prompter));
    return written;
}

} // namespace

Outcome transformTrack(Mission& mission, const std::filesystem::path& source, Prompter& prompter, Progress& progress)
{
    if (source.empty()) {
        prompter.message(trackmsg::SelectSource, "");
        return Outcome::refused();
    }
    auto read = readFile(source, prompter);
    if (!read)
        return Outcome::refused();
    const std::vector<std::uint8_t>& original = *read;
    const auto find = [&](const std::string& name) { return translationOf(original, name, true); };
    const auto startA = find("StartPointA");
    if (!startA) {
        prompter.message(trackmsg::NoStartA, "");
        return Outcome::refused();
    }
    const auto startB = find("StartPointB");
    if (!startB) {
        prompter.message(trackmsg::NoStartB, "");
        return Outcome::refused();
    }

    // Every position first: nothing is written while a name is missing.
    struct Write {
        std::size_t at;
        Point p;
    };
    std::vector<Write> writes;
    int camera = 0;
    progress.start(static_cast<int>(laneTable().size()));
    for (std::size_t r = 0; r < laneTable().size(); ++r) {
        const LaneRow& row = laneTable()[r];
        Point a = pointAt(original, *startA), b = pointAt(original, *startB);
        if (r > 0) {
            for (const char side : {'A', 'B'}) {
                const std::string marker = "TrackPoint" + std::to_string(r) + side;
                const auto at = find(marker);
                if (!at) {
                    prompter.message(notFound(marker), "");
                    return Outcome::refused();
                }
                (side == 'A' ? a : b) = pointAt(original, *at);
            }
        }
        const float dX = std::fabs(std::fabs(a.x) - std::fabs(b.x)) / 2;
        const float dZ = std::fabs(std::fabs(a.z) - std::fabs(b.z)) / 2;
        Point m{b.x < a.x ? a.x - dX : a.x + dX, b.y, b.z < a.z ? a.z - dZ : a.z + dZ};
        const bool alongX = dZ > dX;
        Point moved = m, inner = a, outer = b;
        (alongX ? moved.x : moved.z) += 1.0f;
        (alongX ? inner.x : inner.z) = towardsZero(alongX ? a.x : a.z, 2.0f);
        (alongX ? outer.x : outer.z) = towardsZero(alongX ? b.x : b.z, -2.0f);
        const Point lanes[7] = {inner, a, m, m, moved, b, outer};
        auto node = [&](int n, Point p) {
            const std::string name = "TR" + std::to_string(n);
            const auto at = find(name);
            if (!at) {
                prompter.message(notFound(name), "");
                return false;
            }
            writes.push_back({*at, p});
            return true;
        };
        for (int lane = 0; lane < 7; ++lane)
            if (row.lanes[lane] != NoNode && !node(row.lanes[lane], lanes[lane]))
                return Outcome::refused();
        if (row.code != NoCode) {
            const int number = std::stoi(std::string(row.code.substr(0, 3)));
            const float raise = static_cast<float>(row.code[4] - '0');
            const Point edge = row.code[3] == 'L' ? b : a;
            const Point placed{edge.x, edge.y + raise, edge.z};
            if (!node(number, placed))
                return Outcome::refused();
            if (const auto cam = find("race_cam" + std::to_string(++camera)))
                writes.push_back({*cam, placed});
        }
        progress.step(static_cast<int>(r + 1), std::to_string(r + 1));
    }
    std::vector<std::uint8_t> image = original;
    for (const Write& w : writes)
        putPoint(image, w.at, w.p);
    const Outcome written = writeFile(mission, source, image, "Transform track", prompter);
    if (written.done())
        prompter.message(trackmsg::Done, "");
    return written;
}

Outcome putTrack(Mission& mission, const std::filesystem::path& source, const std::filesystem::path& routeFile,
              Prompter& prompter, Progress& progress)
{
    if (source.empty() || routeFile.empty()) {
        prompter.message(source.empty() ? trackmsg::SelectSource : trackmsg::SelectDestination, "");
        return Outcome::refused();
    }
    auto route = readFile(routeFile, prompter);
    if (!route)
        return Outcome::refused();
    if (!holdsRoutePoints(*route)) {
        prompter.message(trackmsg::WrongRouteFile, "");
        return Outcome::refused();
    }
    const auto scene = readFile(source, prompter);
    if (!scene)
        return Outcome::refused();
    std::vector<std::uint8_t> image = *route;
    progress.start(static_cast<int>(RoutePoints) + 2);
    for (std::uint32_t i = 0; i < RoutePoints; ++i) {
        progress.step(static_cast<int>(i + 1), std::to_string(i));
        const std::string name = "TR" + std::to_string(i);
        const auto at = translationOf(*scene, name, false);
        if (!at) {
            prompter.message(notFound(name), "");
            return Outcome::refused();
        }
        std::memcpy(image.data() + routePointOffset(i), scene->data() + *at, 12);
    }
    const Outcome written = writeFile(mission, routeFile, image, "Put track", prompter);
    if (written.done())
        prompter.message(trackmsg::Done, "");
    return written;
}

Outcome createReversedCopy(Mission& mission, const std::filesystem::path& source, Prompter& prompter, Progress& progress)
{
    const std::string path = utf8Of(source);
    if (path.empty()) {
        prompter.message(trackmsg::SelectSource, "");
        return Outcome::refused();
    }
    if (path.find("scene2.bin") == std::string::npos || path.size() < 10) {
        prompter.message(trackmsg::NoScene, "");
        return Outcome::refused();
    }
    const std::filesystem::path copy = pathFromUtf8(path.substr(0, path.size() - 10) + "scene2.rev");
    const auto scene = readFile(source, prompter);
    if (!scene)
        return Outcome::refused();
    std::vector<std::uint8_t> image = *scene;
    progress.start(109);
    for (int j = 1; j <= 109; ++j) {
        progress.step(j, std::to_string(j));
        for (const char side : {'A', 'B'}) {
            const std::string to = "TrackPoint" + std::to_string(j) + side;
            const std::string from = "TrackPoint" + std::to_string(110 - j) + side;
            const auto target = translationOf(*scene, to, false);
            const auto origin = translationOf(*scene, from, false);
            if (!target || !origin) {
                prompter.message(notFound(target ? from : to), "");
                return Outcome::refused();
            }
            std::memcpy(image.data() + *target, scene->data() + *origin, 12);
        }
    }
    const Outcome written = writeFile(mission, copy, image, "Create scene2.rev", prompter);
    if (written.done())
        prompter.message(trackmsg::Done, "");
    return written;
}

} // namespace mw
