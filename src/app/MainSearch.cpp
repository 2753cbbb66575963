// Find, replace and go to a line in both editors: a find bar under each
// editor (document/FindBar.h), opened by the Edit menu's commands. The two
// bars keep one search, so that F3 goes on with the last search on either tab,
// bar open or not.

#include "app/MainUnit.h"

#include "document/DiaryEditor.h"
#include "document/FindBar.h"

#include <QAction>
#include <QBoxLayout>
#include <QLabel>

void TMainForm::ConnectSearchCommands() {
    auto place = [](FindBar* bar, QWidget* tab, DiaryEditor* editor, const QString& name) {
        bar->setObjectName(name);
        auto* column = qobject_cast<QBoxLayout*>(tab->layout());
        column->insertWidget(column->indexOf(editor) + 1, bar);
    };
    FindBarToday = new FindBar(MToday, TabSheetToday);
    FindBarAll = new FindBar(RAll, TabSheetAll);
    place(FindBarToday, TabSheetToday, MToday, QStringLiteral("FindBarToday"));
    place(FindBarAll, TabSheetAll, RAll, QStringLiteral("FindBarAll"));
    FindBarAll->setBusyCheck([this] { return document_->isBusy(); });

    connect(FindBarToday, &FindBar::searchEdited, FindBarAll,
            [this] { FindBarAll->takeSearch(*FindBarToday); });
    connect(FindBarAll, &FindBar::searchEdited, FindBarToday,
            [this] { FindBarToday->takeSearch(*FindBarAll); });
    // With the bar closed, its notes (wrapped, not found) go to the tab's free status panel.
    connect(FindBarToday, &FindBar::noted, PanelStatusTsm, &QLabel::setText);
    connect(FindBarAll, &FindBar::noted, PanelStatusRsm, &QLabel::setText);

    connect(EditSearch, &QAction::triggered, this, [this] { ActiveFindBar()->open(FindBar::Mode::Find); });
    connect(EditReplace, &QAction::triggered, this,
            [this] { ActiveFindBar()->open(FindBar::Mode::Replace); });
    connect(EditGoToLine, &QAction::triggered, this, [this] { ActiveFindBar()->open(FindBar::Mode::Line); });
    connect(EditNext, &QAction::triggered, this, [this] { ActiveFindBar()->findNext(); });
    connect(EditPrev, &QAction::triggered, this, [this] { ActiveFindBar()->findPrevious(); });
}

FindBar* TMainForm::ActiveFindBar() const {
    return TodayTabShown() ? FindBarToday : FindBarAll;
}
