#include "dialogs/HtmlUnit.h"

#include "app/MainFormFixture.h"
#include "resources/Messages.h"
#include "settings/Defaults.h"
#include "support/FakePlatform.h"
#include "support/ModalDriver.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using taginfo::TagItem;

namespace {

class HtmlFormTest : public ::testing::Test {
protected:
    // A dialog on htmlSet, shown so that it has read the settings.
    THtmlForm& open() {
        form = std::make_unique<THtmlForm>(fake.platform(), openDialog, saveDialog, htmlSet, hiddenTitle);
        form->show();
        return *form;
    }
    template <class Control> Control* control(const QString& name) {
        auto* found = form->findChild<Control*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    FakePlatform fake;
    FileDialog openDialog{FileDialogKind::Open, &fake.fileDialogs};
    FileDialog saveDialog{FileDialogKind::Save, &fake.fileDialogs};
    HtmlSet htmlSet = defaultHtmlSet();
    QString hiddenTitle;
    std::unique_ptr<THtmlForm> form;
};

const QString Caption = u"HTML化タグ設定 [%1] - Oribel"_s;

} // namespace

TEST_F(HtmlFormTest, CheckBoxesOpenAndWriteBackWithTheirOwnPolarity) {
    struct Row {
        HtmlFlag flag;
        char stored;
        const char* box;
        bool tickedOnOpen;
        char writtenAfterFlip;
    };
    const Row rows[] = {
        {WeekdayFlag, '1', "CheckWea", false, '0'},
        {DateYearFlag, 'X', "CheckDateYear", true, '1'},
        {HrFlag, 'X', "CheckHR", false, '0'},
        {WeatherWarnFlag, '0', "CheckWeather", true, '1'},
        {AllTagFlag, '1', "CheckAllTag", false, '0'},
        {AnchorFlag, 'X', "CheckAnchorName", true, '0'},
        {AnchorFlag, '0', "CheckAnchorName", false, '1'},
        {TwoDigitFlag, '1', "Check2keta", true, '0'},
        {InsertTimeFlag, 'X', "CheckInsertTime", false, '1'},
        {WeatherTagOnlyFlag, '1', "CheckWeatherCharOff", true, '0'},
        {DateDayFlag, '1', "CheckDateDay", false, '0'},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.box);
        htmlSet = defaultHtmlSet();
        htmlSet.setFlag(row.flag, row.stored);
        open();
        auto* box = control<QCheckBox>(QLatin1StringView(row.box));
        EXPECT_EQ(box->isChecked(), row.tickedOnOpen);
        box->click();
        form->BitBtn1->click();
        EXPECT_EQ(htmlSet.flag(row.flag), row.writtenAfterFlip);
    }
}

TEST_F(HtmlFormTest, RadioGroupsOpenAndLeaveTheirFlagWhenNothingIsSelected) {
    struct Row {
        HtmlFlag flag;
        char stored;
        const char* selected;
        char written; // after OK with the selection as opened
    };
    const Row rows[] = {
        {DateFormFlag, '4', "RadioDateType4", '4'},      {DateFormFlag, '9', "RadioDateType0", '0'},
        {WeekdayFormFlag, '3', "RadioWea4", '3'},        {WeekdayFormFlag, 'Z', "RadioWea1", '0'},
        {InsertOrderFlag, 'C', "RadioInsertType4", 'C'}, {InsertOrderFlag, 'E', "RadioInsertType1", '0'},
        {TimeFormFlag, '2', "RadioTimeType2", '2'},      {TimeFormFlag, '7', "RadioTimeType0", '0'},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.selected);
        htmlSet = defaultHtmlSet();
        htmlSet.setFlag(row.flag, row.stored);
        open();
        EXPECT_TRUE(control<QRadioButton>(QLatin1StringView(row.selected))->isChecked());
        form->BitBtn1->click();
        EXPECT_EQ(htmlSet.flag(row.flag), row.written);
    }

    // An import can leave a group with no selected item; OK keeps those flags.
    htmlSet = defaultHtmlSet();
    htmlSet.setFlag(DateFormFlag, '3');
    htmlSet.setFlag(WeekdayFormFlag, '2');
    htmlSet.setFlag(InsertOrderFlag, 'A');
    open();
    form->setDateTypeIndex(-1);
    form->setItemChecked(TagItem::RadioWea3, false);
    form->setItemChecked(TagItem::RadioInsertType2, false);
    EXPECT_EQ(form->PanelPreview->text(), u"選択不可."_s);
    form->BitBtn1->click();
    EXPECT_EQ(htmlSet.flag(DateFormFlag), '3');
    EXPECT_EQ(htmlSet.flag(WeekdayFormFlag), '2');
    EXPECT_EQ(htmlSet.flag(InsertOrderFlag), 'A');
}

TEST_F(HtmlFormTest, ControlRulesEnableGreyAndCoupleWhileThePreviewsFollow) {
    open();
    EXPECT_EQ(form->PanelPreview->text(), u"2000年6月24日(土)"_s);
    EXPECT_EQ(form->PanelPreviewTime->text(), u"05時22分34秒"_s);
    EXPECT_FALSE(form->EditTime1->isEnabled()); // the time is not inserted by default
    EXPECT_FALSE(form->CheckTimeHour->isEnabled());

    form->Check2keta->click();
    form->RadioDateTypeItems[2]->click();
    form->RadioWea3->click();
    EXPECT_EQ(form->PanelPreview->text(), u"June 24, 2000.Sat."_s);

    form->CheckWea->click();
    EXPECT_FALSE(form->RadioWea1->isEnabled());
    EXPECT_EQ(form->PanelPreview->text(), u"June 24, 2000."_s);

    form->CheckDateDay->click();
    EXPECT_EQ(form->PanelPreview->text(), u"日付は挿入されません。"_s);
    for (QWidget* w : std::initializer_list<QWidget*>{form->RadioDateType, form->CheckDateYear,
                                                      form->CheckDateMonth, form->CheckWea, form->RadioWea2,
                                                      form->EditDate1, form->EditDate2, form->LabelDate1})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_NE(form->EditDate1->palette().color(QPalette::Base), QColor(Qt::white));
    // Ticking 日 again brings the group back; the forms stay off while 曜日 is unticked.
    form->CheckDateDay->click();
    EXPECT_TRUE(form->EditDate1->isEnabled());
    EXPECT_EQ(form->EditDate1->palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_FALSE(form->RadioWea2->isEnabled());

    EXPECT_FALSE(form->EditAll1->isEnabled()); // by default the wrapping tags are not used
    form->CheckAllTag->click();
    EXPECT_TRUE(form->EditAll1->isEnabled());
    form->CheckInsertTime->click();
    EXPECT_TRUE(form->EditTime2->isEnabled());

    form->RadioTimeTypeItems[2]->click();
    EXPECT_EQ(form->PanelPreviewTime->text(), u"05:22:34"_s);
    form->CheckTimeMin->click();
    EXPECT_FALSE(form->CheckTimeSec->isChecked());
    EXPECT_EQ(form->PanelPreviewTime->text(), u"05"_s);
    form->CheckTimeSec->click();
    EXPECT_TRUE(form->CheckTimeMin->isChecked());
    form->RadioTimeTypeItems[1]->click();
    form->CheckTimeSec->click();
    EXPECT_EQ(form->PanelPreviewTime->text(), u"5時22分"_s);

    // OK still writes the greyed controls.
    form->CheckDateDay->click();
    form->EditDate1->setText(u"<d>"_s);
    form->BitBtn1->click();
    EXPECT_EQ(htmlSet.flag(DateDayFlag), '1');
    EXPECT_EQ(htmlSet.flag(DateFormFlag), '2');
    EXPECT_EQ(htmlSet.flag(TwoDigitFlag), '1');
    EXPECT_EQ(htmlSet.HtmlDate1, u"<d>"_s);
}

TEST_F(HtmlFormTest, FirstTemplateEditMakesANamedSetUserDefined) {
    const char* const templateFields[] = {
        "EditDate1",  "EditDate2",  "EditTime1",  "EditTime2", "EditWea1",    "EditWea2",
        "EditWea3",   "EditWea4",   "EditWeaL",   "EditWeaE",  "EditWeaChar", "EditTitle1",
        "EditTitle2", "EditDiary1", "EditDiary2", "EditAll1",  "EditAll2"};
    for (const char* name : templateFields) {
        SCOPED_TRACE(name);
        htmlSet.HtmlDataTitle = u"mine.ozt"_s;
        open();
        EXPECT_EQ(form->windowTitle(), Caption.arg(u"mine.ozt"_s));
        // Flags and the two tag lists keep the name.
        form->CheckHR->click();
        form->RadioInsertType3->click();
        form->ComboBoxBR->setCurrentText(u"<br />"_s);
        form->ComboBoxHR->setCurrentIndex(3);
        EXPECT_EQ(form->windowTitle(), Caption.arg(u"mine.ozt"_s));

        auto* field = control<QLineEdit>(QLatin1StringView(name));
        field->setEnabled(true);
        QTest::keyClicks(field, u"x"_s);
        EXPECT_EQ(form->windowTitle(), Caption.arg(u"ユーザ定義"_s));
        form->BitBtn1->click();
        EXPECT_EQ(htmlSet.HtmlDataTitle, QString());
        EXPECT_EQ(htmlSet.HtmlHRTag, u"<HR color=\"yellowgreen\" size=\"1\">"_s);
    }
}

TEST_F(HtmlFormTest, ExportedSetImportsBackAndReachesTheSetOnlyOnOk) {
    // Longer than a line field holds by default: it must come back whole.
    const QString title = u"<h2>"_s + QString(40'000, u'題') + u"</h2>"_s;
    htmlSet.HtmlTitle1 = title;
    htmlSet.HtmlMain2 = QString();
    htmlSet.setFlag(InsertOrderFlag, 'C'); // none of the types the file carries
    htmlSet.setFlag(TimeFormFlag, '3');
    open();
    const QString path = fake.programFile(u"mine.ozt"_s);
    fake.fileDialogs.chooseNext(path);
    form->BtnSaveHtml->click();
    EXPECT_EQ(fake.messages.last().caption, u"書き出し完了"_s);
    form->reject();

    // A different set in the controls, a user-defined name: the import asks first.
    const HtmlSet before = defaultHtmlSet();
    htmlSet = before;
    htmlSet.setFlag(InsertOrderFlag, 'D');
    const HtmlSet opened = htmlSet;
    for (const bool pressOk : {false, true}) {
        SCOPED_TRACE(pressOk ? "OK" : "Cancel");
        open();
        fake.messages.answerNext(MsgAnswer::Yes);
        fake.fileDialogs.chooseNext(path);
        form->BtnOpenHtml->click();
        EXPECT_EQ(fake.messages.last().text, msg::TagFileImportConfirm);
        EXPECT_EQ(form->windowTitle(), Caption.arg(u"mine.ozt"_s));
        EXPECT_TRUE(form->EditTitle1->text() == title) << form->EditTitle1->text().size() << " characters";
        EXPECT_EQ(form->EditDiary2->text(), QString());
        // The file carries insert types 1-3 only, all unselected: type 5 stays;
        // the time page is not in the file.
        EXPECT_TRUE(form->RadioInsertType5->isChecked());
        EXPECT_TRUE(form->RadioTimeTypeItems[0]->isChecked());
        if (!pressOk) {
            form->BitBtn2->click();
            EXPECT_EQ(htmlSet.HtmlTitle1, opened.HtmlTitle1);
            EXPECT_EQ(htmlSet.HtmlDataTitle, QString());
            EXPECT_EQ(htmlSet.HtmlSetFlags, opened.HtmlSetFlags);
        } else {
            form->BitBtn1->click();
            EXPECT_TRUE(htmlSet.HtmlTitle1 == title) << htmlSet.HtmlTitle1.size() << " characters";
            EXPECT_EQ(htmlSet.HtmlMain2, QString());
            EXPECT_EQ(htmlSet.HtmlDataTitle, u"mine.ozt"_s);
            EXPECT_EQ(htmlSet.flag(InsertOrderFlag), 'D');
        }
    }
}

TEST_F(MainFormTest, HtmlSettingsCommandWritesOnlyOnOkThenRefreshes) {
    start();
    const QString before = form->htmlSet.HtmlSky1;
    for (const bool pressOk : {false, true}) {
        SCOPED_TRACE(pressOk ? "OK" : "Cancel");
        auto driver = testsupport::onNextModal<THtmlForm>([pressOk](THtmlForm* dialog) {
            EXPECT_EQ(dialog->EditWea1->text(), u"<font color=\"#ffccaa\"><b>"_s);
            dialog->EditWea1->setText(u"<sun>"_s);
            dialog->EditAll1->clear();
            if (pressOk)
                dialog->BitBtn1->click();
            else
                QTest::keyClick(dialog, Qt::Key_Escape);
        });
        form->SetHTMLAction->trigger();
        EXPECT_EQ(form->htmlSet.HtmlSky1, pressOk ? u"<sun>"_s : before);
        // The defaults pass after the dialog fills the emptied template again.
        EXPECT_EQ(form->htmlSet.HtmlAll1, defaults::HtmlAll1);
    }
    EXPECT_EQ(form->PanelHtmlName->text(), msg::UserDefinedSetName);
}

TEST_F(HtmlFormTest, LongTemplatesShowTheirStart) {
    const QString longTemplate = u"<table class=\"diary\"><tr><td>"_s.repeated(12);
    for (QString* text : {&htmlSet.HtmlDate1, &htmlSet.HtmlMain1, &htmlSet.HtmlAll2, &htmlSet.HtmlHRTag})
        *text = longTemplate;
    THtmlForm& form = open();
    const QList<QLineEdit*> fields = form.findChildren<QLineEdit*>();
    ASSERT_GE(fields.size(), 20);
    for (const QLineEdit* field : fields) {
        const QString name =
            field->objectName().isEmpty() ? field->parent()->objectName() : field->objectName();
        EXPECT_EQ(field->cursorPosition(), 0) << name.toStdString();
    }
}
