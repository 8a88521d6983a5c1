#include "gui/app/WindowMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

WindowMenu::WindowMenu(QMenu* menu, QMdiArea* area)
    : QObject(menu), m_menu(menu), m_area(area), m_entries(new QActionGroup(this))
{
    connect(menu, &QMenu::aboutToShow, this, &WindowMenu::Refresh);
}

void WindowMenu::Refresh()
{
    // Rebuilt each time: windows open and close, and titles follow the
    // database and the page shown.
    for (QAction* entry : m_entries->actions())
        delete entry;
    QList<QMdiSubWindow*> open;
    for (QMdiSubWindow* child : m_area->subWindowList())
        if (!child->isHidden())
            open.append(child);
    if (open.isEmpty())
        return;
    m_entries->addAction(m_menu->addSeparator());
    for (int i = 0; i < open.size(); ++i) {
        QPointer<QMdiSubWindow> child = open[i];
        QString title = child->windowTitle();
        title.replace(QLatin1Char('&'), QLatin1String("&&"));
        if (i < 9)
            title = QStringLiteral("&%1 %2").arg(i + 1).arg(title);
        QAction* entry = m_menu->addAction(title);
        entry->setCheckable(true);
        entry->setChecked(child == m_area->activeSubWindow());
        m_entries->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, child] {
            if (!child)
                return;
            if (child->isMinimized())
                child->showNormal();
            m_area->setActiveSubWindow(child);
        });
    }
}
