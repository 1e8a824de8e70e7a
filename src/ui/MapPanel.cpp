#include "ui/MapPanel.h"

#include <QCheckBox>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/MissionMapView.h"
#include "ui/WidgetNames.h"

namespace mw {

MapPanel::MapPanel(Mission& mission, QMainWindow* window, QLabel* coordinates) : m_mission(mission)
{
    m_dock = new QDockWidget(QStringLiteral("Map"), window);
    m_dock->setObjectName(QString::fromLatin1(ids::MapDock));
    auto* content = new QWidget;
    auto* box = new QVBoxLayout(content);
    box->setContentsMargins(4, 4, 4, 4);
    auto* row = new QHBoxLayout;
    m_view = new MissionMapView;
    const char* layers[] = {"Scene objects", "Cached objects", "Collision bodies"};
    for (int i = 0; i < 3; ++i) {
        auto* layer = new QCheckBox(QString::fromLatin1(layers[i]));
        layer->setObjectName(QStringLiteral("MapLayer_%1").arg(i));
        layer->setChecked(true);
        connect(layer, &QCheckBox::toggled, this, [this, i](bool on) { m_view->setLayerVisible(static_cast<MapLayer>(i), on); });
        row->addWidget(layer);
    }
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
    connect(m_view, &MissionMapView::picked, this, &MapPanel::picked);
    connect(m_view, &MissionMapView::moved, this, &MapPanel::moved);
    connect(m_view, &MissionMapView::toggled, this, &MapPanel::toggled);
    connect(m_view, &MissionMapView::boxed, this, &MapPanel::boxed);
    connect(m_view, &MissionMapView::movedSelection, this, &MapPanel::movedSelection);
    mission.addListener(this);
}

MapPanel::~MapPanel()
{
    m_mission.removeListener(this);
    // The dock hides while the window's widgets are taken down: nothing may reach the panel then.
    m_dock->disconnect(this);
}

bool MapPanel::shown() const { return !m_dock->isHidden(); }

void MapPanel::highlight(MapLayer layer, std::uint32_t row)
{
    if (shown())
        m_view->setHighlight(layer, row);
}

void MapPanel::showSelection(const std::vector<std::uint32_t>& sceneRows) { m_view->setSelection(sceneRows); }

void MapPanel::missionChanged(const MissionChange& change)
{
    if (change.file == MissionFile::Model || change.kind == MissionChange::Kind::AboutToLoad ||
        change.kind == MissionChange::Kind::Replaced)
        return; // the model file is not on the map; a replace is followed by a reload
    if (!shown()) {
        m_stale = true;
        return;
    }
    if (change.kind == MissionChange::Kind::Patched && !change.rows.empty()) {
        // A save wrote these entries: only their shapes are made again.
        const MapLayer layer = change.file == MissionFile::Scene   ? MapLayer::Scene
                               : change.file == MissionFile::Cache ? MapLayer::Cache
                                                                   : MapLayer::Collision;
        m_view->changeMap([&](MissionMap& map) {
            updateMissionMap(map, layer, change.rows, m_mission.sceneCatalogue(), m_mission.cache(), m_mission.tree());
        });
        return;
    }
    redraw();
}

void MapPanel::redraw()
{
    m_view->setMap(buildMissionMap(m_mission.sceneCatalogue(), m_mission.cache(), m_mission.tree()));
    m_stale = false;
    emit redrawn();
}

} // namespace mw
