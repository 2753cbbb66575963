#include "document/TagBuilder.h"

using namespace Qt::StringLiterals;

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
