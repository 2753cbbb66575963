#pragma once
// Seam: uploads to the user's web site run off the window's thread. The
// window starts one upload at a time and hears of its progress and its end
// through callbacks that run on the window's thread; tests get a fake that
// records what was asked and finishes when told.

#include "publish/Upload.h"

#include <functional>

class UploadService {
public:
    using Progress = std::function<void(qint64 sent, qint64 total)>;
    using Finished = std::function<void(const upload::Result& result)>;

    virtual ~UploadService() = default;
    // Sends localPath to remotePath below the target's remote folder.
    virtual void start(const upload::Target& target, const QString& localPath, const QString& remotePath,
                       Progress progress, Finished finished) = 0;
    // Logs in and lists the remote folder; `finished` gets what was found.
    virtual void test(const upload::Target& target, Finished finished) = 0;
    // Ends the upload under way; its Finished callback still comes (Cancelled).
    virtual void cancel() = 0;
    virtual bool busy() const = 0;
};
