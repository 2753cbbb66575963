#pragma once
// The browser lookup on a system without "App Paths": the browsers are looked
// for on PATH. Internet Explorer is never found; Netscape is the first of
// "netscape" and "firefox"; Opera is "opera".

#include "platform/BrowserLookup.h"

class PathBrowserLookup : public BrowserLookup {
public:
    std::optional<QString> internetExplorer() const override;
    std::optional<QString> netscape() const override;
    std::optional<QString> opera() const override;
};
