#pragma once
// TTagsForm: the tag builder dialog. It builds one piece of HTML from a few
// fields and puts it in place of the active editor's selection (link, image,
// decoration and position modes); the weather mode resolves the start tags
// for weathers typed by hand while an entry is composed and hands them back
// to the main window.
//
// The opener gives the mode. The page control holds only the pages of that
// mode (the others' pages are built and taken out again), and the opening
// and the OK button are dispatched once by the mode to that mode's page
// object (TagsLinkPage, TagsGraphicPage, TagsDecorationPage,
// TagsPositionPage; the weather page lives here).

#include "document/TagBuilder.h"
#include "platform/Platform.h"
#include "settings/AppSet.h"
#include "settings/HtmlSet.h"
#include "today/Composer.h"

#include <QDialog>
#include <QList>
#include <QPair>

class QButtonGroup;
class QPlainTextEdit;
class TagsDecorationPage;
class TagsGraphicPage;
class TagsLinkPage;
class TagsPositionPage;
class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

// Where the inserting modes work.
struct TagTarget {
    // The active editor: its selection is marked up and replaced by the result.
    QPlainTextEdit* editor = nullptr;
    // The main window's shared open dialog, for the image chooser.
    FileDialog* openDialog = nullptr;
};

class TTagsForm : public QDialog {
    Q_OBJECT
public:
    TTagsForm(TagMode mode, const Platform& platform, const HtmlSet& htmlSet, AppSet& appSet,
              TagTarget target = {}, QWidget* parent = nullptr);

    // Weather mode: the two weather fields of today's page (call before exec()).
    void SetWeatherFields(const WeatherField& first, const WeatherField& second);
    // Weather mode, after exec() returned Accepted: the start tags for the
    // first and second weather. Empty until OK.
    QString WeatherTag1() const { return weatherTag1_; }
    QString WeatherTag2() const { return weatherTag2_; }

    TagMode Mode() const { return mode_; }

    // The frame.
    QTabWidget* PageControl = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;
    QCheckBox* CheckAllLowerCase = nullptr;

    // The pages of the inserting modes, with their controls.
    TagsLinkPage* PageLink = nullptr;
    TagsGraphicPage* PageGraphic = nullptr;
    TagsDecorationPage* PageDecoration = nullptr;
    TagsPositionPage* PagePosition = nullptr;

    // Page "天気のタグ指定".
    QWidget* WeaColorSheet = nullptr;
    QFrame* PanelWea1 = nullptr;
    QFrame* PanelWea2 = nullptr;
    QLineEdit* EditWeaCol1 = nullptr;
    QLineEdit* EditWeaCol2 = nullptr;
    QRadioButton* RadioWea1Sun = nullptr;
    QRadioButton* RadioWea1Crw = nullptr;
    QRadioButton* RadioWea1Rain = nullptr;
    QRadioButton* RadioWea1Snow = nullptr;
    QRadioButton* RadioWea1User = nullptr;
    QRadioButton* RadioWea2Sun = nullptr;
    QRadioButton* RadioWea2Crw = nullptr;
    QRadioButton* RadioWea2Rain = nullptr;
    QRadioButton* RadioWea2Snow = nullptr;
    QRadioButton* RadioWea2User = nullptr;
    QLineEdit* EditWea1User = nullptr;
    QLineEdit* EditWea2User = nullptr;
    QPushButton* BtnWea1Color = nullptr;
    QPushButton* BtnWea2Color = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One of the two weather panels: its controls and the weather it resolves.
    // The radio buttons' ids in the group are the list items 0..3 (晴れ, くもり,
    // 雨, 雪) and UserChoice for the user's own tag.
    struct WeatherPanel {
        QFrame* panel = nullptr;
        QLineEdit* input = nullptr;
        QButtonGroup* choices = nullptr;
        QRadioButton* radios[5] = {};
        QLineEdit* tag = nullptr;
        QPushButton* color = nullptr;
        WeatherField weather;
    };
    static constexpr int UserChoice = 4;

    void BuildFrame();
    // Records a page of the page control; it stays there only in mode.
    void AddSheet(QWidget* sheet, TagMode mode);
    void BuildWeaColorSheet();
    WeatherPanel BuildWeatherPanel(int number);
    void ShowPagesOfMode();

    void FormShow();
    void BtnOKClick();
    // The active editor's selected text, line breaks as '\n'.
    QString SelectedText() const;
    // The result of an inserting mode in place of the selection.
    void ReplaceSelection(const QString& text);

    // Weather mode.
    void WeaColorSheetShow();
    void WeaColorSheetOK();
    void WeatherChoiceSelected(WeatherPanel& panel, int choice);
    void BtnWeaColorClick(WeatherPanel& panel);
    static void LockWeatherPanel(WeatherPanel& panel);

    const Platform& platform_;
    const HtmlSet& htmlSet_;
    AppSet& appSet_;
    const TagMode mode_;
    const TagTarget target_;
    bool shown_ = false;
    QList<QPair<QWidget*, TagMode>> sheets_;

    WeatherPanel weather1_, weather2_;
    QString weatherTag1_, weatherTag2_;
};
