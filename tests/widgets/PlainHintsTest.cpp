// Every hint and label text of the windows reads as written, tags included.

#include "../app/MainFormFixture.h"
#include "dialogs/AppSetUnit.h"
#include "dialogs/HtmlUnit.h"
#include "document/TagsDecorationPage.h"
#include "document/TagsUnit.h"
#include "settings/Defaults.h"

#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextDocument>
#include <QToolButton>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {

// What the tooltip on screen reads.
QString shownTip() {
    const QString shown = QToolTip::text();
    if (!Qt::mightBeRichText(shown))
        return shown;
    QTextDocument document;
    document.setHtml(shown);
    return document.toPlainText();
}

// Hovers every control of window whose hint Qt could take for
// formatted text and checks the tooltip shows that hint as written; checks
// that labels holding such text show it plain. Returns how many hints it hovered.
int expectPlainTexts(QWidget* window) {
    int hovered = 0;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        const QString hint = widget->toolTip();
        if (Qt::mightBeRichText(hint)) {
            ++hovered;
            QHelpEvent hover(QEvent::ToolTip, QPoint(1, 1), widget->mapToGlobal(QPoint(1, 1)));
            QApplication::sendEvent(widget, &hover);
            EXPECT_EQ(shownTip(), hint) << name.toStdString();
            QToolTip::hideText();
        }
        auto* label = qobject_cast<QLabel*>(widget);
        if (label && name != "qtooltip_label"_L1 && Qt::mightBeRichText(label->text())) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << name.toStdString();
        }
    }
    return hovered;
}

class PlainHints : public MainFormTest {};

} // namespace

TEST_F(PlainHints, EveryWindowShowsItsHintsAsWritten) {
    TMainForm& main = start();
    for (QLabel* panel : {main.PanelStatusTsm, main.PanelStatusRsm})
        panel->setText(u" <B> を開けません"_s);
    expectPlainTexts(&main);

    QPlainTextEdit editor;
    editor.setPlainText(u"text"_s);
    editor.selectAll();
    FileDialog openDialog{FileDialogKind::Open, &fake.fileDialogs};
    FileDialog saveDialog{FileDialogKind::Save, &fake.fileDialogs};
    HtmlSet htmlSet = defaultHtmlSet();
    AppSet appSet;
    const struct {
        TagMode mode;
        int atLeast; // hints with tags that the mode surely shows
    } modes[] = {{TagMode::Link, 0}, {TagMode::Graphic, 0}, {TagMode::Decoration, 6}, {TagMode::Position, 0}};
    for (const auto& row : modes) {
        SCOPED_TRACE(int(row.mode));
        TTagsForm tags(row.mode, fake.platform(), htmlSet, appSet, {&editor, &openDialog});
        tags.show();
        EXPECT_GE(expectPlainTexts(&tags), row.atLeast);
        if (row.mode == TagMode::Decoration) {
            // The code preview's hint is the code itself.
            tags.PageDecoration->RadioColorFont->click();
            tags.PageDecoration->SB_Bold->click();
            EXPECT_TRUE(tags.PageDecoration->PanelTagPreview->toolTip().startsWith(u"<B>"_s));
            EXPECT_GE(expectPlainTexts(&tags), row.atLeast + 1);
        }
    }

    QString hiddenTitle;
    THtmlForm html(fake.platform(), openDialog, saveDialog, htmlSet, hiddenTitle);
    html.show();
    expectPlainTexts(&html);

    const AppSetContext context{appSet,    fake.messages, openDialog, fake.programFolder(), QSize(1920, 1080),
                                QString(), QString(),     &main};
    TAppSetForm behaviour(context);
    behaviour.show();
    expectPlainTexts(&behaviour);

    // A menu that shows its items' hints.
    QMenu menu;
    menu.setToolTipsVisible(true);
    QAction* item = menu.addAction(u"太字"_s);
    item->setToolTip(u"<B></B>"_s);
    menu.popup(QPoint(10, 10));
    const QPoint at = menu.actionGeometry(item).center();
    QHelpEvent hover(QEvent::ToolTip, at, menu.mapToGlobal(at));
    QApplication::sendEvent(&menu, &hover);
    EXPECT_EQ(shownTip(), u"<B></B>"_s);
}
