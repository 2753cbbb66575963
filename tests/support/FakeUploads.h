#pragma once
// Fakes of the publishing seams: an upload service that records each
// request and finishes it when the test says so, and a keyring and a
// password box with scripted answers.

#include "platform/PasswordStore.h"
#include "platform/UploadService.h"

#include <QHash>
#include <QList>
#include <QStringList>

class FakeUploadService : public UploadService {
public:
    struct Request {
        upload::Target target;
        QString localPath, remotePath; // empty for a connection test
        Progress progress;
        Finished finished;
    };

    void start(const upload::Target& target, const QString& localPath, const QString& remotePath,
               Progress progress, Finished finished) override {
        requests.append({target, localPath, remotePath, std::move(progress), std::move(finished)});
        busy_ = true;
    }
    void test(const upload::Target& target, Finished finished) override {
        requests.append({target, {}, {}, {}, std::move(finished)});
        busy_ = true;
    }
    void cancel() override { ++cancels; }
    bool busy() const override { return busy_; }

    // Ends the last request with `status` (Done: its size is the local file's).
    void finish(upload::Status status, const QString& reason = {}) {
        upload::Result result;
        result.status = status;
        result.reason = reason;
        finish(result);
    }
    void finish(const upload::Result& result) {
        busy_ = false;
        Request request = requests.last();
        request.finished(result);
    }

    QList<Request> requests;
    int cancels = 0;

private:
    bool busy_ = false;
};

class FakePasswordStore : public PasswordStore {
public:
    Found read(const QString& account, QString* password) override {
        if (!keyring)
            return Found::NoKeyring;
        if (!stored.contains(account))
            return Found::No;
        *password = stored.value(account);
        return Found::Yes;
    }
    bool write(const QString& account, const QString& password) override {
        if (keyring)
            stored.insert(account, password);
        return keyring;
    }
    void remove(const QString& account) override { stored.remove(account); }

    bool keyring = true; // false: no keyring answers
    QHash<QString, QString> stored;
};

class FakePasswordPrompt : public PasswordPrompt {
public:
    std::optional<QString> ask(const QString& text, const QString&) override {
        asked << text;
        if (answers.isEmpty())
            return std::nullopt;
        return answers.takeFirst();
    }
    QStringList answers; // taken in turn; none left: Cancel
    QStringList asked;
};
