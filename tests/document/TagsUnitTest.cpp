#include "document/TagsUnit.h"

#include "document/TagBuilder.h"
#include "resources/Messages.h"
#include "support/FakePlatform.h"
#include "support/ModalDriver.h"
#include "support/QtPrinters.h"

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString Sun = u"<sky-sun>"_s;
const QString Cloud = u"<sky-cloud>"_s;
const QString Rain = u"<sky-rain>"_s;
const QString Snow = u"<sky-snow>"_s;

HtmlSet skySet() {
    HtmlSet set;
    set.HtmlSky1 = Sun;
    set.HtmlSky2 = Cloud;
    set.HtmlSky3 = Rain;
    set.HtmlSky4 = u"</sky-close>"_s;
    set.HtmlSky5 = Snow;
    set.HtmlSky6 = u"<sky-between>"_s;
    set.HtmlSky7 = u"/"_s;
    return set;
}

// A behaviour record with every tag builder value filled, so any write shows.
AppSet appSetInMode(char mode, char lowerCase = '0') {
    AppSet set;
    for (int i = 0; i < AppFlagStoredCount; ++i)
        set.AppSetFlags[i] = '0';
    set.setFlag(AutoOpenFlag, '1');
    set.setFlag(DecoStyleFlag, '1');
    set.setFlag(LowerCaseFlag, lowerCase);
    set.setFlag(TagDialogMode, mode);
    set.LinkFrame = u"frame"_s;
    set.LinkClass = u"linkclass"_s;
    set.PositionClass = u"posclass"_s;
    set.GraphicDir = u"C:\\pictures\\"_s;
    set.DecoPrevColor = u"clWhite"_s;
    set.DecoInfo0 = u"clRed"_s;
    set.DecoInfo1 = u"$00CCFFFF"_s;
    set.DecoInfo2 = u"#FF0000"_s;
    set.DecoInfo3 = u"#FFFFCC"_s;
    return set;
}

void expectTagBuilderValuesEqual(const AppSet& actual, const AppSet& expected) {
    EXPECT_EQ(actual.AppSetFlags, expected.AppSetFlags);
    EXPECT_EQ(actual.LinkFrame, expected.LinkFrame);
    EXPECT_EQ(actual.LinkClass, expected.LinkClass);
    EXPECT_EQ(actual.PositionClass, expected.PositionClass);
    EXPECT_EQ(actual.GraphicDir, expected.GraphicDir);
    EXPECT_EQ(actual.DecoPrevColor, expected.DecoPrevColor);
    EXPECT_EQ(actual.DecoInfo0, expected.DecoInfo0);
    EXPECT_EQ(actual.DecoInfo1, expected.DecoInfo1);
    EXPECT_EQ(actual.DecoInfo2, expected.DecoInfo2);
    EXPECT_EQ(actual.DecoInfo3, expected.DecoInfo3);
}

bool isWhite(const QLineEdit* field) {
    return field->palette().color(QPalette::Base) == QColor(Qt::white);
}

// Shows the dialog modally and runs action on it while it is open; returns
// what exec() returned. An action that leaves the dialog open fails the test
// and the dialog is rejected, so a failed step cannot hang the run.
int runModal(TTagsForm& form, std::function<void(TTagsForm*)> action) {
    const auto driver = testsupport::onNextModal<TTagsForm>([action = std::move(action)](TTagsForm* open) {
        action(open);
        if (open->isVisible()) {
            ADD_FAILURE() << "The dialog is still open";
            open->reject();
        }
    });
    return form.exec();
}

// Waits until the widget has the keyboard focus.
bool waitForFocus(QWidget* widget) {
    return QTest::qWaitFor([widget] { return widget->hasFocus(); }, 5000);
}

class TagsFormWeather : public ::testing::Test {
protected:
    FakePlatform fake;
    HtmlSet htmlSet = skySet();
    AppSet appSet = appSetInMode('W');
};

} // namespace

TEST_F(TagsFormWeather, FrameShowsOnlyTheWeatherPageWithAWideOkButton) {
    appSet.setFlag(LowerCaseFlag, '1');
    const AppSet before = appSet;
    // A small main window in a corner: the dialog is centred on the screen, not over it.
    QWidget mainWindow;
    mainWindow.setGeometry(10, 10, 200, 150);
    mainWindow.show();
    TTagsForm form(fake.platform(), htmlSet, appSet, &mainWindow);
    form.SetWeatherFields({u"霧"_s, -1}, {});

    EXPECT_EQ(form.windowTitle(), u"不足情報の解決 - Oribel"_s);
    EXPECT_TRUE(form.BtnCancel->isHidden());
    EXPECT_TRUE(form.CheckAllLowerCase->isHidden());
    EXPECT_EQ(form.BtnOK->text(), u"OK"_s);
    EXPECT_TRUE(form.BtnOK->isDefault());
    EXPECT_EQ(form.BtnOK->width(), 155);
    int visiblePages = 0;
    for (int i = 0; i < form.PageControl->count(); ++i)
        visiblePages += form.PageControl->isTabVisible(i) ? 1 : 0;
    EXPECT_EQ(visiblePages, 1);
    EXPECT_EQ(form.PageControl->currentWidget(), form.WeaColorSheet);
    EXPECT_EQ(form.PageControl->tabText(form.PageControl->indexOf(form.WeaColorSheet)), u"天気のタグ指定"_s);
    EXPECT_EQ(form.RadioWea2Sun->text(), u"「晴れ」の設定(&L)"_s);
    EXPECT_EQ(form.RadioWea2User->text(), u"任意のタグを指定(&U)"_s);
    EXPECT_EQ(form.BtnWea1Color->text(), u"色"_s);
    EXPECT_EQ(form.BtnWea1Color->toolTip(), u"カラー指定"_s);

    const int result = runModal(form, [](TTagsForm* open) {
        const QPointF offCentre =
            QRectF(open->frameGeometry()).center() - QRectF(open->screen()->availableGeometry()).center();
        EXPECT_LE(qAbs(offCentre.x()), 1.0) << "centred on the screen";
        EXPECT_LE(qAbs(offCentre.y()), 1.0) << "centred on the screen";
        EXPECT_TRUE(open->CheckAllLowerCase->isChecked()) << "LowerCaseFlag '1' ticks the hidden box";
        open->BtnOK->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    expectTagBuilderValuesEqual(appSet, before);
}

TEST_F(TagsFormWeather, OtherModesKeepTheInsertionFrameWithoutTheWeatherPage) {
    appSet.setFlag(TagDialogMode, 'L');
    appSet.setFlag(LowerCaseFlag, '1');
    TTagsForm form(fake.platform(), htmlSet, appSet);

    EXPECT_EQ(form.windowTitle(), u"HTMLタグ挿入 - Oribel"_s);
    EXPECT_FALSE(form.BtnCancel->isHidden());
    EXPECT_EQ(form.BtnCancel->text(), u"Cancel"_s);
    EXPECT_FALSE(form.CheckAllLowerCase->isHidden());
    EXPECT_EQ(form.CheckAllLowerCase->text(), u"全て小文字(&L)"_s);
    EXPECT_EQ(form.CheckAllLowerCase->toolTip(), u"全て小文字に変換して挿入します。"_s);
    EXPECT_FALSE(form.PageControl->isTabVisible(form.PageControl->indexOf(form.WeaColorSheet)));

    const int result = runModal(form, [](TTagsForm* open) {
        EXPECT_TRUE(open->CheckAllLowerCase->isChecked());
        EXPECT_LT(open->BtnOK->width(), 155);
        open->BtnCancel->click();
    });
    EXPECT_EQ(result, QDialog::Rejected);
}

TEST_F(TagsFormWeather, ListWeatherLocksItsPanelAndTypedWeatherWaitsForAChoice) {
    const AppSet before = appSet;
    TTagsForm form(fake.platform(), htmlSet, appSet);
    form.SetWeatherFields({u"晴れ"_s, 0}, {u"霧"_s, -1});

    const int result = runModal(form, [](TTagsForm* open) {
        // Panel 1: 晴れ from the list, locked on its configured tag.
        EXPECT_EQ(open->EditWeaCol1->text(), u"晴れ"_s);
        EXPECT_TRUE(open->EditWeaCol1->isReadOnly());
        EXPECT_FALSE(isWhite(open->EditWeaCol1));
        EXPECT_TRUE(open->RadioWea1Sun->isChecked());
        for (QRadioButton* radio : {open->RadioWea1Sun, open->RadioWea1Crw, open->RadioWea1Rain,
                                    open->RadioWea1Snow, open->RadioWea1User})
            EXPECT_FALSE(radio->isEnabled()) << radio->objectName().toStdString();
        EXPECT_EQ(open->EditWea1User->text(), Sun);
        EXPECT_TRUE(open->EditWea1User->isReadOnly());
        EXPECT_FALSE(isWhite(open->EditWea1User));
        EXPECT_FALSE(open->BtnWea1Color->isEnabled());

        // Panel 2: typed 霧, open with 晴れ preselected.
        EXPECT_EQ(open->EditWeaCol2->text(), u"霧"_s);
        EXPECT_TRUE(open->EditWeaCol2->isReadOnly());
        EXPECT_TRUE(open->RadioWea2Sun->isChecked());
        EXPECT_TRUE(open->RadioWea2Rain->isEnabled());
        EXPECT_EQ(open->EditWea2User->text(), Sun);
        EXPECT_FALSE(open->EditWea2User->isReadOnly());
        EXPECT_FALSE(isWhite(open->EditWea2User));
        EXPECT_TRUE(open->BtnWea2Color->isEnabled());
        EXPECT_TRUE(open->PanelWea2->isAncestorOf(open->focusWidget())) << "the open panel has the focus";
        EXPECT_NE(open->focusWidget(), open->EditWea2User);

        // Entering the locked tag field changes nothing.
        open->EditWea1User->setFocus();
        EXPECT_TRUE(waitForFocus(open->EditWea1User));
        EXPECT_TRUE(open->RadioWea1Sun->isChecked());
        EXPECT_EQ(open->EditWea1User->text(), Sun);

        // The radio rule in the open panel.
        open->RadioWea2Rain->click();
        EXPECT_EQ(open->EditWea2User->text(), Rain);
        open->RadioWea2Snow->click();
        EXPECT_EQ(open->EditWea2User->text(), Snow);
        open->RadioWea2Crw->click();
        EXPECT_EQ(open->EditWea2User->text(), Cloud);
        EXPECT_FALSE(isWhite(open->EditWea2User));
        open->RadioWea2User->click();
        EXPECT_TRUE(isWhite(open->EditWea2User));
        EXPECT_EQ(open->EditWea2User->text(), Cloud) << "the user's choice keeps the text";
        open->RadioWea2Rain->click();
        EXPECT_FALSE(isWhite(open->EditWea2User));
        EXPECT_EQ(open->EditWea2User->text(), Rain);

        open->BtnOK->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(form.WeatherTag1(), Sun);
    EXPECT_EQ(form.WeatherTag2(), Rain);
    expectTagBuilderValuesEqual(appSet, before);
    EXPECT_EQ(fake.colors.count(), 0);
}

TEST_F(TagsFormWeather, ColourButtonBuildsAFontTagAndSelectsTheUsersOwnTag) {
    TTagsForm form(fake.platform(), htmlSet, appSet);
    form.SetWeatherFields({u"霧"_s, -1}, {u"雷"_s, -1});

    const int result = runModal(form, [this](TTagsForm* open) {
        EXPECT_TRUE(open->PanelWea1->isAncestorOf(open->focusWidget())) << "both open: panel 1 has the focus";
        EXPECT_TRUE(open->RadioWea1Sun->isChecked());
        EXPECT_TRUE(open->RadioWea2Sun->isChecked());

        fake.colors.chooseNext(0x12AB9F);
        open->BtnWea1Color->click();
        EXPECT_EQ(fake.colors.last().initial, std::nullopt) << "no preset colour";
        EXPECT_EQ(fake.colors.last().customColors, TagColorChooserPresets());
        EXPECT_EQ(open->EditWea1User->text(), uR"(<font color="#12AB9F">)"_s);
        EXPECT_TRUE(open->RadioWea1User->isChecked());
        EXPECT_TRUE(isWhite(open->EditWea1User));
        EXPECT_TRUE(open->RadioWea2Sun->isChecked()) << "the other panel is untouched";

        open->RadioWea2Snow->click();
        fake.colors.cancelNext();
        open->BtnWea2Color->click();
        EXPECT_EQ(open->EditWea2User->text(), Snow) << "a cancelled chooser keeps the text";
        EXPECT_TRUE(open->RadioWea2User->isChecked());
        EXPECT_TRUE(isWhite(open->EditWea2User));

        open->BtnOK->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(form.WeatherTag1(), uR"(<font color="#12AB9F">)"_s);
    EXPECT_EQ(form.WeatherTag2(), Snow);
    EXPECT_EQ(fake.colors.pendingResults(), 0);
}

TEST_F(TagsFormWeather, EnteringOrTypingInTheTagFieldSelectsTheUsersOwnTag) {
    TTagsForm form(fake.platform(), htmlSet, appSet);
    form.SetWeatherFields({u"霧"_s, -1}, {u"雷"_s, -1});

    const int result = runModal(form, [](TTagsForm* open) {
        open->EditWea1User->setFocus();
        EXPECT_TRUE(waitForFocus(open->EditWea1User));
        EXPECT_TRUE(open->RadioWea1User->isChecked());
        EXPECT_EQ(open->EditWea1User->text(), Sun);
        EXPECT_TRUE(isWhite(open->EditWea1User));

        QTest::keyClicks(open->EditWea2User, u"<i>"_s);
        EXPECT_TRUE(open->RadioWea2User->isChecked());
        EXPECT_EQ(open->EditWea2User->text(), Sun + u"<i>"_s);
        EXPECT_TRUE(open->RadioWea1User->isChecked());

        open->BtnOK->click();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(form.WeatherTag1(), Sun);
    EXPECT_EQ(form.WeatherTag2(), Sun + u"<i>"_s);
}

TEST_F(TagsFormWeather, EmptyWeatherGetsAnEmptyTagAndSnowItsOwnTemplate) {
    {
        TTagsForm form(fake.platform(), htmlSet, appSet);
        form.SetWeatherFields({u"霧"_s, -1}, {});
        const int result = runModal(form, [](TTagsForm* open) {
            EXPECT_TRUE(open->EditWea2User->text().isEmpty());
            EXPECT_TRUE(open->EditWea2User->isReadOnly());
            for (QRadioButton* radio : {open->RadioWea2Sun, open->RadioWea2Crw, open->RadioWea2Rain,
                                        open->RadioWea2Snow, open->RadioWea2User}) {
                EXPECT_FALSE(radio->isChecked()) << radio->objectName().toStdString();
                EXPECT_FALSE(radio->isEnabled()) << radio->objectName().toStdString();
            }
            EXPECT_FALSE(open->BtnWea2Color->isEnabled());
            EXPECT_TRUE(open->PanelWea1->isAncestorOf(open->focusWidget()));
            open->BtnOK->click();
        });
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_EQ(form.WeatherTag1(), Sun);
        EXPECT_EQ(form.WeatherTag2(), QString());
    }
    {
        // Nothing typed by hand at all: both panels locked, OK hands back what the list says.
        TTagsForm form(fake.platform(), htmlSet, appSet);
        form.SetWeatherFields({}, {u"雪"_s, 3});
        const int result = runModal(form, [](TTagsForm* open) {
            EXPECT_TRUE(open->RadioWea2Snow->isChecked());
            EXPECT_FALSE(open->RadioWea2Snow->isEnabled());
            open->BtnOK->click();
        });
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_EQ(form.WeatherTag1(), QString());
        EXPECT_EQ(form.WeatherTag2(), Snow);
    }
}

TEST_F(TagsFormWeather, CloseBoxAndEscapeRejectAndWriteNothing) {
    const AppSet before = appSet;
    {
        TTagsForm form(fake.platform(), htmlSet, appSet);
        form.SetWeatherFields({u"霧"_s, -1}, {u"晴れ"_s, 0});
        const int result = runModal(form, [](TTagsForm* open) {
            open->RadioWea1Rain->click();
            open->close();
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_EQ(form.WeatherTag1(), QString());
        EXPECT_EQ(form.WeatherTag2(), QString());
    }
    {
        TTagsForm form(fake.platform(), htmlSet, appSet);
        form.SetWeatherFields({u"霧"_s, -1}, {});
        const int result = runModal(form, [](TTagsForm* open) { QTest::keyClick(open, Qt::Key_Escape); });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_EQ(form.WeatherTag1(), QString());
    }
    expectTagBuilderValuesEqual(appSet, before);
}
