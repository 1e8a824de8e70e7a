// "&ADDin": importing an add-in package into the loaded mission.
#include <QListView>

#include "commands/addins/Import.h"
#include "foundation/seams/FileChooser.h"
#include "ui/MainWindow.h"
#include "ui/SceneListModel.h"
#include "ui/ValueColours.h"
#include "ui/WaitCursor.h"

namespace mw {

void MainWindow::addinCommand()
{
    const auto& changed = ws().ChangedFlags;
    if (ws().Busy || m_allModel->rowCount() == 0 || std::find(changed.begin(), changed.end(), true) != changed.end())
        return;
    const auto package = m_fileChooser->openFile(addinmsg::Filter);
    if (!package)
        return;
    // The lists keep their rows across the reload.
    ws().ReloadIndex = static_cast<std::uint32_t>(std::max(m_allList->currentIndex().row(), 0));
    ws().ObjectIndex = ws().ReloadIndex;
    ws().ScriptListIndex = static_cast<std::uint32_t>(std::max(m_scriptList->currentIndex().row(), 0));
    ws().PlainListIndex = static_cast<std::uint32_t>(std::max(m_thingList->currentIndex().row(), 0));
    setStatus(QString(), QColor());
    ImportResult result;
    {
        WaitCursor wait;
        result = importAddin(*m_mission, std::filesystem::path(*package), *m_prompter);
    }
    if (result == ImportResult::Complete)
        setStatus(QString::fromLatin1(addinmsg::Complete), SavedColour);
}

} // namespace mw
