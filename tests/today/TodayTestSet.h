#pragma once
// An HtmlSet holding the built-in default templates and flags, for the tests of
// today's page logic.

#include "settings/HtmlSet.h"

#include <QString>
#include <algorithm>
#include <string_view>

namespace todaytest {

using namespace Qt::StringLiterals;

inline HtmlSet defaultHtmlSet() {
    HtmlSet set;
    set.HtmlDate1 = uR"(<font color="#ff0000"><b>)"_s;
    set.HtmlDate2 = u"</b></font>"_s;
    set.HtmlTime1 = uR"(<font color="#0000ff" size="-1"><b>)"_s;
    set.HtmlTime2 = u"</b></font>"_s;
    set.HtmlSky1 = uR"(<font color="#ffccaa"><b>)"_s;
    set.HtmlSky2 = uR"(<font color="#ccccff"><b>)"_s;
    set.HtmlSky3 = uR"(<font color="#aaccff"><b>)"_s;
    set.HtmlSky4 = u"</b></font>"_s;
    set.HtmlSky5 = uR"(<font color="#ccffff"><b>)"_s;
    set.HtmlSky6 = uR"(<font color="#cccccc"><b>)"_s;
    set.HtmlSky7 = u"／"_s;
    set.HtmlMain1 = uR"(<DIV STYLE="margin-left:20pt;">)"_s;
    set.HtmlMain2 = u"</DIV>"_s;
    set.HtmlTitle1 = uR"(<BR><STRONG><font color="#008000">)"_s;
    set.HtmlTitle2 = u"</font></STRONG>"_s;
    set.HtmlAll1 = u"<DIV>"_s;
    set.HtmlAll2 = u"</DIV>"_s;
    set.HtmlBRTag = u"<BR>"_s;
    set.HtmlHRTag = u"<HR>"_s;
    constexpr std::string_view flags = "0000010000010000000";
    std::copy(flags.begin(), flags.end(), set.HtmlSetFlags.begin());
    set.HtmlSetFlags[HtmlFlagCount] = '\0';
    return set;
}

} // namespace todaytest
