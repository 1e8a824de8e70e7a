#include "ui/CheckPanel.h"

#include <algorithm>
#include <QApplication>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "commands/check/CheckTargets.h"
#include "foundation/text/NumericText.h"
#include "ui/QtText.h"
#include "ui/WidgetNames.h"

namespace mw {

namespace {

enum Column { SeverityColumn, FileColumn, OffsetColumn, RowColumn, MessageColumn };
constexpr int ProblemRole = Qt::UserRole;

} // namespace

CheckPanel::CheckPanel(Mission& mission, QMainWindow* window) : m_mission(mission)
{
    m_dock = new QDockWidget(QStringLiteral("Check"), window);
    m_dock->setObjectName(QString::fromLatin1(ids::CheckDock));
    auto* content = new QWidget;
    auto* box = new QVBoxLayout(content);
    box->setContentsMargins(4, 4, 4, 4);
    m_list = new QTreeWidget;
    m_list->setObjectName(QString::fromLatin1(ids::CheckList));
    m_list->setRootIsDecorated(false);
    m_list->setAlternatingRowColors(true);
    m_list->setHeaderLabels({QStringLiteral("Severity"), QStringLiteral("File"), QStringLiteral("Offset"),
                             QStringLiteral("Row"), QStringLiteral("Problem")});
    m_list->header()->setStretchLastSection(true);
    box->addWidget(m_list, 1);
    m_summary = new QLabel;
    m_summary->setObjectName(QString::fromLatin1(ids::CheckSummary));
    box->addWidget(m_summary);
    m_dock->setWidget(content);
    window->addDockWidget(Qt::BottomDockWidgetArea, m_dock);
    m_dock->hide();

    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        const auto index = item->data(SeverityColumn, ProblemRole).toULongLong();
        if (index >= m_report.problems.size())
            return;
        const Problem& problem = m_report.problems[index];
        for (const auto& [name, file] : m_files)
            if (name == problem.file && problem.row) {
                emit chosen(file, *problem.row);
                return;
            }
    });
    mission.addListener(this);
}

CheckPanel::~CheckPanel() { m_mission.removeListener(this); }

QString CheckPanel::runCheck()
{
    const std::vector<CheckedFile> files = loadedFiles(m_mission);
    m_files.clear();
    for (const CheckedFile& f : files)
        for (const MissionFile file : MissionFiles)
            if (m_mission.isLoaded(file) && m_mission.sharedBytes(file) == f.bytes)
                m_files.emplace_back(f.name, file);
    m_report = checkFiles(files);
    // Errors first: what breaks the game is what the user must see without scrolling.
    std::stable_sort(m_report.problems.begin(), m_report.problems.end(),
                     [](const Problem& a, const Problem& b) { return a.severity == Severity::Error && b.severity != Severity::Error; });
    m_checked = true;
    showReport();
    m_dock->show();
    m_dock->raise();
    return fromText(m_report.summary());
}

void CheckPanel::showReport()
{
    m_list->clear();
    const QIcon error = QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warning = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    QList<QTreeWidgetItem*> items;
    for (std::size_t i = 0; i < m_report.problems.size(); ++i) {
        const Problem& p = m_report.problems[i];
        auto* item = new QTreeWidgetItem;
        item->setIcon(SeverityColumn, p.severity == Severity::Error ? error : warning);
        item->setText(SeverityColumn, QString::fromLatin1(severityName(p.severity)));
        item->setData(SeverityColumn, ProblemRole, static_cast<qulonglong>(i));
        item->setText(FileColumn, fromText(p.file));
        if (p.offset)
            item->setText(OffsetColumn, QString::fromLatin1(hexNumber(*p.offset)));
        if (p.row)
            item->setText(RowColumn, QString::number(*p.row));
        item->setText(MessageColumn, fromText(p.message));
        item->setToolTip(MessageColumn, fromText(p.message));
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    for (int c = SeverityColumn; c < MessageColumn; ++c)
        m_list->resizeColumnToContents(c);
    m_summary->setText(fromText(m_report.summary()));
}

void CheckPanel::missionChanged(const MissionChange& change)
{
    if (!m_checked || change.kind == MissionChange::Kind::AboutToLoad)
        return;
    m_checked = false;
    m_summary->setText(fromText(m_report.summary()) +
                       QStringLiteral(" \u2014 the files have changed since: check again to see them as they are"));
}

} // namespace mw
