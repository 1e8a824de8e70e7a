#include "ui/SelectingListView.h"

#include <QMouseEvent>

namespace mw {

SelectingListView::SelectingListView(QWidget* parent) : QListView(parent) {}

void SelectingListView::setModel(QAbstractItemModel* model)
{
    QListView::setModel(model);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &SelectingListView::touched);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &SelectingListView::touched);
}

void SelectingListView::touched()
{
    if (m_batches > 0)
        m_touched = true;
    else
        emit settled();
}

SelectingListView::Batch::Batch(QListView* list) : m_list(qobject_cast<SelectingListView*>(list))
{
    if (m_list)
        ++m_list->m_batches;
}

SelectingListView::Batch::~Batch()
{
    if (!m_list || --m_list->m_batches > 0 || !m_list->m_touched)
        return;
    m_list->m_touched = false;
    emit m_list->settled();
}

void SelectingListView::hold()
{
    if (!m_pressed) {
        m_pressed = true;
        ++m_batches;
    }
}

void SelectingListView::letGo()
{
    if (!m_pressed)
        return;
    m_pressed = false;
    if (--m_batches > 0 || !m_touched)
        return;
    m_touched = false;
    emit settled();
}

void SelectingListView::mousePressEvent(QMouseEvent* event)
{
    hold();
    QListView::mousePressEvent(event);
}

void SelectingListView::mouseMoveEvent(QMouseEvent* event)
{
    // A release this list never saw (a question the press asked took it): the click is over.
    if (!(event->buttons() & Qt::LeftButton))
        letGo();
    const Batch batch(this);
    QListView::mouseMoveEvent(event);
}

void SelectingListView::mouseReleaseEvent(QMouseEvent* event)
{
    QListView::mouseReleaseEvent(event);
    letGo();
}

void SelectingListView::focusOutEvent(QFocusEvent* event)
{
    letGo();
    QListView::focusOutEvent(event);
}

void SelectingListView::keyPressEvent(QKeyEvent* event)
{
    const Batch batch(this);
    QListView::keyPressEvent(event);
}

} // namespace mw
