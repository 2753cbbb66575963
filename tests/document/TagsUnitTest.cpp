#include "document/TagsUnit.h"

#include "document/TagBuilder.h"
#include "document/TagsControls.h"
#include "document/TagsDecorationPage.h"
#include "document/TagsGraphicPage.h"
#include "document/TagsLinkPage.h"
#include "document/TagsPositionPage.h"
#include "resources/Messages.h"
#include "support/FakePlatform.h"
#include "support/ModalDriver.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
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
    TTagsForm form(TagMode::Weather, fake.platform(), htmlSet, appSet, {}, &mainWindow);
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
    appSet.setFlag(LowerCaseFlag, '1');
    TTagsForm form(TagMode::Link, fake.platform(), htmlSet, appSet);

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
    TTagsForm form(TagMode::Weather, fake.platform(), htmlSet, appSet);
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
    TTagsForm form(TagMode::Weather, fake.platform(), htmlSet, appSet);
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
    TTagsForm form(TagMode::Weather, fake.platform(), htmlSet, appSet);
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
        TTagsForm form(TagMode::Weather, fake.platform(), htmlSet, appSet);
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
        TTagsForm form(TagMode::Weather, fake.platform(), htmlSet, appSet);
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
        TTagsForm form(TagMode::Weather, fake.platform(), htmlSet, appSet);
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
        TTagsForm form(TagMode::Weather, fake.platform(), htmlSet, appSet);
        form.SetWeatherFields({u"霧"_s, -1}, {});
        const int result = runModal(form, [](TTagsForm* open) { QTest::keyClick(open, Qt::Key_Escape); });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_EQ(form.WeatherTag1(), QString());
    }
    expectTagBuilderValuesEqual(appSet, before);
}

// ---- The inserting modes, driven through their controls ---------------------------

namespace {

class TagsFormModes : public ::testing::Test {
protected:
    // The editor holds "[selection]" with the selection selected.
    void selectInEditor(const QString& selection) {
        editor.setPlainText(u"["_s + selection + u"]"_s);
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(1);
        cursor.setPosition(1 + int(selection.size()), QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
    }
    int run(TagMode mode, const std::function<void(TTagsForm*)>& action) {
        TTagsForm form(mode, fake.platform(), htmlSet, appSet, {&editor, &openDialog});
        return runModal(form, action);
    }

    FakePlatform fake;
    HtmlSet htmlSet = skySet();
    AppSet appSet = appSetInMode('0');
    QPlainTextEdit editor;
    FileDialog openDialog{FileDialogKind::Open, &fake.fileDialogs};
};

void setText(QLineEdit* field, const QString& text) {
    field->clear();
    QTest::keyClicks(field, text);
}

} // namespace

TEST_F(TagsFormModes, EachModeWrapsTheSelectionAsItsControlsSay) {
    using F = TTagsForm*;
    const struct {
        const char* name;
        TagMode mode;
        QString selection;
        std::function<void(F)> fill;
        QString expected;
    } rows[] = {
        {"link, new window, title", TagMode::Link, u"Diary"_s,
         [](F f) {
             setText(f->PageLink->EditLinkUrl, u"diary.html"_s);
             f->PageLink->RadioLinkNew->click();
             f->PageLink->CheckLinkTitle->click();
             setText(f->PageLink->EditLinkTitle, u"top"_s);
         },
         uR"(<A HREF="diary.html" TARGET="_blank" TITLE="top">Diary</A>)"_s},
        {"link, every attribute", TagMode::Link, u"Diary"_s,
         [](F f) {
             setText(f->PageLink->EditLinkUrl, u"u"_s);
             f->PageLink->RadioLinkFrame->click();
             f->PageLink->CheckLinkAKey->click();
             setText(f->PageLink->EditAccessKey, u"kx"_s);
             f->PageLink->CheckLinkTList->click();
             f->PageLink->CheckLinkStyle->click();
         },
         uR"(<A HREF="u" TARGET="frame" ACCESSKEY="k" TABINDEX="" CLASS="linkclass">Diary</A>)"_s},
        {"link, a selection of 2 MB goes through the name field whole", TagMode::Link,
         QString(1'000'000, u'日'), [](F f) { setText(f->PageLink->EditLinkUrl, u"u"_s); },
         uR"(<A HREF="u">)"_s + QString(1'000'000, u'日') + u"</A>"_s},
        {"link, empty frame name, lower case", TagMode::Link, u"Diary 日記Ａ"_s,
         [](F f) {
             setText(f->PageLink->EditLinkUrl, u"Diary.HTML"_s);
             f->PageLink->EditLinkFrame->clear();
             f->PageLink->RadioLinkFrame->click();
             f->CheckAllLowerCase->click();
         },
         uR"(<a href="diary.html" target="">diary 日記Ａ</a>)"_s},
        {"image, absmiddle overrides right", TagMode::Graphic, u"old"_s,
         [](F f) {
             setText(f->PageGraphic->EditGraphicName, u"a.png"_s);
             setText(f->PageGraphic->EditGraphicSizeW, u"10"_s);
             setText(f->PageGraphic->EditGraphicSizeH, u"20"_s);
             f->PageGraphic->EditGraphicALT->setText(u"絵"_s);
             f->PageGraphic->RadioGroupGraphic->item(1)->click();
             f->PageGraphic->CheckAbsmiddle->click();
             EXPECT_FALSE(f->PageGraphic->RadioGroupGraphic->isEnabled());
             f->PageGraphic->CheckGrphBorder->click();
         },
         uR"(<IMG SRC="a.png" WIDTH="10" HEIGHT="20" ALT="絵" ALIGN="absmiddle" BORDER="0">)"_s},
        {"image, left", TagMode::Graphic, QString(),
         [](F f) {
             setText(f->PageGraphic->EditGraphicName, u"b.gif"_s);
             f->PageGraphic->RadioGroupGraphic->item(2)->click();
         },
         uR"(<IMG SRC="b.gif" ALIGN="left">)"_s},
        {"decoration, HTML tags", TagMode::Decoration, u"text"_s,
         [](F f) {
             f->PageDecoration->RadioColorFont->click();
             f->PageDecoration->SB_Bold->click();
             f->PageDecoration->SB_Italic->click();
             f->PageDecoration->FontSizeHtmlBox->setCurrentIndex(3);
             f->PageDecoration->CheckFrontColor->click();
         },
         uR"(<B><I><FONT SIZE="+1"><FONT COLOR="#FF0000">text</FONT></FONT></I></B>)"_s},
        {"decoration, style sheet", TagMode::Decoration, u"text"_s,
         [](F f) {
             f->PageDecoration->SB_Bold->click();
             f->PageDecoration->CheckFrontColor->click();
         },
         uR"(<SPAN STYLE="font-weight:bold; color:#FF0000; ">text</SPAN>)"_s},
        {"decoration, style sheet without anything", TagMode::Decoration, u"text"_s, [](F) {},
         uR"(<SPAN STYLE="">text</SPAN>)"_s},
        {"decoration, HTML tags without anything, lower case", TagMode::Decoration, u"TeXt"_s,
         [](F f) {
             f->PageDecoration->RadioColorFont->click();
             f->CheckAllLowerCase->click();
         },
         u"text"_s},
        {"decoration, bold and strong, points, background", TagMode::Decoration, u"text"_s,
         [](F f) {
             f->PageDecoration->SB_Bold->click();
             f->PageDecoration->SB_STRONG->click();
             QTest::keyClicks(f->PageDecoration->EditFontSize, u"18"_s);
             f->PageDecoration->CheckBackColor->click();
         },
         uR"(<SPAN STYLE="font-weight:bold; font-weight:bold; font-size:18pt; background-color:#FFFFCC; ">text</SPAN>)"_s},
        {"position, centre by style sheet", TagMode::Position, u"text"_s,
         [](F f) { f->PagePosition->RadioPos->item(1)->click(); },
         uR"(<DIV STYLE="text-align: center;">text</DIV>)"_s},
        {"position, paragraph, ALIGN, CLASS", TagMode::Position, u"text"_s,
         [](F f) {
             f->PagePosition->RadioPos->item(2)->click();
             f->PagePosition->RadioTag->item(1)->click();
             f->PagePosition->RadioWay->item(0)->click();
             f->PagePosition->CheckStyle->click();
             setText(f->PagePosition->EditPosClass, u"note"_s);
         },
         uR"(<P ALIGN="right" CLASS="note">text</P>)"_s},
        {"position, nothing specified", TagMode::Position, u"text"_s,
         [](F f) {
             f->PagePosition->RadioPos->item(3)->click();
             EXPECT_FALSE(f->PagePosition->RadioWay->isEnabled());
         },
         u"<DIV>text</DIV>"_s},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        appSet = appSetInMode('0');
        selectInEditor(row.selection);
        const int result = run(row.mode, [&row](TTagsForm* open) {
            row.fill(open);
            open->BtnOK->click();
        });
        EXPECT_EQ(result, QDialog::Accepted);
        const QString text = editor.toPlainText();
        EXPECT_TRUE(text == u"["_s + row.expected + u"]"_s)
            << text.left(200).toStdString() << " (" << text.size() << " characters)";
        EXPECT_EQ(editor.textCursor().position(), 1 + row.expected.size()) << "the caret follows the markup";
        EXPECT_EQ(appSet.lowerCaseTags(), row.expected.startsWith(u"<a"_s) || row.expected == u"text"_s);
    }
}

TEST_F(TagsFormModes, OpeningShowsTheRememberedValuesAndOkStoresThem) {
    selectInEditor(u"Diary"_s);
    run(TagMode::Link, [](TTagsForm* open) {
        EXPECT_EQ(open->PageControl->currentWidget(), open->PageLink->LinkTagSheet);
        EXPECT_TRUE(
            open->PageControl->isTabVisible(open->PageControl->indexOf(open->PageLink->LinkTagExpSheet)));
        EXPECT_TRUE(waitForFocus(open->PageLink->EditLinkUrl));
        EXPECT_EQ(open->PageLink->EditLinkName->text(), u"Diary"_s);
        EXPECT_EQ(open->PageLink->EditLinkFrame->text(), u"frame"_s);
        EXPECT_FALSE(isWhite(open->PageLink->EditLinkFrame));
        EXPECT_EQ(open->PageLink->EditLinkClass->text(), u"linkclass"_s);
        open->PageLink->EditLinkName->clear();
        open->PageLink->EditLinkFrame->setText(u"f2"_s);
        open->PageLink->EditLinkClass->setText(u"c2"_s);
        setText(open->PageLink->EditLinkUrl, u"x.html"_s);
        open->BtnOK->click();
        EXPECT_EQ(open->PageLink->EditLinkName->text(), u"x.html"_s) << "the URL fills an empty name";
    });
    EXPECT_EQ(editor.toPlainText(), uR"([<A HREF="x.html">x.html</A>])"_s);
    EXPECT_EQ(appSet.LinkFrame, u"f2"_s);
    EXPECT_EQ(appSet.LinkClass, u"c2"_s);

    selectInEditor(u"text"_s);
    run(TagMode::Position, [](TTagsForm* open) {
        EXPECT_EQ(open->PagePosition->EditPosClass->text(), u"posclass"_s);
        EXPECT_TRUE(open->PagePosition->EditPosClass->isReadOnly());
        EXPECT_FALSE(open->PagePosition->LabelClass->isEnabled());
        open->PagePosition->EditPosClass->setText(u"p2"_s);
        open->BtnOK->click();
    });
    EXPECT_EQ(appSet.PositionClass, u"p2"_s);

    // The chooser opens in GraphicDir; a cancel still takes the dialog's folder.
    openDialog.fileName = u"/old/before.png"_s;
    fake.fileDialogs.cancelNext();
    fake.fileDialogs.chooseNext(u"/pics/new/a.png"_s);
    run(TagMode::Graphic, [this](TTagsForm* open) {
        open->PageGraphic->BtnGraphicSearch->click();
        EXPECT_EQ(fake.fileDialogs.last().initialDir, u"C:\\pictures\\"_s);
        EXPECT_EQ(fake.fileDialogs.last().title, u"画像ファイル名を指定"_s);
        EXPECT_EQ(open->PageGraphic->ImageFolder(), u"/old/"_s);
        open->PageGraphic->BtnGraphicSearch->click();
        EXPECT_EQ(fake.fileDialogs.last().initialDir, u"/old/"_s);
        EXPECT_EQ(open->PageGraphic->EditGraphicName->text(), u"a.png"_s);
        EXPECT_TRUE(waitForFocus(open->PageGraphic->EditGraphicName));
        open->BtnOK->click();
    });
    EXPECT_EQ(appSet.GraphicDir, u"/pics/new/"_s);

    selectInEditor(u"text"_s);
    run(TagMode::Decoration, [this](TTagsForm* open) {
        TagsDecorationPage* d = open->PageDecoration;
        EXPECT_EQ(d->PanelPreview->text(), u"text"_s);
        EXPECT_TRUE(d->RadioColorStyle->isChecked());
        EXPECT_EQ(d->EditFrontColor->text(), u"#FF0000"_s);
        EXPECT_FALSE(d->CheckFrontColor->isChecked()) << "both enable boxes start unticked";
        fake.colors.chooseNext(0x336699);
        d->BtnFrontColor->click();
        EXPECT_EQ(fake.colors.last().initial, std::optional<quint32>(0xFF0000));
        EXPECT_EQ(d->PanelTagPreview->text(), uR"(<SPAN STYLE="color:#336699; "></SPAN>)"_s);
        d->RadioColorFont->click();
        open->BtnOK->click();
    });
    EXPECT_EQ(editor.toPlainText(), uR"([<FONT COLOR="#336699">text</FONT>])"_s);
    EXPECT_EQ(appSet.DecoInfo0, u"$00996633"_s);
    EXPECT_EQ(appSet.DecoInfo2, u"#336699"_s);
    EXPECT_EQ(appSet.flag(DecoStyleFlag), '0');
}

TEST_F(TagsFormModes, EmptyUrlOrImageNameIsRefusedAndTheDialogStaysOpen) {
    const struct {
        TagMode mode;
        QString text;
        std::function<QLabel*(TTagsForm*)> label;
        std::function<QLineEdit*(TTagsForm*)> field;
        QPalette::ColorRole painted;
    } rows[] = {
        {TagMode::Link, u"リンク先の指定は省略できません。"_s,
         [](TTagsForm* f) { return f->PageLink->LabelLinkUrl; },
         [](TTagsForm* f) { return f->PageLink->EditLinkUrl; }, QPalette::WindowText},
        {TagMode::Graphic, u"画像のファイル名は省略できません。"_s,
         [](TTagsForm* f) { return f->PageGraphic->LabelGraphicName; },
         [](TTagsForm* f) { return f->PageGraphic->EditGraphicName; }, QPalette::Window},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(TagModeChar(row.mode));
        const AppSet before = appSet;
        selectInEditor(u"Diary"_s);
        fake.messages.clear();
        const int result = run(row.mode, [&](TTagsForm* open) {
            const bool link = row.mode == TagMode::Link;
            if (link)
                open->PageControl->setCurrentWidget(open->PageLink->LinkTagExpSheet);
            open->CheckAllLowerCase->click();
            open->BtnOK->click();
            EXPECT_TRUE(open->isVisible());
            EXPECT_EQ(row.label(open)->palette().color(row.painted), QColor(Qt::red));
            EXPECT_TRUE(waitForFocus(row.field(open)));
            if (link) {
                EXPECT_EQ(open->PageControl->currentWidget(), open->PageLink->LinkTagSheet);
            }
            QTest::keyClick(open, Qt::Key_Escape);
        });
        EXPECT_EQ(result, QDialog::Rejected);
        ASSERT_EQ(fake.messages.count(), 1);
        EXPECT_EQ(fake.messages.last().text, row.text);
        EXPECT_EQ(fake.messages.last().caption, u"入力不備エラー"_s);
        EXPECT_EQ(fake.messages.last().icon, MsgIcon::Exclamation);
        EXPECT_EQ(editor.toPlainText(), u"[Diary]"_s);
        expectTagBuilderValuesEqual(appSet, before);
    }
}

TEST_F(TagsFormModes, DecorationControlsFollowEachOther) {
    selectInEditor(u"text"_s);
    run(TagMode::Decoration, [](TTagsForm* open) {
        TagsDecorationPage* d = open->PageDecoration;
        // Style sheet: the HTML size list is off, the background on.
        EXPECT_FALSE(d->FontSizeHtmlBox->isEnabled());
        EXPECT_TRUE(d->BtnBackColor->isEnabled());
        QTest::keyClicks(d->EditFontSize, u"9"_s);
        EXPECT_EQ(d->FontSizeStyleBox->currentIndex(), 10) << "typing a size selects → pt指定";
        QTest::keyClick(d->EditFontSize, Qt::Key_Backspace);
        EXPECT_EQ(d->FontSizeStyleBox->currentIndex(), 0) << "emptying it selects (なし)";
        d->FontSizeStyleBox->setCurrentIndex(10);
        EXPECT_EQ(d->EditFontSize->text(), u"12"_s);
        EXPECT_TRUE(waitForFocus(d->EditFontSize));

        d->SB_Big->click();
        d->SB_Small->click();
        EXPECT_FALSE(d->SB_Big->isChecked()) << "大きく and 小さく are never down together";
        EXPECT_TRUE(d->SB_Small->isChecked());

        // The key filter: a field beginning with "#" takes hexadecimal digits only.
        d->EditBackColor->clear();
        QTest::keyClicks(d->EditBackColor, u"#12G4x5678"_s);
        EXPECT_EQ(d->EditBackColor->text(), u"#124567"_s);
        d->EditFrontColor->selectAll();
        QTest::keyClicks(d->EditFrontColor, u"red"_s); // typed over the selected "#FF0000"
        EXPECT_EQ(d->LabelFrontColor->palette().color(QPalette::Window), QColor(Qt::black));
        EXPECT_EQ(
            d->PanelTagPreview->text(),
            uR"(<SPAN STYLE="font-size:smaller; font-size:12pt; color:red; background-color:#124567; "></SPAN>)"_s);
        EXPECT_EQ(d->PanelTagPreview->toolTip(), d->PanelTagPreview->text());

        d->RadioColorFont->click();
        EXPECT_FALSE(d->CheckBackColor->isChecked());
        EXPECT_FALSE(d->CheckBackColor->isEnabled());
        EXPECT_FALSE(d->EditFontSize->isEnabled());
        EXPECT_TRUE(d->FontSizeHtmlBox->isEnabled());
        EXPECT_EQ(d->PanelTagPreview->text(), uR"(<SMALL><FONT COLOR="red"></FONT></SMALL>)"_s);
        open->reject();
    });
}

TEST_F(TagsFormModes, PageKeysAndTheWheelStayOnTheModesPages) {
    struct Row {
        TagMode mode;
        std::function<QList<QWidget*>(TTagsForm*)> pages;
    };
    const Row rows[] = {
        {TagMode::Link,
         [](TTagsForm* f) {
             return QList<QWidget*>{f->PageLink->LinkTagSheet, f->PageLink->LinkTagExpSheet};
         }},
        {TagMode::Graphic, [](TTagsForm* f) { return QList<QWidget*>{f->PageGraphic->GraphicTagSheet}; }},
        {TagMode::Decoration, [](TTagsForm* f) { return QList<QWidget*>{f->PageDecoration->DecTagSheet}; }},
        {TagMode::Position, [](TTagsForm* f) { return QList<QWidget*>{f->PagePosition->PosTagSheet}; }},
        {TagMode::Weather, [](TTagsForm* f) { return QList<QWidget*>{f->WeaColorSheet}; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.mode));
        run(row.mode, [&row](TTagsForm* open) {
            const QList<QWidget*> pages = row.pages(open);
            EXPECT_EQ(open->PageControl->count(), pages.size());
            QWidget* tabBar = open->PageControl->tabBar();
            for (int step = 0; step < 7; ++step) {
                QWidget* target = open->focusWidget() ? open->focusWidget() : open->PageControl;
                if (step % 3 == 0)
                    QTest::keyClick(target, Qt::Key_Tab, Qt::ControlModifier);
                else if (step % 3 == 1)
                    QTest::keyClick(target, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
                else {
                    QWheelEvent wheel(QPointF(5, 5), tabBar->mapToGlobal(QPointF(5, 5)), {}, {0, -120},
                                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                    QApplication::sendEvent(tabBar, &wheel);
                }
                EXPECT_TRUE(pages.contains(open->PageControl->currentWidget())) << "step " << step;
            }
            open->reject();
        });
    }
}

TEST_F(TagsFormModes, DisabledSizeControlsTakeTheDisabledTextColour) {
    run(TagMode::Decoration, [](TTagsForm* open) {
        TagsDecorationPage* page = open->PageDecoration;
        for (const bool pointSizeInUse : {false, true}) {
            SCOPED_TRACE(pointSizeInUse);
            page->RadioColorStyle->click();
            page->EditFontSize->setText(pointSizeInUse ? u"12"_s : u""_s);
            page->RadioColorFont->click(); // HTML tags: both size controls of the style sheet are off
            for (QWidget* control :
                 {static_cast<QWidget*>(page->FontSizeStyleBox), static_cast<QWidget*>(page->EditFontSize)}) {
                ASSERT_FALSE(control->isEnabled());
                for (const QPalette::ColorRole role :
                     {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
                    EXPECT_EQ(control->palette().color(QPalette::Disabled, role),
                              QApplication::palette().color(QPalette::Disabled, role))
                        << control->objectName().toStdString() << " role " << int(role);
            }
        }
        open->reject();
    });
}
