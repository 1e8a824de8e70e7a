#include "ui/TranslationSearchPanel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QCoreApplication>
#include <QListView>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "commands/lists/OtherList.h"
#include "foundation/seams/Prompter.h"
#include "foundation/text/NumericText.h"
#include "mission/Search.h"
#include "ui/ListTab.h"

namespace mw {

namespace {

float axisOf(const Vec3& v, int axis) { return axis == 0 ? v.x : axis == 1 ? v.y : v.z; }

QString oneDecimal(float value) { return QString::fromStdString(formatOneDecimal(formatFloat(value))); }

std::optional<Vec3> translationOf(const OtherList& list, std::size_t row)
{
    const auto values = list.values(row);
    return values ? std::optional<Vec3>(values->position) : std::nullopt; // a base entry has none
}

} // namespace

TranslationSearchPanel::TranslationSearchPanel(const Names& names, QWidget* parent) : QWidget(parent)
{
    auto* group = new QGroupBox(QStringLiteral("Search by translation"));
    auto* grid = new QGridLayout(group);
    const char* axes[] = {"X", "Y", "Z"};
    grid->addWidget(new QLabel(QStringLiteral("Find")), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Shown")), 2, 0);
    for (int axis = 0; axis < 3; ++axis) {
        m_fields[axis] = new QLineEdit;
        m_fields[axis]->setObjectName(QString::fromLatin1(names.fields[axis]));
        m_fields[axis]->setMaximumWidth(120);
        m_displays[axis] = new QLineEdit;
        m_displays[axis]->setObjectName(QString::fromLatin1(names.displays[axis]));
        m_displays[axis]->setReadOnly(true);
        m_displays[axis]->setMaximumWidth(120);
        auto* button = new QPushButton(QStringLiteral("search Trans %1").arg(QLatin1String(axes[axis])));
        button->setObjectName(QString::fromLatin1(names.buttons[axis]));
        grid->addWidget(button, 0, 1 + axis);
        grid->addWidget(m_fields[axis], 1, 1 + axis);
        grid->addWidget(m_displays[axis], 2, 1 + axis);
        connect(button, &QPushButton::clicked, this, [this, axis] { emit searchAxis(axis); });
    }
    auto* all = new QPushButton(QStringLiteral("search all"));
    all->setObjectName(QString::fromLatin1(names.searchAll));
    auto* stopButton = new QPushButton(QStringLiteral("stop"));
    stopButton->setObjectName(QString::fromLatin1(names.stop));
    grid->addWidget(all, 1, 4);
    grid->addWidget(stopButton, 2, 4);
    grid->setColumnStretch(5, 1);
    connect(all, &QPushButton::clicked, this, &TranslationSearchPanel::searchAll);
    connect(stopButton, &QPushButton::clicked, this, &TranslationSearchPanel::stop);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(group);
}

void TranslationSearchPanel::showTranslation(std::optional<Vec3> t)
{
    for (int axis = 0; axis < 3; ++axis)
        m_displays[axis]->setText(t ? QString::fromStdString(formatFloat(axisOf(*t, axis))) : QString());
}

void TranslationSearchPanel::search(std::optional<int> axis, const Over& over,
                                    const std::function<std::uint32_t()>& shownRow)
{
    over.stop = false;
    const int rows = over.view->model()->rowCount();
    if (rows == 0 || over.mission.busy())
        return;
    const std::vector<int> axes = axis ? std::vector<int>{*axis} : std::vector<int>{0, 1, 2};
    std::array<std::string, 3> wanted;
    // The fields are checked once the first step has moved on, and rewritten in the "0.0" pattern.
    const auto ready = [&] {
        for (int a : axes)
            if (m_fields[a]->text().isEmpty()) {
                over.prompter.message("Put numeric", "");
                return false;
            }
        for (int a : axes) {
            wanted[a] = formatOneDecimal(m_fields[a]->text().toStdString());
            m_fields[a]->setText(QString::fromStdString(wanted[a]));
        }
        return true;
    };
    const auto matches = [&](std::size_t row) {
        const auto t = translationOf(over.list, row);
        if (!t)
            return false;
        for (int a : axes)
            if (formatOneDecimal(formatFloat(axisOf(*t, a))) != wanted[a])
                return false;
        return true;
    };
    const int selected = over.view->currentIndex().row();
    SearchEnd end;
    {
        const Mission::BusyScope busy(over.mission);
        end = searchList(
            static_cast<std::size_t>(rows), selected >= 0 ? std::optional<std::size_t>(selected) : std::nullopt,
            matches, over.prompter,
            [&over] {
                QCoreApplication::processEvents(); // lets "stop" be pressed
                return over.stop;
            },
            ready);
    }
    if (!end.row)
        return;
    selectListRow(over.view, static_cast<std::uint32_t>(*end.row));
    // The last row compared shows its coordinates in the pattern they were compared in.
    if (const auto t = translationOf(over.list, *end.row); t && end.examined && shownRow() == *end.row)
        for (int a : axes)
            m_displays[a]->setText(oneDecimal(axisOf(*t, a)));
}

} // namespace mw
