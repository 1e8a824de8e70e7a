#include "commands/lists/OtherList.h"

#include "commands/editing/ListValueSave.h"

namespace mw {

namespace {

class CacheRows final : public OtherList {
public:
    explicit CacheRows(const CacheLoadResult& cache) : m_cache(cache) {}
    MissionFile file() const override { return MissionFile::Cache; }
    std::size_t count() const override { return m_cache.records.size(); }
    std::string rowText(std::size_t row) const override { return m_cache.listText(row); }
    std::optional<ListValues> values(std::size_t row) const override
    {
        const CacheRecord& r = m_cache.records.at(row);
        if (r.isBase)
            return std::nullopt; // a base entry has nothing to show or save
        return ListValues{std::string(m_cache.name(row)), r.position, r.size, r.rotation, 0};
    }
    std::vector<std::string> detailColumns() const override { return {"record"}; }
    std::vector<ListDetail> details(std::size_t row) const override
    {
        return {std::string(m_cache.records.at(row).baseRecord ? "base" : "object")};
    }
    Outcome save(Mission& mission, std::size_t row, const TransformForm& form, std::optional<int>,
                 Prompter& prompter) const override
    {
        if (row >= count() || m_cache.records[row].isBase)
            return Outcome::refused();
        return saveCacheValues(form, mission, row, prompter);
    }

private:
    const CacheLoadResult& m_cache;
};

class ModelRows final : public OtherList {
public:
    explicit ModelRows(const ModelLoadResult& model) : m_model(model) {}
    MissionFile file() const override { return MissionFile::Model; }
    std::size_t count() const override { return m_model.frames.size(); }
    std::string rowText(std::size_t row) const override { return m_model.frames.at(row).name; }
    std::optional<ListValues> values(std::size_t row) const override
    {
        const ModelFrame& f = m_model.frames.at(row);
        return ListValues{f.name, f.position, {}, f.rotation, 0};
    }
    std::vector<std::string> detailColumns() const override { return {}; }
    std::vector<ListDetail> details(std::size_t) const override { return {}; }
    bool hasSize() const override { return false; }
    Outcome save(Mission& mission, std::size_t row, const TransformForm& form, std::optional<int>,
                 Prompter& prompter) const override
    {
        if (row >= count())
            return Outcome::refused();
        return saveModelValues(form, m_model.frames[row], mission, prompter);
    }

private:
    const ModelLoadResult& m_model;
};

class TreeRows final : public OtherList {
public:
    explicit TreeRows(const CollisionLoadResult& tree) : m_tree(tree) {}
    MissionFile file() const override { return MissionFile::Tree; }
    std::size_t count() const override { return m_tree.bodyCount(); }
    std::string rowText(std::size_t row) const override { return m_tree.listText(row); }
    std::optional<ListValues> values(std::size_t row) const override
    {
        const CollisionBody& b = m_tree.body(row);
        return ListValues{std::string(m_tree.linkName(row)), b.position, b.size, b.rotation, b.material};
    }
    std::vector<std::string> detailColumns() const override { return {"kind", "material", "link"}; }
    std::vector<ListDetail> details(std::size_t row) const override
    {
        const CollisionBody& b = m_tree.body(row);
        return {std::string(b.CollisionKindTag), std::int64_t{b.material}, std::string(m_tree.linkName(row))};
    }
    Outcome save(Mission& mission, std::size_t row, const TransformForm& form, std::optional<int> material,
                 Prompter& prompter) const override
    {
        return saveCollisionValues(form, material, mission, row, prompter);
    }

private:
    const CollisionLoadResult& m_tree;
};

} // namespace

std::unique_ptr<OtherList> otherListOf(const CacheLoadResult& cache) { return std::make_unique<CacheRows>(cache); }
std::unique_ptr<OtherList> otherListOf(const ModelLoadResult& model) { return std::make_unique<ModelRows>(model); }
std::unique_ptr<OtherList> otherListOf(const CollisionLoadResult& tree) { return std::make_unique<TreeRows>(tree); }

std::unique_ptr<OtherList> otherListOf(const Mission& mission, MissionFile file)
{
    switch (file) {
    case MissionFile::Cache: return otherListOf(mission.cache());
    case MissionFile::Model: return otherListOf(mission.model());
    case MissionFile::Tree: return otherListOf(mission.tree());
    case MissionFile::Scene:
    case MissionFile::Route: break;
    }
    return nullptr;
}

} // namespace mw
