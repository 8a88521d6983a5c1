#include "gui/output/OutputViewerWindow.h"

#include "session/Session.h"
#include "render/PageCanvas.h"
#include "render/PageRenderer.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QHBoxLayout>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

PageView::PageView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture1"));
    setAccessibleName(QStringLiteral("Page"));
    setAccessibleDescription(QStringLiteral("The current page as it prints"));
    setAutoFillBackground(true);
    // Paper stays white with black ink in a dark palette too, as it prints.
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    for (const QPalette::ColorRole ink :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(ink, Qt::black);
    setPalette(p);
    const double scale = logicalDpiX() / 72.0;
    setFixedSize(qRound(PageSize().width() * scale), qRound(PageSize().height() * scale));
}

void PageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPicture(0, 0, m_picture);
}

OutputViewerWindow::OutputViewerWindow(Session& session, QWidget* parent)
    : QWidget(parent), m_session(session), m_controller(session), m_text(new QPlainTextEdit(this)),
      m_pageArea(new QWidget(this)), m_pages(new PageView(m_pageArea)),
      m_scroll(new QScrollBar(Qt::Vertical, this))
{
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(OutputViewerController::kTitle);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setReadOnly(true);
    // A report is laid out in columns of fixed-pitch text: wrapping it to the
    // view would break its columns, so long lines scroll instead.
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    m_text->setFont(font);
    m_scroll->setObjectName(QStringLiteral("VScroll1"));

    auto* frame = new QWidget(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* buttons = new QVBoxLayout(frame);
    for (int i = 0; i < OutputViewerController::kButtons; ++i) {
        const auto which = static_cast<OutputViewerController::Button>(i);
        auto* button = new QPushButton(OutputViewerController::Caption(which), frame);
        button->setObjectName(QStringLiteral("cmdPrint_%1").arg(i));
        if (i == 0)
            button->setShortcut(Qt::Key_Escape);
        connect(button, &QPushButton::clicked, this, [this, i] { cmdPrint_Click(i); });
        buttons->addWidget(button);
        m_buttons.append(button);
    }
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The text and the page share the width as the user drags between them.
    m_split = new QSplitter(Qt::Horizontal, this);
    m_split->addWidget(m_text);
    m_split->addWidget(m_pageArea);
    m_split->setStretchFactor(0, 1);
    m_text->setMinimumWidth(160);
    m_pageArea->setMinimumWidth(160);
    layout->addWidget(m_split, 1);
    layout->addWidget(m_scroll);
    layout->addWidget(frame);
    // The page view's top follows the scroll bar, while dragging too.
    connect(m_scroll, &QScrollBar::valueChanged, this,
            [this](int value) { m_pages->move(0, -value); });
    LayOutScrollBar();
    m_controller.SetView(this);
}

void OutputViewerWindow::SetText(const QString& text)
{
    m_text->setPlainText(text);
}

QString OutputViewerWindow::Text() const
{
    return m_text->toPlainText();
}

void OutputViewerWindow::cmdPrint_Click(int index)
{
    if (index >= 0 && index < OutputViewerController::kButtons)
        m_controller.Click(static_cast<OutputViewerController::Button>(index));
}

bool OutputViewerWindow::DrawPage(qint16& page)
{
    bool ok = false;
    {
        PictureCanvas canvas(m_pages->Picture(), PageView::PageSize());
        ok = RenderPrintTemplate(m_session, canvas, 1.0, page);
        canvas.Finish();
    }
    m_pages->update();
    return ok;
}

void OutputViewerWindow::ScrollToTop()
{
    m_scroll->setValue(0);
}

void OutputViewerWindow::EnableButton(int button, bool enabled)
{
    m_buttons.at(button)->setEnabled(enabled);
}

void OutputViewerWindow::Close()
{
    // Inside the frame the child window is what closes; closing only this
    // widget would leave its empty frame behind.
    if (auto* child = qobject_cast<QMdiSubWindow*>(parentWidget()))
        child->close();
    else
        close();
}

void OutputViewerWindow::OpenOutputOptions()
{
    if (m_hooks.openOutputOptions)
        m_hooks.openOutputOptions();
}

void OutputViewerWindow::ShowRecordViewer()
{
    if (m_hooks.showRecordViewer)
        m_hooks.showRecordViewer();
}

void OutputViewerWindow::LayOutScrollBar()
{
    const int maximum = std::max(0, m_pages->height() - m_pageArea->height());
    m_scroll->setRange(0, maximum);
    m_scroll->setSingleStep(std::max(1, maximum / 20));
    m_scroll->setPageStep(std::max(1, maximum / 3));
}

void OutputViewerWindow::PlaceSplit()
{
    // Half each at first, so that the page view shows labels and values.
    const int width = m_split->width();
    if (!m_splitPlaced && width > 2 * m_pageArea->minimumWidth()) {
        m_split->setSizes({width / 2, width - width / 2});
        m_splitPlaced = true;
    }
}

void OutputViewerWindow::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    PlaceSplit();
}

void OutputViewerWindow::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    if (isMinimized())
        return;
    PlaceSplit();
    LayOutScrollBar();
}

bool OutputViewerWindow::event(QEvent* e)
{
    // Activation is the frame's choosing this child, not every return of
    // focus from a dialog: that would overwrite the status a run has left.
    auto* child = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (e->type() == QEvent::Show && !m_watchingActivation && child && child->mdiArea()) {
        m_watchingActivation = true;
        connect(child->mdiArea(), &QMdiArea::subWindowActivated, this,
                [this, child](QMdiSubWindow* active) {
                    if (active == child)
                        m_controller.Activated();
                });
        if (child->mdiArea()->activeSubWindow() == child)
            m_controller.Activated();
    }
    if (e->type() == QEvent::WindowActivate && !child)
        m_controller.Activated();
    return QWidget::event(e);
}
