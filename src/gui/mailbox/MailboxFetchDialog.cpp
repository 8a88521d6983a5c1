#include "gui/mailbox/MailboxFetchDialog.h"

#include "session/Session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QLineEdit* Field(QWidget* parent, const char* name, const QString& accessible)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAccessibleName(accessible);
    return edit;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

MailboxFetchDialog::MailboxFetchDialog(Session& session, PasswordStore& passwords, QWidget* parent)
    : QDialog(parent), m_controller(session, passwords, *this), m_accounts(new QListWidget(this)),
      m_name(Field(this, "txtName", QStringLiteral("Account name"))),
      m_server(Field(this, "txtServer", QStringLiteral("Server"))), m_port(new QSpinBox(this)),
      m_security(new QComboBox(this)), m_user(Field(this, "txtUser", QStringLiteral("User"))),
      m_folders(Field(this, "txtFolders", QStringLiteral("Folders"))),
      m_subject(Field(this, "txtSubject", QStringLiteral("Subject holds"))),
      m_sender(Field(this, "txtSender", QStringLiteral("Sender holds"))),
      m_caFile(Field(this, "txtCaFile", QStringLiteral("CA file"))), m_trusted(new QLabel(this)),
      m_again(new QCheckBox(QStringLiteral("Import known messages &again"), this)),
      m_fetch(Button(this, "cmdFetch", QStringLiteral("&Fetch")))
{
    setObjectName(QStringLiteral("frmMailboxFetch"));
    setWindowTitle(QStringLiteral("Fetch responses from mailbox"));
    m_accounts->setObjectName(QStringLiteral("lstAccounts"));
    m_accounts->setAccessibleName(QStringLiteral("Accounts"));
    m_port->setObjectName(QStringLiteral("spnPort"));
    m_port->setAccessibleName(QStringLiteral("Port"));
    m_port->setRange(1, 65535);
    m_security->setObjectName(QStringLiteral("cboSecurity"));
    m_security->setAccessibleName(QStringLiteral("Security"));
    m_security->addItems({QStringLiteral("TLS"), QStringLiteral("STARTTLS"),
                          QStringLiteral("None (this machine only)")});
    m_folders->setPlaceholderText(QStringLiteral("INBOX, Forms"));
    m_trusted->setObjectName(QStringLiteral("lblTrusted"));
    m_trusted->setWordWrap(true);
    m_again->setObjectName(QStringLiteral("chkAgain"));
    m_fetch->setDefault(true);

    auto* browse = Button(this, "cmdBrowseCa", QStringLiteral("Bro&wse..."));
    auto* newAccount = Button(this, "cmdNew", QStringLiteral("&New"));
    auto* save = Button(this, "cmdSave", QStringLiteral("&Save account"));
    auto* remove = Button(this, "cmdRemove", QStringLiteral("&Remove"));
    auto* close = Button(this, "cmdClose", QStringLiteral("&Close"));

    auto* caRow = new QHBoxLayout;
    caRow->addWidget(m_caFile, 1);
    caRow->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Na&me:"), m_name);
    form->addRow(QStringLiteral("Ser&ver:"), m_server);
    form->addRow(QStringLiteral("&Port:"), m_port);
    form->addRow(QStringLiteral("Securit&y:"), m_security);
    form->addRow(QStringLiteral("&User:"), m_user);
    form->addRow(QStringLiteral("F&olders:"), m_folders);
    form->addRow(QStringLiteral("Su&bject holds:"), m_subject);
    form->addRow(QStringLiteral("Sen&der holds:"), m_sender);
    // A row of a box and a button: its label's mnemonic goes to the box.
    auto* caLabel = new QLabel(QStringLiteral("CA f&ile:"), this);
    caLabel->setBuddy(m_caFile);
    form->addRow(caLabel, caRow);
    form->addRow(QString(), m_trusted);
    auto* accountButtons = new QHBoxLayout;
    accountButtons->addWidget(newAccount);
    accountButtons->addWidget(remove);
    auto* left = new QVBoxLayout;
    left->addWidget(m_accounts, 1);
    left->addLayout(accountButtons);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(form, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_again);
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(m_fetch);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    connect(m_accounts, &QListWidget::currentTextChanged, this, [this](const QString& name) {
        if (const MailAccount* account = m_controller.Account(name))
            ShowAccount(*account);
    });
    // The usual port of each kind, unless another was chosen.
    connect(m_security, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_port->value() == 993 || m_port->value() == 143)
            m_port->setValue(index == 0 ? 993 : 143);
    });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, QStringLiteral("Certificate of the server or its issuer"), m_caFile->text(),
            QStringLiteral("Certificates (*.pem *.crt);;All Files (*)"));
        if (!path.isEmpty())
            m_caFile->setText(path);
    });
    connect(newAccount, &QPushButton::clicked, this, [this] {
        m_accounts->setCurrentRow(-1);
        ShowAccount(MailAccount());
        m_name->setFocus();
    });
    connect(save, &QPushButton::clicked, this, &MailboxFetchDialog::SaveShown);
    connect(remove, &QPushButton::clicked, this, &MailboxFetchDialog::Remove);
    connect(m_fetch, &QPushButton::clicked, this, &MailboxFetchDialog::Fetch);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    ShowAccounts(QString());
    if (m_controller.Accounts().isEmpty())
        ShowAccount(MailAccount());
    resize(640, 400);
}

void MailboxFetchDialog::ShowAccounts(const QString& current)
{
    m_accounts->clear();
    for (const MailAccount& account : m_controller.Accounts())
        m_accounts->addItem(account.name);
    const auto found = m_accounts->findItems(current, Qt::MatchExactly);
    if (!found.isEmpty())
        m_accounts->setCurrentItem(found.front());
    else if (m_accounts->count() > 0)
        m_accounts->setCurrentRow(0);
}

void MailboxFetchDialog::ShowAccount(const MailAccount& account)
{
    m_shownName = account.name;
    m_name->setText(account.name);
    m_server->setText(account.server);
    m_security->setCurrentIndex(static_cast<int>(account.security));
    m_port->setValue(account.port);
    m_user->setText(account.user);
    m_folders->setText(account.folders.join(QStringLiteral(", ")));
    m_subject->setText(account.subject);
    m_sender->setText(account.sender);
    m_caFile->setText(account.caFile);
    m_trusted->setText(account.trustedCertificate.isEmpty()
                           ? QString()
                           : QStringLiteral("The server's own certificate is trusted."));
}

MailAccount MailboxFetchDialog::Shown() const
{
    MailAccount account;
    if (const MailAccount* saved = m_controller.Account(m_shownName))
        account = *saved;
    account.name = m_name->text();
    account.server = m_server->text();
    account.port = m_port->value();
    account.security = static_cast<MailSecurity>(m_security->currentIndex());
    account.user = m_user->text().trimmed();
    account.folders.clear();
    for (const QString& folder : m_folders->text().split(u','))
        if (!folder.trimmed().isEmpty())
            account.folders.append(folder.trimmed());
    account.subject = m_subject->text();
    account.sender = m_sender->text();
    account.caFile = m_caFile->text().trimmed();
    return account;
}

bool MailboxFetchDialog::SaveShown()
{
    const MailAccount account = Shown();
    if (!m_controller.SaveAccount(account, m_shownName))
        return false;
    ShowAccounts(account.name.trimmed());
    return true;
}

void MailboxFetchDialog::Remove()
{
    if (m_shownName.isEmpty() || !m_controller.RemoveAccount(m_shownName))
        return;
    ShowAccounts(QString());
    if (m_controller.Accounts().isEmpty())
        ShowAccount(MailAccount());
}

void MailboxFetchDialog::Fetch()
{
    if (!SaveShown())
        return;
    m_fetch->setEnabled(false); // one fetch per press
    m_controller.Fetch(m_shownName, m_again->isChecked());
    m_fetch->setEnabled(true);
    // The trusted certificate, when the fetch asked about it.
    if (const MailAccount* account = m_controller.Account(m_shownName))
        ShowAccount(*account);
}

std::optional<PasswordAnswer> MailboxFetchDialog::AskPassword(const MailAccount& account,
                                                              const QString& reason)
{
    QDialog ask(this);
    ask.setObjectName(QStringLiteral("frmMailboxPassword"));
    ask.setWindowTitle(QStringLiteral("Mailbox password"));
    auto* label = new QLabel((reason.isEmpty() ? QString() : reason + u'\n') +
                                 QStringLiteral("The password of %1 on %2 (account \"%3\"):")
                                     .arg(account.user, account.server, account.name),
                             &ask);
    label->setWordWrap(true);
    auto* password = new QLineEdit(&ask);
    password->setObjectName(QStringLiteral("txtPassword"));
    password->setAccessibleName(QStringLiteral("Password"));
    password->setEchoMode(QLineEdit::Password);
    auto* remember = new QCheckBox(QStringLiteral("&Remember it in the system's keychain"), &ask);
    remember->setObjectName(QStringLiteral("chkRemember"));
    remember->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &ask);
    connect(buttons, &QDialogButtonBox::accepted, &ask, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &ask, &QDialog::reject);
    auto* layout = new QVBoxLayout(&ask);
    layout->addWidget(label);
    layout->addWidget(password);
    layout->addWidget(remember);
    layout->addWidget(buttons);
    if (ask.exec() != QDialog::Accepted)
        return std::nullopt;
    return PasswordAnswer{password->text(), remember->isChecked()};
}
