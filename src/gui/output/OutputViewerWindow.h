#pragma once

#include "session/WindowHost.h"
#include "output/OutputViewerController.h"

#include <QList>
#include <QPicture>
#include <QWidget>
#include <functional>

class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QSplitter;
class Session;

// The page view (Picture1): shows the last page the page renderer drew.
class PageView : public QWidget {
    Q_OBJECT
public:
    explicit PageView(QWidget* parent = nullptr);
    // A letter-sized page in points.
    static QSizeF PageSize() { return {612, 792}; }
    QPicture& Picture() { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPicture m_picture;
};

// The output viewer (frmPrint, "Viewing Record"): report output on screen
// as text and as pages. While it is active the main window's navigation
// moves through the summary's records and shows each one's text.
class OutputViewerWindow : public QWidget, public NavigationTarget, private OutputViewerView {
    Q_OBJECT
public:
    // What the buttons ask of the main window.
    struct Hooks {
        std::function<void()> openOutputOptions;
        std::function<void()> showRecordViewer;
    };

    explicit OutputViewerWindow(Session& session, QWidget* parent = nullptr);
    void SetHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    // Shows text in the text view.
    void SetText(const QString& text);
    QString Text() const;
    QPlainTextEdit* TextView() const { return m_text; }
    PageView* Pages() const { return m_pages; }
    QScrollBar* ScrollBar() const { return m_scroll; }
    qint16 ShownPage() const { return m_controller.ShownPage(); }

    void Command1_Click(Navigation index) override { m_controller.Command1_Click(index); }
    // The button at index, in the order of OutputViewerController::Button.
    void cmdPrint_Click(int index);
    // Draws the shown page of the loaded page template; false on a failure.
    bool Redraw() { return m_controller.Redraw(); }

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool DrawPage(qint16& page) override;
    void ShowText(const QString& text) override { SetText(text); }
    void ShowCaption(const QString& caption) override { setWindowTitle(caption); }
    void ScrollToTop() override;
    void EnableButton(int button, bool enabled) override;
    void Close() override;
    void OpenOutputOptions() override;
    void ShowRecordViewer() override;

    void LayOutScrollBar();
    void PlaceSplit();

    Session& m_session;
    OutputViewerController m_controller;
    Hooks m_hooks;
    QPlainTextEdit* m_text;
    QWidget* m_pageArea;
    PageView* m_pages;
    QScrollBar* m_scroll;
    QList<QPushButton*> m_buttons; // by OutputViewerController::Button
    QSplitter* m_split = nullptr;
    // The text and the page get half the width each on the first real
    // layout; after that the user's dragging rules.
    bool m_splitPlaced = false;
    bool m_watchingActivation = false;
};
