#include "gui/privacy/PersonDataDialog.h"

#include "privacy/PersonData.h"
#include "render/PdfPages.h"
#include "session/Session.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

PersonDataDialog::PersonDataDialog(PersonData& data, QWidget* parent)
    : QDialog(parent), m_data(data), m_address(new QLineEdit(this)),
      m_text(new QCheckBox(QStringLiteral("Any &text, not only a whole e-mail address"), this)),
      m_find(new QPushButton(QStringLiteral("&Find"), this)), m_found(new QLabel(this)),
      m_records(new QListWidget(this)),
      m_json(new QPushButton(QStringLiteral("Save as &JSON..."), this)),
      m_pdf(new QPushButton(QStringLiteral("Save as &PDF..."), this)),
      m_erase(new QPushButton(QStringLiteral("&Erase..."), this))
{
    setObjectName(QStringLiteral("frmPersonData"));
    setWindowTitle(QStringLiteral("Find a person's data"));
    auto* label = new QLabel(QStringLiteral("E-mail &address:"), this);
    label->setBuddy(m_address);
    m_address->setObjectName(QStringLiteral("txtAddress"));
    m_address->setAccessibleName(QStringLiteral("E-mail address"));
    m_text->setObjectName(QStringLiteral("chkText"));
    m_find->setObjectName(QStringLiteral("cmdFind"));
    m_find->setDefault(true);
    m_found->setObjectName(QStringLiteral("lblFound"));
    m_records->setObjectName(QStringLiteral("lstRecords"));
    m_records->setAccessibleName(QStringLiteral("Records found"));
    m_json->setObjectName(QStringLiteral("cmdSaveJson"));
    m_pdf->setObjectName(QStringLiteral("cmdSavePdf"));
    m_erase->setObjectName(QStringLiteral("cmdErase"));
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    close->setObjectName(QStringLiteral("buttons"));

    auto* search = new QGridLayout;
    search->addWidget(label, 0, 0);
    search->addWidget(m_address, 0, 1);
    search->addWidget(m_find, 0, 2);
    search->addWidget(m_text, 1, 1, 1, 2);
    auto* actions = new QHBoxLayout;
    actions->addWidget(m_json);
    actions->addWidget(m_pdf);
    actions->addWidget(m_erase);
    actions->addStretch(1);
    actions->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(m_found);
    layout->addWidget(m_records, 1);
    layout->addLayout(actions);

    connect(m_find, &QPushButton::clicked, this, &PersonDataDialog::Find);
    connect(m_address, &QLineEdit::returnPressed, this, &PersonDataDialog::Find);
    connect(m_json, &QPushButton::clicked, this, [this] { m_data.ExportJson(); });
    connect(m_pdf, &QPushButton::clicked, this, &PersonDataDialog::ExportPdf);
    connect(m_erase, &QPushButton::clicked, this, &PersonDataDialog::Erase);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    Show();
}

void PersonDataDialog::Find()
{
    m_data.Find({m_address->text(), !m_text->isChecked()});
    Show();
}

void PersonDataDialog::ExportPdf()
{
    m_data.ExportPdf([](Session& session, const QString& path) -> std::unique_ptr<PageOutput> {
        const QPrinter printer(QPrinter::HighResolution);
        return std::make_unique<PdfPages>(session, path, printer.pageLayout());
    });
}

void PersonDataDialog::Erase()
{
    m_data.Erase();
    Show();
}

void PersonDataDialog::Show()
{
    m_records->clear();
    m_records->addItems(m_data.Lines());
    const QString text = m_data.Query().text.trimmed();
    const size_t count = m_data.Records().size();
    m_found->setText(text.isEmpty() ? QString()
                     : count == 0   ? QStringLiteral("No record holds '%1'").arg(text)
                                  : QStringLiteral("%1 record(s) hold '%2'").arg(count).arg(text));
    const bool any = count > 0;
    m_json->setEnabled(any);
    m_pdf->setEnabled(any);
    m_erase->setEnabled(any);
}
