#pragma once

#include <QObject>

class QMdiArea;
class QMenuBar;

// Lets the active child window's own mnemonics win over the menu bar's:
// Alt+F on the summary presses its Find button rather than opening File.
// Qt would treat such a key as ambiguous and only move the focus on the
// first press. The menu bar stays reachable by Alt alone and by F10.
class MenuMnemonics : public QObject {
    Q_OBJECT
public:
    MenuMnemonics(QMenuBar* menuBar, QMdiArea* area);
    ~MenuMnemonics() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ActiveChildClaims(int key) const;
    void RestoreMenuBar();

    QMenuBar* m_menuBar;
    QMdiArea* m_area;
    bool m_suspended = false;
};
