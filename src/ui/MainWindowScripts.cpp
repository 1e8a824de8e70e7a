// The script box's marking and save, the script overview with its search, and deleting an object.
#include <QLabel>
#include <QListView>

#include "commands/editing/Deletion.h"
#include "commands/editing/Scripts.h"
#include "ui/MainWindow.h"
#include "ui/QtPrompter.h"
#include "ui/SceneListModel.h"
#include "ui/ScenePage.h"
#include "ui/ScriptOverviewPage.h"
#include "ui/ValueColours.h"
#include "ui/WaitCursor.h"

namespace mw {

namespace {

int rowOrZero(const QListView* list) { return std::max(list->currentIndex().row(), 0); }

} // namespace

void MainWindow::onScriptEdited()
{
    if (ws().Busy || m_allModel->rowCount() == 0)
        return;
    // Only a change of length is marked; an edit that keeps it is still written by a save.
    if (m_scenePage->storedScriptLength() == m_scenePage->scriptToStore().size())
        return;
    setStatus(QString::fromLatin1(scriptmsg::NotSaved), EditedColour);
    m_scriptDirty = true;
}

void MainWindow::saveScriptCommand()
{
    const int row = m_allList->currentIndex().row();
    if (ws().Busy || row < 0)
        return;
    m_scriptDirty = false;
    ws().ReloadIndex = static_cast<std::uint32_t>(row);
    ws().ScriptListIndex = static_cast<std::uint32_t>(rowOrZero(m_scriptList));
    ws().PlainListIndex = static_cast<std::uint32_t>(rowOrZero(m_thingList));
    const std::string text = m_scenePage->scriptToStore();
    ScriptSaveResult result;
    {
        WaitCursor wait;
        result = saveScript(*m_mission, static_cast<std::uint32_t>(row), text, *m_prompter);
    }
    switch (result) {
    case ScriptSaveResult::SameLength:
        m_scenePage->setStoredScript(text);
        break;
    case ScriptSaveResult::NewLength:
        break; // reloaded: the lists and the page show the rewritten file
    case ScriptSaveResult::Stale:
        reloadSceneAt(static_cast<std::uint32_t>(row));
        return;
    case ScriptSaveResult::Refused:
        return;
    }
    setStatus(QString::fromLatin1(scriptmsg::Saved), SavedScriptColour);
}

void MainWindow::listScriptsCommand()
{
    if (ws().Busy || m_allModel->rowCount() == 0 || !m_overview->listingWanted())
        return;
    ws().Busy = true;
    m_overview->setListing(fromBytes(scriptForEditing(scriptListing(*m_mission))));
    ws().Busy = false;
}

void MainWindow::scriptSearchCommand()
{
    if (ws().Busy || m_allModel->rowCount() == 0)
        return;
    while (!m_overview->findNext()) {
        if (!m_prompter->askYesNo(scriptmsg::SearchAgain, scriptmsg::SearchAgainTitle))
            return;
        m_overview->restartSearch();
    }
}

void MainWindow::deleteCommand()
{
    const int row = m_allList->currentIndex().row();
    if (ws().Busy || m_allModel->rowCount() == 0 || row < 0)
        return;
    setStatus(QString(), QColor());
    DeleteResult result;
    {
        WaitCursor wait;
        result = deleteObject(*m_mission, static_cast<std::uint32_t>(row), *m_prompter);
    }
    if (result == DeleteResult::Stale)
        reloadSceneAt(static_cast<std::uint32_t>(row));
}

} // namespace mw
