#pragma once
// Per-process isolation for tests: a temporary XDG config, data and state home, and
// QStandardPaths in test mode, so no test touches the user's real settings.

#include <QString>

namespace testsupport {
// Prepares the environment; call before the application object exists.
void isolateEnvironment();
// The temporary home made by isolateEnvironment().
QString temporaryHome();
} // namespace testsupport
