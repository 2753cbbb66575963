#include "document/CompositionColors.h"

#include <QTextCharFormat>

CompositionColors compositionColors(CompositionState state) {
    switch (state) {
    case CompositionState::Input:
    case CompositionState::Converted:
        return {QColor(0, 0, 255), QColor(255, 255, 255)};
    case CompositionState::TargetConverted:
        return {QColor(0, 0, 0), QColor(0, 255, 255)};
    case CompositionState::TargetNotConverted:
        return {QColor(255, 255, 255), QColor(0, 0, 255)};
    }
    return {};
}

namespace {

bool highlighted(const QInputMethodEvent::Attribute& attribute) {
    return attribute.type == QInputMethodEvent::TextFormat &&
           qvariant_cast<QTextFormat>(attribute.value).hasProperty(QTextFormat::BackgroundBrush);
}

QTextCharFormat coloured(QTextCharFormat format, CompositionState state) {
    const CompositionColors colors = compositionColors(state);
    format.setForeground(colors.text);
    format.setBackground(colors.background);
    return format;
}

} // namespace

QList<QInputMethodEvent::Attribute>
recolouredComposition(const QString& preedit, const QList<QInputMethodEvent::Attribute>& attributes) {
    const bool converting = std::any_of(attributes.begin(), attributes.end(), highlighted);
    QList<QInputMethodEvent::Attribute> result;
    result.reserve(attributes.size() + 1);
    bool formatted = false;
    for (const QInputMethodEvent::Attribute& attribute : attributes) {
        if (attribute.type != QInputMethodEvent::TextFormat) {
            result.append(attribute);
            continue;
        }
        formatted = true;
        const CompositionState state = highlighted(attribute) ? CompositionState::TargetConverted
                                       : converting           ? CompositionState::Converted
                                                              : CompositionState::Input;
        const QTextCharFormat format = qvariant_cast<QTextFormat>(attribute.value).toCharFormat();
        result.append({QInputMethodEvent::TextFormat, attribute.start, attribute.length,
                       QTextFormat(coloured(format, state))});
    }
    if (!formatted && !preedit.isEmpty())
        result.append({QInputMethodEvent::TextFormat, 0, int(preedit.size()),
                       QTextFormat(coloured(QTextCharFormat(), CompositionState::Input))});
    return result;
}
