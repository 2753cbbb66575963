#include "platform/PathBrowserLookup.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

std::optional<QString> onPath(const QString& program) {
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty())
        return std::nullopt;
    return found;
}

} // namespace

std::optional<QString> PathBrowserLookup::internetExplorer() const {
    return std::nullopt;
}

std::optional<QString> PathBrowserLookup::netscape() const {
    if (auto found = onPath(u"netscape"_s))
        return found;
    return onPath(u"firefox"_s);
}

std::optional<QString> PathBrowserLookup::opera() const {
    return onPath(u"opera"_s);
}
