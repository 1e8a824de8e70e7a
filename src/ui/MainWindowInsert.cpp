// The "&Insert" menu's ten kinds: the insert dialog prepared from the selected scene object.
#include <QListView>

#include "commands/insertion/InsertChoices.h"
#include "ui/InsertDialog.h"
#include "ui/MainWindow.h"
#include "ui/QtPrompter.h"
#include "ui/SceneListModel.h"
#include "ui/ScenePage.h"
#include "ui/ValueColours.h"

namespace mw {

void MainWindow::openInsertDialog(const InsertKind& kind)
{
    const int row = m_allList->currentIndex().row();
    if (m_allModel->rowCount() == 0 || row < 0)
        return;
    if (!m_insertDialog) {
        m_insertDialog = std::make_unique<InsertDialog>(
            *m_mission, [this]() -> Prompter& { return *m_prompter; }, [this]() -> FileChooser& { return *m_fileChooser; });
        connect(m_insertDialog.get(), &InsertDialog::inserted, this,
                [this] { setStatus(QStringLiteral(" **** Saved ****"), SavedColour); });
        connect(m_insertDialog.get(), &InsertDialog::staleScene, this,
                [this] { reloadSceneAt(static_cast<std::uint32_t>(std::max(m_allList->currentIndex().row(), 0))); });
    }
    const SceneEntry shown = m_mission->sceneCatalogue().entry(m_shownRow);
    const SceneValueForm page = m_scenePage->form();
    InsertSource source;
    source.name = m_allModel->index(row, 0).data().toString();
    source.model = fromBytes(shown.model);
    source.translation = {fromBytes(page.translationX), fromBytes(page.translationY), fromBytes(page.translationZ)};
    source.size = {fromBytes(page.sizeX), fromBytes(page.sizeY), fromBytes(page.sizeZ)};
    source.rotation = page.rotation;
    source.verticalAngle = fromBytes(page.verticalAngle);
    source.lightPower = shown.lightPower;
    source.lightColour = shown.lightColour;
    source.lightKind = shown.lightKind;
    source.doorMaterial = doorMaterialOf(*m_mission, m_shownRow);
    setStatus(QString(), QColor());
    m_insertDialog->prepare(kind, source);
}

} // namespace mw
