#pragma once
// The colours in which the editors show a composition of the input method
// (the text being typed or converted, before it is committed).
//
// Four states, each with its text and background colour:
//   Input              typed, not yet converted        blue on white
//   TargetConverted    the segment being converted      black on cyan
//   Converted          the other converted segments     blue on white
//   TargetNotConverted a segment chosen, not converted  white on blue
//
// Linux frameworks (fcitx5, IBus) do not say which state a segment is in;
// they only mark the segment under conversion as highlighted (a background of
// its own) and underline the rest. So a highlighted segment is
// TargetConverted, the others of a composition with a highlighted segment are
// Converted, and a composition without one is being typed: Input.
// TargetNotConverted is not told apart by these frameworks.

#include <QColor>
#include <QInputMethodEvent>
#include <QList>

enum class CompositionState { Input, TargetConverted, Converted, TargetNotConverted };

struct CompositionColors {
    QColor text;
    QColor background;
};

CompositionColors compositionColors(CompositionState state);

// The attributes of a composition with the text and background colours of
// each of its formats replaced by those of its state. Everything else the
// input method asked for (its underline above all) stays. A composition
// without any format is coloured as Input.
QList<QInputMethodEvent::Attribute>
recolouredComposition(const QString& preedit, const QList<QInputMethodEvent::Attribute>& attributes);
