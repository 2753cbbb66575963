// The fixed-size settings dialogs offer no minimise or maximise, and one
// minimised all the same comes back.

#include "../app/MainFormFixture.h"
#include "dialogs/AppSetUnit.h"
#include "dialogs/HtmlUnit.h"
#include "settings/Defaults.h"

namespace {

class FixedDialogs : public MainFormTest {};

} // namespace

TEST_F(FixedDialogs, SettingsDialogsCannotBeMinimisedOrMaximised) {
    TMainForm& main = start();
    FileDialog openDialog{FileDialogKind::Open, &fake.fileDialogs};
    FileDialog saveDialog{FileDialogKind::Save, &fake.fileDialogs};
    HtmlSet htmlSet = defaultHtmlSet();
    AppSet appSet;
    QString hiddenTitle;
    THtmlForm html(fake.platform(), openDialog, saveDialog, htmlSet, hiddenTitle, &main);
    const AppSetContext context{appSet,    fake.messages, openDialog, fake.programFolder(), QSize(1920, 1080),
                                QString(), QString(),     &main};
    TAppSetForm behaviour(context, &main);
    for (QDialog* dialog : {static_cast<QDialog*>(&html), static_cast<QDialog*>(&behaviour)}) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        const Qt::WindowFlags flags = dialog->windowFlags();
        EXPECT_TRUE(flags & Qt::CustomizeWindowHint) << "only the boxes asked for";
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
        EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        dialog->setWindowState(Qt::WindowMinimized);
        EXPECT_TRUE(QTest::qWaitFor([dialog] { return !dialog->isMinimized() && dialog->isVisible(); }))
            << "a minimised dialog comes back";
        dialog->hide();
    }
}
