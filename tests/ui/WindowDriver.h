#pragma once
// Drives the real main window by object name and menu caption, with scripted answers.

#include <QAction>
#include <QApplication>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <memory>

#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"
#include "ui/EditState.h"
#include "ui/MainWindow.h"

namespace mw::build {

class WindowDriver {
public:
    WindowDriver() : window(std::make_unique<MainWindow>())
    {
        window->setPrompter(&prompter);
        window->setFileChooser(&files);
    }

    // Triggers the menu item with this caption (the "&" included), as a click would: not while it
    // is disabled.
    void menu(const QString& caption)
    {
        for (QAction* top : window->menuBar()->actions()) {
            if (top->text() == caption) {
                top->trigger();
                return;
            }
            if (top->menu())
                for (QAction* action : top->menu()->actions())
                    if (action->text() == caption) {
                        action->trigger();
                        return;
                    }
        }
        ADD_FAILURE() << "no menu item " << caption.toStdString();
    }

    // The window's action with this id (ids:: of ui/WidgetNames.h).
    QAction* action(const char* id) const
    {
        QAction* a = window->action(id);
        EXPECT_NE(a, nullptr) << id;
        return a;
    }

    template <class T>
    T* find(const char* name) const
    {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    QStringList rows(const char* list) const
    {
        QStringList out;
        auto* model = find<QListView>(list)->model();
        for (int r = 0; r < model->rowCount(); ++r)
            out << model->index(r, 0).data().toString();
        return out;
    }

    std::vector<int> checked(const char* list) const
    {
        std::vector<int> out;
        auto* model = find<QListView>(list)->model();
        for (int r = 0; r < model->rowCount(); ++r)
            out.push_back(model->index(r, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked ? 1 : 0);
        return out;
    }

    int selectedRow(const char* list) const { return find<QListView>(list)->currentIndex().row(); }

    void select(const char* list, int row)
    {
        auto* view = find<QListView>(list);
        view->setCurrentIndex(view->model()->index(row, 0));
    }

    // Chooses `path` in the next file dialog and runs the menu item.
    void load(const QString& caption, const std::filesystem::path& path)
    {
        files.answers.push_back(path.string());
        menu(caption);
    }

    static void write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
    {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    ScriptedPrompter prompter;
    ScriptedFiles files;
    std::unique_ptr<MainWindow> window;
};

} // namespace mw::build
