#pragma once
// The built-in settings and the defaults pass that keeps both settings records
// complete: afterwards no template is empty and every flag position holds one
// of the characters allowed for it.

#include "settings/AppSet.h"
#include "settings/HtmlSet.h"

#include <QString>

namespace defaults {

using namespace Qt::StringLiterals;

inline const QString HtmlDate1 = u"<font color=\"#ff0000\"><b>"_s;
inline const QString HtmlDate2 = u"</b></font>"_s;
inline const QString HtmlTime1 = u"<font color=\"#0000ff\" size=\"-1\"><b>"_s;
inline const QString HtmlTime2 = u"</b></font>"_s;
inline const QString HtmlSky1 = u"<font color=\"#ffccaa\"><b>"_s; // 晴れ
inline const QString HtmlSky2 = u"<font color=\"#ccccff\"><b>"_s; // くもり
inline const QString HtmlSky3 = u"<font color=\"#aaccff\"><b>"_s; // 雨
inline const QString HtmlSky4 = u"</b></font>"_s;                 // end of the weather block
inline const QString HtmlSky5 = u"<font color=\"#ccffff\"><b>"_s; // 雪
inline const QString HtmlSky6 = u"<font color=\"#cccccc\"><b>"_s; // before the boundary
inline const QString HtmlSky7 = u"／"_s;                          // boundary text, U+FF0F
inline const QString HtmlMain1 = u"<DIV STYLE=\"margin-left:20pt;\">"_s;
inline const QString HtmlMain2 = u"</DIV>"_s;
inline const QString HtmlTitle1 = u"<BR><STRONG><font color=\"#008000\">"_s;
inline const QString HtmlTitle2 = u"</font></STRONG>"_s;
inline const QString HtmlAll1 = u"<DIV>"_s;
inline const QString HtmlAll2 = u"</DIV>"_s;
inline const QString HtmlBRTag = u"<BR>"_s;
inline const QString HtmlHRTag = u"<HR>"_s;

// Positions 0..18 of HtmlSetFlags at their defaults.
inline constexpr char HtmlSetFlags[HtmlFlagCount + 1] = "0000010000010000000";
// Positions 0..11 of AppSetFlags at their defaults; position 12 is NUL.
inline constexpr char AppSetFlags[] = "000000000000";

inline const QString EditFontSize = u"10"_s;
inline const QString EditFontSizeT = u"12"_s;
inline const QString EditFontFace = u"ＭＳ ゴシック"_s;
inline const QString EditFontFaceT = u"ＭＳ ゴシック"_s;

} // namespace defaults

// Whether c may stand at that position of HtmlSetFlags (0..18).
bool isAllowedHtmlFlag(int position, char c);
// The default character of a position of HtmlSetFlags (0..18).
char defaultHtmlFlag(int position);

// An HtmlSet holding every default: all templates, the default flags, no name.
HtmlSet defaultHtmlSet();

// The defaults pass over both records: empty templates get their defaults,
// flag characters outside their position's allowed set get the position's
// default, the editor fonts get theirs, and settingsCleared becomes false.
void ApplySettingDefaults(HtmlSet& html, AppSet& app, bool& settingsCleared);
