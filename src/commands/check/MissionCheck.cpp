#include "commands/check/MissionCheck.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <deque>
#include <functional>
#include <future>
#include <system_error>

#include "formats/addin/Package.h"
#include "formats/cache/CacheFile.h"
#include "formats/collision/CollisionFile.h"
#include "formats/model/ModelFile.h"
#include "formats/route/RouteFile.h"
#include "formats/scene/SceneLoader.h"
#include "formats/scene/SceneStructure.h"
#include "foundation/bytes/ByteReader.h"
#include "foundation/text/Latin1Text.h"
#include "mission/MissionFolder.h"

namespace mw {

namespace {

constexpr std::size_t RouteFileSize = routePointOffset(RoutePoints);
constexpr float RotationTolerance = 0.001f;

// A reader's message as the reason it gives: without the frame of asterisks and blanks.
std::string reasonOf(std::string_view message)
{
    const auto first = message.find_first_not_of("* ");
    if (first == std::string_view::npos)
        return std::string(message);
    const auto last = message.find_last_not_of("* ");
    return std::string(message.substr(first, last - first + 1));
}

std::string inQuotes(std::string_view latin1) { return "\"" + shownText(latin1) + "\""; }

bool allFinite(std::span<const float> values)
{
    return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

// The rotation's length when it differs from 1 by more than the tolerance.
std::optional<double> offUnitLength(const std::array<float, 4>& q)
{
    double sum = 0;
    for (const float v : q)
        sum += double{v} * v;
    const double length = std::sqrt(sum);
    if (std::abs(length - 1) <= RotationTolerance)
        return std::nullopt;
    return length;
}

std::string fourDecimals(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}

// Names that links may name, letter case ignored: the scene's objects and the model file's frames.
// A link names one when its whole text, or its part before the first ".", is one of them. The
// names stay in the files' bytes and the readers' results.
class KnownNames {
public:
    // The scene's names, every row's with its first row; the objects are the rows before `objects`.
    void setScene(FoldedNameSet rows, std::uint32_t objects)
    {
        m_sceneRows = std::move(rows);
        m_objects = objects;
    }
    void addFrame(std::string_view name)
    {
        if (!name.empty())
            m_frames.insert(name, 0);
    }
    bool names(std::string_view link) const
    {
        if (isKnown(link))
            return true;
        const auto dot = link.find('.');
        return dot != std::string_view::npos && isKnown(link.substr(0, dot));
    }

private:
    bool isKnown(std::string_view name) const
    {
        // Objects come before the free-standing scripts: a name's first row is an object's when
        // any object bears it.
        const auto row = m_sceneRows.value(name);
        return (row && *row < m_objects) || m_frames.contains(name);
    }

    FoldedNameSet m_sceneRows, m_frames;
    std::uint32_t m_objects = 0;
};

class Checker {
public:
    explicit Checker(CheckReport& report) : m_report(report) {}

    void check(std::span<const CheckedFile> files);

private:
    struct Place {
        std::optional<std::uint64_t> offset;
        std::optional<std::uint32_t> row;
    };
    void add(Severity severity, const CheckedFile& file, Place place, std::string message)
    {
        m_report.problems.push_back({severity, file.name, place.offset, place.row, std::move(message)});
    }
    void error(const CheckedFile& f, Place at, std::string m) { add(Severity::Error, f, at, std::move(m)); }
    void warning(const CheckedFile& f, Place at, std::string m) { add(Severity::Warning, f, at, std::move(m)); }
    // An empty file is read by no reader: said once, and true.
    bool empty(const CheckedFile& file)
    {
        if (!spanOf(file.bytes).empty())
            return false;
        warning(file, {}, "the file is empty");
        return true;
    }
    // A reader's refusal, or where it stopped short of what the file counts.
    void refused(const CheckedFile& file, FileReadStatus status, const std::vector<std::string>& messages,
                 const std::optional<ReadShortfall>& cut);
    // Values of an entry that are not finite, and a rotation that is not of unit length; `what`
    // names the entry, and is only asked for when there is something to say.
    using Naming = std::function<std::string()>;
    void checkPlacement(const CheckedFile& file, Place at, const Naming& what, std::span<const float> translation,
                        std::span<const float> rotation, std::span<const float> size);

    void checkScene(const CheckedFile& file);
    // The rows' names, each with its first row, for the links.
    FoldedNameSet checkSceneRows(const CheckedFile& file, const SceneCatalogue& scene);
    void checkDefinitions(const CheckedFile& file, const SceneCatalogue& scene, const SceneStructure& structure);
    void checkCache(const CheckedFile& file);
    static std::future<ModelLoadResult> scanModel(const CheckedFile& file);
    void checkModel(const CheckedFile& file, ModelLoadResult scanned);
    void checkTree(const CheckedFile& file);
    void checkRoute(const CheckedFile& file);
    void checkPackage(const CheckedFile& file);
    void checkObjectLinks();

    CheckReport& m_report;
    // The first scene read, which the other files are checked against, and its file.
    std::optional<SceneLoadResult> m_scene;
    const CheckedFile* m_sceneFile = nullptr;
    std::deque<ModelLoadResult> m_models; // a deque: the names stay where they are
    KnownNames m_known;
    // False when a scene or model file was given but could not be read: links are not judged then.
    bool m_namesComplete = true;
    bool m_namesGiven = false;
};

std::string rowText(const SceneCatalogue& scene, std::uint32_t row)
{
    const std::string_view name = scene.name(row);
    return name.empty() ? "the object in row " + std::to_string(row)
                        : inQuotes(name) + " (row " + std::to_string(row) + ")";
}

void Checker::check(std::span<const CheckedFile> files)
{
    m_report.files += files.size();
    // The model files are scanned on threads of their own while the scene is checked: the two are
    // the longest reads, and independent.
    std::vector<std::future<ModelLoadResult>> models;
    for (const CheckedFile& f : files)
        if (f.kind == CheckedKind::Model)
            models.push_back(scanModel(f));
    // The scene and the model file first: the others are checked against their names.
    for (const CheckedFile& f : files)
        if (f.kind == CheckedKind::Scene)
            checkScene(f);
    auto scanned = models.begin();
    for (const CheckedFile& f : files)
        if (f.kind == CheckedKind::Model)
            checkModel(f, (scanned++)->get());
    checkObjectLinks();
    for (const CheckedFile& f : files) {
        switch (f.kind) {
        case CheckedKind::Cache: checkCache(f); break;
        case CheckedKind::Tree: checkTree(f); break;
        case CheckedKind::Route: checkRoute(f); break;
        case CheckedKind::Package: checkPackage(f); break;
        default: break;
        }
    }
}

void Checker::refused(const CheckedFile& file, FileReadStatus status, const std::vector<std::string>& messages,
                      const std::optional<ReadShortfall>& cut)
{
    const std::string reason = messages.empty() ? std::string("the reader refuses it") : reasonOf(messages.front());
    if (status == FileReadStatus::WrongSignature)
        error(file, {}, "not read: " + reason);
    else if (cut)
        error(file, {cut->offset, {}}, "read only in part: " + cut->what);
    else if (status == FileReadStatus::Stopped)
        error(file, {}, "read only in part: " + reason);
}

void Checker::checkPlacement(const CheckedFile& file, Place at, const Naming& what, std::span<const float> translation,
                             std::span<const float> rotation, std::span<const float> size)
{
    const struct {
        std::span<const float> values;
        const char* name;
    } parts[] = {{translation, "translation"}, {rotation, "rotation"}, {size, "size"}};
    for (const auto& part : parts)
        if (!allFinite(part.values))
            warning(file, at, what() + ": its " + part.name + " is not finite");
    if (rotation.size() == 4 && allFinite(rotation))
        if (const auto length = offUnitLength({rotation[0], rotation[1], rotation[2], rotation[3]}))
            warning(file, at, what() + ": its rotation has length " + fourDecimals(*length) + ", not 1");
}

void Checker::checkScene(const CheckedFile& file)
{
    if (empty(file))
        return;
    m_namesGiven = true;
    const SceneStructure structure = walkSceneStructure(spanOf(file.bytes));
    for (const StructureFinding& f : structure.findings)
        add(f.error ? Severity::Error : Severity::Warning, file, {f.offset, {}}, f.message);
    SceneLoadResult loaded = loadScene(file.bytes);
    if (loaded.status != SceneLoadStatus::Loaded) {
        error(file, {}, "not read: " + (loaded.messages.empty() ? std::string("the reader refuses it")
                                                                : reasonOf(loaded.messages.back())));
        m_namesComplete = false;
        return;
    }
    FoldedNameSet names = checkSceneRows(file, loaded.catalogue);
    checkDefinitions(file, loaded.catalogue, structure);
    if (!m_scene) {
        m_known.setScene(std::move(names), loaded.catalogue.FirstScriptIndex);
        m_scene = std::move(loaded);
        m_sceneFile = &file;
    }
}

FoldedNameSet Checker::checkSceneRows(const CheckedFile& file, const SceneCatalogue& scene)
{
    // Names compared as the insert command compares them: letter case ignored.
    FoldedNameSet firstRows(scene.entryCount());
    for (std::uint32_t row = 0; row < scene.entryCount(); ++row) {
        const SceneRecord& r = scene.records[row];
        const Place at{r.isScript ? r.DefinitionChunkOffset : r.ObjectChunkOffset, row};
        if (const std::string_view name = scene.name(row); !name.empty())
            if (const auto first = firstRows.insert(name, row)) {
                // Free-standing scripts follow the objects: the first of the two is the object.
                const bool firstScript = scene.records[*first].isScript;
                const char* what = !r.isScript ? "two objects named " : firstScript ? "two scripts named "
                                                                                    : "an object and a script both named ";
                warning(file, at, what + inQuotes(name) + " (rows " + std::to_string(*first) + " and " +
                                      std::to_string(row) + ")");
            }
        if (r.isScript)
            continue;
        const Vec3 t = scene.translation(row), s = scene.size(row);
        const std::array<float, 3> translation{t.x, t.y, t.z}, size{s.x, s.y, s.z};
        const std::array<float, 4> rotation = scene.rotation(row);
        const auto present = [](std::uint32_t offset, std::span<const float> values) {
            return offset ? values : std::span<const float>();
        };
        checkPlacement(file, at, [&] { return rowText(scene, row); }, present(r.TranslationOffset, translation),
                       present(r.RotationOffset, rotation), present(r.SizeOffset, size));
    }
    return firstRows;
}

void Checker::checkDefinitions(const CheckedFile& file, const SceneCatalogue& scene, const SceneStructure& structure)
{
    // Owned as the loader gives them owners: the first row of the definition's name or, when it
    // holds a ".", of its part before the first ".". The rows the loader gave a definition are
    // owned for certain; only the others are looked up (two definitions of one object leave only
    // the last one recorded at its row).
    std::vector<std::uint32_t> recorded;
    for (std::uint32_t row = 0; row < scene.FirstScriptIndex; ++row)
        if (const std::uint32_t at = scene.records[row].DefinitionChunkOffset)
            recorded.push_back(at);
    std::sort(recorded.begin(), recorded.end());
    std::vector<const DefinitionSeen*> unsure;
    for (const DefinitionSeen& d : structure.definitions)
        if (!std::binary_search(recorded.begin(), recorded.end(), d.offset))
            unsure.push_back(&d);
    std::vector<std::string_view> names;
    for (const DefinitionSeen* d : unsure) {
        names.push_back(d->name);
        names.push_back(std::string_view(d->name).substr(0, d->name.find('.')));
    }
    const std::vector<std::uint32_t> rows = scene.findFirstRows(names);
    for (std::size_t i = 0; i < unsure.size(); ++i) {
        const DefinitionSeen& d = *unsure[i];
        const bool stem = d.name.find('.') != std::string::npos;
        const bool owned = rows[2 * i] < scene.FirstScriptIndex || (stem && rows[2 * i + 1] < scene.FirstScriptIndex);
        if (!owned)
            warning(file, {d.offset, {}}, "definition " + inQuotes(d.name) + " belongs to no object");
    }
}

void Checker::checkObjectLinks()
{
    if (!m_scene || !m_namesComplete)
        return;
    const SceneCatalogue& scene = m_scene->catalogue;
    for (std::uint32_t row = 0; row < scene.FirstScriptIndex; ++row) {
        const SceneRecord& r = scene.records[row];
        const std::string_view link = textIn(scene.bytes(), {r.LinkOffset, r.linkLength});
        if (r.LinkOffset && !m_known.names(link))
            warning(*m_sceneFile, {r.LinkOffset, row},
                    rowText(scene, row) + " links to " + inQuotes(link) + ", which names nothing in the files checked");
    }
}

void Checker::checkCache(const CheckedFile& file)
{
    if (empty(file))
        return;
    const CacheLoadResult cache = readCacheFile(file.bytes);
    refused(file, cache.status, cache.messages, cache.cut);
    for (std::uint32_t row = 0; row < cache.records.size(); ++row) {
        const CacheRecord& r = cache.records[row];
        if (r.baseRecord)
            continue;
        const std::array<float, 3> position{r.position.x, r.position.y, r.position.z}, size{r.size.x, r.size.y, r.size.z};
        checkPlacement(
            file, {r.TranslationOffset, row},
            [&] { return "cached object " + inQuotes(cache.name(row)) + " (row " + std::to_string(row) + ")"; }, position,
            r.rotation, size);
    }
}

std::future<ModelLoadResult> Checker::scanModel(const CheckedFile& file)
{
    const auto scan = [bytes = file.bytes] { return readModelFile(spanOf(bytes)); };
    try {
        return std::async(std::launch::async, scan);
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, scan); // no thread to be had: scanned when asked for
    }
}

void Checker::checkModel(const CheckedFile& file, ModelLoadResult scanned)
{
    if (empty(file))
        return;
    m_namesGiven = true;
    // Kept: its frames' names are names links may name.
    const ModelLoadResult& model = m_models.emplace_back(std::move(scanned));
    refused(file, model.status, model.messages, model.cut);
    if (model.status != FileReadStatus::Loaded)
        m_namesComplete = m_namesComplete && model.status == FileReadStatus::Stopped;
    for (std::uint32_t row = 0; row < model.frames.size(); ++row) {
        const ModelFrame& frame = model.frames[row];
        m_known.addFrame(frame.name);
        const std::array<float, 3> position{frame.position.x, frame.position.y, frame.position.z};
        checkPlacement(
            file, {frame.TranslationOffset, row},
            [&] { return "model frame " + inQuotes(frame.name) + " (row " + std::to_string(row) + ")"; }, position,
            frame.rotation, {});
    }
}

void Checker::checkTree(const CheckedFile& file)
{
    if (empty(file))
        return;
    static const SceneCatalogue noScene;
    const CollisionLoadResult tree = readCollisionFile(file.bytes, m_scene ? m_scene->catalogue : noScene);
    refused(file, tree.status, tree.messages, tree.cut);
    const bool judgeLinks = m_namesGiven && m_namesComplete;
    for (std::uint32_t row = 0; row < tree.bodyCount(); ++row) {
        const CollisionBody& body = tree.body(row);
        const auto what = [&] { return "collision body " + tree.listText(row); };
        const Place at{body.CollisionItemOffset, row};
        const std::array<float, 3> position{body.position.x, body.position.y, body.position.z},
            size{body.size.x, body.size.y, body.size.z};
        if (body.placed)
            checkPlacement(file, at, what, position, {}, size);
        if (!allFinite(body.rotation))
            warning(file, at, what() + ": its rotation is not finite");
        if (body.link == CollisionBody::NoLink)
            warning(file, at, what() + " links to no entry of the file's link table");
        else if (judgeLinks && !m_known.names(tree.linkName(row)))
            warning(file, at, what() + " links to " + inQuotes(tree.linkName(row)) + ", which names nothing in the files checked");
    }
}

void Checker::checkRoute(const CheckedFile& file)
{
    const std::span<const std::uint8_t> bytes = spanOf(file.bytes);
    if (bytes.size() != RouteFileSize)
        error(file, {}, "the route file has " + std::to_string(bytes.size()) + " bytes, not " +
                            std::to_string(RouteFileSize) + " (8 + 30 x " + std::to_string(RoutePoints) + ")");
    if (bytes.size() >= 8)
        if (const std::uint32_t points = ByteReader(bytes).u32(4); points != RoutePoints)
            error(file, {4, {}}, "the route file says it holds " + std::to_string(points) + " points, not " +
                                     std::to_string(RoutePoints));
    // The points are the circuit's route nodes TR0 ... TR551: judged only against a scene that
    // has a circuit (a route node at least).
    if (!m_scene)
        return;
    const SceneCatalogue& scene = m_scene->catalogue;
    FoldedNameSet names;
    for (std::uint32_t row = 0; row < scene.FirstScriptIndex; ++row)
        if (const std::string_view name = scene.name(row); name.size() > 2 && (name[0] == 'T' || name[0] == 't'))
            names.insert(name, row);
    std::vector<std::uint32_t> missing;
    for (std::uint32_t i = 0; i < RoutePoints; ++i)
        if (!names.contains("TR" + std::to_string(i)))
            missing.push_back(i);
    if (missing.size() == RoutePoints)
        return;
    for (const std::uint32_t i : missing)
        warning(file, {routePointOffset(i), i},
                "route point " + std::to_string(i) + " names the object \"TR" + std::to_string(i) + "\", which " +
                    m_sceneFile->name + " does not hold");
}

void Checker::checkPackage(const CheckedFile& file)
{
    const PackageReadResult read = readPackage(spanOf(file.bytes));
    if (!read.package)
        error(file, {}, "not read: " + read.problem);
}

// Within each file, problems in the order of their offsets (those without one first).
void sortByPlace(CheckReport& report, std::span<const CheckedFile> files)
{
    const auto fileIndex = [&](const Problem& p) {
        for (std::size_t i = 0; i < files.size(); ++i)
            if (files[i].name == p.file)
                return i;
        return files.size();
    };
    std::stable_sort(report.problems.begin(), report.problems.end(), [&](const Problem& a, const Problem& b) {
        const std::size_t fa = fileIndex(a), fb = fileIndex(b);
        if (fa != fb)
            return fa < fb;
        const auto place = [](const Problem& p) { return p.offset ? *p.offset + 1 : 0; };
        return place(a) < place(b);
    });
}

} // namespace

CheckReport checkFiles(std::span<const CheckedFile> files)
{
    CheckReport report;
    Checker(report).check(files);
    sortByPlace(report, files);
    return report;
}

std::optional<CheckedKind> kindOfFile(std::string_view fileName, std::span<const std::uint8_t> bytes)
{
    const std::string name = foldedCase(fileName);
    const auto endsWith = [&](std::string_view tail) {
        return name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
    };
    if (const auto file = missionFileNamed(fileName)) {
        constexpr CheckedKind kinds[] = {CheckedKind::Scene, CheckedKind::Cache, CheckedKind::Model, CheckedKind::Tree,
                                         CheckedKind::Route};
        return kinds[static_cast<std::size_t>(*file)];
    }
    if (endsWith(".klz"))
        return CheckedKind::Tree;
    if (endsWith(".4ds"))
        return CheckedKind::Model;
    if (endsWith(".qra"))
        return CheckedKind::Package;
    if (bytes.size() >= 2 && bytes[0] == 'S' && bytes[1] == 'L')
        return CheckedKind::Scene;
    return std::nullopt;
}

} // namespace mw
