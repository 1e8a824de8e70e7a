// The "&Put" menu: cached objects and collision bodies merged into the scene as model objects.
#include <QListView>
#include <QStringListModel>
#include <QTabWidget>

#include "commands/merges/PutCache.h"
#include "commands/merges/PutTree.h"
#include "foundation/seams/Prompter.h"
#include "ui/MainWindow.h"
#include "ui/PutTreeDialog.h"
#include "ui/SceneListModel.h"
#include "ui/ScenePage.h"
#include "ui/ValueColours.h"
#include "ui/WaitCursor.h"

namespace mw {

void MainWindow::finishMerge(MergeResult result)
{
    switch (result) {
    case MergeResult::Merged:
        setStatus(QString::fromLatin1(InsertedStatus), SavedColour);
        m_inspectorTabs->setCurrentIndex(SceneValuesPage);
        return;
    case MergeResult::Stale:
        reloadSceneAt(static_cast<std::uint32_t>(std::max(m_allList->currentIndex().row(), 0)));
        return;
    case MergeResult::Refused:
        return;
    }
}

void MainWindow::putCacheCommand()
{
    if (ws().Busy)
        return;
    m_scenePage->setSavedMarkerVisible(false);
    setStatus(QString(), QColor());
    MergeResult result;
    {
        WaitCursor wait;
        result = putCache(*m_mission, *m_prompter);
    }
    finishMerge(result);
}

void MainWindow::putTreeCommand()
{
    if (ws().Busy)
        return;
    if (m_allModel->rowCount() == 0) {
        m_prompter->message("Load scene2.bin and tree.klz", "");
        return;
    }
    if (otherList(CollisionList).model->rowCount() == 0) {
        m_prompter->message("Load tree.klz and scne2.bin", "");
        return;
    }
    if (!m_putTreeDialog) {
        m_putTreeDialog = std::make_unique<PutTreeDialog>();
        connect(m_putTreeDialog.get(), &PutTreeDialog::accepted, this, [this] {
            if (ws().Busy)
                return;
            ws().PutTreeKind = PutTreeKinds[m_putTreeDialog->chosenKind()];
            ws().UseSavedScene = m_putTreeDialog->useSavedScene();
            m_scenePage->setSavedMarkerVisible(false);
            setStatus(QString(), QColor());
            MergeResult result;
            {
                WaitCursor wait;
                result = putTree(*m_mission, *m_prompter);
            }
            finishMerge(result);
        });
    }
    m_putTreeDialog->show();
    m_putTreeDialog->raise();
}

} // namespace mw
