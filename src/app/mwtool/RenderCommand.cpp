// mwtool render: the mission from above, drawn by the render layer into a picture on Qt's offscreen
// platform, so that no display and no widget is needed.
#include <QGuiApplication>
#include <QImage>
#include <QStringList>
#include <iostream>

#include "app/mwtool/Commands.h"
#include "commands/check/CheckTargets.h"
#include "formats/scene/SceneLoader.h"
#include "foundation/files/Paths.h"
#include "render/map/MapPainter.h"

namespace mw::tool {

namespace {

// Qt's own notices (a runtime folder it made up, a font it could not find) are said only when the
// render fails: a render that succeeds prints nothing on the standard error.
QStringList notices;
void keepNotice(QtMsgType, const QMessageLogContext&, const QString& text) { notices << text; }

void tellNotices()
{
    for (const QString& notice : notices)
        std::cerr << "mwtool: " << notice.toStdString() << '\n';
}

// The reader's refusal, said on the standard error; true when there is one.
bool refused(const CheckedFile& file, bool read, const std::vector<std::string>& messages)
{
    if (read)
        return false;
    std::cerr << "mwtool: " << file.name << " is not read"
              << (messages.empty() ? std::string() : ": " + messages.front()) << '\n';
    return true;
}

} // namespace

int render(const std::filesystem::path& missionFolder, const std::filesystem::path& png, int size)
{
    const CheckTarget target = filesToCheck(missionFolder);
    if (!target.problem.empty()) {
        std::cerr << "mwtool: " << target.problem << '\n';
        return CannotRun;
    }
    SceneLoadResult scene;
    CacheLoadResult cache;
    CollisionLoadResult tree;
    const CheckedFile* treeFile = nullptr;
    for (const CheckedFile& f : target.files) {
        if (f.kind == CheckedKind::Scene) {
            scene = loadScene(f.bytes);
            if (refused(f, scene.status == SceneLoadStatus::Loaded || scene.status == SceneLoadStatus::Empty,
                        scene.messages))
                return Problems;
        } else if (f.kind == CheckedKind::Cache) {
            cache = readCacheFile(f.bytes);
            if (refused(f, cache.status != FileReadStatus::WrongSignature, cache.messages))
                return Problems;
        } else if (f.kind == CheckedKind::Tree) {
            treeFile = &f;
        }
    }
    // Cylinders take their height from the scene.
    if (treeFile) {
        tree = readCollisionFile(treeFile->bytes, scene.catalogue);
        if (refused(*treeFile, tree.status != FileReadStatus::WrongSignature, tree.messages))
            return Problems;
    }

    // Always the offscreen platform: whatever the environment names (a display that is not there,
    // an empty value) could not start, and the picture needs no screen. The application is there
    // for the fonts of the legend.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(keepNotice);
    int argc = 1;
    char name[] = "mwtool";
    char* argv[] = {name, nullptr};
    const QGuiApplication app(argc, argv);
    const MissionMap map = buildMissionMap(scene.catalogue, cache, tree);
    const QImage image = missionMapImage(map, size);
    if (image.size() != QSize(size, size) || !image.save(QString::fromStdString(utf8Of(png)), "PNG")) {
        tellNotices();
        std::cerr << "mwtool: cannot write " << utf8Of(png) << '\n';
        return CannotRun;
    }
    std::cout << "wrote " << utf8Of(png) << " (" << size << " x " << size << ", " << map.shapes.size()
              << " shapes)\n";
    return Ok;
}

} // namespace mw::tool
