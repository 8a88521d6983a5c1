#include "output/OutputViewerWindow.h"

#include "app/Session.h"
#include "output/TextRenderer.h"
#include "search/SummaryNavigation.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

OutputViewerWindow::OutputViewerWindow(Session& session, QWidget* parent)
    : QWidget(parent), m_session(session), m_text(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("Viewing Record"));
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setReadOnly(true);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    m_text->setFont(font);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
}

void OutputViewerWindow::SetText(const QString& text)
{
    m_text->setPlainText(text);
}

QString OutputViewerWindow::Text() const
{
    return m_text->toPlainText();
}

void OutputViewerWindow::Command1_Click(int index)
{
    ::Command1_Click(m_session, index);
    if (RenderRecordView(m_session)) {
        SetText(m_session.Output.OutputText);
        m_session.ui.SetStatusText(QStringLiteral("Viewing Record"));
    }
}

bool OutputViewerWindow::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        m_session.ui.SetStatusText(QStringLiteral("Viewing Record"));
    return QWidget::event(e);
}
