#include "ui/SelectionCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "commands/editing/Deletion.h"
#include "commands/objects/CopyPaste.h"
#include "commands/placing/DropToGround.h"
#include "commands/placing/Placing.h"
#include "foundation/seams/Prompter.h"
#include "mission/Mission.h"
#include "ui/CommandRunner.h"
#include "ui/ItemNames.h"
#include "ui/MoveSelectionDialog.h"
#include "ui/QtText.h"
#include "ui/ScenePanel.h"
#include "ui/Selection.h"
#include "ui/StatusLine.h"
#include "ui/ValueColours.h"

namespace mw {

namespace {

QString pastedText(const Pasted& pasted)
{
    QString text = QStringLiteral(" **** Pasted %1 ****").arg(pasted.count);
    if (pasted.missingParents == 1)
        text += QStringLiteral("   1 link names an object this scene does not have");
    else if (pasted.missingParents > 1)
        text += QStringLiteral("   %1 links name objects this scene does not have").arg(pasted.missingParents);
    return text;
}

} // namespace

SelectionCommands::SelectionCommands(Mission& mission, Selection& selection, Prompter& prompter, CommandRunner& runner,
                                     StatusLine& status, ScenePanel& scene)
    : m_mission(mission), m_selection(selection), m_prompter(prompter), m_runner(runner), m_status(status),
      m_scene(scene)
{
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &SelectionCommands::clipboardChanged);
}

SelectionCommands::~SelectionCommands() = default;

bool SelectionCommands::clipboardHoldsObjects() const
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasFormat(QString::fromLatin1(ObjectsMimeType));
}

void SelectionCommands::tellScriptsLeftOut(std::size_t count)
{
    if (count > 0)
        m_status.show(QStringLiteral("%1 script %2 left out: only objects are copied, moved and deleted")
                          .arg(count)
                          .arg(count == 1 ? QStringLiteral("entry") : QStringLiteral("entries")),
                      QColor());
}

std::size_t SelectionCommands::copyToClipboard()
{
    const CopiedObjects copied = copyObjects(m_mission, m_selection.sceneRows());
    tellScriptsLeftOut(copied.scriptsLeftOut);
    if (copied.names.empty())
        return 0;
    const PackageWriteResult package = writePackage(copied.package);
    if (!package.problem.empty()) {
        m_prompter.message("** The objects cannot be copied: " + package.problem + " **", "");
        return 0;
    }
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(ObjectsMimeType),
                  QByteArray(reinterpret_cast<const char*>(package.bytes.data()), static_cast<qsizetype>(package.bytes.size())));
    QStringList names;
    for (const std::string& name : copied.names)
        names << fromBytes(name);
    data->setText(names.join(QLatin1Char('\n')));
    QApplication::clipboard()->setMimeData(data);
    if (copied.scriptsLeftOut == 0)
        m_status.show(QStringLiteral("%1 copied").arg(fromBytes(objectCount(copied.names.size()))), QColor());
    return copied.names.size();
}

void SelectionCommands::copy()
{
    m_runner.run([this] { return copyToClipboard() > 0 ? CommandResult::done() : CommandResult::refused(); });
}

// Only what reached the clipboard is deleted.
void SelectionCommands::cut()
{
    m_runner.run([this] {
        const std::size_t copied = copyToClipboard();
        if (copied == 0)
            return CommandResult::refused();
        return CommandResult(
            deleteObjects(m_mission, m_selection.sceneRows(), m_prompter, false, "Cut " + objectCount(copied)));
    });
}

void SelectionCommands::paste()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(QString::fromLatin1(ObjectsMimeType)) || !m_scene.hasRows())
        return;
    const QByteArray bytes = data->data(QString::fromLatin1(ObjectsMimeType));
    m_runner.run([&] {
        const PackageReadResult read =
            readPackage(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())));
        if (!read.package) {
            m_prompter.message("** The clipboard's objects are damaged: " + read.problem + " - nothing was pasted! **", "");
            return CommandResult::refused();
        }
        const Result<Pasted> pasted = pasteObjects(m_mission, *read.package, m_prompter);
        return CommandResult(pasted, pastedText(pasted.value), SavedColour);
    });
}

void SelectionCommands::duplicate()
{
    m_runner.run([this] {
        const CopiedObjects copied = copyObjects(m_mission, m_selection.sceneRows());
        tellScriptsLeftOut(copied.scriptsLeftOut);
        if (copied.names.empty())
            return CommandResult::refused();
        const Result<Pasted> pasted = pasteObjects(m_mission, copied.package, m_prompter,
                                                   {.moveX = 2, .stepName = "Duplicate " + objectCount(copied.names.size())});
        return CommandResult(pasted, pastedText(pasted.value), SavedColour);
    });
}

void SelectionCommands::openMoveDialog()
{
    if (!m_moveDialog) {
        m_moveDialog = std::make_unique<MoveSelectionDialog>(m_prompter);
        connect(m_moveDialog.get(), &MoveSelectionDialog::moveBy, this, &SelectionCommands::moveBy);
    }
    m_moveDialog->show();
    m_moveDialog->raise();
}

void SelectionCommands::moveBy(Vec3 offset) { moveItemsBy({.scene = m_selection.sceneRows()}, offset); }

void SelectionCommands::moveItemsBy(const PlacedItems& items, Vec3 offset)
{
    m_runner.run([&] { return CommandResult(moveItems(m_mission, items, offset, m_prompter)); });
}

void SelectionCommands::turnItemsBy(const PlacedItems& items, double degrees)
{
    m_runner.run([&] { return CommandResult(turnItems(m_mission, items, degrees, m_prompter)); });
}

void SelectionCommands::dropItemsToGround(const PlacedItems& items, std::size_t locked)
{
    m_runner.run([&] {
        const Result<Dropped> dropped = dropToGround(m_mission, items, m_prompter);
        QString text = QStringLiteral("%1 moved, %2 found nothing below")
                           .arg(fromBytes(objectCount(dropped.value.moved)))
                           .arg(dropped.value.nothingBelow);
        if (locked > 0)
            text += QStringLiteral("; ") + lockedText(locked);
        if (dropped.ended == Ended::Refused)
            m_status.show(text, QColor()); // nothing to write: the counts all the same
        return CommandResult(dropped, text);
    });
}

void SelectionCommands::deleteSelected()
{
    const auto rows = m_selection.sceneRows();
    if (rows.size() <= 1) {
        m_scene.deleteSelected();
        return;
    }
    m_runner.run([&] {
        m_status.clear();
        return CommandResult(deleteObjects(m_mission, rows, m_prompter));
    });
}

} // namespace mw
