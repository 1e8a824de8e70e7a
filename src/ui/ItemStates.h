#pragma once
// Hidden and locked items of the loaded mission, as the views and lists ask for them: the rows of
// each file hidden or locked, resolved again whenever a file is read (rows move; the keys do not).
// Editor state only: kept in the user's settings for each mission folder (keyed by the folder's
// canonical path), never in the mission's files, and never a step of "&Undo".

#include <QObject>
#include <array>
#include <filesystem>
#include <optional>
#include <vector>

#include "commands/placing/Placing.h"
#include "mission/EntryStates.h"
#include "mission/Mission.h"
#include "render/common/Layers.h"
#include "ui/RowLooks.h"

class QSettings;

namespace mw {

class ItemStates final : public QObject, private MissionListener {
    Q_OBJECT
public:
    explicit ItemStates(Mission& mission);
    ~ItemStates() override;

    // From now on the states are read from and written to `settings` (which must outlive this).
    void keepIn(QSettings* settings);

    // The rows of a file in the state (empty: none).
    const std::vector<bool>& rows(EntryState state, MissionFile file) const { return m_rows[index(state)][indexOf(file)]; }
    bool is(EntryState state, ItemRef item) const;
    // Hidden or locked: what a click, a drag or a band passes over.
    bool untouchable(ItemRef item) const { return is(EntryState::Hidden, item) || is(EntryState::Locked, item); }
    std::size_t count(EntryState state) const { return m_counts[index(state)]; }
    // How the rows of a layer's list look: grey when hidden, a padlock when locked.
    RowLookOf looksOf(ViewLayer layer) const
    {
        return [this, layer](std::uint32_t row) {
            return RowLook{is(EntryState::Hidden, {layer, row}), is(EntryState::Locked, {layer, row})};
        };
    }

    void set(EntryState state, const std::vector<ItemRef>& items);
    // Every item of the items' layers but them hidden.
    void hideOthers(const std::vector<ItemRef>& kept);
    void clear(EntryState state);

    // The items a view command may move: the locked ones left out, counted in `locked`.
    PlacedItems unlocked(const PlacedItems& items, std::size_t& locked) const;

signals:
    void changed();

private:
    static std::size_t index(EntryState state) { return state == EntryState::Hidden ? 0 : 1; }
    void missionChanged(const MissionChange& change) override;
    // The rows of every loaded file from the keys; tells when anything changed.
    void resolve();
    void changedByUser();
    // A loaded file's keys, built when first asked for after the file last changed.
    const EntryKeys& keysOf(MissionFile file);
    std::filesystem::path folder() const;
    void load();
    void save() const;

    Mission& m_mission;
    QSettings* m_settings = nullptr;
    EntryStates m_states;
    std::filesystem::path m_folder; // whose states are loaded
    std::array<std::array<std::vector<bool>, 4>, 2> m_rows; // by state, by file
    std::array<std::size_t, 2> m_counts{};
    std::array<std::optional<EntryKeys>, MissionFileCount> m_keys; // by file
};

} // namespace mw
