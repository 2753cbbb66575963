#pragma once
// Seam: where the system says the three named browsers are installed.
// An empty optional means "not installed" (the send command is then disabled).

#include <QString>
#include <optional>

class BrowserLookup {
public:
    virtual ~BrowserLookup() = default;
    virtual std::optional<QString> internetExplorer() const = 0;
    virtual std::optional<QString> netscape() const = 0;
    virtual std::optional<QString> opera() const = 0;
};
