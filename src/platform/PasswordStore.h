#pragma once
// Seam: the upload password is kept in the desktop's keyring, never in the
// settings file. Where no keyring answers, the window asks for it once per
// run (PasswordPrompt) and keeps it in memory only.

#include <QString>

#include <optional>

class PasswordStore {
public:
    enum class Found { Yes, No, NoKeyring };
    virtual ~PasswordStore() = default;
    // `account` names the server and user ("sftp user@host:22").
    virtual Found read(const QString& account, QString* password) = 0;
    // False where no keyring could keep it.
    virtual bool write(const QString& account, const QString& password) = 0;
    virtual void remove(const QString& account) = 0;
};

class PasswordPrompt {
public:
    virtual ~PasswordPrompt() = default;
    // Asks for a password, shown as dots; nothing on Cancel.
    virtual std::optional<QString> ask(const QString& text, const QString& caption) = 0;
};
