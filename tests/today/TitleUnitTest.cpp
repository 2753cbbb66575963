// The title dialog keeps its field within 128 bytes of Shift_JIS, while
// typing and when pasting, and hands the title back only on OK.

#include "today/TitleUnit.h"

#include "support/ModalDriver.h"
#include "support/TypeText.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(TitleUnit, FieldStopsAt128Bytes) {
    TTitleForm form;
    QString title;
    auto driver = testsupport::onNextModal<TTitleForm>([](TTitleForm* dialog) {
        testsupport::typeText(dialog->TitleEdit, QString(130, u'a'));
        EXPECT_EQ(dialog->TitleEdit->text(), QString(128, u'a'));
        dialog->TitleEdit->clear();
        testsupport::typeText(dialog->TitleEdit, QString(70, u'あ'));
        EXPECT_EQ(dialog->TitleEdit->text(), QString(64, u'あ'));
        // Half-width then full-width: a full-width character never half fits.
        dialog->TitleEdit->setText(QString(127, u'a'));
        testsupport::typeText(dialog->TitleEdit, u"あ"_s);
        EXPECT_EQ(dialog->TitleEdit->text(), QString(127, u'a'));
        // Pasting keeps as much as fits, where the caret is.
        dialog->TitleEdit->setText(QString(120, u'b'));
        dialog->TitleEdit->setCursorPosition(60);
        QGuiApplication::clipboard()->setText(u"日本語のタイトル"_s);
        dialog->TitleEdit->paste();
        EXPECT_EQ(dialog->TitleEdit->text(), QString(60, u'b') + u"日本語の"_s + QString(60, u'b'));
        dialog->BtnOK->click();
    });
    EXPECT_TRUE(form.Edit(title));
    EXPECT_EQ(title, QString(60, u'b') + u"日本語の"_s + QString(60, u'b'));
}

TEST(TitleUnit, DeleteThenCancelKeepsTheOldTitle) {
    TTitleForm form;
    QString title = u"散歩"_s;
    {
        auto driver = testsupport::onNextModal<TTitleForm>([](TTitleForm* dialog) {
            EXPECT_EQ(dialog->TitleEdit->text(), u"散歩"_s);
            dialog->BtnDel->click();
            EXPECT_TRUE(dialog->TitleEdit->text().isEmpty());
            dialog->BtnCancel->click();
        });
        EXPECT_FALSE(form.Edit(title));
    }
    EXPECT_EQ(title, u"散歩"_s);
    auto driver = testsupport::onNextModal<TTitleForm>([](TTitleForm* dialog) {
        dialog->BtnDel->click();
        dialog->BtnOK->click();
    });
    EXPECT_TRUE(form.Edit(title));
    EXPECT_TRUE(title.isEmpty());
}
