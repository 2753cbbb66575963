#pragma once
// An HtmlSet holding the built-in default templates and flags, for the tests of
// today's page logic.

#include "settings/Defaults.h"

namespace todaytest {

using namespace Qt::StringLiterals;

inline HtmlSet defaultHtmlSet() {
    return ::defaultHtmlSet();
}

} // namespace todaytest
