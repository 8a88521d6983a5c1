#include "gui/platform/ScreenFit.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>

namespace {

const char* const kOpenAtContentSize = "openAtContentSize";

// What the window system adds around a window, as it did for the window
// this one opens over; nothing is known before the first one is mapped.
QSize FrameExtra(const QWidget* window)
{
    const QWidget* parent = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    if (!parent || !parent->isVisible())
        return {};
    return parent->frameGeometry().size() - parent->geometry().size();
}

QScreen* ScreenOf(const QWidget* window)
{
    if (const QWidget* parent = window->parentWidget())
        return parent->window()->screen();
    return window->screen();
}

} // namespace

void ScrollWhenSmall(QWidget* window, QLayoutItem* footer)
{
    QLayout* controls = window->layout();
    if (!controls)
        return;
    if (footer)
        controls->removeItem(footer);
    auto* content = new QWidget;
    content->setLayout(controls); // takes the layout and its widgets along
    auto* scroll = new QScrollArea(window);
    scroll->setObjectName(QStringLiteral("scrollContents"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    if (footer) {
        outer->addItem(footer);
        const QMargins around = controls->contentsMargins();
        outer->setContentsMargins(around.left(), 0, around.right(), around.bottom());
    }
    // Small enough for a small screen, large enough to work in.
    window->setMinimumSize(QSize(560, 400).boundedTo(content->sizeHint()));
    // Its first showing sizes it to its controls, which only then have
    // their style and font.
    window->setProperty(kOpenAtContentSize, true);
}

void FitToScreen(QWidget* window)
{
    const QScreen* screen = ScreenOf(window);
    if (!screen || window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QRect available = screen->availableGeometry();
    const QSize extra = FrameExtra(window);
    const QSize room = (available.size() - extra).expandedTo(window->minimumSize());
    if (window->property(kOpenAtContentSize).toBool()) {
        window->setProperty(kOpenAtContentSize, false);
        if (const auto* scroll =
                window->findChild<QScrollArea*>(QStringLiteral("scrollContents"))) {
            // Roomy where the screen allows, never below what the controls
            // need before they scroll, and room for the scroll bars where
            // the screen is smaller than that.
            const QWidget* content = scroll->widget();
            QSize size = content->sizeHint().boundedTo(room).expandedTo(content->minimumSizeHint());
            // Wrapped text needs more height the narrower it is.
            if (content->hasHeightForWidth())
                size.setHeight(std::max(size.height(), content->heightForWidth(size.width())));
            const int bar = scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
            if (size.width() > room.width())
                size.rheight() += bar;
            if (size.height() > room.height())
                size.rwidth() += bar;
            // Plus the footer below the scroll area.
            size.rheight() += window->layout()->sizeHint().height() - scroll->sizeHint().height();
            window->resize(size.expandedTo(window->minimumSize()));
        }
    }
    if (window->width() > room.width() || window->height() > room.height())
        window->resize(window->size().boundedTo(room));
    // Dialogs centre themselves over their parent and stay on the screen;
    // other windows are placed here rather than left to the window system.
    if (qobject_cast<QDialog*>(window) && !window->testAttribute(Qt::WA_Moved))
        return;
    QRect frame(window->pos(), window->size() + extra);
    if (!window->testAttribute(Qt::WA_Moved) && window->parentWidget())
        frame.moveCenter(window->parentWidget()->window()->frameGeometry().center());
    frame.moveLeft(std::clamp(frame.left(), available.left(),
                              std::max(available.left(), available.right() + 1 - frame.width())));
    frame.moveTop(std::clamp(frame.top(), available.top(),
                             std::max(available.top(), available.bottom() + 1 - frame.height())));
    // Until the window system has framed the window, a position places
    // its inside; the frame, mostly a title bar, then goes around it.
    QPoint inside = frame.topLeft();
    if (window->frameGeometry() == window->geometry())
        inside += QPoint(extra.width() / 2, extra.height() - extra.width() / 2);
    window->move(inside);
}

ScreenFitter::ScreenFitter(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

ScreenFitter::~ScreenFitter()
{
    qApp->removeEventFilter(this);
}

bool ScreenFitter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* window = static_cast<QWidget*>(watched);
        const Qt::WindowType type = window->windowType();
        if (window->isWindow() && (type == Qt::Window || type == Qt::Dialog))
            FitToScreen(window);
    }
    return QObject::eventFilter(watched, event);
}
