#pragma once
// The part of the window of one of the other three files (cache.bin, scene.4ds, tree.klz): its list
// with the name search, its inspector page with the values, the Save button and the translation
// search. It observes the mission and refreshes itself when its file is loaded.

#include <QObject>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "commands/editing/SceneValueSave.h"
#include "commands/editing/TransformCheck.h"
#include "mission/Mission.h"
#include "ui/CommandRunner.h"
#include "ui/ListValuesPage.h"

class QListView;
class QLineEdit;
class QTabWidget;

namespace mw {

class Prompter;
class TextListModel;
class TranslationSearchPanel;

class OtherListPanel final : public QObject, private MissionListener {
    Q_OBJECT
public:
    // `list` is CacheList, ModelList or CollisionList; the panel adds its list tab and its page.
    OtherListPanel(ListIndex list, Mission& mission, Prompter& prompter, CommandRunner& runner, QTabWidget* listTabs,
                   QTabWidget* inspectorTabs);
    ~OtherListPanel() override;

    MissionFile file() const { return static_cast<MissionFile>(m_index); }
    bool hasRows() const;
    // Selects a row (showing the list's tab), which shows it.
    void selectRow(std::uint32_t row);
    // The file read again, the shown row kept.
    void reloadKeepingRow();
    std::uint32_t shownRow() const { return m_shownRow; }
    // Selects the row again after a reload, when the list still has it.
    void showRow(std::uint32_t row);
    // The reset routine of a load command: no unsaved edits, no "SAVED" marker, normal colours.
    void resetEdits();

signals:
    // The current row changed (the map marks it).
    void currentRowChanged(std::uint32_t row);

private:
    void missionChanged(const MissionChange& change) override;
    void fill(std::size_t rows);
    void loaded();
    void onRowChanged(int row);
    void showEntry(std::uint32_t row);
    std::optional<ListValuesPage::Values> valuesOf(std::uint32_t row) const;
    ValueSaveResult saveValues();
    void saveCommand();
    // The values saved, with what the page shows after it; the runner turns a stale file into a reload.
    CommandResult saveNow();
    std::string rowText(std::size_t row) const;
    std::optional<Vec3> translationOf(std::size_t row) const;
    void showTranslationInSearch(std::uint32_t row);
    void searchTranslation(std::optional<int> axis);

    ListIndex m_index;
    Mission& m_mission;
    Prompter& m_prompter;
    CommandRunner& m_runner;
    QTabWidget* m_listTabs;
    QTabWidget* m_inspectorTabs;
    int m_listTab = 0;
    int m_pageTab = 0;
    QListView* m_view = nullptr;
    QLineEdit* m_searchField = nullptr;
    TextListModel* m_model = nullptr;
    ListValuesPage* m_values = nullptr;
    TranslationSearchPanel* m_search = nullptr;
    std::uint32_t m_shownRow = 0;
    bool m_filling = false;         // set while a load's rows are put into the list
    bool m_savePromptGuard = false; // set while a save started from the selection prompt runs
};

} // namespace mw
