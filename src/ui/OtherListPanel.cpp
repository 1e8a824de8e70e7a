#include "ui/OtherListPanel.h"

#include <algorithm>

#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <climits>

#include "foundation/seams/Prompter.h"
#include "mission/PendingEdits.h"
#include "ui/EditState.h"
#include "ui/ListTab.h"
#include "ui/ItemStates.h"
#include "ui/ListValuesPage.h"
#include "ui/QtText.h"
#include "ui/SelectingListView.h"
#include "ui/Selection.h"
#include "ui/TextListModel.h"
#include "ui/TranslationSearchPanel.h"

namespace mw {

namespace {

// Where each list stands in the two tab strips, and the names of its controls.
struct Place {
    int listTab;
    int pageTab;
    bool showsPageOnLoad; // the cache's load leaves the inspector where it is
    bool editsOutliveLoads; // the collision page's edits outlive a load of another file
    const char* caption;
    const char* list;
    const char* nameField;
    const char* page;
    TranslationSearchPanel::Names search;
};

// Indexed by list index - 1.
const Place Places[] = {
    {3, 2, false, false, "Cache", "List5", "Text13", "CachePage",
     {{"Text16", "Text14", "Text18"}, {"Text24", "Text15", "Text25"},
      {"searchTrans_1", "searchTrans_0", "searchTrans_2"}, "SearchTransAll_0", "StopSearchTrans"}},
    {4, 3, true, false, "*.4ds", "List4", "Text22", "ModelPage",
     {{"Text27_4", "Text23_4", "Text28_4"}, {"Text30", "Text29", "Text31"},
      {"searchTransDS_7", "searchTransDS_6", "searchTransDS_8"}, "SearchTransAll_3", "Command3"}},
    {5, 4, true, true, "Tree", "List6", "Text52", "TreePage",
     {{"Text27_5", "Text23_5", "Text28_5"}, {"Text54", "Text53", "Text55"},
      {"searchTransTR_0", "searchTransTR_1", "searchTransTR_2"}, "SearchTransAllTR", "StopTRSearch"}},
};

} // namespace

OtherListPanel::OtherListPanel(MissionFile list, Mission& mission, Selection& selection, EditState& edits,
                               Prompter& prompter, CommandRunner& runner, QTabWidget* listTabs, QTabWidget* inspectorTabs)
    : m_file(list), m_mission(mission), m_selection(selection), m_edits(edits), m_prompter(prompter),
      m_runner(runner), m_list(otherListOf(mission, list)), m_listTabs(listTabs),
      m_inspectorTabs(inspectorTabs)
{
    const Place& place = Places[indexOf(list) - 1];
    m_listTab = place.listTab;
    m_pageTab = place.pageTab;
    m_showsPageOnLoad = place.showsPageOnLoad;
    m_editsOutliveLoads = place.editsOutliveLoads;
    const ListTab tab = addListTab(listTabs, place.listTab, QString::fromLatin1(place.caption), place.list, place.nameField);
    m_view = tab.list;
    m_searchField = tab.field;
    m_model = new TextListModel(this);
    m_view->setModel(m_model);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // What the user selects in the list becomes the window's selection; the entry made current is
    // shown (its questions first).
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { onRowChanged(current.row()); });
    connect(static_cast<SelectingListView*>(m_view), &SelectingListView::settled, this, &OtherListPanel::pushSelection);
    connect(&m_selection, &Selection::changed, this, [this](SelectionChange change) {
        if (change.has(file()))
            applySelection();
    });
    const auto byName = [this] {
        mw::searchByName(m_mission, m_prompter, m_view, bytesOf(m_searchField->text()),
                         [this](std::size_t row) { return m_list->rowText(row); }, m_edits.NameSearchStop);
    };
    connect(tab.search, &QPushButton::clicked, this, byName);
    connect(tab.field, &QLineEdit::returnPressed, this, byName);
    connect(tab.stop, &QPushButton::clicked, this, [this] { m_edits.NameSearchStop = true; });

    m_values = new ListValuesPage(list);
    m_values->setObjectName(QString::fromLatin1(place.page));
    m_values->setEditGuard([this] { return !m_mission.busy() && hasRows(); });
    connect(m_values, &ListValuesPage::edited, this, [this] { m_edits.ChangedFlags[m_file] = true; });
    connect(m_values->saveButton(), &QPushButton::clicked, this, [this] { m_runner.run([this] { return saveNow(); }); });
    m_search = new TranslationSearchPanel(place.search);
    auto* searchLayout = new QVBoxLayout(m_values->searchArea());
    searchLayout->setContentsMargins(0, 0, 0, 0);
    searchLayout->addWidget(m_search);
    const auto search = [this](std::optional<int> axis) {
        m_search->search(axis, {m_mission, m_prompter, m_view, *m_list, m_edits.TranslationSearchStop},
                         [this] { return m_shownRow; });
    };
    connect(m_search, &TranslationSearchPanel::searchAxis, this, search);
    connect(m_search, &TranslationSearchPanel::searchAll, this, [search] { search(std::nullopt); });
    connect(m_search, &TranslationSearchPanel::stop, this, [this] { m_edits.TranslationSearchStop = true; });
    inspectorTabs->addTab(m_values, QString::fromLatin1(place.caption));

    mission.addListener(this);
}

OtherListPanel::~OtherListPanel() { m_mission.removeListener(this); }

bool OtherListPanel::hasRows() const { return m_model->rowCount() > 0; }

void OtherListPanel::pushSelection()
{
    if (m_filling || m_applying)
        return;
    m_selection.setList(file(), listSelectionOf(m_view));
}

void OtherListPanel::applySelection()
{
    const ListSelection wanted{m_selection.current(file()), m_selection.rows(file())};
    if (listSelectionOf(m_view) == wanted)
        return;
    m_applying = true;
    if (wanted.current && static_cast<int>(*wanted.current) != m_view->currentIndex().row()) {
        m_listTabs->setCurrentIndex(m_listTab);
        selectListRow(m_view, *wanted.current); // shows it, asking first about unsaved edits
    } else if (wanted.current && std::binary_search(wanted.rows.begin(), wanted.rows.end(), *wanted.current)) {
        m_inspectorTabs->setCurrentIndex(m_pageTab); // chosen elsewhere (a view's click): its page
    }
    showListSelection(m_view, {listSelectionOf(m_view).current, wanted.rows});
    m_applying = false;
    pushSelection(); // a question may have kept the entry shown so far
}

void OtherListPanel::showStates(const ItemStates& states)
{
    m_model->setLooks(states.looksOf(layerOf(file())));
    connect(&states, &ItemStates::changed, m_model, &TextListModel::looksChanged);
}

void OtherListPanel::resetEdits()
{
    m_savePromptGuard = false;
    m_values->setSavedMarkerVisible(false);
    if (m_editsOutliveLoads)
        return;
    m_edits.ChangedFlags[m_file] = false;
    m_values->restoreColours();
}

void OtherListPanel::missionChanged(const MissionChange& change)
{
    if (change.kind == MissionChange::Kind::AboutToLoad) {
        if (change.file == file())
            fill(0);
        return;
    }
    const FileChanged* mine = change.of(file());
    if (!mine)
        return;
    if (mine->read()) {
        loaded();
        return;
    }
    // Another command (a move in the 3D view) wrote the entry shown: the page shows the values as
    // the list now holds them, unless it holds edits.
    if (mine->how == FileChanged::How::Written &&
        (mine->rows.empty() || std::binary_search(mine->rows.begin(), mine->rows.end(), m_shownRow)) &&
        !m_edits.ChangedFlags[m_file] && m_shownRow < m_list->count())
        showEntry(m_shownRow);
}

void OtherListPanel::fill(std::size_t rows)
{
    TextListModel::TextOf textOf;
    if (rows > 0)
        textOf = [this](int row) { return fromBytes(m_list->rowText(static_cast<std::size_t>(row))); };
    m_model->setRows(static_cast<int>(std::min<std::size_t>(rows, INT_MAX)), std::move(textOf));
    m_shownRow = 0;
    m_edits.ChangedFlags[m_file] = false;
    m_values->restoreColours();
    m_values->setSavedMarkerVisible(false);
    if (rows == 0) {
        m_values->showNothing();
        m_selection.clear(file());
    }
}

// Lists the load's entries, selects the first and shows it.
void OtherListPanel::loaded()
{
    fill(m_list->count());
    if (m_showsPageOnLoad && m_mission.isLoaded(file()))
        m_inspectorTabs->setCurrentIndex(m_pageTab);
    m_filling = true;
    selectListRow(m_view, 0);
    m_filling = false;
    if (hasRows())
        onRowChanged(m_view->currentIndex().row());
    m_selection.setCurrent(file(), hasRows() ? std::optional<std::uint32_t>(0) : std::nullopt, false);
}

void OtherListPanel::onRowChanged(int row)
{
    if (m_mission.busy() || m_savePromptGuard || m_filling || row < 0 || !hasRows())
        return;
    m_inspectorTabs->setCurrentIndex(m_pageTab);
    const PendingEdits::Handlers page{{}, {},
                                      [this] {
                                          // Through the runner like the Save button: a file changed
                                          // on disk is read again, as its message says.
                                          m_savePromptGuard = true;
                                          const bool saved = m_runner.run([this] { return saveNow(); }).isDone();
                                          // The edits stay on the page so they can be put right.
                                          if (!saved)
                                              selectListRow(m_view, m_shownRow);
                                          m_savePromptGuard = false;
                                          return saved;
                                      },
                                      [this] {
                                          m_values->restoreColours();
                                          m_edits.ChangedFlags[m_file] = false;
                                      },
                                      {}};
    if (PendingEdits::beforeListEntry(m_edits.ChangedFlags[m_file], m_prompter, page) == PendingEdits::Next::KeepPage)
        return;
    m_values->setSavedMarkerVisible(false);
    showEntry(static_cast<std::uint32_t>(row));
}

bool OtherListPanel::settleEditsOf(std::span<const std::uint32_t> rows)
{
    if (std::find(rows.begin(), rows.end(), m_shownRow) == rows.end())
        return true;
    const PendingEdits::Handlers page{{}, {}, [this] { return m_runner.run([this] { return saveNow(); }).isDone(); },
                                      [this] {
                                          m_values->restoreColours();
                                          m_edits.ChangedFlags[m_file] = false;
                                          showEntry(m_shownRow);
                                      },
                                      {}};
    return PendingEdits::beforeWritingShown(m_edits.ChangedFlags[m_file], m_prompter, page);
}

void OtherListPanel::showEntry(std::uint32_t row)
{
    m_shownRow = row;
    if (const auto values = m_list->values(row))
        m_values->showValues(*values);
    else
        m_values->showNothing();
    m_search->showTranslation(m_list->values(row) ? std::optional<Vec3>(m_list->values(row)->position) : std::nullopt);
}

CommandResult OtherListPanel::saveNow()
{
    if (!hasRows())
        return CommandResult::refused();
    const Outcome saved = m_list->save(m_mission, m_shownRow, m_values->form(), m_values->material(), m_prompter);
    if (saved.done()) {
        m_values->restoreColours();
        m_edits.ChangedFlags[m_file] = false;
        m_values->setSavedMarkerVisible(true);
        // Edits are now compared with what was saved.
        if (const auto values = m_list->values(m_shownRow))
            m_values->setStoredValues(*values);
    }
    return saved;
}

void OtherListPanel::reloadKeepingRow()
{
    const std::uint32_t row = m_shownRow;
    m_mission.reload(file(), m_prompter);
    if (static_cast<int>(row) < m_model->rowCount())
        selectListRow(m_view, row);
}

} // namespace mw
