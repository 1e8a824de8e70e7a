// mwtool list: the catalogue of a scene, a cache, a model file or a collision file as a table.
#include <iostream>

#include "app/mwtool/Commands.h"
#include "app/mwtool/Table.h"
#include "commands/check/MissionCheck.h"
#include "commands/lists/OtherList.h"
#include "formats/cache/CacheFile.h"
#include "formats/collision/CollisionFile.h"
#include "formats/model/ModelFile.h"
#include "formats/scene/SceneLoader.h"
#include "foundation/files/FileAccess.h"
#include "foundation/files/Paths.h"
#include "foundation/text/Latin1Text.h"
#include "foundation/text/NumericText.h"
#include "mission/MissionFolder.h"

namespace mw::tool {

namespace {

const std::vector<std::string> Xyz{"x", "y", "z"};
const std::vector<std::string> Quaternion{"1", "2", "3", "4"};

std::vector<float> numbers(Vec3 v) { return {v.x, v.y, v.z}; }
std::vector<float> numbers(const std::array<float, 4>& q) { return {q.begin(), q.end()}; }
Cell text(std::string_view latin1) { return shownText(latin1); }
Cell rowNumber(std::size_t row) { return static_cast<std::int64_t>(row); }

Table sceneTable(const SceneCatalogue& scene)
{
    Table t{{{"row"}, {"name"}, {"type"}, {"has_script"}, {"model"}, {"link"}, {"translation", Xyz},
             {"rotation", Quaternion}, {"size", Xyz}},
            {}};
    for (std::uint32_t row = 0; row < scene.entryCount(); ++row) {
        const SceneRecord& r = scene.records[row];
        const auto present = [](std::uint32_t offset, std::vector<float> values) {
            return offset ? Cell(std::move(values)) : Cell();
        };
        t.rows.push_back({rowNumber(row), text(scene.name(row)),
                          r.typeCode == typecode::None ? Cell() : Cell(hexNumber(r.typeCode, 2)), r.hasScript,
                          text(scene.model(row)), text(scene.link(row)),
                          present(r.TranslationOffset, numbers(scene.translation(row))),
                          present(r.RotationOffset, numbers(scene.rotation(row))),
                          present(r.SizeOffset, numbers(scene.size(row)))});
    }
    return t;
}

// The cache, the model file or the collision file: the row, its name, what the list tells of it
// beside, and the values its inspector page shows.
Table otherTable(const OtherList& list)
{
    Table t{{{"row"}, {"name"}}, {}};
    for (const std::string& column : list.detailColumns())
        t.columns.push_back({column});
    t.columns.push_back({"position", Xyz});
    t.columns.push_back({"rotation", Quaternion});
    if (list.hasSize())
        t.columns.push_back({"size", Xyz});
    for (std::size_t row = 0; row < list.count(); ++row) {
        const auto values = list.values(row);
        const std::string listed = list.rowText(row);
        std::vector<Cell> cells{rowNumber(row), text(listed.substr(std::min(listed.find_first_not_of(' '), listed.size())))};
        for (const ListDetail& detail : list.details(row))
            cells.push_back(std::holds_alternative<std::string>(detail) ? text(std::get<std::string>(detail))
                                                                        : Cell(std::get<std::int64_t>(detail)));
        cells.push_back(values ? Cell(numbers(values->position)) : Cell());
        cells.push_back(values ? Cell(numbers(values->rotation)) : Cell());
        if (list.hasSize())
            cells.push_back(values ? Cell(numbers(values->size)) : Cell());
        t.rows.push_back(std::move(cells));
    }
    return t;
}

// The reader's refusal, said on the standard error; true when there is one.
bool refused(const std::filesystem::path& file, bool loaded, const std::vector<std::string>& messages)
{
    if (loaded)
        return false;
    std::cerr << "mwtool: " << utf8Of(file) << " is not read"
              << (messages.empty() ? std::string() : ": " + messages.front()) << '\n';
    return true;
}

// Where a reader stopped short of what the file counts, said on the standard error.
void tellCut(const std::filesystem::path& file, const std::optional<ReadShortfall>& cut)
{
    if (cut)
        std::cerr << "mwtool: " << utf8Of(file) << " is read only in part, up to " << hexNumber(cut->offset) << ": "
                  << cut->what << '\n';
}

} // namespace

int list(const std::filesystem::path& file, TableFormat format)
{
    SharedImage bytes;
    try {
        bytes = std::make_shared<const std::vector<std::uint8_t>>(readWholeFile(file));
    } catch (const IoError& e) {
        std::cerr << "mwtool: cannot read " << utf8Of(file) << ": " << e.what() << '\n';
        return CannotRun;
    }
    Table table;
    std::optional<ReadShortfall> cut;
    switch (kindOfFile(utf8Of(file.filename()), *bytes).value_or(CheckedKind::Route)) {
    case CheckedKind::Scene: {
        const SceneLoadResult scene = loadScene(bytes);
        if (refused(file, scene.status == SceneLoadStatus::Loaded || scene.status == SceneLoadStatus::Empty,
                    scene.messages))
            return CannotRun;
        table = sceneTable(scene.catalogue);
        break;
    }
    case CheckedKind::Cache: {
        const CacheLoadResult cache = readCacheFile(bytes);
        if (refused(file, cache.status != FileReadStatus::WrongSignature, cache.messages))
            return CannotRun;
        table = otherTable(*otherListOf(cache));
        cut = cache.cut;
        break;
    }
    case CheckedKind::Model: {
        const ModelLoadResult model = readModelFile(*bytes);
        if (refused(file, model.status != FileReadStatus::WrongSignature, model.messages))
            return CannotRun;
        table = otherTable(*otherListOf(model));
        cut = model.cut;
        break;
    }
    case CheckedKind::Tree: {
        // Cylinders take their height from the scene beside the file, when there is one.
        SceneLoadResult scene;
        try {
            if (const auto beside = missionFilesIn(file.parent_path())[MissionFile::Scene]; !beside.empty())
                scene = loadScene(readWholeFile(beside));
        } catch (const IoError&) {
            // Without the scene, cylinders keep the height the file gives them.
        }
        const CollisionLoadResult tree = readCollisionFile(bytes, scene.catalogue);
        if (refused(file, tree.status != FileReadStatus::WrongSignature, tree.messages))
            return CannotRun;
        table = otherTable(*otherListOf(tree));
        cut = tree.cut;
        break;
    }
    default:
        std::cerr << "mwtool: " << utf8Of(file) << " is no scene, cache, model or collision file\n";
        return CannotRun;
    }
    if (format == TableFormat::Csv)
        writeCsv(std::cout, table);
    else
        writeJson(std::cout, table);
    tellCut(file, cut);
    return cut ? Problems : Ok;
}

} // namespace mw::tool
