#pragma once
// The texts the quick-tag commands insert into the active editor. Each
// replaces the editor's selection (an insertion at the caret without one) and
// the caret ends after the inserted text. A line break is '\n', the editors'
// line break, written to the file as CR LF.

#include "settings/HtmlSet.h"

#include <QString>
#include <optional>

// The tab whose editor is active.
enum class EditorTab { Today, WholeFile };

// Ctrl+B: HtmlBRTag; on today's tab followed by a line break.
QString LineBreakTagText(const HtmlSet& set, EditorTab tab);

// Ctrl+H: always "<HR>" (not the HtmlHRTag setting); on today's tab followed
// by a line break.
QString RuleTagText(EditorTab tab);

// The five entity commands, on either tab, without a line break.
enum class SpecialChar { LessThan, GreaterThan, Ampersand, Quote, Space };
QString SpecialCharText(SpecialChar special);

// The tag numbers of the snippet menu's items.
enum SnippetTag : int {
    SnippetRegistration = 1, // "（任意タグ,単文の登録...）": opens the settings, inserts nothing
    SnippetSentence = 11,    // a stored sentence: replaces the selection
    SnippetTagPair = 21,     // a start and end tag: wraps the selection
};

// Each part of a snippet item's hint (start "," end) is cut to this many CP932 bytes.
inline constexpr int SnippetPartMaxBytes = 224;

// What choosing a snippet item puts in place of the selection: for a tag
// pair the start text, the selection and the end text; for a sentence its
// text alone. Nothing for the registration item.
std::optional<QString> SnippetInsertion(int tagNumber, const QString& hint, const QString& selectedText);
