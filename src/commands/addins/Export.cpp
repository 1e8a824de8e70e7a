#include "commands/addins/Export.h"

#include <algorithm>
#include <optional>

#include "commands/objects/CopyPaste.h"
#include "formats/addin/Package.h"
#include "formats/model/PlaceholderModel.h"
#include "foundation/files/FileAccess.h"
#include "foundation/files/Paths.h"
#include "foundation/seams/Prompter.h"
#include "foundation/text/Latin1Text.h"
#include "mission/Mission.h"
#include "mission/ModelFolder.h"

namespace mw {

namespace {

namespace fs = std::filesystem;

// The models group: the model file of every object that has a model, each once.
std::vector<PackageFile> modelFiles(const Mission& mission, std::span<const std::uint32_t> rows,
                                    std::vector<std::string>& missing)
{
    const SceneCatalogue& catalogue = mission.sceneCatalogue();
    const ModelFolder models(mission.workspace().ScenePath);
    std::vector<PackageFile> files;
    std::vector<std::string> seen;
    for (std::uint32_t row : rows) {
        if (!catalogue.isObject(row) || catalogue.model(row).empty())
            continue;
        const std::string name = modelFileNameFor(catalogue.model(row));
        if (std::any_of(seen.begin(), seen.end(), [&](const std::string& s) { return equalIgnoringCase(s, name); }))
            continue;
        seen.push_back(name);
        if (name.size() > 20 || !isPlainFileName(name)) {
            missing.push_back(name + " (the name does not fit a package)");
            continue;
        }
        const auto path = models.find(name);
        if (!path) {
            missing.push_back(name + " (not in the models folder)");
            continue;
        }
        try {
            files.push_back({utf8Of(path->filename()), readWholeFile(*path)});
        } catch (const IoError& error) {
            missing.push_back(name + " (" + error.what() + ")");
        }
    }
    return files;
}

} // namespace

ExportChoices defaultExportChoices(const Mission& mission, std::span<const std::uint32_t> rows)
{
    const CopiedObjects copied = copyObjects(mission, rows);
    return {copied.package.title, copied.package.missionName, copied.package.blockName, true};
}

std::string exportChoicesProblem(const ExportChoices& choices)
{
    Package fields; // the text fields alone, checked by the writer's own rules
    fields.title = choices.title;
    fields.missionName = choices.missionName;
    fields.blockName = choices.blockName;
    return writePackage(fields).problem;
}

Result<Exported> exportAddin(Mission& mission, std::span<const std::uint32_t> rows, const ExportChoices& choices,
                             const std::filesystem::path& packagePath, Prompter& prompter)
{
    Exported result;
    CopiedObjects copied = copyObjects(mission, rows);
    if (copied.names.empty())
        return Outcome::refused();
    Package& package = copied.package;
    package.title = choices.title;
    package.missionName = choices.missionName;
    package.blockName = choices.blockName;
    if (choices.includeModels)
        package.groups[static_cast<std::size_t>(FileGroup::Models)] = modelFiles(mission, rows, result.missingModels);
    const PackageWriteResult written = writePackage(package);
    if (!written.problem.empty()) {
        prompter.message("** The add-in cannot be made: " + written.problem + " - nothing was written! **", "Export");
        return Outcome::refused();
    }
    // The user's own file, never one the mission holds: written past the history, over a file of
    // the mission it could not be undone.
    for (const MissionFile file : MissionFiles)
        if (mission.isLoaded(file) && isSameFile(mission.pathOf(file), packagePath)) {
            prompter.message(std::string("** The add-in cannot be written over ") + missionFileName(file) +
                                 " of the loaded mission - nothing was written! **",
                             "Export");
            return Outcome::refused();
        }
    try {
        const Mission::BusyScope busy(mission);
        replaceWholeFile(packagePath, written.bytes);
    } catch (const IoError& error) {
        prompter.message(std::string("** The add-in cannot be written: ") + error.what() + " - nothing was written! **",
                         "Export");
        return Outcome::failed();
    }
    result.objects = copied.names.size();
    for (const PackageFile& file : package.groups[static_cast<std::size_t>(FileGroup::Models)])
        result.modelFiles.push_back(file.name);
    return {Outcome::doneWith(), std::move(result)};
}

} // namespace mw
