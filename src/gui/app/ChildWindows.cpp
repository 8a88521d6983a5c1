#include "gui/app/ChildWindows.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

QMdiSubWindow* ChildWindows::Add(ChildKind kind, QWidget* widget, QSize size)
{
    QMdiSubWindow* child = m_area->addSubWindow(widget);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->setWindowIcon(m_area->window()->windowIcon());
    child->resize(size);
    m_children.insert(kind, child);
    child->show();
    // The area places a new child beside the others; a wide one could then
    // start near the right edge with most of it out of sight.
    const QSize room = m_area->viewport()->size();
    if (!m_area->isVisible() || room.isEmpty())
        return child; // laid out when the frame first shows
    QRect frame(child->pos(), child->size().boundedTo(room));
    frame.moveLeft(std::clamp(frame.left(), 0, room.width() - frame.width()));
    frame.moveTop(std::clamp(frame.top(), 0, room.height() - frame.height()));
    child->setGeometry(frame);
    return child;
}

QMdiSubWindow* ChildWindows::Window(ChildKind kind) const
{
    QMdiSubWindow* child = m_children.value(kind);
    // A closed child is deleted later; until then it only hides.
    if (child && child->isHidden() && child->testAttribute(Qt::WA_WState_ExplicitShowHide))
        return nullptr;
    return child;
}

QWidget* ChildWindows::Widget(ChildKind kind) const
{
    QMdiSubWindow* child = Window(kind);
    return child ? child->widget() : nullptr;
}

std::optional<ChildKind> ChildWindows::Active() const
{
    QMdiSubWindow* active = m_area->activeSubWindow();
    for (auto it = m_children.cbegin(); it != m_children.cend(); ++it)
        if (active && it.value() == active && Window(it.key()))
            return it.key();
    return std::nullopt;
}

void ChildWindows::BringToFront(ChildKind kind)
{
    if (QMdiSubWindow* child = Window(kind)) {
        child->show();
        m_area->setActiveSubWindow(child);
    }
}

void ChildWindows::Close(ChildKind kind)
{
    if (QMdiSubWindow* child = Window(kind))
        child->close();
}

void ChildWindows::CloseAll()
{
    for (ChildKind kind : m_children.keys())
        Close(kind);
    m_area->closeAllSubWindows();
}

void ChildWindows::Tile()
{
    QList<QMdiSubWindow*> children;
    for (QMdiSubWindow* child : m_area->subWindowList())
        if (child->isVisible() && !child->isMinimized())
            children.append(child);
    if (children.isEmpty())
        return;
    // Each gets at least the height its controls need; the rest is shared.
    const QRect area = m_area->viewport()->rect();
    QList<int> heights;
    int needed = 0;
    for (QMdiSubWindow* child : children) {
        heights.append(child->minimumSizeHint().height());
        needed += heights.last();
    }
    const int spare = std::max(0, area.height() - needed) / int(children.size());
    int top = 0;
    for (int i = 0; i < children.size(); ++i) {
        children[i]->showNormal();
        children[i]->setGeometry(0, top, area.width(), heights[i] + spare);
        top += heights[i] + spare;
    }
}

void ChildWindows::Cascade()
{
    m_area->cascadeSubWindows();
}
