#pragma once
// PasswordStore over QtKeychain (the Secret Service on Linux desktops), and
// PasswordPrompt as a small password box.

#include "platform/PasswordStore.h"

class QWidget;

class KeychainPasswordStore : public PasswordStore {
public:
    Found read(const QString& account, QString* password) override;
    bool write(const QString& account, const QString& password) override;
    void remove(const QString& account) override;
};

class QtPasswordPrompt : public PasswordPrompt {
public:
    std::optional<QString> ask(const QString& text, const QString& caption) override;
};
