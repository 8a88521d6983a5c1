#pragma once

#include <QMainWindow>

class QTextBrowser;

// The program's help: the HTML pages of the "help" folder of the program
// folder in a browser window with back, forward and contents.
class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& helpFolder, QWidget* parent = nullptr);

    // Shows the contents page ("index.htm"); false when it is missing.
    bool ShowContents();
    QTextBrowser* Browser() const { return m_browser; }

private:
    QString m_folder;
    QTextBrowser* m_browser;
};
