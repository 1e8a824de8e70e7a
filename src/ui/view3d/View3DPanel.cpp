#include "ui/view3d/View3DPanel.h"

#include <QDockWidget>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QOpenGLContext>
#include <QPushButton>
#include <QVBoxLayout>
#include <numbers>

#include "foundation/files/FileAccess.h"
#include "mission/MissionFolder.h"
#include "render/view3d/gl/GlFormat.h"
#include "ui/QtText.h"
#include "ui/Selection.h"
#include "ui/StatusLine.h"
#include "ui/view3d/View3D.h"
#include "ui/ViewLayers.h"
#include "ui/WidgetNames.h"

namespace mw {

namespace {

// The item a little larger, so that its highlighted edges show around it.
Instance3D outlineOf(const Instance3D& item)
{
    Instance3D outline = item;
    for (std::size_t k = 0; k < 9; ++k)
        outline.columns[k] *= 1.03f;
    return outline;
}

void addCircle(std::vector<Vec3>& lines, Vec3 centre, float radius)
{
    constexpr int Segments = 48;
    constexpr float Tau = 2 * std::numbers::pi_v<float>;
    for (int k = 0; k < Segments; ++k) {
        const float a = Tau * static_cast<float>(k) / Segments, b = Tau * static_cast<float>(k + 1) / Segments;
        lines.push_back(centre + Vec3{std::cos(a), 0, std::sin(a)} * radius);
        lines.push_back(centre + Vec3{std::cos(b), 0, std::sin(b)} * radius);
    }
}

} // namespace

std::optional<QString> View3DPanel::openGlUnavailable()
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return view3dPlatformShortfall(platform);
    QOpenGLContext context;
    context.setFormat(view3dSurfaceFormat());
    return view3dShortfall(context.create() ? &context : nullptr);
}

View3DPanel::View3DPanel(Mission& mission, Selection& selection, ViewLayers& layers, StatusLine& status,
                         QMainWindow* window)
    : m_mission(mission), m_selection(selection), m_layers(layers), m_status(status)
{
    m_dock = new QDockWidget(QStringLiteral("3D View"), window);
    m_dock->setObjectName(QString::fromLatin1(ids::View3DDock));
    auto* content = new QWidget;
    auto* box = new QVBoxLayout(content);
    box->setContentsMargins(4, 4, 4, 4);
    auto* row = new QHBoxLayout;
    layers.addSwitches(row, "View3DLayer_");
    row->addStretch(1);
    // What a move snaps to with Ctrl.
    auto* grid = new QComboBox;
    grid->setObjectName(QString::fromLatin1(ids::View3DGridStep));
    grid->setToolTip(QStringLiteral("Grid step: a move with Ctrl held snaps to it"));
    for (const float step : {0.1f, 0.5f, 1.0f, 5.0f})
        grid->addItem(QStringLiteral("%1 m").arg(static_cast<double>(step)), static_cast<double>(step));
    grid->setCurrentIndex(2);
    row->addWidget(new QLabel(QStringLiteral("Grid")));
    row->addWidget(grid);
    auto* frameAll = new QPushButton(QStringLiteral("Frame all"));
    frameAll->setObjectName(QStringLiteral("View3DFrameAll"));
    row->addWidget(frameAll);
    box->addLayout(row);
    if (const auto reason = openGlUnavailable()) {
        m_notice = new QLabel(*reason);
        m_notice->setObjectName(QString::fromLatin1(ids::View3DNotice));
        box->addWidget(m_notice, 1);
        frameAll->setEnabled(false);
    } else {
        m_view = new View3D;
        box->addWidget(m_view, 1);
        connect(m_view, &View3D::unavailable, this, &View3DPanel::showUnavailable);
        connect(frameAll, &QPushButton::clicked, m_view, &View3D::frameAll);
        connect(m_view, &View3D::frameSelectionRequested, this, &View3DPanel::frameSelection);
        connect(m_view, &View3D::picked, this, [this](ItemRef item, bool toggle) {
            if (item.layer == ViewLayer::Route)
                return;
            const MissionFile file = fileOf(item.layer);
            if (file == MissionFile::Scene && toggle)
                m_selection.toggleSceneRow(item.row);
            else if (file == MissionFile::Scene)
                m_selection.selectSceneRow(item.row);
            else
                m_selection.setCurrent(file, item.row);
            emit picked(file);
        });
        connect(m_view, &View3D::boxed, this,
                [this](const std::vector<std::uint32_t>& rows) { m_selection.selectSceneRows(rows, true); });
        connect(m_view, &View3D::hovered, this, [this](std::optional<ItemRef> item) {
            if (item) {
                m_status.show(nameOf(*item), QColor());
                m_tellsHover = true;
            } else if (m_tellsHover) {
                m_status.clear();
                m_tellsHover = false;
            }
        });
        connect(&layers, &ViewLayers::changed, this, [this] { m_view->setLayers(m_layers.shown()); });
        connect(grid, &QComboBox::currentIndexChanged, this,
                [this, grid](int) { m_view->setGridStep(static_cast<float>(grid->currentData().toDouble())); });
        connect(m_view, &View3D::moveDragged, this, [this](Vec3 offset, bool finished) {
            if (!finished)
                return previewMove(offset);
            endPreview();
            if (offset != Vec3{})
                emit moveRequested(offset);
        });
        connect(m_view, &View3D::turnDragged, this, [this](double degrees, bool finished) {
            if (!finished)
                return previewTurn(degrees);
            endPreview();
            if (degrees != 0)
                emit turnRequested(degrees);
        });
        connect(m_view, &View3D::dragCancelled, this, [this] {
            endPreview();
            m_status.clear();
        });
    }
    m_dock->setWidget(content);
    window->addDockWidget(Qt::RightDockWidgetArea, m_dock);
    m_dock->hide();
    connect(m_dock, &QDockWidget::visibilityChanged, this, [this](bool) {
        if (shown() && m_stale)
            rebuild();
    });
    connect(&m_selection, &Selection::changed, this, &View3DPanel::showSelection);
    mission.addListener(this);
}

View3DPanel::~View3DPanel()
{
    m_mission.removeListener(this);
    m_dock->disconnect(this);
}

bool View3DPanel::shown() const { return m_view && !m_dock->isHidden(); }

void View3DPanel::showUnavailable(const QString& reason)
{
    // The context was made, but what the view needs is not there: one line instead of the view.
    auto* box = m_view->parentWidget()->layout();
    m_notice = new QLabel(reason);
    m_notice->setObjectName(QString::fromLatin1(ids::View3DNotice));
    box->replaceWidget(m_view, m_notice);
    m_view->hide();
    m_view->deleteLater();
    m_view = nullptr;
}

void View3DPanel::missionChanged(const MissionChange& change)
{
    if (change.kind == MissionChange::Kind::AboutToLoad)
        return;
    m_stale = true;
    if (shown())
        rebuild();
}

void View3DPanel::rebuild()
{
    m_stale = false;
    if (!m_view)
        return;
    // The route file beside the scene, when there is one.
    std::vector<std::uint8_t> route;
    if (m_mission.isLoaded(MissionFile::Scene)) {
        const auto path = missionFilesIn(m_mission.pathOf(MissionFile::Scene).parent_path())[MissionFile::Route];
        try {
            if (!path.empty())
                route = readWholeFile(path);
        } catch (const IoError&) {
            // No route to draw.
        }
    }
    Scene3DSource source;
    source.scene = &m_mission.sceneCatalogue();
    source.cache = &m_mission.cache();
    source.tree = &m_mission.tree();
    source.model = &m_mission.model();
    source.route = route;
    m_scene = std::make_shared<Scene3D>(buildScene3D(source));
    m_preview.reset();
    m_dragged.clear();
    m_view->showPreview(nullptr);
    m_view->setScene(m_scene);
    m_view->setLayers(m_layers.shown());
    // Another mission: everything in view; the same one: the camera stays where the user put it.
    std::filesystem::path folder;
    for (const MissionFile file : MissionFiles)
        if (m_mission.isLoaded(file)) {
            folder = m_mission.pathOf(file).parent_path();
            break;
        }
    if (folder != m_folder) {
        m_folder = folder;
        m_view->frameAll();
    }
    showSelection();
}


std::optional<ItemRef> View3DPanel::otherChoice() const
{
    const MissionFile file = m_selection.lastChanged();
    const auto row = m_selection.current(file);
    if (file == MissionFile::Scene || !row)
        return std::nullopt;
    return ItemRef{layerOf(file), *row};
}

std::vector<ItemRef> View3DPanel::selectedItems() const
{
    std::vector<ItemRef> items;
    for (const std::uint32_t row : m_selection.sceneRows())
        items.push_back({ViewLayer::Scene, row});
    if (const auto other = otherChoice())
        items.push_back(*other);
    return items;
}

void View3DPanel::showSelection()
{
    if (!m_view || !m_scene)
        return;
    placeHandles();
    const Scene3D& scene = m_preview ? *m_preview : *m_scene;
    Highlight3D highlight;
    const SceneCatalogue& catalogue = m_mission.sceneCatalogue();
    for (const ItemRef& item : selectedItems()) {
        const auto place = scene.find(item);
        if (!place)
            continue;
        const Batch3D& batch = scene.batch(place->batch);
        const Instance3D& instance = batch.instances[place->index];
        highlight.items[static_cast<std::size_t>(batch.mesh)].push_back(outlineOf(instance));
        // A light's reach (the second value of its distance), as a circle about it.
        if (item.layer == ViewLayer::Scene && item.row < catalogue.entryCount() &&
            catalogue.records[item.row].typeCode == typecode::Light) {
            const float reach = catalogue.entry(item.row).lightDistance[1];
            if (std::isfinite(reach) && reach > 0 && reach < 1e5f)
                addCircle(highlight.lines, instance.column(3), reach);
        }
    }
    m_view->setHighlight(std::move(highlight));
}

void View3DPanel::placeHandles()
{
    const std::vector<NewPlace> places = placesOf(m_mission, m_selection.placedItems());
    std::vector<ItemRef> draggable;
    for (const NewPlace& p : places)
        draggable.push_back({layerOf(p.file), p.row});
    m_view->setHandles(centreOf(places), std::move(draggable));
}

void View3DPanel::startPreview()
{
    if (m_preview || !m_scene)
        return;
    m_preview = std::make_shared<Scene3D>(*m_scene);
    m_dragged.clear();
    for (const NewPlace& p : placesOf(m_mission, m_selection.placedItems())) {
        const ItemRef item{layerOf(p.file), p.row};
        if (const auto place = m_scene->find(item))
            m_dragged.push_back({*place, m_scene->batch(place->batch).instances[place->index], p.translation});
    }
}

void View3DPanel::previewMove(Vec3 offset)
{
    startPreview();
    for (const Dragged& d : m_dragged) {
        Instance3D& i = m_preview->batch(d.place.batch).instances[d.place.index];
        i = d.before;
        i.columns[9] += offset.x;
        i.columns[10] += offset.y;
        i.columns[11] += offset.z;
    }
    m_view->showPreview(m_preview);
    showSelection();
    if (!m_dragged.empty()) {
        const Vec3 t = m_dragged.front().translation + offset;
        m_status.show(QStringLiteral("Move %1 m to %2, %3, %4")
                          .arg(static_cast<double>(length(offset)), 0, 'g', 4)
                          .arg(static_cast<double>(t.x), 0, 'g', 6)
                          .arg(static_cast<double>(t.y), 0, 'g', 6)
                          .arg(static_cast<double>(t.z), 0, 'g', 6),
                      QColor());
    }
}

void View3DPanel::previewTurn(double degrees)
{
    startPreview();
    // One item turns about its own translation, several about the centre of theirs.
    Vec3 pivot;
    for (const Dragged& d : m_dragged)
        pivot += d.translation / static_cast<float>(m_dragged.size());
    const Mat3 turn = Mat3::aboutY(static_cast<float>(degrees * std::numbers::pi / 180));
    for (const Dragged& d : m_dragged) {
        const Vec3 about = m_dragged.size() == 1 ? d.translation : pivot;
        Instance3D& i = m_preview->batch(d.place.batch).instances[d.place.index];
        i = d.before;
        for (int c = 0; c < 4; ++c) {
            const Vec3 v = c < 3 ? turn * d.before.column(c) : about + turn * (d.before.column(3) - about);
            i.columns[static_cast<std::size_t>(c * 3)] = v.x;
            i.columns[static_cast<std::size_t>(c * 3 + 1)] = v.y;
            i.columns[static_cast<std::size_t>(c * 3 + 2)] = v.z;
        }
    }
    m_view->showPreview(m_preview);
    showSelection();
    m_status.show(QStringLiteral("Turn %1\u00B0").arg(degrees, 0, 'g', 5), QColor());
}

void View3DPanel::endPreview()
{
    m_preview.reset();
    m_dragged.clear();
    if (m_view) {
        m_view->showPreview(nullptr);
        showSelection();
    }
}

void View3DPanel::frameSelection()
{
    // What was chosen last: an entry of another list, or else the selected scene objects.
    if (m_view && otherChoice())
        m_view->frameItems({*otherChoice()});
    else if (m_view)
        m_view->frameItems(selectedItems());
}

QString View3DPanel::nameOf(ItemRef item) const
{
    switch (item.layer) {
    case ViewLayer::Scene:
        return item.row < m_mission.sceneCatalogue().entryCount() ? fromBytes(std::string(m_mission.sceneCatalogue().name(item.row)))
                                                                  : QString();
    case ViewLayer::Cache:
        return item.row < m_mission.cache().records.size()
                   ? QStringLiteral("cached: ") + fromBytes(std::string(m_mission.cache().name(item.row)))
                   : QString();
    case ViewLayer::Collision:
        return item.row < m_mission.tree().bodyCount() ? fromBytes(m_mission.tree().listText(item.row)) : QString();
    case ViewLayer::Frames:
        return item.row < m_mission.model().frames.size() ? QStringLiteral("frame: ") + fromBytes(m_mission.model().frames[item.row].name)
                                                          : QString();
    case ViewLayer::Route:
        break;
    }
    return QString();
}

} // namespace mw
