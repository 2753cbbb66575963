#pragma once
// The production UploadService: each upload runs on a thread of its own,
// and its progress (at most every 50 ms) and its end are posted back to the
// thread that created the service.

#include "platform/UploadService.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <thread>

class ThreadedUploadService : public UploadService {
public:
    ThreadedUploadService();
    // Cancels an upload under way and waits for its thread.
    ~ThreadedUploadService() override;

    void start(const upload::Target& target, const QString& localPath, const QString& remotePath,
               Progress progress, Finished finished) override;
    void test(const upload::Target& target, Finished finished) override;
    void cancel() override;
    bool busy() const override { return busy_; }

private:
    void run(std::function<upload::Result(const std::atomic_bool&, const Progress&)> work, Progress progress,
             Finished finished);

    std::unique_ptr<QObject> receiver_; // lives on the creating thread
    std::thread worker_;
    std::shared_ptr<std::atomic_bool> cancel_;
    bool busy_ = false;
};
