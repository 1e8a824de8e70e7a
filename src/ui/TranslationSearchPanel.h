#pragma once
// The translation search of the cache, model-file and collision pages: a search field per axis,
// the selected entry's translation in three display boxes, a button per axis, "search all" and
// "stop".

#include <QWidget>
#include <array>

class QLineEdit;
class QPushButton;

namespace mw {

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

signals:
    void searchAxis(int axis);
    void searchAll();
    void stop();

private:
    std::array<QLineEdit*, 3> m_fields{};
    std::array<QLineEdit*, 3> m_displays{};
};

} // namespace mw
