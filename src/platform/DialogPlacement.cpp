#include "platform/DialogPlacement.h"

#include <QScreen>
#include <QWidget>

void centreOnOwnersScreen(QWidget* dialog) {
    const QWidget* owner = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr;
    const QScreen* screen = owner ? owner->screen() : dialog->screen();
    if (!screen)
        return;
    QSize outer = dialog->size();
    if (owner && owner->isVisible())
        outer += owner->frameGeometry().size() - owner->geometry().size();
    const QRect area = screen->availableGeometry();
    dialog->move(area.x() + (area.width() - outer.width()) / 2,
                 area.y() + (area.height() - outer.height()) / 2);
}
