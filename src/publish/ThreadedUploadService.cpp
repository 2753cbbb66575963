#include "publish/ThreadedUploadService.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <QPointer>

ThreadedUploadService::ThreadedUploadService() : receiver_(std::make_unique<QObject>()) {}

ThreadedUploadService::~ThreadedUploadService() {
    if (cancel_)
        *cancel_ = true;
    if (worker_.joinable())
        worker_.join();
}

void ThreadedUploadService::start(const upload::Target& target, const QString& localPath,
                                  const QString& remotePath, Progress progress, Finished finished) {
    run(
        [target, localPath, remotePath](const std::atomic_bool& cancel, const Progress& report) {
            upload::Control control;
            control.cancel = &cancel;
            control.progress = report;
            return upload::uploadFile(target, localPath, remotePath, control);
        },
        std::move(progress), std::move(finished));
}

void ThreadedUploadService::test(const upload::Target& target, Finished finished) {
    run([target](const std::atomic_bool&, const Progress&) { return upload::testConnection(target); }, {},
        std::move(finished));
}

void ThreadedUploadService::cancel() {
    if (cancel_)
        *cancel_ = true;
}

void ThreadedUploadService::run(std::function<upload::Result(const std::atomic_bool&, const Progress&)> work,
                                Progress progress, Finished finished) {
    if (worker_.joinable())
        worker_.join();
    busy_ = true;
    cancel_ = std::make_shared<std::atomic_bool>(false);
    QPointer<QObject> receiver = receiver_.get();
    worker_ = std::thread([this, receiver, work = std::move(work), progress = std::move(progress),
                           finished = std::move(finished), cancel = cancel_] {
        QElapsedTimer sinceReport;
        sinceReport.start();
        const Progress report = [&](qint64 sent, qint64 total) {
            if (!progress || (sinceReport.elapsed() < 50 && sent < total))
                return;
            sinceReport.restart();
            QMetaObject::invokeMethod(
                receiver, [progress, sent, total] { progress(sent, total); }, Qt::QueuedConnection);
        };
        const upload::Result result = work(*cancel, report);
        QMetaObject::invokeMethod(
            receiver,
            [this, finished, result] {
                busy_ = false;
                if (finished)
                    finished(result);
            },
            Qt::QueuedConnection);
    });
}
