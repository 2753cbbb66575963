#pragma once
// The pieces of HTML the tag builder dialog puts together, kept apart from the
// dialog's widgets. Colours here are 0xRRGGBB, as the colour chooser returns them.

#include "settings/HtmlSet.h"

#include <QList>
#include <QString>

// "#RRGGBB" in upper-case hexadecimal, the form shown in the colour fields.
QString ColorFieldText(quint32 rgb);

// The start tag a weather's colour button builds: <font color="#RRGGBB">.
QString WeatherColorTag(quint32 rgb);

// The custom colours every colour chooser of the dialog offers, in order.
const QList<quint32>& TagColorChooserPresets();
