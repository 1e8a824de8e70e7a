#include "ui/MapPanel.h"

#include <QCheckBox>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/ItemStates.h"
#include "ui/MissionMapView.h"
#include "ui/Selection.h"
#include "ui/ViewLayers.h"
#include "ui/WidgetNames.h"

namespace mw {

MapPanel::MapPanel(Mission& mission, Selection& selection, ViewLayers& layers, const ItemStates& states,
                   QMainWindow* window, QLabel* coordinates)
    : m_mission(mission), m_selection(selection)
{
    m_dock = new QDockWidget(QStringLiteral("Map"), window);
    m_dock->setObjectName(QString::fromLatin1(ids::MapDock));
    auto* content = new QWidget;
    auto* box = new QVBoxLayout(content);
    box->setContentsMargins(4, 4, 4, 4);
    auto* row = new QHBoxLayout;
    m_view = new MissionMapView;
    // The layers the map shares with the 3D view; the map draws the first three.
    layers.addSwitches(row, "MapLayer_", "MapLock_");
    connect(&layers, &ViewLayers::changed, this, [this, &layers] { m_view->setLayers(layers.shown(), layers.locked()); });
    row->addStretch(1);
    auto* fit = new QPushButton(QStringLiteral("Fit"));
    fit->setObjectName(QStringLiteral("MapFit"));
    connect(fit, &QPushButton::clicked, m_view, &MissionMapView::fit);
    row->addWidget(fit);
    box->addLayout(row);
    box->addWidget(m_view, 1);
    m_dock->setWidget(content);
    window->addDockWidget(Qt::RightDockWidgetArea, m_dock);
    m_dock->hide();

    connect(m_dock, &QDockWidget::visibilityChanged, this, [this](bool) {
        if (shown() && m_stale)
            redraw();
    });
    connect(m_view, &MissionMapView::pointerAt, coordinates, [coordinates](float x, float z) {
        coordinates->setText(QStringLiteral("x %1   z %2").arg(x, 0, 'f', 1).arg(z, 0, 'f', 1));
    });
    connect(m_view, &MissionMapView::picked, this, [this](ViewLayer layer, std::uint32_t row) {
        m_selection.pick({layer, row});
        emit picked(layer, row);
    });
    connect(m_view, &MissionMapView::pickedNothing, &m_selection, &Selection::clearAll);
    connect(m_view, &MissionMapView::moved, this, &MapPanel::moved);
    connect(m_view, &MissionMapView::toggled, &m_selection, &Selection::toggle);
    connect(m_view, &MissionMapView::boxed, &m_selection, &Selection::selectItems);
    connect(m_view, &MissionMapView::movedSelection, this, &MapPanel::movedSelection);
    connect(m_view, &MissionMapView::contextMenuAt, this, &MapPanel::contextMenuAt);
    connect(&states, &ItemStates::changed, this, [this, &states] {
        const auto of = [&](EntryState state) {
            return std::array{states.rows(state, MissionFile::Scene), states.rows(state, MissionFile::Cache),
                              states.rows(state, MissionFile::Tree)};
        };
        m_view->setEntryStates(of(EntryState::Hidden), of(EntryState::Locked));
    });
    connect(&m_selection, &Selection::changed, this, &MapPanel::showSelection);
    mission.addListener(this);
}

MapPanel::~MapPanel()
{
    m_mission.removeListener(this);
    // The dock hides while the window's widgets are taken down: nothing may reach the panel then.
    m_dock->disconnect(this);
}

bool MapPanel::shown() const { return !m_dock->isHidden(); }

void MapPanel::showSelection(SelectionChange change)
{
    m_view->setSelection({m_selection.rows(MissionFile::Scene), m_selection.rows(MissionFile::Cache),
                          m_selection.rows(MissionFile::Tree)});
    // The entry a list made current is marked (and brought into view) while it is selected.
    for (const MissionFile file : {MissionFile::Scene, MissionFile::Cache, MissionFile::Tree})
        if (const auto row = m_selection.current(file); change.has(file) && row && shown() && m_selection.contains({layerOf(file), *row}))
            m_view->setHighlight(layerOf(file), *row);
}

void MapPanel::missionChanged(const MissionChange& change)
{
    if (change.kind == MissionChange::Kind::AboutToLoad)
        return;
    // The files on the map: what was read again is drawn anew; what a save wrote, only its shapes.
    bool anew = false;
    std::vector<const FileChanged*> written;
    for (const FileChanged& f : change.files) {
        if (f.file == MissionFile::Model || f.file == MissionFile::Route || f.how == FileChanged::How::Replaced)
            continue; // not on the map; a replace is read again before its notice ends
        if (f.read() || f.rows.empty())
            anew = true;
        else
            written.push_back(&f);
    }
    if (!anew && written.empty())
        return;
    if (!shown()) {
        m_stale = true;
        return;
    }
    if (anew) {
        redraw();
        return;
    }
    m_view->changeMap([&](MissionMap& map) {
        for (const FileChanged* f : written)
            updateMissionMap(map, layerOf(f->file), f->rows, m_mission.sceneCatalogue(), m_mission.cache(), m_mission.tree());
    });
}

void MapPanel::redraw()
{
    m_view->setMap(buildMissionMap(m_mission.sceneCatalogue(), m_mission.cache(), m_mission.tree()));
    m_stale = false;
    showSelection({}); // nothing is marked on a map drawn anew
}

} // namespace mw
