#include "support/TestMain.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

namespace {
// The test program's home; removed with everything in it when the program ends.
std::unique_ptr<QTemporaryDir> home;

void pointAt(const char* variable, const QString& folder) {
    QDir(home->path()).mkpath(folder);
    qputenv(variable, QDir(home->path()).filePath(folder).toUtf8());
}
} // namespace

namespace testsupport {

void isolateEnvironment() {
    if (home)
        return;
    home = std::make_unique<QTemporaryDir>();
    // Qt's own files (the file dialog's remembered folders in test mode go to
    // ~/.qttest) stay inside the temporary home too, so no run sees another's.
    qputenv("HOME", home->path().toUtf8());
    pointAt("XDG_CONFIG_HOME", QStringLiteral("config"));
    pointAt("XDG_DATA_HOME", QStringLiteral("data"));
    pointAt("XDG_STATE_HOME", QStringLiteral("state"));
    pointAt("XDG_CACHE_HOME", QStringLiteral("cache"));
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
}

QString temporaryHome() {
    return home ? home->path() : QString();
}

} // namespace testsupport
