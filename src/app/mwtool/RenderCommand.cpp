// mwtool render: the mission from above, drawn by the map view of the window on Qt's offscreen
// platform, so that no display is needed.
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <iostream>

#include "app/mwtool/Commands.h"
#include "commands/check/CheckTargets.h"
#include "commands/map/MissionMap.h"
#include "formats/scene/SceneLoader.h"
#include "foundation/files/Paths.h"
#include "ui/MissionMapView.h"
#include "ui/QtText.h"

namespace mw::tool {

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
        if (f.kind == CheckedKind::Scene)
            scene = loadScene(f.bytes);
        else if (f.kind == CheckedKind::Cache)
            cache = readCacheFile(f.bytes);
        else if (f.kind == CheckedKind::Tree)
            treeFile = &f;
    }
    // Cylinders take their height from the scene.
    if (treeFile)
        tree = readCollisionFile(treeFile->bytes, scene.catalogue);

    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "mwtool";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    MissionMapView view;
    view.setMap(buildMissionMap(scene.catalogue, cache, tree));
    view.resize(size, size);
    view.fit();
    const QImage image = view.grab().toImage();
    if (!image.save(fromPath(png), "PNG")) {
        std::cerr << "mwtool: cannot write " << utf8Of(png) << '\n';
        return CannotRun;
    }
    std::cout << "wrote " << utf8Of(png) << " (" << size << " x " << size << ", " << view.map().shapes.size()
              << " shapes)\n";
    return Ok;
}

} // namespace mw::tool
