#include "ui/QtPrompter.h"

#include <cctype>

#include "ui/QtText.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

namespace mw {

void QtPrompter::message(std::string_view text, std::string_view title)
{
    QMessageBox box(QMessageBox::NoIcon, fromText(title), fromText(text), QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtPrompter::askYesNo(std::string_view text, std::string_view title)
{
    QMessageBox box(QMessageBox::Question, fromText(title), fromText(text), QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    return box.exec() == QMessageBox::Yes;
}

QString qtFilterFrom(std::string_view filter)
{
    const QStringList parts = fromText(filter).split(QLatin1Char('|'));
    QStringList qtFilters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        qtFilters << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    return qtFilters.join(QStringLiteral(";;"));
}

namespace {

// The settings key of a kind of dialog: its filter, in letters and digits.
QString folderKey(std::string_view filter)
{
    QString key = QStringLiteral("folders/");
    for (const char c : filter)
        key += std::isalnum(static_cast<unsigned char>(c)) ? QChar::fromLatin1(c) : QChar::fromLatin1('_');
    return key;
}

} // namespace

QString QtFileChooser::lastFolder(std::string_view filter) const
{
    if (!m_settings)
        return {};
    // Only a folder that is still there: anything else in the settings is passed over.
    const QString folder = m_settings->value(folderKey(filter)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void QtFileChooser::keepFolder(std::string_view filter, const QString& chosenFile)
{
    if (m_settings)
        m_settings->setValue(folderKey(filter), QFileInfo(chosenFile).absolutePath());
}

std::optional<std::filesystem::path> QtFileChooser::openFile(std::string_view filter)
{
    // The file must exist; read-only handling is not offered.
    const QString path = QFileDialog::getOpenFileName(m_parent, QString(), lastFolder(filter), qtFilterFrom(filter), nullptr,
                                                      QFileDialog::ReadOnly);
    if (path.isEmpty())
        return std::nullopt;
    keepFolder(filter, path);
    return pathOf(path);
}

std::optional<std::filesystem::path> QtFileChooser::saveFile(std::string_view filter, const std::filesystem::path& folder,
                                                             std::string_view defaultSuffix)
{
    QFileDialog dialog(m_parent, QString(), folder.empty() ? lastFolder(filter) : fromPath(folder), qtFilterFrom(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The suffix is added before the dialog asks whether to replace a file of that name.
    dialog.setDefaultSuffix(fromText(defaultSuffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    keepFolder(filter, dialog.selectedFiles().front());
    return pathOf(dialog.selectedFiles().front());
}

} // namespace mw
