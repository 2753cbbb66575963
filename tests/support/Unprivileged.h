#pragma once
// Runs a piece of a test as an ordinary user, so checks of folder and file
// permissions mean the same when the tests run as the superuser (as on CI),
// who may write anywhere.
//
//   const auto result = testsupport::runUnprivileged([&] { return someCheck(); });
//
// As the superuser the body runs in a child process that has become the user
// "nobody" (uid and gid 65534); otherwise it runs right here. The body returns
// bytes (say, an error text) for the test to check; it must not use GoogleTest
// assertions. Files the body should reach must be readable or writable by
// others: see openUp().

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace testsupport {

// Whether bodies run in a child process as "nobody".
bool runsAsSuperuser();

// The body's result, or nothing when the child could not be started or died.
std::optional<QByteArray> runUnprivileged(const std::function<QByteArray()>& body);

// Lets everyone enter and read a folder that only its owner could (a
// QTemporaryDir is made that way), so an unprivileged body can reach what is
// inside. Returns whether that worked.
bool openUp(const QString& folder);

} // namespace testsupport
