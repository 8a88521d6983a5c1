#include "../../database/DatabaseFixture.h"
#include "gui/mailbox/MailboxFetchDialog.h"
#include "mailbox/PasswordStore.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct NoKeychain : PasswordStore {
    std::optional<QString> Read(const QString&, QString* error) override
    {
        *error = QStringLiteral("no keychain");
        return std::nullopt;
    }
    bool Write(const QString&, const QString&, QString* error) override
    {
        *error = QStringLiteral("no keychain");
        return false;
    }
    void Remove(const QString&) override {}
};

template <typename T> T* Child(QWidget& parent, const char* name)
{
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

} // namespace

TEST(MailboxFetchDialog, SavesTheAccountAsksThePasswordAndFetches)
{
    DatabaseFixture f;
    f.CreateAndOpen();
    NoKeychain store;
    auto dialog = std::make_unique<MailboxFetchDialog>(f.session, store);
    dialog->show();
    // Every label's mnemonic reaches its box, the CA file's beside its button too.
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->text().contains(u'&')) {
            EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
        }
    }
    Child<QLineEdit>(*dialog, "txtName")->setText(QStringLiteral("Office"));
    Child<QLineEdit>(*dialog, "txtServer")->setText(QStringLiteral("127.0.0.1"));
    Child<QComboBox>(*dialog, "cboSecurity")->setCurrentIndex(2);
    EXPECT_EQ(Child<QSpinBox>(*dialog, "spnPort")->value(), 143);
    // Nothing listens on port 1 of this machine.
    Child<QSpinBox>(*dialog, "spnPort")->setValue(1);
    Child<QLineEdit>(*dialog, "txtUser")->setText(QStringLiteral("ann"));
    Child<QLineEdit>(*dialog, "txtFolders")->setText(QStringLiteral("INBOX, Forms"));

    QString asked;
    QTimer::singleShot(0, [&] {
        auto* ask = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(ask, nullptr);
        asked = ask->objectName();
        Child<QLineEdit>(*ask, "txtPassword")->setText(QStringLiteral("secret"));
        ask->accept();
    });
    QTest::mouseClick(Child<QPushButton>(*dialog, "cmdFetch"), Qt::LeftButton);
    EXPECT_EQ(asked, QStringLiteral("frmMailboxPassword"));
    const QStringList messages = f.ui.MessageTexts();
    ASSERT_EQ(messages.size(), 3) << messages.join(u'\n').toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("cannot be kept in the keychain")));
    EXPECT_TRUE(messages[1].startsWith(QStringLiteral(
        "Fetch from account \"Office\" (imap://ann@127.0.0.1:1/INBOX): the connection failed")));
    EXPECT_TRUE(messages[2].startsWith(QStringLiteral("Import finished: 1 read:")));

    // Saved, and shown again by a new dialog.
    dialog = std::make_unique<MailboxFetchDialog>(f.session, store);
    auto* list = Child<QListWidget>(*dialog, "lstAccounts");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("Office"));
    EXPECT_EQ(Child<QLineEdit>(*dialog, "txtFolders")->text(), QStringLiteral("INBOX, Forms"));
    EXPECT_EQ(dialog->Controller().Accounts().front().security, MailSecurity::Plain);

    // Plain IMAP elsewhere is refused before anything is saved.
    f.ui.messages.clear();
    Child<QLineEdit>(*dialog, "txtServer")->setText(QStringLiteral("mail.example.org"));
    QTest::mouseClick(Child<QPushButton>(*dialog, "cmdSave"), Qt::LeftButton);
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_TRUE(f.ui.messages[0].text.contains(QStringLiteral("only from this machine")));
    EXPECT_EQ(dialog->Controller().Accounts().front().server, QStringLiteral("127.0.0.1"));
    QTest::mouseClick(Child<QPushButton>(*dialog, "cmdRemove"), Qt::LeftButton);
    EXPECT_EQ(list->count(), 0);
}
