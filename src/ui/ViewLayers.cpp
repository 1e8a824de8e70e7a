#include "ui/ViewLayers.h"

#include <QBoxLayout>
#include <QCheckBox>

namespace mw {

void ViewLayers::setShown(ViewLayer layer, bool shown)
{
    bool& slot = m_shown[static_cast<std::size_t>(layer)];
    if (slot == shown)
        return;
    slot = shown;
    emit changed();
}

void ViewLayers::addSwitches(QBoxLayout* row, const char* prefix)
{
    const char* captions[ViewLayerCount] = {"Scene objects", "Cached objects", "Collision bodies", "Model frames", "Route"};
    for (std::size_t i = 0; i < ViewLayerCount; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(captions[i]));
        box->setObjectName(QLatin1String(prefix) + QString::number(i));
        box->setChecked(m_shown[i]);
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) { setShown(static_cast<ViewLayer>(i), on); });
        connect(this, &ViewLayers::changed, box, [this, box, i] {
            const QSignalBlocker block(box);
            box->setChecked(m_shown[i]);
        });
        row->addWidget(box);
    }
}

} // namespace mw
