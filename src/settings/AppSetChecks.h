#pragma once
// The checks and repairs of the behaviour settings dialog that need no
// window: the start-up geometry check, the repair of the editors' font size
// texts, the automatic-open path check, the font size the editors actually
// get, and the writing frequency's list position.

#include <QSize>
#include <QString>
#include <optional>

namespace appsetcheck {

// The main window's smallest size; the hints shown next to the edits
// ("最低サイズ：620", "最小サイズ：420") are advice, not these limits.
inline constexpr int MinimumWindowWidth = 289;
inline constexpr int MinimumWindowHeight = 0;

// The four geometry edits, in the order the check looks at them.
enum class GeometryEdit { Width, Height, X, Y };

struct GeometryFailure {
    int step = 0;      // 1..6
    GeometryEdit edit; // the edit that receives the focus
    QString message;
};

// The start-up geometry typed by the user, checked against the screen size
// taken when the main window was created. Six steps, the first failure wins:
// width below the minimum, width above the screen, height below the minimum,
// height above the screen, X beyond the right edge, Y beyond the bottom edge.
// A text that is not a number fails the "below" steps and passes the others
// only where its fallback lets it (an X of "abc" is beyond the right edge).
std::optional<GeometryFailure> checkGeometry(const QString& width, const QString& height, const QString& x,
                                             const QString& y, QSize screen);

// The smallest font size the size edits keep; the spin buttons also stop at
// the largest.
inline constexpr int SmallestFontPoints = 5;
inline constexpr int LargestFontPoints = 78;
// The standard sizes a size edit falls back to.
inline const QString TodayStandardSize = QStringLiteral("12");
inline const QString DocumentStandardSize = QStringLiteral("10");

// A size edit's text after the user left it: below 5 or not a number gives
// the standard size; anything else stays as typed (there is no upper bound).
QString repairedFontSize(const QString& text, const QString& standard);

// The point size an editor is given for a stored size text: not a number
// gives standardPoints; a number is held to 5..78, so an absurd text cannot
// make the editor unusable. The stored text itself is not changed.
int appliedFontPoints(const QString& text, int standardPoints);

// Whether the text of the automatic-open path is long enough to be taken
// (three CP932 bytes or more; the file itself is not looked for).
bool autoOpenPathGiven(const QString& path);

// The writing frequency (1, 2, 3) and its item in the three-column choice
// (0, 1, 2). Any other frequency shows the first item; any other item
// stores 1.
int frequencyItem(int frequency);
int frequencyOfItem(int item);

} // namespace appsetcheck
