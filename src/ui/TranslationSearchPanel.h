#pragma once
// The translation search of the cache, model-file and collision pages: a search field per axis,
// the selected entry's translation in three display boxes, a button per axis, "search all" and
// "stop"; and the search itself, over a list of the core.

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "foundation/geometry/Vec3.h"

class QLineEdit;
class QListView;
class QPushButton;

namespace mw {

class Mission;
class OtherList;
class Prompter;

class TranslationSearchPanel final : public QWidget {
    Q_OBJECT
public:
    // Object names, X, Y, Z in each array.
    struct Names {
        std::array<const char*, 3> fields;
        std::array<const char*, 3> displays;
        std::array<const char*, 3> buttons;
        const char* searchAll;
        const char* stop;
    };
    explicit TranslationSearchPanel(const Names& names, QWidget* parent = nullptr);

    QLineEdit* field(int axis) const { return m_fields[axis]; }
    QLineEdit* display(int axis) const { return m_displays[axis]; }

    // A row's translation in the display boxes; nothing: empty boxes.
    void showTranslation(std::optional<Vec3> translation);

    // What a search walks: the list's rows, shown in `view`, polling `stop`.
    struct Over {
        Mission& mission;
        Prompter& prompter;
        QListView* view;
        const OtherList& list;
        bool& stop;
    };
    // The search along one axis, or all three: from the row after the selected one, each translation
    // compared in the "0.0" pattern with the fields (rewritten in it); the row it ends on is selected
    // in the view, and, when it was compared and is the one shown (`shownRow`), shown in that pattern.
    void search(std::optional<int> axis, const Over& over, const std::function<std::uint32_t()>& shownRow);

signals:
    void searchAxis(int axis);
    void searchAll();
    void stop();

private:
    std::array<QLineEdit*, 3> m_fields{};
    std::array<QLineEdit*, 3> m_displays{};
};

} // namespace mw
