#pragma once

#include "mailbox/MailboxFetchController.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

// File > Fetch responses from mailbox: the saved accounts on the left, the
// chosen one's settings on the right. "&Fetch" saves the account as shown
// and fetches its folders; the password is asked for in a small dialog of
// its own when the keychain holds none.
class MailboxFetchDialog : public QDialog, private MailboxFetchView {
    Q_OBJECT
public:
    MailboxFetchDialog(Session& session, PasswordStore& passwords, QWidget* parent = nullptr);

    MailboxFetchController& Controller() { return m_controller; }

private:
    std::optional<PasswordAnswer> AskPassword(const MailAccount& account,
                                              const QString& reason) override;
    void ShowAccounts(const QString& current);
    void ShowAccount(const MailAccount& account);
    MailAccount Shown() const;
    bool SaveShown();
    void Fetch();
    void Remove();

    MailboxFetchController m_controller;
    QString m_shownName; // the saved account the fields show; empty for a new one
    QListWidget* m_accounts;
    QLineEdit* m_name;
    QLineEdit* m_server;
    QSpinBox* m_port;
    QComboBox* m_security;
    QLineEdit* m_user;
    QLineEdit* m_folders;
    QLineEdit* m_subject;
    QLineEdit* m_sender;
    QLineEdit* m_caFile;
    QLabel* m_trusted;
    QCheckBox* m_again;
    QPushButton* m_fetch;
};
