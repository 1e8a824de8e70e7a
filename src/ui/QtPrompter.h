#pragma once
// The window's answers to the core's questions: message boxes and the open-file dialog.

#include <QWidget>

#include "foundation/files/Paths.h"
#include "foundation/seams/FileChooser.h"
#include "foundation/seams/Prompter.h"

namespace mw {

class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* parent) : m_parent(parent) {}
    void message(std::string_view text, std::string_view title) override;
    bool askYesNo(std::string_view text, std::string_view title) override;

private:
    QWidget* m_parent;
};

class QtFileChooser final : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent) : m_parent(parent) {}
    std::optional<std::filesystem::path> openFile(std::string_view filter) override;

private:
    QWidget* m_parent;
};

// " (scene2.bin)|*.bin|(*.*)|*.*" becomes " (scene2.bin) (*.bin);;(*.*) (*.*)".
QString qtFilterFrom(std::string_view filter);

// Texts in the mission files are single bytes, shown as Latin-1; paths are the platform's.
inline QString fromBytes(std::string_view bytes) { return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())); }
inline QString fromText(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline QString fromPath(const std::filesystem::path& path) { return fromText(utf8Of(path)); }
inline std::filesystem::path pathOf(const QString& text) { return pathFromUtf8(text.toStdString()); }

} // namespace mw
