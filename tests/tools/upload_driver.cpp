// Drives the upload code for tests/upload_servers.sh and the upload benchmark.
//
//   upload_driver free-port                 a free TCP port on 127.0.0.1
//   upload_driver free-port-range N         "first last" of N free ports in a row
//   upload_driver upload OPTIONS LOCAL REMOTE
//   upload_driver test OPTIONS              logs in and lists the remote folder
//   upload_driver trust-host FILE LINE      adds LINE to the known hosts FILE
//
// OPTIONS: --protocol sftp|ftps|ftp --host H --port P --user U --folder F
//          --key FILE --known-hosts FILE --pin PIN --limit BYTES_PER_SECOND
//          --cancel-after BYTES --stall SECONDS
//          --through-service: the upload runs through the window's
//          ThreadedUploadService while this thread's event loop ticks every
//          5 ms; prints "elapsed_ms N" and "longest_tick_gap_ms N"
// The password comes from the environment variable ORIBEL_UPLOAD_PASSWORD,
// never from the command line. Prints "status NAME", then "reason …",
// "fingerprint …", "hostkey …", "pin …" where set, and "sent N" for the
// progress (every megabyte); exits 0 on status Done.

#include "publish/ThreadedUploadService.h"
#include "publish/Upload.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

int bindPort(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int result = -1;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        socklen_t length = sizeof address;
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
        result = ntohs(address.sin_port);
    }
    close(fd);
    return result;
}

const char* statusName(upload::Status status) {
    static const char* names[] = {"Done",
                                  "Cancelled",
                                  "LocalUnreadable",
                                  "HostNotFound",
                                  "Refused",
                                  "TimedOut",
                                  "AuthFailed",
                                  "UnknownHostKey",
                                  "HostKeyChanged",
                                  "UntrustedCertificate",
                                  "PermissionDenied",
                                  "DiskFull",
                                  "ConnectionLost",
                                  "SizeMismatch",
                                  "Failed"};
    return names[int(status)];
}

void print(const char* label, const QString& value) {
    if (!value.isEmpty())
        std::printf("%s %s\n", label, value.toUtf8().constData());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return 2;
    const QString command = args.takeFirst();
    if (command == u"free-port"_s) {
        std::printf("%d\n", bindPort(0));
        return 0;
    }
    if (command == u"free-port-range"_s) {
        const int count = args.value(0).toInt();
        for (int attempt = 0; attempt < 200; ++attempt) {
            const int first = 20000 + int(arc4random_uniform(30000));
            bool free = true;
            for (int p = first; p < first + count && free; ++p)
                free = bindPort(p) == p;
            if (free) {
                std::printf("%d %d\n", first, first + count - 1);
                return 0;
            }
        }
        return 1;
    }
    if (command == u"trust-host"_s) {
        QString error;
        if (!upload::addKnownHost(args.value(0), args.value(1), &error)) {
            std::fprintf(stderr, "%s\n", error.toUtf8().constData());
            return 1;
        }
        return 0;
    }

    upload::Target target;
    qint64 cancelAfter = -1;
    bool throughService = false;
    QStringList positional;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const QString value = args.value(i + 1);
        if (!a.startsWith(u"--"_s)) {
            positional << a;
            continue;
        }
        if (a == u"--through-service"_s) {
            throughService = true;
            continue;
        }
        ++i;
        if (a == u"--protocol"_s)
            target.protocol = value == u"sftp"_s   ? upload::Protocol::Sftp
                              : value == u"ftps"_s ? upload::Protocol::Ftps
                                                   : upload::Protocol::Ftp;
        else if (a == u"--host"_s)
            target.host = value;
        else if (a == u"--port"_s)
            target.port = value.toInt();
        else if (a == u"--user"_s)
            target.user = value;
        else if (a == u"--folder"_s)
            target.remoteFolder = value;
        else if (a == u"--key"_s)
            target.keyFile = value;
        else if (a == u"--known-hosts"_s)
            target.knownHostsFile = value;
        else if (a == u"--pin"_s)
            target.pinnedKey = value;
        else if (a == u"--limit"_s)
            target.maxBytesPerSecond = value.toLongLong();
        else if (a == u"--cancel-after"_s)
            cancelAfter = value.toLongLong();
        else if (a == u"--stall"_s)
            target.stallSeconds = value.toInt();
        else
            return 2;
    }
    target.password = qEnvironmentVariable("ORIBEL_UPLOAD_PASSWORD");
    target.useAgent = false;

    upload::Result result;
    if (command == u"test"_s) {
        result = upload::testConnection(target);
        print("entries", result.folderEntries.join(u' '));
    } else if (command == u"upload"_s && positional.size() == 2 && throughService) {
        ThreadedUploadService service;
        QElapsedTimer elapsed, sinceTick;
        qint64 longestGap = 0;
        QTimer tick;
        tick.setInterval(5);
        QObject::connect(&tick, &QTimer::timeout,
                         [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
        elapsed.start();
        sinceTick.start();
        tick.start();
        service.start(target, positional[0], positional[1], {}, [&](const upload::Result& r) {
            result = r;
            app.quit();
        });
        app.exec();
        std::printf("elapsed_ms %lld\nlongest_tick_gap_ms %lld\n", static_cast<long long>(elapsed.elapsed()),
                    static_cast<long long>(longestGap));
    } else if (command == u"upload"_s && positional.size() == 2) {
        std::atomic_bool cancel = false;
        qint64 nextReport = 1 << 20;
        upload::Control control;
        control.cancel = &cancel;
        control.progress = [&](qint64 sent, qint64) {
            if (cancelAfter >= 0 && sent >= cancelAfter)
                cancel = true;
            if (sent >= nextReport) {
                std::printf("sent %lld\n", static_cast<long long>(sent));
                std::fflush(stdout);
                nextReport = sent + (1 << 20);
            }
        };
        result = upload::uploadFile(target, positional[0], positional[1], control);
    } else {
        return 2;
    }
    std::printf("status %s\n", statusName(result.status));
    print("reason", result.reason);
    print("fingerprint", result.fingerprint);
    print("hostkey", result.hostKeyLine);
    print("pin", result.pin);
    return result.status == upload::Status::Done ? 0 : 1;
}
