// "&Racing": the track dialog.
#include "ui/MainWindow.h"
#include "ui/TrackDialog.h"

namespace mw {

void MainWindow::racingCommand()
{
    if (!m_trackDialog)
        m_trackDialog = std::make_unique<TrackDialog>(
            *m_mission, [this]() -> Prompter& { return *m_prompter; }, [this]() -> FileChooser& { return *m_fileChooser; });
    m_trackDialog->prepare();
}

} // namespace mw
