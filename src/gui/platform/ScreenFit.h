#pragma once

#include <QObject>

class QLayoutItem;
class QWidget;

// Keeps windows and dialogs on the screen they open on.

// Puts window's controls into a scroll area, so that the window can be
// made smaller than they need; it still opens at their size where the
// screen has room for it. footer, an item of its layout (a row of
// buttons), stays below the scroll area, always in view. Call once its
// layout is complete.
void ScrollWhenSmall(QWidget* window, QLayoutItem* footer = nullptr);

// Makes window no larger than the free part of its screen (without the
// panels of the desktop) and moves it fully onto it.
void FitToScreen(QWidget* window);

// Fits every window and dialog of the program as it opens.
class ScreenFitter : public QObject {
    Q_OBJECT
public:
    explicit ScreenFitter(QObject* parent = nullptr);
    ~ScreenFitter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
