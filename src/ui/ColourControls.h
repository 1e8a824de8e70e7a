#pragma once
// A light's colour: three sliders (0 ... 255) with their captions and value boxes, and a swatch
// painted in the colour the boxes hold. Used by the scene page and the insert dialog.

#include <QWidget>
#include <array>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QSlider;

namespace mw {

class ColourControls final : public QWidget {
    Q_OBJECT
public:
    struct Names {
        std::array<const char*, 3> captions; // objectNames of "Red", "Green", "Blue" (nullptr: none)
        std::array<const char*, 3> sliders;
        std::array<const char*, 3> boxes;
        const char* swatch;
    };
    explicit ColourControls(const Names& names, QWidget* parent = nullptr);

    // Slider moves count only while this says so; otherwise the boxes keep their text.
    void setGuard(std::function<bool()> guard) { m_guard = std::move(guard); }
    void setBoxesVisible(bool visible);

    // Shows a colour of three channels 0 ... 255 (the boxes show them as typed, the sliders rounded).
    void showColour(const std::array<float, 3>& channels);
    std::array<std::string, 3> boxTexts() const;
    QLabel* caption(int channel) const { return m_captions[channel]; }

signals:
    // A slider was moved (and allowed to): the boxes and the swatch follow it.
    void sliderMoved(int channel);

private:
    void paintSwatch();

    std::function<bool()> m_guard;
    std::array<QLabel*, 3> m_captions{};
    std::array<QSlider*, 3> m_sliders{};
    std::array<QLineEdit*, 3> m_boxes{};
    QLabel* m_swatch = nullptr;
};

} // namespace mw
