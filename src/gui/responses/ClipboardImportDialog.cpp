#include "gui/responses/ClipboardImportDialog.h"

#include "responses/ClipboardImport.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ClipboardImportDialog::ClipboardImportDialog(Session& session, const QString& text, QWidget* parent)
    : QDialog(parent), m_session(session), m_text1(new QPlainTextEdit(this)),
      m_command1(new QPushButton(QStringLiteral("&Import"), this)),
      m_command2(new QPushButton(QStringLiteral("&Cancel"), this)),
      m_again(new QCheckBox(QStringLiteral("Import known messages &again"), this))
{
    m_again->setObjectName(QStringLiteral("chkAgain"));
    setObjectName(QStringLiteral("frmClipboardImport"));
    setWindowTitle(QStringLiteral("Import record from clipboard"));

    auto* label = new QLabel(
        QStringLiteral("The clipboard currently contains the following data. Please confirm that "
                       "the data is correct and complete and click \"Import\" to continue."),
        this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);

    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setAccessibleName(QStringLiteral("Clipboard contents"));
    m_text1->setPlainText(text);
    // Mail bodies are long unbroken lines; wrapping shows them whole.
    m_text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setDefault(true);
    m_command2->setObjectName(QStringLiteral("Command2"));
    connect(m_command1, &QPushButton::clicked, this, &ClipboardImportDialog::Command1_Click);
    connect(m_command2, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_again);
    buttons->addStretch(1);
    buttons->addWidget(m_command1);
    buttons->addWidget(m_command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_text1, 1);
    layout->addLayout(buttons);
    resize(560, 380);
}

void ClipboardImportDialog::Command1_Click()
{
    m_command1->setEnabled(false); // one import per press, even on a slow disk
    ImportClipboardText(m_session, m_text1->toPlainText(), m_again->isChecked());
    accept();
}
