#pragma once
// The rotation controls of one object list: Slider1 (vertical bar, 0 ... 180) with the components
// Text3 and Text4 it sets, Slider2 (horizontal bar, -90 ... 90) with Text12, the vertical-rotation
// box Text11, the captions Label30 and Label3 and the two orientation views. It holds the rotation
// being edited; the catalogue keeps the saved one.

#include <QEvent>
#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QSlider;

namespace mw {

class OrientationView;

class RotationControls final : public QWidget {
    Q_OBJECT
public:
    // `list` is 0 (scene), 1 (cache) or 2 (model file): it names the controls ("Slider1_0", ...)
    // and decides which components Slider1 sets (q1 and q3 for the scene, q1 and q2 for the others).
    RotationControls(int list, QWidget* parent = nullptr);

    // Controls named without a list suffix, the components of Slider1 and Slider2 named `first`,
    // `second` and `fourth` (the insert dialog's Text9, Text10, Text12), with the scene's components.
    // The captions beside Slider1 and Slider2 differ by use: the lists' pages call them "Vert" and
    // "Horz", the insert dialog "Horz" and "Vert".
    struct Names {
        const char* first;
        const char* second;
        const char* fourth;
        const char* firstCaption = "Vert";
        const char* secondCaption = "Horz";
    };
    explicit RotationControls(const Names& names, QWidget* parent = nullptr);
    void setComponentsVisible(bool visible);
    // Sets the components from the sliders' positions, as moving them would.
    void takeComponentsFromSliders();

    // Slider moves and edits count only while this says so (the list is not busy and not empty).
    void setEditGuard(std::function<bool()> guard) { m_guard = std::move(guard); }

    // Shows a stored rotation: sliders from q1 and q4, Text11 from q2, the components as stored.
    void showRotation(const std::array<float, 4>& q);
    const std::array<float, 4>& rotation() const { return m_q; }

    QString verticalAngleText() const;
    void setVerticalAngleText(const QString& text);
    void setRotationEnabled(bool enabled);
    // The "Horz" and "Vert" labels, which a base entry of the cache greys out with the rest.
    void setLabelsEnabled(bool enabled);
    void restoreColours();

    QSlider* firstSlider() const { return m_slider1; }
    QSlider* secondSlider() const { return m_slider2; }

signals:
    // The user changed the rotation: the list's values are no longer saved.
    void edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    RotationControls(int list, const QString& suffix, const Names& names, QWidget* parent);
    void markVerticalAngle();
    void onFirstSlider(int angle);
    void onSecondSlider(int angle);
    void setFirstComponents(int angle);
    void setFourthComponent(int angle);
    void setRed(QWidget* w);

    int m_list;
    bool m_marksEdits = true; // the captions turn red when a slider moves
    std::function<bool()> m_guard;
    std::array<float, 4> m_q{1, 0, 0, 0};
    QSlider* m_slider1;
    QSlider* m_slider2;
    QLineEdit* m_text3;
    QLineEdit* m_text4;
    QLineEdit* m_text12;
    QLineEdit* m_text11;
    QLabel* m_label30;
    QLabel* m_label3;
    OrientationView* m_view1;
    OrientationView* m_view2;
};

} // namespace mw
