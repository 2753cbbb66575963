#include "dialogs/AppSetTabs.h"

#include <QKeySequence>
#include <QProxyStyle>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// Rows of tabs take less height than one row does on its own.
class CompactRowStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        if (metric == PM_TabBarTabVSpace)
            return qMin(value, 6);
        if (metric == PM_TabBarTabHSpace)
            return qMin(value, 14);
        return value;
    }
};

} // namespace

MultiRowTabs::MultiRowTabs(QTabWidget* pages, const QList<int>& rowStarts, QWidget* parent)
    : QWidget(parent), pages_(pages), layout_(new QVBoxLayout(this)) {
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    pages_->tabBar()->hide();
    // The page control would pass the focus on to its hidden bar, where Tab
    // gets stuck; the rows take the focus instead.
    pages_->setFocusPolicy(Qt::NoFocus);
    pages_->tabBar()->setFocusPolicy(Qt::NoFocus);
    auto* rowStyle = new CompactRowStyle;
    rowStyle->setParent(this);

    QList<int> starts = {0};
    starts += rowStarts;
    for (qsizetype i = 0; i < starts.size(); ++i) {
        const int first = starts[i];
        const int end = i + 1 < starts.size() ? starts[i + 1] : pages_->count();
        Row row{new QTabBar(this), first, end - first};
        row.bar->setObjectName(QStringLiteral("PageRow%1").arg(i + 1));
        row.bar->setStyle(rowStyle);
        row.bar->setDrawBase(false);
        row.bar->setExpanding(false);
        row.bar->setUsesScrollButtons(false);
        row.bar->setElideMode(Qt::ElideNone);
        // Tab 0 stands for "the shown page is in another row": hidden and
        // current then, so no tab of this row looks chosen.
        // Disabled too, so that the arrow keys and the wheel skip it.
        row.bar->addTab(QString());
        row.bar->setTabVisible(0, false);
        row.bar->setTabEnabled(0, false);
        for (int page = first; page < end; ++page)
            row.bar->addTab(pages_->tabText(page));
        connect(row.bar, &QTabBar::currentChanged, this, [this, first](int tab) {
            if (tab > 0)
                pages_->setCurrentIndex(first + tab - 1);
        });
        rows_.append(row);
        layout_->addWidget(row.bar);
    }
    connect(pages_, &QTabWidget::currentChanged, this, &MultiRowTabs::showPage);
    showPage(pages_->currentIndex());

    const struct {
        QKeySequence keys;
        int step;
    } pageKeys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), +1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), +1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1},
    };
    for (const auto& pageKey : pageKeys) {
        auto* shortcut = new QShortcut(pageKey.keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step = pageKey.step] { stepPage(step); });
    }
}

void MultiRowTabs::stepPage(int step) {
    const int count = pages_->count();
    if (count == 0)
        return;
    pages_->setCurrentIndex(((pages_->currentIndex() + step) % count + count) % count);
}

void MultiRowTabs::showPage(int page) {
    for (const Row& row : std::as_const(rows_)) {
        const bool holds = page >= row.firstPage && page < row.firstPage + row.pageCount;
        const QSignalBlocker blocker(row.bar);
        row.bar->setCurrentIndex(holds ? page - row.firstPage + 1 : 0);
        if (holds) {
            // The chosen row sits right above the page.
            layout_->removeWidget(row.bar);
            layout_->addWidget(row.bar);
        }
    }
}
