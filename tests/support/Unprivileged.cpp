#include "support/Unprivileged.h"

#include <QFile>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

namespace {
constexpr uid_t NobodyId = 65534;
}

bool runsAsSuperuser() {
    return ::geteuid() == 0;
}

std::optional<QByteArray> runUnprivileged(const std::function<QByteArray()>& body) {
    if (!runsAsSuperuser())
        return body();

    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(channel[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(NobodyId) != 0 || ::setuid(NobodyId) != 0)
            ::_exit(2);
        const QByteArray result = body();
        qsizetype written = 0;
        while (written < result.size()) {
            const ssize_t step =
                ::write(channel[1], result.constData() + written, size_t(result.size() - written));
            if (step <= 0)
                ::_exit(3);
            written += step;
        }
        ::_exit(0);
    }

    ::close(channel[1]);
    QByteArray result;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(channel[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        result.append(buffer, got);
    }
    ::close(channel[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return result;
}

bool openUp(const QString& folder) {
    return QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                             QFile::ExeOther);
}

} // namespace testsupport
