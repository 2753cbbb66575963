#include "widgets/FixedDialog.h"

#include <QDialog>
#include <QEvent>
#include <QTimer>

namespace {

class UndoMinimise : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::WindowStateChange && dialog->isMinimized()) {
            // After the window manager has done with the minimise.
            QTimer::singleShot(0, dialog, [dialog] {
                if (QWidget* owner = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr)
                    owner->setWindowState(owner->windowState() & ~Qt::WindowMinimized);
                dialog->setWindowState(dialog->windowState() & ~Qt::WindowMinimized);
                dialog->show();
                dialog->raise();
                dialog->activateWindow();
            });
        }
        return false;
    }
};

} // namespace

void makeFixedDialog(QDialog* dialog) {
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    dialog->installEventFilter(new UndoMinimise(dialog));
}
