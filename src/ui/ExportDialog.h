#pragma once
// "Export Selection as ADDin" (objectName ExportAddin): the add-in's title (AddinTitle), mission
// name (AddinMission) and block name (AddinBlock), and whether the model files come along
// (AddinIncludeModels). AddinSave asks for the file and writes the package of the selected objects;
// AddinCancel closes. Shown without blocking the main window.

#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "commands/addins/Export.h"

class QCheckBox;
class QLineEdit;

namespace mw {

class CommandRunner;
class FileChooser;
class Mission;
class Prompter;

class ExportDialog final : public QWidget {
    Q_OBJECT
public:
    ExportDialog(Mission& mission, Prompter& prompter, FileChooser& files, CommandRunner& runner);

    // The rows to export, and the dialog's defaults for them; then shown.
    void prepare(std::vector<std::uint32_t> rows);
    ExportChoices choices() const;

private:
    void save();

    Mission& m_mission;
    Prompter& m_prompter;
    FileChooser& m_files;
    CommandRunner& m_runner;
    std::vector<std::uint32_t> m_rows;
    std::filesystem::path m_lastFolder; // of the last export; empty: none yet
    QLineEdit* m_title;
    QLineEdit* m_missionName;
    QLineEdit* m_blockName;
    QCheckBox* m_includeModels;
};

} // namespace mw
