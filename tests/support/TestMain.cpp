#include "support/TestMain.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {
QTemporaryDir* home = nullptr;
}

namespace testsupport {

void isolateEnvironment() {
    if (home)
        return;
    home = new QTemporaryDir(); // lives until the process ends; removed then by the OS temp cleanup
    home->setAutoRemove(true);
    QDir(home->path()).mkpath(QStringLiteral("config"));
    QDir(home->path()).mkpath(QStringLiteral("data"));
    QDir(home->path()).mkpath(QStringLiteral("state"));
    qputenv("XDG_CONFIG_HOME", QDir(home->path()).filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", QDir(home->path()).filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_STATE_HOME", QDir(home->path()).filePath(QStringLiteral("state")).toUtf8());
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
}

QString temporaryHome() { return home ? home->path() : QString(); }

} // namespace testsupport
