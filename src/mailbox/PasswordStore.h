#pragma once

#include <QString>
#include <optional>

// Where mailbox passwords are kept between fetches: the system's keychain
// in the desktop program. A store that cannot answer makes the program ask
// for the password each time; a password is never written anywhere else.
class PasswordStore {
public:
    virtual ~PasswordStore() = default;
    // The password kept under key; nullopt when none is kept or the
    // keychain does not answer (its reason in *error).
    virtual std::optional<QString> Read(const QString& key, QString* error) = 0;
    virtual bool Write(const QString& key, const QString& password, QString* error) = 0;
    virtual void Remove(const QString& key) = 0;
};
