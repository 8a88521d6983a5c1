#include "gui/app/HelpWindow.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

HelpWindow::HelpWindow(const QString& helpFolder, QWidget* parent)
    : QMainWindow(parent), m_folder(helpFolder), m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Tallowmere Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_browser->setObjectName(QStringLiteral("txtHelp"));
    m_browser->setOpenExternalLinks(true);
    m_browser->setSearchPaths({helpFolder});
    setCentralWidget(m_browser);

    QToolBar* bar = addToolBar(QStringLiteral("Help"));
    bar->setMovable(false);
    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack),
                                   QStringLiteral("&Back"), m_browser, &QTextBrowser::backward);
    QAction* forward =
        bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("&Forward"),
                       m_browser, &QTextBrowser::forward);
    bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("&Contents"), this,
                   &HelpWindow::ShowContents);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        setWindowTitle(QStringLiteral("Tallowmere Help - ") + m_browser->documentTitle());
    });
    resize(720, 560);
}

bool HelpWindow::ShowContents()
{
    const QString page = QDir(m_folder).filePath(QStringLiteral("index.htm"));
    if (!QFileInfo::exists(page))
        return false;
    m_browser->setSource(QUrl::fromLocalFile(page));
    return true;
}
