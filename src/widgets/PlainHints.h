#pragma once
// Hints (tooltips) are plain text everywhere in the program. Qt takes a hint
// that looks like HTML ("<B> / font-weight:bold;", "&lt;") for formatted text
// and shows the tags' effect instead of the tags; many of this program's
// hints are about tags. The application-wide filter installed here shows
// such a hint escaped, so that it reads as it was written, while each
// control keeps its hint as plain text (toolTip() is what the layout code
// set). Labels are not covered: a label whose text may hold "<" sets
// Qt::PlainText itself.

class QApplication;
class QLabel;

// Installs the filter on the application (once; later calls do nothing).
void installPlainHints(QApplication& application);

// While label's text is cut at its edge, hovering it shows the whole text
// as its hint (plain, like every hint); a text that fits shows none.
void hintWholeTextWhenCut(QLabel* label);
