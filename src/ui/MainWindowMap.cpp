// The "&View" menu's map of the mission: a dock with the map view, its layer switches and "Fit",
// kept in step with the lists and the loaded files.
#include <QAction>
#include <QCheckBox>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStringListModel>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/MainWindow.h"
#include "ui/MissionMapView.h"
#include "ui/SceneListModel.h"
#include "ui/ScenePage.h"

namespace mw {

void MainWindow::buildMap()
{
    auto* dock = new QDockWidget(QStringLiteral("Map"), this);
    dock->setObjectName(QStringLiteral("MapDock"));
    auto* content = new QWidget;
    auto* box = new QVBoxLayout(content);
    box->setContentsMargins(4, 4, 4, 4);
    auto* row = new QHBoxLayout;
    m_mapView = new MissionMapView;
    const char* layers[] = {"Scene objects", "Cached objects", "Collision bodies"};
    for (int i = 0; i < 3; ++i) {
        auto* layer = new QCheckBox(QString::fromLatin1(layers[i]));
        layer->setObjectName(QStringLiteral("MapLayer_%1").arg(i));
        layer->setChecked(true);
        connect(layer, &QCheckBox::toggled, this,
                [this, i](bool on) { m_mapView->setLayerVisible(static_cast<MapLayer>(i), on); });
        row->addWidget(layer);
    }
    row->addStretch(1);
    auto* fit = new QPushButton(QStringLiteral("Fit"));
    fit->setObjectName(QStringLiteral("MapFit"));
    connect(fit, &QPushButton::clicked, m_mapView, &MissionMapView::fit);
    row->addWidget(fit);
    box->addLayout(row);
    box->addWidget(m_mapView, 1);
    dock->setWidget(content);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    dock->hide();
    m_mapDock = dock;

    auto* coordinates = new QLabel;
    coordinates->setObjectName(QStringLiteral("MapCoordinates"));
    statusBar()->addPermanentWidget(coordinates);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    QAction* show = view->addAction(QStringLiteral("&Map"));
    show->setCheckable(true);
    show->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(show, &QAction::toggled, dock, &QDockWidget::setVisible);
    connect(dock, &QDockWidget::visibilityChanged, this, [this, show, dock](bool) {
        // Closing the dock by its own button unticks the menu item.
        show->setChecked(!dock->isHidden());
        refreshMap();
    });

    connect(m_mapView, &MissionMapView::pointerAt, this, [coordinates](float x, float z) {
        coordinates->setText(QStringLiteral("x %1   z %2").arg(x, 0, 'f', 1).arg(z, 0, 'f', 1));
    });
    connect(m_mapView, &MissionMapView::picked, this, [this](MapLayer layer, std::uint32_t row) {
        switch (layer) {
        case MapLayer::Scene:
            m_listTabs->setCurrentIndex(AllTab);
            selectListRow(m_allList, row);
            break;
        case MapLayer::Cache:
            m_listTabs->setCurrentIndex(CacheTab);
            selectListRow(m_cacheList, row);
            break;
        case MapLayer::Collision:
            m_listTabs->setCurrentIndex(TreeTab);
            selectListRow(m_treeList, row);
            break;
        }
    });
    connect(m_mapView, &MissionMapView::moved, this, [this](std::uint32_t row, float x, float z) {
        if (row == m_shownRow && !ws().Busy)
            m_scenePage->placeAt(x, z);
    });
    // The selected entry of each list is marked on the map.
    const std::pair<QListView*, MapLayer> lists[] = {
        {m_allList, MapLayer::Scene}, {m_cacheList, MapLayer::Cache}, {m_treeList, MapLayer::Collision}};
    for (const auto& [list, layer] : lists)
        connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this, layer](const QModelIndex& current) {
                    if (current.row() >= 0 && m_mapDock->isVisible())
                        m_mapView->setHighlight(layer, static_cast<std::uint32_t>(current.row()));
                });
}

void MainWindow::refreshMap()
{
    if (!m_mapView || !m_mapDock->isVisible())
        return;
    m_mapView->setMap(buildMissionMap(catalogue(), m_mission->cache(), m_mission->tree()));
    if (const int row = m_allList->currentIndex().row(); row >= 0)
        m_mapView->setHighlight(MapLayer::Scene, static_cast<std::uint32_t>(row));
}

} // namespace mw
