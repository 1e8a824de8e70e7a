#pragma once
// The window's answers to the core's questions: message boxes and the open-file dialog; and the
// seams the window hands to its panels, which tests can point at scripted answers.

#include <QSettings>
#include <QWidget>

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

// The standard file dialogs. Given settings to keep them in, each kind of dialog (told by its filter)
// opens in the folder it last used.
class QtFileChooser final : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent) : m_parent(parent) {}
    std::optional<std::filesystem::path> openFile(std::string_view filter) override;
    std::optional<std::filesystem::path> saveFile(std::string_view filter, const std::filesystem::path& folder,
                                                  std::string_view defaultSuffix) override;
    // Where the last folders are kept (it must outlive the chooser); none: nothing is remembered.
    void rememberIn(QSettings* settings) { m_settings = settings; }

private:
    QString lastFolder(std::string_view filter) const;
    void keepFolder(std::string_view filter, const QString& chosenFile);

    QWidget* m_parent;
    QSettings* m_settings = nullptr;
};

// Hands every question on to the prompter chosen last.
class PrompterSwitch final : public Prompter {
public:
    explicit PrompterSwitch(Prompter& target) : m_target(&target) {}
    void setTarget(Prompter& target) { m_target = &target; }
    void message(std::string_view text, std::string_view title) override { m_target->message(text, title); }
    bool askYesNo(std::string_view text, std::string_view title) override { return m_target->askYesNo(text, title); }

private:
    Prompter* m_target;
};

// Hands every file question on to the chooser chosen last.
class FileChooserSwitch final : public FileChooser {
public:
    explicit FileChooserSwitch(FileChooser& target) : m_target(&target) {}
    void setTarget(FileChooser& target) { m_target = &target; }
    std::optional<std::filesystem::path> openFile(std::string_view filter) override { return m_target->openFile(filter); }
    std::optional<std::filesystem::path> saveFile(std::string_view filter, const std::filesystem::path& folder,
                                                  std::string_view defaultSuffix) override
    {
        return m_target->saveFile(filter, folder, defaultSuffix);
    }

private:
    FileChooser* m_target;
};

// " (scene2.bin)|*.bin|(*.*)|*.*" becomes " (scene2.bin) (*.bin);;(*.*) (*.*)".
QString qtFilterFrom(std::string_view filter);

} // namespace mw
