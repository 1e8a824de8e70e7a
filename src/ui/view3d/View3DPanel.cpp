#include "ui/view3d/View3DPanel.h"

#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QVBoxLayout>
#include <utility>

#include "commands/placing/Placing.h"
#include "render/view3d/Highlight.h"
#include "render/view3d/gl/GlFormat.h"
#include "ui/ItemNames.h"
#include "ui/ItemStates.h"
#include "ui/Selection.h"
#include "ui/StatusLine.h"
#include "ui/ViewLayers.h"
#include "ui/WidgetNames.h"
#include "ui/view3d/View3D.h"
#include "ui/view3d/View3DBar.h"

namespace mw {

View3DPanel::View3DPanel(Mission& mission, Selection& selection, ViewLayers& layers, const ItemStates& states,
                         StatusLine& status, QMainWindow* window)
    : m_mission(mission), m_selection(selection), m_layers(layers), m_states(states), m_status(status)
{
    m_dock = new QDockWidget(QStringLiteral("3D View"), window);
    m_dock->setObjectName(QString::fromLatin1(ids::View3DDock));
    auto* content = new QWidget;
    auto* box = new QVBoxLayout(content);
    box->setContentsMargins(4, 4, 4, 4);
    auto* bar = new View3DBar(layers);
    box->addWidget(bar);
    if (const auto reason = view3dUnavailable()) {
        auto* notice = new QLabel(*reason);
        notice->setObjectName(QString::fromLatin1(ids::View3DNotice));
        box->addWidget(notice, 1);
        bar->setViewless();
    } else {
        m_view = new View3D;
        box->addWidget(m_view, 1);
        connectView();
        // The view, not the panel, receives these: they end with it, should it give up its OpenGL.
        View3D* view = m_view;
        connect(&layers, &ViewLayers::changed, view, [view, &layers] { view->setLayers(layers.shown()); });
        connect(&layers, &ViewLayers::changed, this, &View3DPanel::showStates);
        connect(&states, &ItemStates::changed, this, &View3DPanel::showStates);
        connect(bar, &View3DBar::gridStepChosen, view, &View3D::setGridStep);
        connect(bar, &View3DBar::frameAllClicked, view, &View3D::frameAll);
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

void View3DPanel::connectView()
{
    View3D* view = m_view;
    connect(view, &View3D::unavailable, this, &View3DPanel::showUnavailable);
    connect(view, &View3D::contextMenuAt, this, &View3DPanel::contextMenuAt);
    connect(view, &View3D::frameSelectionRequested, this, &View3DPanel::frameSelection);
    connect(view, &View3D::framedAll, this, [this](std::size_t leftOut) {
        if (leftOut > 0)
            m_status.show(leftOutText(leftOut), QColor());
    });
    connect(view, &View3D::picked, this, [this](ItemRef item, bool toggle, std::size_t nth, std::size_t among) {
        toggle ? m_selection.toggle(item) : m_selection.pick(item);
        emit picked(fileOf(item.layer));
        // What was picked, with how many are here; several selected, the status line counts them.
        if (m_selection.size() <= 1)
            m_status.show(pickedText(m_mission, item, nth, among), QColor());
        m_tellsHover = false;
    });
    connect(view, &View3D::pickedNothing, &m_selection, &Selection::clearAll);
    connect(view, &View3D::boxed, this, [this](const std::vector<ItemRef>& items) { m_selection.selectItems(items, true); });
    connect(view, &View3D::hovered, this, [this](std::optional<ItemRef> item) {
        if (item) {
            m_status.show(itemName(m_mission, *item), QColor());
            m_tellsHover = true;
        } else if (m_tellsHover) {
            m_status.clear();
            m_tellsHover = false;
        }
    });
    connect(view, &View3D::moveDragged, this, [this](Vec3 offset, bool finished) {
        if (!finished)
            return previewMove(offset);
        endPreview();
        if (offset != Vec3{})
            emit moveRequested(offset);
    });
    connect(view, &View3D::turnDragged, this, [this](double degrees, bool finished) {
        if (!finished)
            return previewTurn(degrees);
        endPreview();
        if (degrees != 0)
            emit turnRequested(degrees);
    });
    connect(view, &View3D::dragCancelled, this, [this] {
        endPreview();
        m_status.clear();
    });
}

bool View3DPanel::shown() const { return m_view && !m_dock->isHidden(); }

void View3DPanel::showUnavailable(const QString& reason)
{
    // The context was made, but what the view needs is not there: one line instead of the view.
    View3D* view = std::exchange(m_view, nullptr);
    auto* notice = new QLabel(reason);
    notice->setObjectName(QString::fromLatin1(ids::View3DNotice));
    view->parentWidget()->layout()->replaceWidget(view, notice);
    view->hide();
    view->deleteLater();
}

Scene3DSource View3DPanel::source() const
{
    return {&m_mission.sceneCatalogue(), &m_mission.cache(), &m_mission.tree(), &m_mission.model(),
            m_mission.bytes(MissionFile::Route)};
}

void View3DPanel::missionChanged(const MissionChange& change)
{
    if (change.kind == MissionChange::Kind::AboutToLoad || change.files.empty())
        return;
    if (!shown()) {
        m_stale = true;
        return;
    }
    // What a save wrote is made again row by row; what was read again, or anything the rows
    // cannot say, builds the scene anew.
    bool anew = m_stale || !m_scene;
    for (const FileChanged& f : change.files) {
        if (f.how == FileChanged::How::Replaced)
            continue; // read again before the notice ends
        anew = anew || f.read() || f.rows.empty() || !updateScene3D(*m_scene, source(), layerOf(f.file), f.rows);
    }
    if (anew)
        return rebuild();
    m_view->sceneUpdated();
    showSelection();
}

void View3DPanel::rebuild()
{
    m_stale = false;
    if (!m_view)
        return;
    m_scene = std::make_shared<Scene3D>(buildScene3D(source()));
    m_preview.clear();
    m_view->setScene(m_scene);
    m_view->setLayers(m_layers.shown());
    showStates();
    // Another mission: everything in view; the same one: the camera stays where the user put it.
    if (m_mission.folder() != std::exchange(m_folder, m_mission.folder()))
        m_view->frameAll();
}

void View3DPanel::showSelection()
{
    if (!m_view || !m_scene)
        return;
    // The handles at the centre of what they move (the locked items stay), each of those items
    // draggable by its body.
    const std::vector<NewPlace> places = placesOf(m_mission, movable());
    std::vector<ItemRef> draggable;
    for (const NewPlace& p : places)
        draggable.push_back({layerOf(p.file), p.row});
    m_view->setHandles(centreOf(places), std::move(draggable));
    std::vector<ItemRef> items = m_selection.items();
    std::erase_if(items, [this](ItemRef item) { return m_states.is(EntryState::Hidden, item); });
    m_view->setHighlight(highlightOf(*m_scene, items, m_mission.sceneCatalogue(), [this](ItemRef item) {
        const Instance3D* moved = m_preview.movedInstance(item);
        return moved ? moved : m_scene->instance(item);
    }));
}

void View3DPanel::showStates()
{
    if (!m_view || !m_scene)
        return;
    const ItemStates& states = m_states;
    m_view->setPickFilter({m_layers.pickable(), [&states](ItemRef item) { return states.untouchable(item); }});
    m_view->setHidden([&states](ItemRef item) { return states.is(EntryState::Hidden, item); });
    m_hidden = skippingRows(*m_scene, [&states](MissionFile file) -> const std::vector<bool>& {
        return states.rows(EntryState::Hidden, file);
    });
    m_view->setOverrides(m_preview.active() ? m_preview.overrides() : m_hidden);
    showSelection();
}

void View3DPanel::frameSelection()
{
    if (m_view)
        m_view->frameItems(m_selection.items());
}

PlacedItems View3DPanel::movable() const
{
    std::size_t locked = 0;
    return m_states.unlocked(m_selection.placedItems(), locked);
}

void View3DPanel::previewMove(Vec3 offset)
{
    const std::vector<NewPlace> places = movedPlaces(m_mission, movable(), offset);
    m_preview.show(m_mission, *m_scene, source(), places, m_hidden);
    m_view->setOverrides(m_preview.overrides());
    showSelection();
    if (!places.empty())
        m_status.show(moveText(offset, places.front().translation), QColor());
}

void View3DPanel::previewTurn(double degrees)
{
    m_preview.show(m_mission, *m_scene, source(), turnedPlaces(m_mission, movable(), degrees), m_hidden);
    m_view->setOverrides(m_preview.overrides());
    showSelection();
    m_status.show(turnText(degrees), QColor());
}

void View3DPanel::endPreview()
{
    m_preview.clear();
    if (m_view) {
        m_view->setOverrides(m_hidden);
        showSelection();
    }
}

} // namespace mw
