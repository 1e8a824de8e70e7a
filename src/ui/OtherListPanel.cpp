#include "ui/OtherListPanel.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <climits>

#include "commands/editing/ListValueSave.h"
#include "foundation/seams/Prompter.h"
#include "foundation/text/NumericText.h"
#include "mission/PendingEdits.h"
#include "mission/Search.h"
#include "ui/ListTab.h"
#include "ui/QtText.h"
#include "ui/TextListModel.h"
#include "ui/TranslationSearchPanel.h"

namespace mw {

namespace {

// Where each list stands in the two tab strips, and the names of its controls.
struct Place {
    int listTab;
    int pageTab;
    const char* caption;
    const char* list;
    const char* nameField;
    const char* page;
    TranslationSearchPanel::Names search;
};

Place placeOf(ListIndex list)
{
    switch (list) {
    case CacheList:
        return {3, 2, "Cache", "List5", "Text13", "CachePage",
                {{"Text16", "Text14", "Text18"}, {"Text24", "Text15", "Text25"},
                 {"searchTrans_1", "searchTrans_0", "searchTrans_2"}, "SearchTransAll_0", "StopSearchTrans"}};
    case ModelList:
        return {4, 3, "*.4ds", "List4", "Text22", "ModelPage",
                {{"Text27_4", "Text23_4", "Text28_4"}, {"Text30", "Text29", "Text31"},
                 {"searchTransDS_7", "searchTransDS_6", "searchTransDS_8"}, "SearchTransAll_3", "Command3"}};
    default:
        return {5, 4, "Tree", "List6", "Text52", "TreePage",
                {{"Text27_5", "Text23_5", "Text28_5"}, {"Text54", "Text53", "Text55"},
                 {"searchTransTR_0", "searchTransTR_1", "searchTransTR_2"}, "SearchTransAllTR", "StopTRSearch"}};
    }
}

float axisOf(const Vec3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

QString oneDecimal(float value) { return QString::fromStdString(formatOneDecimal(formatFloat(value))); }

} // namespace

OtherListPanel::OtherListPanel(ListIndex list, Mission& mission, Prompter& prompter, CommandRunner& runner,
                               QTabWidget* listTabs, QTabWidget* inspectorTabs)
    : m_index(list), m_mission(mission), m_prompter(prompter), m_runner(runner), m_listTabs(listTabs),
      m_inspectorTabs(inspectorTabs)
{
    const Place place = placeOf(list);
    m_listTab = place.listTab;
    m_pageTab = place.pageTab;
    const ListTab tab = addListTab(listTabs, place.listTab, QString::fromLatin1(place.caption), place.list, place.nameField);
    m_view = tab.list;
    m_searchField = tab.field;
    m_model = new TextListModel(this);
    m_view->setModel(m_model);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        onRowChanged(current.row());
        if (current.row() >= 0)
            emit currentRowChanged(static_cast<std::uint32_t>(current.row()));
    });
    const auto byName = [this] {
        mw::searchByName(m_mission, m_prompter, m_view, bytesOf(m_searchField->text()),
                         [this](std::size_t row) { return rowText(row); });
    };
    connect(tab.search, &QPushButton::clicked, this, byName);
    connect(tab.field, &QLineEdit::returnPressed, this, byName);
    connect(tab.stop, &QPushButton::clicked, this, [this] { m_mission.setSearchStop(SearchKind::Name, true); });

    m_values = new ListValuesPage(list);
    m_values->setObjectName(QString::fromLatin1(place.page));
    m_values->setEditGuard([this] { return !m_mission.busy() && hasRows(); });
    connect(m_values, &ListValuesPage::edited, this, [this] { m_mission.setChanged(m_index, true); });
    connect(m_values->saveButton(), &QPushButton::clicked, this, &OtherListPanel::saveCommand);
    m_search = new TranslationSearchPanel(place.search);
    auto* searchLayout = new QVBoxLayout(m_values->searchArea());
    searchLayout->setContentsMargins(0, 0, 0, 0);
    searchLayout->addWidget(m_search);
    connect(m_search, &TranslationSearchPanel::searchAxis, this, [this](int axis) { searchTranslation(axis); });
    connect(m_search, &TranslationSearchPanel::searchAll, this, [this] { searchTranslation(std::nullopt); });
    connect(m_search, &TranslationSearchPanel::stop, this,
            [this] { m_mission.setSearchStop(SearchKind::Translation, true); });
    inspectorTabs->addTab(m_values, QString::fromLatin1(place.caption));

    mission.addListener(this);
}

OtherListPanel::~OtherListPanel() { m_mission.removeListener(this); }

bool OtherListPanel::hasRows() const { return m_model->rowCount() > 0; }

void OtherListPanel::selectRow(std::uint32_t row)
{
    m_listTabs->setCurrentIndex(m_listTab);
    selectListRow(m_view, row);
}

void OtherListPanel::resetEdits()
{
    m_savePromptGuard = false;
    m_values->setSavedMarkerVisible(false);
    if (m_index == CollisionList)
        return; // the collision page's edits outlive a load of another file
    m_mission.setChanged(m_index, false);
    m_values->restoreColours();
}

void OtherListPanel::missionChanged(const MissionChange& change)
{
    if (change.file != file())
        return;
    switch (change.kind) {
    case MissionChange::Kind::AboutToLoad:
        fill(0);
        return;
    case MissionChange::Kind::Loaded:
    case MissionChange::Kind::Reloaded:
        loaded();
        return;
    case MissionChange::Kind::Patched:
    case MissionChange::Kind::Replaced:
        return; // a save shows what it wrote itself
    }
}

void OtherListPanel::fill(std::size_t rows)
{
    TextListModel::TextOf textOf;
    if (rows > 0)
        textOf = [this](int row) { return fromBytes(rowText(static_cast<std::size_t>(row))); };
    m_model->setRows(static_cast<int>(std::min<std::size_t>(rows, INT_MAX)), std::move(textOf));
    m_shownRow = 0;
    m_mission.setChanged(m_index, false);
    m_values->restoreColours();
    m_values->setSavedMarkerVisible(false);
    if (rows == 0)
        m_values->showNothing();
}

// Lists the load's entries, selects the first and shows it.
void OtherListPanel::loaded()
{
    switch (m_index) {
    case CacheList:
        fill(m_mission.cache().records.size());
        break;
    case ModelList:
        fill(m_mission.model().frames.size());
        break;
    default:
        fill(m_mission.tree().bodyCount());
        break;
    }
    if (m_index != CacheList && m_mission.isLoaded(file()))
        m_inspectorTabs->setCurrentIndex(m_pageTab);
    m_filling = true;
    selectListRow(m_view, 0);
    m_filling = false;
    if (hasRows())
        onRowChanged(m_view->currentIndex().row());
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
                                          const bool saved = m_runner.run([this] { return saveNow(); }).outcome ==
                                                             CommandResult::Outcome::Done;
                                          // The edits stay on the page so they can be put right.
                                          if (!saved)
                                              selectListRow(m_view, m_shownRow);
                                          m_savePromptGuard = false;
                                          return saved;
                                      },
                                      [this] {
                                          m_values->restoreColours();
                                          m_mission.setChanged(m_index, false);
                                      },
                                      {}};
    if (PendingEdits::beforeListEntry(m_mission.workspace().ChangedFlags[m_index], m_prompter, page) ==
        PendingEdits::Next::KeepPage)
        return;
    m_values->setSavedMarkerVisible(false);
    showEntry(static_cast<std::uint32_t>(row));
}

std::optional<ListValuesPage::Values> OtherListPanel::valuesOf(std::uint32_t row) const
{
    switch (m_index) {
    case CacheList: {
        const CacheRecord& r = m_mission.cache().records.at(row);
        if (r.isBase)
            return std::nullopt;
        return ListValuesPage::Values{std::string(m_mission.cache().name(row)), r.position, r.size, r.rotation, 0};
    }
    case ModelList: {
        const ModelFrame& f = m_mission.model().frames.at(row);
        return ListValuesPage::Values{f.name, f.position, {}, f.rotation, 0};
    }
    default: {
        const CollisionBody& b = m_mission.tree().body(row);
        return ListValuesPage::Values{std::string(m_mission.tree().linkName(row)), b.position, b.size, b.rotation,
                                      b.material};
    }
    }
}

void OtherListPanel::showEntry(std::uint32_t row)
{
    m_shownRow = row;
    if (const auto values = valuesOf(row))
        m_values->showValues(*values);
    else
        m_values->showNothing();
    showTranslationInSearch(row);
}

ValueSaveResult OtherListPanel::saveValues()
{
    const TransformForm form = m_values->form();
    const std::uint32_t row = m_shownRow;
    switch (m_index) {
    case CacheList:
        if (row >= m_mission.cache().records.size() || m_mission.cache().records[row].isBase)
            return ValueSaveResult::Refused;
        return saveCacheValues(form, m_mission, row, m_prompter);
    case ModelList:
        if (row >= m_mission.model().frames.size())
            return ValueSaveResult::Refused;
        return saveModelValues(form, m_mission.model().frames[row], m_mission, m_prompter);
    default:
        return saveCollisionValues(form, m_values->material(), m_mission, row, m_prompter);
    }
}

void OtherListPanel::saveCommand()
{
    m_runner.run([this] { return saveNow(); });
}

CommandResult OtherListPanel::saveNow()
{
    if (!hasRows())
        return CommandResult::refused();
    switch (saveValues()) {
    case ValueSaveResult::Saved:
    case ValueSaveResult::TransformOnly:
        m_values->restoreColours();
        m_mission.setChanged(m_index, false);
        m_values->setSavedMarkerVisible(true);
        // Edits are now compared with what was saved.
        if (const auto values = valuesOf(m_shownRow))
            m_values->setStoredValues(*values);
        return CommandResult::done();
    case ValueSaveResult::Stale:
        return CommandResult::stale(file());
    case ValueSaveResult::Refused:
        break;
    }
    return CommandResult::refused();
}

void OtherListPanel::showRow(std::uint32_t row)
{
    if (row != m_shownRow && static_cast<int>(row) < m_model->rowCount())
        selectListRow(m_view, row);
}

void OtherListPanel::reloadKeepingRow()
{
    const std::uint32_t row = m_shownRow;
    m_mission.reload(file(), m_prompter);
    if (static_cast<int>(row) < m_model->rowCount())
        selectListRow(m_view, row);
}

std::string OtherListPanel::rowText(std::size_t row) const
{
    switch (m_index) {
    case CacheList:
        return m_mission.cache().listText(row);
    case ModelList:
        return m_mission.model().frames[row].name;
    default:
        return m_mission.tree().listText(row);
    }
}

std::optional<Vec3> OtherListPanel::translationOf(std::size_t row) const
{
    switch (m_index) {
    case CacheList:
        if (m_mission.cache().records[row].isBase)
            return std::nullopt; // a base entry has no translation
        return m_mission.cache().records[row].position;
    case ModelList:
        return m_mission.model().frames[row].position;
    default:
        return m_mission.tree().body(row).position;
    }
}

void OtherListPanel::showTranslationInSearch(std::uint32_t row)
{
    const auto t = translationOf(row);
    for (int axis = 0; axis < 3; ++axis)
        m_search->display(axis)->setText(t ? QString::fromStdString(formatFloat(axisOf(*t, axis))) : QString());
}

void OtherListPanel::searchTranslation(std::optional<int> axis)
{
    m_mission.setSearchStop(SearchKind::Translation, false);
    const int rows = m_model->rowCount();
    if (rows == 0 || m_mission.busy())
        return;
    const std::vector<int> axes = axis ? std::vector<int>{*axis} : std::vector<int>{0, 1, 2};
    std::array<std::string, 3> wanted;
    // The fields are checked once the first step has moved on, and rewritten in the "0.0" pattern.
    const auto ready = [&] {
        for (int a : axes)
            if (m_search->field(a)->text().isEmpty()) {
                m_prompter.message("Put numeric", "");
                return false;
            }
        for (int a : axes) {
            wanted[a] = formatOneDecimal(m_search->field(a)->text().toStdString());
            m_search->field(a)->setText(QString::fromStdString(wanted[a]));
        }
        return true;
    };
    const auto matches = [&](std::size_t row) {
        const auto t = translationOf(row);
        if (!t)
            return false;
        for (int a : axes)
            if (formatOneDecimal(formatFloat(axisOf(*t, a))) != wanted[a])
                return false;
        return true;
    };
    const int selected = m_view->currentIndex().row();
    SearchEnd end;
    {
        const Mission::BusyScope busy(m_mission);
        end = searchList(
            static_cast<std::size_t>(rows), selected >= 0 ? std::optional<std::size_t>(selected) : std::nullopt,
            matches, m_prompter,
            [this] {
                QCoreApplication::processEvents(); // lets "stop" be pressed
                return m_mission.workspace().TranslationSearchStop;
            },
            ready);
    }
    if (!end.row)
        return;
    selectListRow(m_view, static_cast<std::uint32_t>(*end.row));
    // The last row compared shows its coordinates in the pattern they were compared in.
    if (const auto t = translationOf(*end.row); t && end.examined && m_shownRow == *end.row)
        for (int a : axes)
            m_search->display(a)->setText(oneDecimal(axisOf(*t, a)));
}

} // namespace mw
