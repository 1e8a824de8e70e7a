#include "ui/ExportDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "foundation/seams/FileChooser.h"
#include "foundation/seams/Prompter.h"
#include "ui/CommandRunner.h"
#include "ui/QtText.h"
#include "ui/ValueColours.h"

namespace mw {

ExportDialog::ExportDialog(Mission& mission, Prompter& prompter, FileChooser& files, CommandRunner& runner)
    : QWidget(nullptr, Qt::Window), m_mission(mission), m_prompter(prompter), m_files(files), m_runner(runner)
{
    setObjectName(QStringLiteral("ExportAddin"));
    setWindowTitle(QStringLiteral("Export Selection as ADDin"));
    auto* grid = new QGridLayout(this);
    const auto field = [&](const char* name, const char* caption, int row) {
        auto* box = new QLineEdit;
        box->setObjectName(QString::fromLatin1(name));
        box->setMaxLength(20); // the package's text fields
        grid->addWidget(new QLabel(QString::fromLatin1(caption)), row, 0);
        grid->addWidget(box, row, 1);
        return box;
    };
    m_title = field("AddinTitle", "Title", 0);
    m_missionName = field("AddinMission", "Mission", 1);
    m_blockName = field("AddinBlock", "Block name", 2);
    m_includeModels = new QCheckBox(QStringLiteral("include model files"));
    m_includeModels->setObjectName(QStringLiteral("AddinIncludeModels"));
    grid->addWidget(m_includeModels, 3, 1);
    auto* save = new QPushButton(QStringLiteral("Save..."));
    save->setObjectName(QStringLiteral("AddinSave"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setObjectName(QStringLiteral("AddinCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 4, 0, 1, 2);
    connect(save, &QPushButton::clicked, this, &ExportDialog::save);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
}

void ExportDialog::prepare(std::vector<std::uint32_t> rows)
{
    m_rows = std::move(rows);
    const ExportChoices defaults = defaultExportChoices(m_mission, m_rows);
    m_title->setText(fromBytes(defaults.title));
    m_missionName->setText(fromBytes(defaults.missionName));
    m_blockName->setText(fromBytes(defaults.blockName));
    m_includeModels->setChecked(defaults.includeModels);
    show();
    raise();
}

ExportChoices ExportDialog::choices() const
{
    return {bytesOf(m_title->text()), bytesOf(m_missionName->text()), bytesOf(m_blockName->text()),
            m_includeModels->isChecked()};
}

void ExportDialog::save()
{
    // The texts are checked before a file is asked for, so a refusal costs no trip to the dialog.
    const ExportChoices chosen = choices();
    if (const std::string problem = exportChoicesProblem(chosen); !problem.empty()) {
        m_prompter.message("** The add-in cannot be made: " + problem + " **", "Export");
        return;
    }
    // The dialog opens where the last export went, or in the mission's folder.
    const std::filesystem::path folder =
        m_lastFolder.empty() ? m_mission.pathOf(MissionFile::Scene).parent_path() : m_lastFolder;
    auto path = m_files.saveFile(exportmsg::Filter, folder, exportmsg::Suffix);
    if (!path)
        return;
    if (!path->has_extension())
        *path += std::string(".") + exportmsg::Suffix;
    m_runner.run([&] {
        const Result<Exported> exported = exportAddin(m_mission, m_rows, chosen, *path, m_prompter);
        if (!exported.done())
            return CommandResult(exported);
        const Exported& result = exported.value;
        m_lastFolder = path->parent_path();
        close();
        if (!result.missingModels.empty()) {
            std::string text = "The add-in was written without these model files:";
            for (const std::string& missing : result.missingModels)
                text += "\n" + missing;
            m_prompter.message(text, "Export");
        }
        return CommandResult::done(QString::fromLatin1(exportmsg::Exported), SavedColour);
    });
}

} // namespace mw
