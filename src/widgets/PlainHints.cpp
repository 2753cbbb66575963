#include "widgets/PlainHints.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QPointer>
#include <QTabBar>
#include <QTextDocument> // Qt::mightBeRichText
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {

class PlainHintsFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        auto* help = static_cast<QHelpEvent*>(event);
        const QString hint = hintAt(widget, help->pos());
        // A plain-looking hint, or none, takes Qt's own way (and an empty one
        // goes on to the parent, as usual).
        if (!Qt::mightBeRichText(hint))
            return false;
        // Lines break where the hint breaks them, as a plain hint's do.
        const QString shown = u"<p style='white-space:pre'>"_s + hint.toHtmlEscaped() + u"</p>"_s;
        QToolTip::showText(help->globalPos(), shown, widget, {}, widget->toolTipDuration());
        event->accept();
        return true;
    }

private:
    // The hint the widget itself would show at pos.
    static QString hintAt(QWidget* widget, const QPoint& pos) {
        if (auto* menu = qobject_cast<QMenu*>(widget)) {
            const QAction* action = menu->toolTipsVisible() ? menu->actionAt(pos) : nullptr;
            return action ? action->toolTip() : QString();
        }
        if (auto* bar = qobject_cast<QTabBar*>(widget)) {
            const int tab = bar->tabAt(pos);
            return tab >= 0 ? bar->tabToolTip(tab) : QString();
        }
        return widget->toolTip();
    }
};

} // namespace

void installPlainHints(QApplication& application) {
    static QPointer<QObject> installed;
    if (installed && installed->parent() == &application)
        return;
    installed = new PlainHintsFilter(&application);
    application.installEventFilter(installed);
}
