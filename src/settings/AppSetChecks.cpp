#include "settings/AppSetChecks.h"

#include "platform/SjisCodec.h"
#include "resources/Messages.h"
#include "settings/IntText.h"

#include <QtGlobal>

namespace appsetcheck {

std::optional<GeometryFailure> checkGeometry(const QString& width, const QString& height, const QString& x,
                                             const QString& y, QSize screen) {
    // A text that is not a number takes -1 in the "too small" steps and 10000
    // in the "too large" steps, so it fails whichever comes first.
    constexpr int Unknown = 10000;
    if (intOr(width, -1) < MinimumWindowWidth)
        return GeometryFailure{1, GeometryEdit::Width, msg::GeometryWidthTooSmall};
    if (intOr(width, Unknown) > screen.width())
        return GeometryFailure{2, GeometryEdit::Width, msg::GeometryWidthTooLarge};
    if (intOr(height, -1) < MinimumWindowHeight)
        return GeometryFailure{3, GeometryEdit::Height, msg::GeometryHeightTooSmall};
    if (intOr(height, Unknown) > screen.height())
        return GeometryFailure{4, GeometryEdit::Height, msg::GeometryHeightTooLarge};
    if (intOr(x, Unknown) > screen.width())
        return GeometryFailure{5, GeometryEdit::X, msg::GeometryXBeyondRight};
    if (intOr(y, Unknown) > screen.height())
        return GeometryFailure{6, GeometryEdit::Y, msg::GeometryYBeyondBottom};
    return std::nullopt;
}

QString repairedFontSize(const QString& text, const QString& standard) {
    return intOr(text, -1) < SmallestFontPoints ? standard : text;
}

int appliedFontPoints(const QString& text, int standardPoints) {
    return qBound(SmallestFontPoints, intOr(text, standardPoints), LargestFontPoints);
}

bool autoOpenPathGiven(const QString& path) {
    return sjis::byteLength(path) >= 3;
}

int frequencyItem(int frequency) {
    return frequency == 2 || frequency == 3 ? frequency - 1 : 0;
}

int frequencyOfItem(int item) {
    return item == 1 || item == 2 ? item + 1 : 1;
}

} // namespace appsetcheck
