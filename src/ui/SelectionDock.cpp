#include "ui/SelectionDock.h"

#include <QComboBox>
#include <QDockWidget>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "commands/editing/FieldEdit.h"
#include "formats/scene/ValueTables.h"
#include "ui/CommandRunner.h"
#include "ui/QtText.h"
#include "ui/Selection.h"
#include "ui/ValueColours.h"

namespace mw {

namespace {

// The inspector's groups, each with the first field it holds.
struct Group {
    const char* title;
    Field first, last;
};
constexpr Group Groups[] = {
    {"Translation", Field::TranslationX, Field::TranslationZ}, {"Size", Field::SizeX, Field::SizeZ},
    {"Rotation", Field::Heading, Field::Heading},              {"Light", Field::LightRed, Field::LightRange2},
    {"Sound", Field::SoundKind, Field::SoundDistance},         {"Human", Field::HumanBehaviour, Field::HumanWeight},
    {"Physical thing", Field::ThingWeight, Field::ThingSound},
};

const QString HowToType = QStringLiteral("A value for every selected object, or +2, -0.5 or *1.5 applied to each "
                                         "one's own value (=-3 sets a negative value). Enter writes it.");

QString countText(std::size_t n, const char* one, const char* many)
{
    return groupedNumber(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

} // namespace

SelectionDock::SelectionDock(Mission& mission, Selection& selection, CommandRunner& runner, Prompter& prompter,
                             QMainWindow* window)
    : m_mission(mission), m_selection(selection), m_runner(runner), m_prompter(prompter)
{
    m_dock = new QDockWidget(QStringLiteral("Selection"), window);
    m_dock->setObjectName(QStringLiteral("SelectionDock"));
    auto* content = new QWidget;
    auto* box = new QVBoxLayout(content);
    m_heading = new QLabel;
    m_heading->setObjectName(QStringLiteral("SelectionHeading"));
    m_heading->setWordWrap(true);
    box->addWidget(m_heading);
    buildRows();
    for (QGroupBox* group : m_groups)
        box->addWidget(group);
    m_apply = new QPushButton(QStringLiteral("Apply"));
    m_apply->setObjectName(QStringLiteral("SelectionApply"));
    box->addWidget(m_apply, 0, Qt::AlignRight);
    box->addStretch(1);
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    // Wide enough for a caption and a mixed range side by side; taller content scrolls.
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumWidth(320);
    scroll->setWidget(content);
    m_dock->setWidget(scroll);
    window->addDockWidget(Qt::RightDockWidgetArea, m_dock);
    m_dock->hide();

    connect(m_apply, &QPushButton::clicked, this, &SelectionDock::applyEdited);
    connect(&m_selection, &Selection::changed, this, [this](SelectionChange change) {
        if (change.has(MissionFile::Scene) || change.has(MissionFile::Cache))
            refresh();
    });
    // Hidden, the dock reads nothing: a selection of every row costs nothing more.
    connect(m_dock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            refresh();
    });
    m_mission.addListener(this);
    refresh();
}

SelectionDock::~SelectionDock() { m_mission.removeListener(this); }

void SelectionDock::buildRows()
{
    for (const Group& g : Groups) {
        auto* group = new QGroupBox(QString::fromLatin1(g.title));
        auto* form = new QFormLayout(group);
        for (auto k = static_cast<std::size_t>(g.first); k <= static_cast<std::size_t>(g.last); ++k) {
            const FieldInfo& info = allFields()[k];
            Row& row = m_rows[k];
            const QString name = QStringLiteral("SelectionField_") + QLatin1String(info.name);
            row.label = new QLabel(QString::fromLatin1(info.caption));
            if (info.coded) {
                row.list = new QComboBox;
                row.list->setObjectName(name);
                const auto add = [&](const auto& table) {
                    for (const CodedCaption& c : table)
                        row.list->addItem(QString::fromLatin1(c.inspectorCaption), c.code);
                };
                info.field == Field::HumanBehaviour ? add(HumanBehaviours) : add(ThingSounds);
                connect(row.list, &QComboBox::activated, this, [this, f = info.field] { markEdited(f); });
                form->addRow(row.label, row.list);
            } else {
                row.box = new QLineEdit;
                row.box->setObjectName(name);
                row.box->setToolTip(HowToType);
                connect(row.box, &QLineEdit::textEdited, this, [this, f = info.field] { markEdited(f); });
                connect(row.box, &QLineEdit::returnPressed, this, [this, f = info.field] { apply(f); });
                form->addRow(row.label, row.box);
            }
        }
        m_groups.push_back(group);
    }
}

void SelectionDock::missionChanged(const MissionChange& change)
{
    // About to read a file, the rows may go: the dock shows nothing until the selection is told.
    if (change.kind == MissionChange::Kind::AboutToLoad)
        clear();
    else if (change.of(MissionFile::Scene) || change.of(MissionFile::Cache))
        refresh();
}

void SelectionDock::clear()
{
    for (std::size_t k = 0; k < m_rows.size(); ++k)
        showRow(static_cast<Field>(k), false);
    for (QGroupBox* group : m_groups)
        group->hide();
    m_apply->setEnabled(false);
}

void SelectionDock::showRow(Field field, bool shown)
{
    Row& row = m_rows[static_cast<std::size_t>(field)];
    QWidget* input = row.box ? static_cast<QWidget*>(row.box) : row.list;
    if (!shown)
        row.edited = false;
    // Only what changes: a row shown again keeps the keyboard's focus.
    if (row.label->isHidden() == shown) {
        row.label->setVisible(shown);
        input->setVisible(shown);
    }
}

void SelectionDock::refresh()
{
    const PlacedItems items = m_dock->isVisible() ? editedItems() : PlacedItems{};
    if (items.size() < 2) {
        clear();
        m_heading->setText(QStringLiteral("Select two or more objects or cached objects to edit a field of all of them at once."));
        return;
    }
    const std::vector<FieldSummary> fields = summariseFields(m_mission, fieldItemsOf(items));
    QString heading = countText(items.scene.size(), "object", "objects");
    if (!items.cache.empty())
        heading = items.scene.empty() ? countText(items.cache.size(), "cached object", "cached objects")
                                      : heading + QStringLiteral(" and ") + countText(items.cache.size(), "cached object", "cached objects");
    m_heading->setText(fields.empty() ? heading + QStringLiteral(" selected: no field is shared by all of them.")
                                      : heading + QStringLiteral(" selected"));
    std::array<bool, FieldCount> shown{};
    for (const FieldSummary& summary : fields) {
        shown[static_cast<std::size_t>(summary.field)] = true;
        showSummary(summary);
    }
    for (std::size_t g = 0; g < std::size(Groups); ++g) {
        bool any = false;
        for (auto k = static_cast<std::size_t>(Groups[g].first); k <= static_cast<std::size_t>(Groups[g].last); ++k) {
            showRow(static_cast<Field>(k), shown[k]);
            any = any || shown[k];
        }
        m_groups[g]->setVisible(any);
    }
    m_apply->setEnabled(!fields.empty());
}

void SelectionDock::showSummary(const FieldSummary& summary)
{
    const Row& row = m_rows[static_cast<std::size_t>(summary.field)];
    if (row.edited)
        return; // what was typed stays until it is written or the field goes
    const QString value = fromText(fieldText(summary.field, summary.low));
    if (row.list) {
        paintNormal(row.list);
        row.list->setCurrentIndex(summary.mixed() ? -1 : row.list->findData(static_cast<int>(summary.low)));
        row.list->setPlaceholderText(summary.mixed() ? fromText(mixedText(summary)) : value);
        return;
    }
    paintNormal(row.box);
    // A negative value shown as "=-3": as typed, "-3" would subtract 3 from each.
    row.box->setText(summary.mixed() ? QString() : (summary.low < 0 ? QStringLiteral("=") + value : value));
    row.box->setCursorPosition(0);
    row.box->setPlaceholderText(summary.mixed() ? fromText(mixedText(summary)) : QString());
}

void SelectionDock::markEdited(Field field)
{
    Row& row = m_rows[static_cast<std::size_t>(field)];
    row.edited = true;
    paintEdited(row.box ? static_cast<QWidget*>(row.box) : row.list);
}

PlacedItems SelectionDock::editedItems() const
{
    PlacedItems items = m_selection.placedItems();
    items.frames.clear(); // a frame has its own page, one at a time
    return items;
}

QString SelectionDock::typedText(Field field) const
{
    const Row& row = m_rows[static_cast<std::size_t>(field)];
    if (row.list)
        return row.list->currentIndex() < 0 ? QString() : row.list->currentData().toString();
    return row.box->text();
}

void SelectionDock::setTypedText(Field field, const QString& text)
{
    const Row& row = m_rows[static_cast<std::size_t>(field)];
    if (row.list)
        row.list->setCurrentIndex(row.list->findData(text.toInt()));
    else
        row.box->setText(text);
    markEdited(field);
}

void SelectionDock::apply(Field field)
{
    // Only a field typed into (or chosen from its list) is written.
    const Row& row = m_rows[static_cast<std::size_t>(field)];
    if (!row.label->isHidden() && row.edited)
        write({{field, typedText(field).toStdString()}});
}

void SelectionDock::applyEdited()
{
    std::vector<FieldText> typed;
    for (const FieldInfo& info : allFields()) {
        const Row& row = m_rows[static_cast<std::size_t>(info.field)];
        if (row.edited && !row.label->isHidden())
            typed.push_back({info.field, typedText(info.field).toStdString()});
    }
    if (!typed.empty())
        write(typed);
}

bool SelectionDock::write(const std::vector<FieldText>& edits)
{
    const PlacedItems items = editedItems();
    if (items.size() < 2 || (m_beforeEdit && !m_beforeEdit(items)))
        return false;
    // Written, the boxes show the files again; refused, they keep what was typed.
    for (const FieldText& edit : edits)
        m_rows[static_cast<std::size_t>(edit.field)].edited = false;
    // The question's save may have changed the selection's rows (a reload): read them again.
    const std::vector<FieldItem> fieldItems = fieldItemsOf(editedItems());
    const bool done = m_runner
                          .run([&] {
                              const Result<FieldsSet> set = setFields(m_mission, fieldItems, edits, m_prompter);
                              const QString told = fromText(fieldsCaption(edits)) + QStringLiteral(" set on ") + countText(set.value.items, "object", "objects");
                              return CommandResult(set, set.done() ? told : QString(), SavedColour);
                          })
                          .isDone();
    if (done)
        refresh();
    else
        for (const FieldText& edit : edits)
            if (!m_rows[static_cast<std::size_t>(edit.field)].label->isHidden())
                setTypedText(edit.field, fromText(edit.text));
    return done;
}

} // namespace mw
