// What the 3D view draws, seen in its own picture: each kind in its shape, the map's world seen from
// above, cached objects as large as on the map, damaged places left out.
#include <QCheckBox>
#include <QLabel>
#include <cmath>
#include <functional>
#include <numbers>

#include "render/map/MapPainter.h"
#include "render/map/MissionMap.h"
#include "support/MissionFileBuilders.h"
#include "support/SceneBuilder.h"
#include "view3d/View3DWindow.h"

using namespace mw;
using namespace mw::build;

namespace {

// One item of each shape, 20 m apart along x from `x0`: a box (a thing), an upright human box, a
// light's sphere, a marker, and the collision file's cylinder and sphere; `copies` more of the
// scene's objects 5 m further north each.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> shapes(float x0, int copies = 0)
{
    SceneBuilder s;
    s.beginObjects();
    for (int k = 0; k <= copies; ++k) {
        const float z = 5.0f * static_cast<float>(k);
        s.object({.name = "Crate", .type = 9, .translation = Floats3{x0, 0, z}, .size = Floats3{2, 2, 2}, .model = "box.i3d"});
        s.object({.name = "Man", .type = 9, .translation = Floats3{x0 + 20, 0, z}, .model = "man.i3d"});
        s.object({.name = "Lamp", .type = 2, .translation = Floats3{x0 + 40, 1, z}});
        s.object({.name = "Sector", .type = 0x99, .translation = Floats3{x0 + 60, 0, z}});
    }
    s.endObjects();
    s.beginDefinitions();
    s.definition({"Man", 0x1B, humanData(16, 3, 0.5f, 80, "")});
    s.endDefinitions();
    TreeBuilder t;
    const int link = t.link("Crate");
    t.sphere(3, link, {x0 + 100, 1, 0}, 1);
    t.cylinder(4, link, x0 + 80, 0, 1);
    t.endMarker();
    return {{"scene2.bin", s.finish()}, {"tree.klz", t.finish()}};
}

} // namespace

TEST_F(View3DWindow, EachKindIsDrawnInTheShapeItIsPickedByWhicheverMissionCameFirst)
{
    struct Case {
        const char* what;
        ItemRef item;
        bool square; // a box's corners are its own; a round shape's (or a marker's) are background
        std::optional<Rgb> colour;
    };
    const Case cases[] = {
        {"box", {ViewLayer::Scene, 0}, true, markerColour(MarkerKind::Model)},
        {"human", {ViewLayer::Scene, 1}, true, markerColour(MarkerKind::Human)},
        {"sphere", {ViewLayer::Scene, 2}, false, markerColour(MarkerKind::Light)},
        {"marker", {ViewLayer::Scene, 3}, false, markerColour(MarkerKind::Other)},
        {"sphere body", {ViewLayer::Collision, 0}, false, std::nullopt},
        {"cylinder body", {ViewLayer::Collision, 1}, false, std::nullopt},
    };
    for (const float x0 : {0.0f, 7.0f}) { // a second mission after the first
        open(shapes(x0), "m" + std::to_string(static_cast<int>(x0)));
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            const Instance3D* i = view->scene()->instance(c.item);
            ASSERT_NE(i, nullptr);
            const Vec3 centre = i->column(3);
            const float top = centre.y + length(i->column(1)) / 2;
            lookDown(centre, 12 * length(i->column(0)));
            const QImage seen = picture();
            // The shape's half sizes across and along the picture, at its top.
            const float perPixel = view->camera().worldPerPixel(view->camera().position.y - top);
            const float hx = length(i->column(0)) / 2 / perPixel, hz = length(i->column(2)) / 2 / perPixel;
            const QPoint middle = pixelOf(centre);
            const Colour atCentre = colourAt(seen, middle);
            if (c.colour)
                EXPECT_TRUE(isShadeOf(atCentre, *c.colour)) << atCentre.r << " " << atCentre.g << " " << atCentre.b;
            else
                EXPECT_FALSE(isBackground(atCentre));
            for (const auto& [sx, sz] : {std::pair{1, 1}, {1, -1}, {-1, 1}, {-1, -1}}) {
                const Colour corner = colourAt(seen, middle + QPointF(0.8 * sx * hx, 0.8 * sz * hz));
                EXPECT_EQ(isBackground(corner), !c.square) << sx << " " << sz;
            }
            // Picked where it is drawn.
            const auto hit = view->itemAt(middle);
            ASSERT_TRUE(hit);
            EXPECT_EQ(hit->item, c.item);
        }
    }
    // Twenty times as many items, no more draw calls; a hidden layer leaves the background.
    open(shapes(0, 20), "some");
    lookDown({30, 0, 0}, 150);
    picture();
    const int calls = view->drawCalls();
    open(shapes(0, 400), "many");
    lookDown({30, 0, 0}, 150);
    picture();
    EXPECT_EQ(view->drawCalls(), calls);
    ui.find<QCheckBox>("View3DLayer_0")->click();
    lookDown(centreOf({ViewLayer::Scene, 0}), 30);
    EXPECT_FALSE(isShadeOf(colourAt(picture(), pixelOf(centreOf({ViewLayer::Scene, 0}))), markerColour(MarkerKind::Model)));
}

TEST_F(View3DWindow, FromAboveTheViewShowsTheMissionAsTheMapDoes)
{
    // A thing at the origin; a lamp at +x, a man at +z, a car at -x; a cached object 4 x 2 m.
    SceneBuilder s;
    s.beginObjects();
    s.object({.name = "Crate", .type = 9, .translation = Floats3{0, 0, 0}, .model = "box.i3d"});
    s.object({.name = "Lamp", .type = 2, .translation = Floats3{10, 0, 0}});
    s.object({.name = "Man", .type = 9, .translation = Floats3{0, 0, 10}, .model = "man.i3d"});
    s.object({.name = "Car", .type = 9, .translation = Floats3{-10, 0, 0}, .model = "car.i3d"});
    s.endObjects();
    s.beginDefinitions();
    s.definition({"Man", 0x1B, humanData(16, 3, 0.5f, 80, "")});
    s.definition({"Car", 4, std::vector<std::uint8_t>(48, 0)});
    s.endDefinitions();
    CacheBuilder cache;
    cache.object("shed.i3d", {0, 0, -12}, {0, 1, 0, 0}, {4, 1, 2});
    open({{"scene2.bin", s.finish()}, {"cache.bin", cache.finish()}});
    lookDown({0, 0, 0}, 40);
    const QImage seen = picture();
    const MissionMap map = buildMissionMap(ui.window->mission().sceneCatalogue(), ui.window->mission().cache(), {});
    const MapCamera mapCamera{{0, 0}, 10, QSizeF(600, 600)};
    QImage drawn(600, 600, QImage::Format_RGB32);
    drawn.fill(MapBackground);
    {
        QPainter painter(&drawn);
        paintMissionMap(painter, map, mapCamera, {});
    }
    // Where each kind's colour lies in a picture, as the middle of its pixels (the map's legend, in
    // its top left corner, passed over).
    const auto middleOf = [](const QImage& image, const auto& isKind) {
        QPointF sum;
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((x > 160 || y > 220) && isKind(colourAt(image, QPointF(x, y))))
                    sum += QPointF(x, y), ++n;
        return n ? sum / n : QPointF(-1, -1);
    };
    const auto direction = [](QPointF d) { return std::pair{d.x() > 5 ? 1 : d.x() < -5 ? -1 : 0, d.y() > 5 ? 1 : d.y() < -5 ? -1 : 0}; };
    const Rgb origin = markerColour(MarkerKind::Model);
    for (const MarkerKind kind : {MarkerKind::Light, MarkerKind::Human, MarkerKind::Car}) {
        SCOPED_TRACE(static_cast<int>(kind));
        const Rgb rgb = markerColour(kind);
        const auto exact = [](Rgb k) { return [k](Colour c) { return distance(c, {k.r, k.g, k.b}) < 12; }; };
        const auto shade = [](Rgb k) { return [k](Colour c) { return isShadeOf(c, k); }; };
        const QPointF onMap = middleOf(drawn, exact(rgb)) - middleOf(drawn, exact(origin));
        const QPointF in3d = middleOf(seen, shade(rgb)) - middleOf(seen, shade(origin));
        EXPECT_EQ(direction(onMap), direction(in3d));
        EXPECT_NE(direction(in3d), (std::pair{0, 0}));
    }
    // The cached object's footprint across and along: to the edge of its face in 3D, to its outline
    // on the map.
    const auto extent = [](const QImage& image, QPoint centre, QPoint step, const auto& until) {
        int n = 0;
        while (n < 400 && !until(colourAt(image, centre + step * n)))
            ++n;
        return n;
    };
    const Vec3 shed{0, 1, -12};
    const float perPixel = view->camera().worldPerPixel(40 - shed.y);
    const auto inCache3d = [](Colour c) { return isShadeOf(c, CacheColour); };
    const auto onCacheMap = [](Colour c) { return distance(c, {CacheColour.r, CacheColour.g, CacheColour.b}) < 40; };
    const QPoint mapShed = mapCamera.toScreen({0, -12}).toPoint();
    for (const auto& [step, metres] : {std::pair{QPoint(1, 0), 4.0f}, {QPoint(0, 1), 2.0f}}) {
        const float seen3d = static_cast<float>(2 * extent(seen, pixelOf(shed), step, std::not_fn(inCache3d))) * perPixel;
        const float seenMap = static_cast<float>(2 * extent(drawn, mapShed, step, onCacheMap)) / 10;
        EXPECT_NEAR(seen3d, metres, 3 * perPixel);
        EXPECT_NEAR(seenMap, metres, 0.3f);
    }
}

TEST_F(View3DWindow, DamagedPlacesAreLeftOutAndCountedWhileTheRestIsFramedAndHandled)
{
    SceneBuilder s;
    s.beginObjects();
    s.object({.name = "A", .type = 9, .translation = Floats3{0, 0, 0}, .model = "box.i3d"});
    s.object({.name = "B", .type = 9, .translation = Floats3{10, 0, 0}, .model = "box.i3d"});
    s.object({.name = "Far", .type = 9, .translation = Floats3{1e37f, 0, 0}, .model = "box.i3d"});
    s.object({.name = "Lost", .type = 9, .translation = Floats3{NAN, 0, 0}, .model = "box.i3d"});
    s.object({.name = "Huge", .type = 9, .translation = Floats3{5, 0, 0}, .size = Floats3{1e38f, 1, 1}, .model = "box.i3d"});
    s.endObjects();
    open({{"scene2.bin", s.finish()}});
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Home);
    EXPECT_EQ(status(), "3 items left out of the 3D view: a place or size not finite or beyond 100 km");
    const QImage seen = picture();
    for (const std::uint32_t row : {0u, 1u})
        EXPECT_TRUE(isShadeOf(colourAt(seen, pixelOf(centreOf({ViewLayer::Scene, row}))), markerColour(MarkerKind::Model)));
    EXPECT_EQ(view->scene()->find({ViewLayer::Scene, 2}), std::nullopt);
    // The map leaves out the places beyond the limit too (it draws no object by its size).
    EXPECT_EQ(buildMissionMap(ui.window->mission().sceneCatalogue(), {}, {}).shapes.size(), 3u);
    // The handles stand between the two that have a place, whatever else is selected.
    ui.window->selection().selectSceneRows({0, 1, 3}, false);
    ASSERT_TRUE(view->handles());
    EXPECT_EQ(view->handles()->centre, (Vec3{5, 0, 0}));
}
