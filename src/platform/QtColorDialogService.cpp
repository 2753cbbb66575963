#include "platform/QtColorDialogService.h"

#include <QApplication>
#include <QColorDialog>

QtColorDialogService::QtColorDialogService(QWidget* parent)
    : parent_(parent), fixedParent_(parent != nullptr) {}

std::optional<quint32> QtColorDialogService::pick(std::optional<quint32> initial,
                                                  const QList<quint32>& customColors) {
    // The custom colours are the application's; they are set for every use so
    // each chooser starts from the caller's list.
    const int slotCount = QColorDialog::customCount();
    for (int i = 0; i < customColors.size() && i < slotCount; ++i)
        QColorDialog::setCustomColor(i, QColor::fromRgb(QRgb(customColors[i] & 0xFFFFFFu)));

    QWidget* parent = fixedParent_ ? parent_.data() : QApplication::activeWindow();
    QColorDialog box(parent);
    box.setOption(QColorDialog::DontUseNativeDialog);
    if (initial)
        box.setCurrentColor(QColor::fromRgb(QRgb(*initial & 0xFFFFFFu)));
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return quint32(box.selectedColor().rgb() & 0xFFFFFFu);
}
