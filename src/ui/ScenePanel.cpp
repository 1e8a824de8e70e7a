#include "ui/ScenePanel.h"

#include <QHBoxLayout>
#include <QItemSelection>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "commands/addins/Export.h"
#include "commands/editing/Deletion.h"
#include "commands/editing/SceneValueSave.h"
#include "commands/editing/Scripts.h"
#include "commands/insertion/InsertChoices.h"
#include "foundation/seams/Prompter.h"
#include "mission/PendingEdits.h"
#include "ui/CommandRunner.h"
#include "ui/EditState.h"
#include "ui/InsertDialog.h"
#include "ui/ItemStates.h"
#include "ui/ListTab.h"
#include "ui/QtText.h"
#include "ui/SceneListModel.h"
#include "ui/SelectingListView.h"
#include "ui/ScenePage.h"
#include "ui/ScriptOverviewPage.h"
#include "ui/Selection.h"
#include "ui/StatusLine.h"
#include "ui/ValueColours.h"
#include "ui/WidgetNames.h"

#include <algorithm>

namespace mw {

namespace {

enum SceneTab { AllTab = 0, ScriptsTab = 1, ThingsTab = 2 };
enum ScenePages { OverviewPage = 0, SceneValuesPage = 1 };

} // namespace

ScenePanel::ScenePanel(Mission& mission, Selection& selection, EditState& edits, Prompter& prompter,
                       CommandRunner& runner, StatusLine& status, QTabWidget* listTabs, QTabWidget* inspectorTabs)
    : m_mission(mission), m_selection(selection), m_edits(edits), m_prompter(prompter), m_runner(runner),
      m_status(status), m_listTabs(listTabs), m_inspectorTabs(inspectorTabs)
{
    const struct {
        const char* caption;
        const char* list;
        const char* field;
        SceneListModel::Kind kind;
    } tabs[] = {{"All", ids::AllList, "Text19", SceneListModel::Kind::All},
                {"Scripts", ids::ScriptList, "Text20", SceneListModel::Kind::Scripts},
                {"Things", ids::ThingList, "Text21", SceneListModel::Kind::Things}};
    for (int i = 0; i < 3; ++i) {
        const ListTab tab = addListTab(listTabs, i, QString::fromLatin1(tabs[i].caption), tabs[i].list, tabs[i].field);
        m_lists[i] = tab.list;
        m_searchFields[i] = tab.field;
        m_models[i] = new SceneListModel(tabs[i].kind, mission.sceneCatalogue(), this);
        tab.list->setModel(m_models[i]);
        connect(tab.search, &QPushButton::clicked, this, [this, i] { searchByName(i); });
        connect(tab.field, &QLineEdit::returnPressed, this, [this, i] { searchByName(i); });
        connect(tab.stop, &QPushButton::clicked, this, [this] { m_edits.NameSearchStop = true; });
        if (i == AllTab) {
            m_deleteButton = new QPushButton(QStringLiteral("Delete"));
            m_deleteButton->setObjectName(QString::fromLatin1(ids::DeleteButton));
            auto* row = new QHBoxLayout;
            row->addStretch(1);
            row->addWidget(m_deleteButton);
            tab.layout->addLayout(row);
        }
    }
    m_lists[AllTab]->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // What the user selects in the lists becomes the window's selection, once per gesture; a row
    // made current shows its entry (its questions first).
    connect(static_cast<SelectingListView*>(m_lists[AllTab]), &SelectingListView::settled, this, &ScenePanel::pushSelection);
    connect(m_lists[AllTab]->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { onAllRowChanged(current.row()); });
    for (int i : {ScriptsTab, ThingsTab})
        connect(m_lists[i]->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this, i](const QModelIndex& current) { onMappedRowChanged(m_lists[i], current.row()); });
    // What another view or a command selects is shown here.
    connect(&m_selection, &Selection::changed, this, [this](SelectionChange change) {
        if (change.has(MissionFile::Scene))
            applySelection();
    });

    m_overview = new ScriptOverviewPage;
    m_overview->setObjectName(QStringLiteral("OverviewPage"));
    connect(m_overview, &ScriptOverviewPage::listingRequested, this, &ScenePanel::listScripts);
    connect(m_overview, &ScriptOverviewPage::searchRequested, this, &ScenePanel::searchScripts);
    inspectorTabs->addTab(m_overview, QStringLiteral("S. Ovv."));

    m_page = new ScenePage;
    m_page->setObjectName(QStringLiteral("ScenePage"));
    m_page->setEditGuard([this] { return !m_mission.busy() && hasRows(); });
    connect(m_page, &ScenePage::edited, this, [this] { m_edits.ChangedFlags[MissionFile::Scene] = true; });
    connect(m_page, &ScenePage::scriptEdited, this, &ScenePanel::onScriptEdited);
    inspectorTabs->addTab(m_page, QStringLiteral("Scene"));

    mission.addListener(this);
}

ScenePanel::~ScenePanel() { m_mission.removeListener(this); }

QPushButton* ScenePanel::saveValuesButton() const { return m_page->saveButton(); }
QPushButton* ScenePanel::saveScriptButton() const { return m_page->saveScriptButton(); }

bool ScenePanel::hasRows() const { return m_models[AllTab]->rowCount() > 0; }

std::optional<std::uint32_t> ScenePanel::currentRow() const
{
    const int row = m_lists[AllTab]->currentIndex().row();
    return row >= 0 ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(row)) : std::nullopt;
}

void ScenePanel::selectAll()
{
    m_listTabs->setCurrentIndex(AllTab);
    ListSelection all{m_selection.current(MissionFile::Scene), {}};
    all.rows.resize(static_cast<std::size_t>(m_models[AllTab]->rowCount()));
    for (std::size_t row = 0; row < all.rows.size(); ++row)
        all.rows[row] = static_cast<std::uint32_t>(row);
    if (!all.current && !all.rows.empty())
        all.current = 0;
    m_selection.setSceneLists(std::move(all), m_selection.scriptsRow(), m_selection.thingsRow());
}

void ScenePanel::applySelection()
{
    if (m_pushing)
        return; // the lists' own selection coming back
    const auto current = m_selection.current(MissionFile::Scene);
    m_listsFilling = true;
    selectListRow(m_lists[ScriptsTab], m_selection.scriptsRow());
    selectListRow(m_lists[ThingsTab], m_selection.thingsRow());
    // Every row at once, with the current one: the entry is shown below, once.
    showListSelection(m_lists[AllTab], {current, m_selection.sceneRows()});
    m_listsFilling = false;
    if (current && static_cast<int>(*current) < m_models[AllTab]->rowCount()) {
        m_lists[AllTab]->scrollTo(m_models[AllTab]->index(static_cast<int>(*current), 0));
        // The entry is shown as a selection by the user shows it, its questions first; after a load,
        // as the loader shows it: from the list tab the user looks at.
        if (!m_entryShown)
            showCurrentEntry();
        else if (*current != m_shownRow)
            onAllRowChanged(static_cast<int>(*current));
        else if (m_selection.contains({ViewLayer::Scene, *current}))
            m_inspectorTabs->setCurrentIndex(SceneValuesPage); // chosen elsewhere (a view's click): its page
    }
    pushSelection(); // a question may have kept the entry shown so far
}

void ScenePanel::pushSelection()
{
    if (m_listsFilling)
        return;
    const auto currentOf = [this](int tab) {
        const int row = m_lists[tab]->currentIndex().row();
        return row >= 0 ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(row)) : std::nullopt;
    };
    m_pushing = true;
    m_selection.setSceneLists(listSelectionOf(m_lists[AllTab]), currentOf(ScriptsTab), currentOf(ThingsTab));
    m_pushing = false;
}

void ScenePanel::reloadKeepingRows()
{
    const std::uint32_t row = currentRow().value_or(0);
    m_runner.run([&] { return CommandResult(Outcome::doneWith(m_mission.reloadSceneAt(row, m_prompter))); });
}

void ScenePanel::showStates(const ItemStates& states)
{
    for (SceneListModel* model : m_models) {
        model->setLooks(states.looksOf(ViewLayer::Scene));
        connect(&states, &ItemStates::changed, model, &SceneListModel::looksChanged);
    }
}

void ScenePanel::hideSavedMarker() { m_page->setSavedMarkerVisible(false); }

void ScenePanel::resetEdits()
{
    m_edits.ChangedFlags[MissionFile::Scene] = false;
    m_savePromptGuard = false;
    m_page->setSavedMarkerVisible(false);
    m_page->restoreAllColours();
}

void ScenePanel::missionChanged(const MissionChange& change)
{
    if (change.kind == MissionChange::Kind::AboutToLoad) {
        if (change.file == MissionFile::Scene)
            aboutToLoad();
        return;
    }
    const FileChanged* scene = change.of(MissionFile::Scene);
    if (!scene)
        return;
    if (scene->read())
        loaded();
    else if (scene->how == FileChanged::How::Written &&
             (scene->rows.empty() || std::binary_search(scene->rows.begin(), scene->rows.end(), m_shownRow)))
        refreshShownEntry(); // another command (a move in the 3D view) wrote the entry shown
}

void ScenePanel::aboutToLoad()
{
    // Empty the lists first: nothing of an earlier load may stay visible. Unsaved values of the
    // old catalogue cannot be saved through the new one's offsets.
    m_page->setSavedMarkerVisible(false);
    m_edits.ChangedFlags[MissionFile::Scene] = false;
    m_page->restoreAllColours();
    m_overview->clearListing();
    m_entryShown = false;
    for (SceneListModel* model : m_models)
        model->detach();
    m_listTabs->setEnabled(false);
}

void ScenePanel::loaded()
{
    // The rows to select come with the command that read the scene (the runner sets them).
    m_listsFilling = true;
    for (SceneListModel* model : m_models)
        model->reload();
    m_listsFilling = false;
    m_entryShown = false;
    m_listTabs->setEnabled(true);
    if (!m_mission.isLoaded(MissionFile::Scene))
        return;
    m_inspectorTabs->setCurrentIndex(SceneValuesPage);
    if (m_overview->listingWanted())
        listScripts();
}

void ScenePanel::onAllRowChanged(int row)
{
    if (!hasRows() || m_savePromptGuard || m_mission.busy() || m_listsFilling || row < 0)
        return;
    m_inspectorTabs->setCurrentIndex(SceneValuesPage);
    // A Yes saves the entry shown so far, which stays selected; the clicked one is not shown. The
    // save's own reload does not show it (the guard), so it is shown again here once the questions
    // are done.
    const auto saveShown = [this](auto save) {
        m_savePromptGuard = true;
        selectListRow(m_lists[AllTab], m_shownRow);
        const bool saved = save();
        m_savePromptGuard = false;
        return saved;
    };
    bool valuesSaved = false;
    const PendingEdits::Handlers page{
        [&] {
            const bool saved = saveShown([this] { return saveScript(); });
            m_scriptDirty = !saved; // a script that was not written is still unsaved
            return saved;
        },
        [&] {
            m_scriptDirty = false;
            m_status.clear();
        },
        [&] {
            valuesSaved = saveShown([this] { return saveValues(); });
            return valuesSaved;
        },
        [&] {
            m_page->restoreAllColours();
            m_status.clear();
            m_edits.ChangedFlags[MissionFile::Scene] = false;
        },
        [&] { return m_edits.ChangedFlags[MissionFile::Scene]; }};
    switch (PendingEdits::beforeSceneEntry(m_scriptDirty, m_prompter, page)) {
    case PendingEdits::Next::KeepPage:
        return;
    case PendingEdits::Next::ShowShownAgain:
        // As the file now holds it; the values are saved or were let go.
        m_page->restoreAllColours();
        m_page->setSavedMarkerVisible(valuesSaved);
        if (m_shownRow < m_mission.sceneCatalogue().entryCount())
            showEntry(m_shownRow);
        return;
    case PendingEdits::Next::ShowNew:
        m_page->setSavedMarkerVisible(false);
        showEntry(static_cast<std::uint32_t>(row));
        return;
    }
}

void ScenePanel::onMappedRowChanged(QListView* list, int row)
{
    if (m_mission.busy() || m_listsFilling || row < 0)
        return;
    m_inspectorTabs->setCurrentIndex(SceneValuesPage);
    const auto* model = static_cast<const SceneListModel*>(list->model());
    selectListRow(m_lists[AllTab], model->allRow(row));
}

void ScenePanel::showCurrentEntry()
{
    if (!hasRows())
        return;
    auto mapped = [](QListView* list) -> std::optional<std::uint32_t> {
        const int row = list->currentIndex().row();
        if (row < 0)
            return std::nullopt;
        return static_cast<const SceneListModel*>(list->model())->allRow(row);
    };
    std::optional<std::uint32_t> row;
    if (m_listTabs->currentIndex() == ScriptsTab)
        row = mapped(m_lists[ScriptsTab]);
    else if (m_listTabs->currentIndex() == ThingsTab)
        row = mapped(m_lists[ThingsTab]);
    if (row) {
        const QSignalBlocker block(m_lists[AllTab]->selectionModel());
        selectListRow(m_lists[AllTab], row);
    }
    if (const auto current = currentRow())
        onAllRowChanged(static_cast<int>(*current));
}

void ScenePanel::refreshShownEntry()
{
    if (hasRows() && !m_scriptDirty && !m_edits.ChangedFlags[MissionFile::Scene] &&
        m_shownRow < m_mission.sceneCatalogue().entryCount())
        showEntry(m_shownRow);
}

void ScenePanel::showEntry(std::uint32_t row)
{
    const SceneEntry entry = m_mission.sceneCatalogue().entry(row);
    m_page->showEntry(entry, entry.hasScript ? storedScript(m_mission, row) : std::nullopt);
    selectByName(m_lists[ScriptsTab], entry.name);
    selectByName(m_lists[ThingsTab], entry.name);
    m_shownRow = row;
    m_entryShown = true;
}

void ScenePanel::selectByName(QListView* list, std::string_view name)
{
    const auto* model = static_cast<const SceneListModel*>(list->model());
    for (int r = 0; r < model->rowCount(); ++r) {
        if (m_mission.sceneCatalogue().name(model->allRow(r)) == name) {
            const QSignalBlocker block(list->selectionModel());
            selectListRow(list, static_cast<std::uint32_t>(r));
            return;
        }
    }
}

void ScenePanel::placeShownAt(std::uint32_t row, float x, float z)
{
    if (row == m_shownRow && !m_mission.busy())
        m_page->placeAt(x, z);
}

std::optional<InsertSource> ScenePanel::insertSource() const
{
    const auto row = currentRow();
    if (!hasRows() || !row)
        return std::nullopt;
    const SceneEntry shown = m_mission.sceneCatalogue().entry(m_shownRow);
    const SceneValueForm page = m_page->form();
    InsertSource source;
    source.name = m_models[AllTab]->index(static_cast<int>(*row), 0).data().toString();
    source.model = fromBytes(shown.model);
    source.translation = {fromBytes(page.translationX), fromBytes(page.translationY), fromBytes(page.translationZ)};
    source.size = {fromBytes(page.sizeX), fromBytes(page.sizeY), fromBytes(page.sizeZ)};
    source.rotation = page.rotation;
    source.verticalAngle = fromBytes(page.verticalAngle);
    source.lightPower = shown.lightPower;
    source.lightColour = shown.lightColour;
    source.lightKind = shown.lightKind;
    source.doorMaterial = doorMaterialOf(m_mission, m_shownRow);
    return source;
}

bool ScenePanel::settleEditsOf(std::span<const std::uint32_t> rows)
{
    if (std::find(rows.begin(), rows.end(), m_shownRow) == rows.end())
        return true;
    const PendingEdits::Handlers page{{}, {}, [this] { return saveValues(); },
                                      [this] {
                                          m_page->restoreAllColours();
                                          m_status.clear();
                                          m_edits.ChangedFlags[MissionFile::Scene] = false;
                                          refreshShownEntry();
                                      },
                                      {}};
    return PendingEdits::beforeWritingShown(m_edits.ChangedFlags[MissionFile::Scene], m_prompter, page);
}

bool ScenePanel::saveValues()
{
    const CommandResult result = m_runner.run([this] { return saveValuesNow(); });
    return result.isDone() && !m_edits.ChangedFlags[MissionFile::Scene];
}

CommandResult ScenePanel::saveValuesNow()
{
    if (!hasRows() || m_shownRow >= m_mission.sceneCatalogue().entryCount())
        return CommandResult::refused();
    // The save updates this copy with what it wrote; the catalogue reads the written bytes.
    SceneEntry entry = m_mission.sceneCatalogue().entry(m_shownRow);
    const Result<ValuesSaved> saved = saveSceneValues(m_page->form(), entry, m_mission, m_prompter);
    if (saved.done()) {
        m_page->setStoredValues(entry);
        if (saved.value.all) {
            m_page->restoreAllColours();
            m_edits.ChangedFlags[MissionFile::Scene] = false;
            m_page->setSavedMarkerVisible(true);
        } else {
            // The values of the object's kind are still unsaved: they stay red and flagged.
            m_page->restoreTransformColours();
        }
    }
    return saved;
}

void ScenePanel::onScriptEdited()
{
    if (m_mission.busy() || !hasRows())
        return;
    // Only a change of length is marked; an edit that keeps it is still written by a save.
    if (m_page->storedScriptLength() == m_page->scriptToStore().size())
        return;
    m_status.show(QString::fromLatin1(scriptmsg::NotSaved), EditedColour);
    m_scriptDirty = true;
}

bool ScenePanel::saveScript()
{
    const CommandResult result = m_runner.run([this] {
        const auto row = currentRow();
        if (!row)
            return CommandResult::refused();
        m_scriptDirty = false;
        KeptRows keep = m_selection.keptRows(m_mission.rememberedRows());
        keep.all = *row;
        const std::string text = m_page->scriptToStore();
        const Result<ScriptSaved> saved = mw::saveScript(m_mission, *row, text, m_prompter, keep);
        if (!saved.done())
            return CommandResult(saved);
        if (saved.value.newLength)
            m_edits.ChangedFlags[MissionFile::Scene] = false; // the reload shows the file's values again
        else
            m_page->setStoredScript(text);
        return CommandResult(saved, QString::fromLatin1(scriptmsg::Saved), SavedScriptColour);
    });
    return result.isDone();
}

void ScenePanel::listScripts()
{
    if (m_mission.busy() || !hasRows() || !m_overview->listingWanted())
        return;
    const Mission::BusyScope busy(m_mission);
    m_overview->setListing(fromBytes(scriptForEditing(scriptListing(m_mission))));
}

void ScenePanel::searchScripts()
{
    if (m_mission.busy() || !hasRows())
        return;
    while (!m_overview->findNext()) {
        if (!m_prompter.askYesNo(scriptmsg::SearchAgain, scriptmsg::SearchAgainTitle))
            return;
        m_overview->restartSearch();
    }
}

void ScenePanel::deleteSelected()
{
    m_runner.run([this] {
        const auto row = currentRow();
        if (!hasRows() || !row)
            return CommandResult::refused();
        m_status.clear();
        return CommandResult(deleteObject(m_mission, *row, m_prompter));
    });
}

void ScenePanel::searchByName(int tab)
{
    const SceneCatalogue& c = m_mission.sceneCatalogue();
    const std::function<std::string(std::size_t)> textOf = [&c, tab](std::size_t row) {
        const std::size_t all = tab == AllTab ? row : tab == ScriptsTab ? c.scriptRows[row] : c.plainRows[row];
        return std::string(c.name(all));
    };
    mw::searchByName(m_mission, m_prompter, m_lists[tab], bytesOf(m_searchFields[tab]->text()), textOf,
                     m_edits.NameSearchStop);
}

} // namespace mw
