#include "widgets/PlainHints.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QTabBar>
#include <QTextDocument> // Qt::mightBeRichText
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {

// Shows hint at the help event's place as plain text.
void showPlainHint(QWidget* widget, const QHelpEvent* help, const QString& hint) {
    // Lines break where the hint breaks them, as a plain hint's do.
    const QString shown = Qt::mightBeRichText(hint)
                              ? u"<p style='white-space:pre'>"_s + hint.toHtmlEscaped() + u"</p>"_s
                              : hint;
    QToolTip::showText(help->globalPos(), shown, widget, {}, widget->toolTipDuration());
}

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
        showPlainHint(widget, help, hint);
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

class WholeTextWhenCut : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip)
            return false;
        auto* label = static_cast<QLabel*>(watched);
        const QString text = label->text().trimmed();
        // What the window shows of the label, which may be less than its width.
        const QRect shown = label->visibleRegion().boundingRect().intersected(label->contentsRect());
        const int room = shown.width() - 2 * label->margin() - qMax(label->indent(), 0);
        if (text.isEmpty() || label->fontMetrics().horizontalAdvance(label->text()) <= room)
            QToolTip::hideText();
        else
            showPlainHint(label, static_cast<QHelpEvent*>(event), text);
        event->accept();
        return true;
    }
};

} // namespace

void hintWholeTextWhenCut(QLabel* label) {
    label->installEventFilter(new WholeTextWhenCut(label));
}

void installPlainHints(QApplication& application) {
    static QPointer<QObject> installed;
    if (installed && installed->parent() == &application)
        return;
    installed = new PlainHintsFilter(&application);
    application.installEventFilter(installed);
}
