#pragma once

#include "mailbox/PasswordStore.h"

// Mailbox passwords in the system's keychain (the Secret Service or
// KWallet) through QtKeychain. Without one, every call fails with its
// reason and the program asks for the password each time; it never falls
// back to a file of its own.
class KeychainPasswordStore : public PasswordStore {
public:
    std::optional<QString> Read(const QString& key, QString* error) override;
    bool Write(const QString& key, const QString& password, QString* error) override;
    void Remove(const QString& key) override;
};
