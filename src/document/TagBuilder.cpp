#include "document/TagBuilder.h"

using namespace Qt::StringLiterals;

QString WeatherListTag(const HtmlSet& set, int listIndex) {
    switch (listIndex) {
    case 0:
        return set.HtmlSky1;
    case 1:
        return set.HtmlSky2;
    case 2:
        return set.HtmlSky3;
    case 3:
        return set.HtmlSky5; // HtmlSky4 is the closing tag, so snow takes the fifth
    default:
        return {};
    }
}

QString ColorFieldText(quint32 rgb) {
    return u"#"_s + QString::number(rgb & 0xFFFFFFu, 16).rightJustified(6, u'0').toUpper();
}

QString WeatherColorTag(quint32 rgb) {
    return uR"(<font color=")"_s + ColorFieldText(rgb) + uR"(">)"_s;
}

const QList<quint32>& TagColorChooserPresets() {
    static const QList<quint32> presets = {0xFFFFCC, 0xFFCCCC, 0xCCFFFF, 0xCCCCFF, 0xFFCCFF, 0xCCFFCC};
    return presets;
}
