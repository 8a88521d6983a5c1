#pragma once

#include <QObject>

class QActionGroup;
class QMdiArea;
class QMenu;

// The open child windows at the end of the Window menu, the active one
// checked; choosing one brings it to the front.
class WindowMenu : public QObject {
    Q_OBJECT
public:
    WindowMenu(QMenu* menu, QMdiArea* area);

private:
    void Refresh();

    QMenu* m_menu;
    QMdiArea* m_area;
    QActionGroup* m_entries;
};
