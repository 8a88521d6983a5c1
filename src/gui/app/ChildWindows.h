#pragma once

#include "app/ShellView.h"

#include <QMap>
#include <QPointer>
#include <QSize>
#include <optional>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

// The child windows inside the main window's frame: which exist, which is
// active, bringing one to the front, closing, tiling and cascading.
class ChildWindows {
public:
    explicit ChildWindows(QMdiArea* area) : m_area(area) {}

    // Adds widget as the child of kind, sized to size, and shows it.
    QMdiSubWindow* Add(ChildKind kind, QWidget* widget, QSize size);
    // The child's window while it is open (closed children are forgotten).
    QMdiSubWindow* Window(ChildKind kind) const;
    QWidget* Widget(ChildKind kind) const;
    template <typename T> T* As(ChildKind kind) const { return qobject_cast<T*>(Widget(kind)); }

    std::optional<ChildKind> Active() const;
    void BringToFront(ChildKind kind);
    void Close(ChildKind kind);
    void CloseAll();
    // One above the other, each the full width of the frame and at least
    // the height its controls need.
    void Tile();
    void Cascade();

private:
    QMdiArea* m_area;
    QMap<ChildKind, QPointer<QMdiSubWindow>> m_children;
};
