#pragma once
// THtmlForm: the HTML settings dialog. It shows the HTML conversion settings
// (the templates, the switches of HtmlSetFlags and the set name) as controls on
// eight pages, previews the date and time forms, exchanges the controls' values
// with tag information files, and writes the controls back into HtmlSet only
// when the user presses OK.
//
// The controls hold the working copy while the dialog is open. Besides them
// the dialog keeps the set name (shown in the caption, cleared by the first
// edit of a template) and the loading guard that keeps an import from clearing
// the name it has just set.
//
// The dialog is built in three files:
//   HtmlUnit.cpp        the frame, opening, OK, the caption, the tag information file
//   HtmlDatePages.cpp   the pages "日付" and "時刻" with their rules and previews
//   HtmlOtherPages.cpp  the pages "天気" … "既定タグ編集"

#include "platform/Platform.h"
#include "settings/HtmlSet.h"
#include "settings/TagInfoFile.h"

#include <QDialog>
#include <array>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

class THtmlForm : public QDialog, public taginfo::TagInfoControls {
    Q_OBJECT
public:
    // htmlSet is read when the dialog is shown and written by OK only.
    // hiddenTitle is the text of the invisible title field, which the main
    // window keeps for the run; OK writes it back as well. The open and save
    // dialogs are the main window's shared ones.
    THtmlForm(const Platform& platform, FileDialog& openDialog, FileDialog& saveDialog, HtmlSet& htmlSet,
              QString& hiddenTitle, QWidget* parent = nullptr);

    // ---- The frame -----------------------------------------------------------------
    QTabWidget* PageControl = nullptr;
    QPushButton *BitBtn1 = nullptr, *BitBtn2 = nullptr, *BtnOpenHtml = nullptr, *BtnSaveHtml = nullptr;

    // ---- "日付" ---------------------------------------------------------------------
    QWidget* DateSheet = nullptr;
    QLabel *LabelDate1 = nullptr, *LabelDate2 = nullptr;
    QLineEdit *EditDate1 = nullptr, *EditDate2 = nullptr;
    QGroupBox* RadioDateType = nullptr;
    std::array<QRadioButton*, 6> RadioDateTypeItems{};
    QCheckBox *CheckDateYear = nullptr, *CheckDateMonth = nullptr, *CheckDateDay = nullptr;
    QCheckBox* CheckWea = nullptr;
    QRadioButton *RadioWea1 = nullptr, *RadioWea2 = nullptr, *RadioWea3 = nullptr, *RadioWea4 = nullptr;
    QCheckBox* Check2keta = nullptr;
    QCheckBox* CheckAnchorName = nullptr;
    QLabel* PanelPreview = nullptr;

    // ---- "時刻" ---------------------------------------------------------------------
    QWidget* TimeSheet = nullptr;
    QCheckBox* CheckInsertTime = nullptr;
    QLineEdit *EditTime1 = nullptr, *EditTime2 = nullptr;
    QGroupBox* RadioTimeType = nullptr;
    std::array<QRadioButton*, 4> RadioTimeTypeItems{};
    QCheckBox *CheckTimeHour = nullptr, *CheckTimeMin = nullptr, *CheckTimeSec = nullptr;
    QLabel* PanelPreviewTime = nullptr;

    // ---- "天気" ---------------------------------------------------------------------
    QWidget* WeatherSheet = nullptr;
    QLineEdit *EditWea1 = nullptr, *EditWea2 = nullptr, *EditWea3 = nullptr, *EditWea4 = nullptr,
              *EditWeaL = nullptr, *EditWeaE = nullptr, *EditWeaChar = nullptr;
    QCheckBox* CheckWeatherCharOff = nullptr;
    QCheckBox* CheckWeather = nullptr;

    // ---- "タイトル" -----------------------------------------------------------------
    QWidget* TitleSheet = nullptr;
    QLineEdit *EditTitle1 = nullptr, *EditTitle2 = nullptr;
    QCheckBox* CheckTitle = nullptr;
    QLineEdit* EditTitleH = nullptr; // never shown

    // ---- "本文" ---------------------------------------------------------------------
    QWidget* DiarySheet = nullptr;
    QLineEdit *EditDiary1 = nullptr, *EditDiary2 = nullptr;
    QCheckBox *CheckHR = nullptr, *CheckBR = nullptr;

    // ---- "全体" ---------------------------------------------------------------------
    QWidget* AllSheet = nullptr;
    QCheckBox* CheckAllTag = nullptr;
    QLineEdit *EditAll1 = nullptr, *EditAll2 = nullptr;

    // ---- "順序" ---------------------------------------------------------------------
    QWidget* InsertNumSheet = nullptr;
    QRadioButton *RadioInsertType1 = nullptr, *RadioInsertType2 = nullptr, *RadioInsertType3 = nullptr,
                 *RadioInsertType4 = nullptr, *RadioInsertType5 = nullptr;
    QCheckBox* CheckWeekdayFirst = nullptr; // shown disabled, without effect

    // ---- "既定タグ編集" -------------------------------------------------------------
    QWidget* BRTagSheet = nullptr;
    QComboBox *ComboBoxBR = nullptr, *ComboBoxHR = nullptr;

    // ---- The tag information file's view of the controls ----------------------------
    QString itemText(taginfo::TagItem item) const override;
    void setItemText(taginfo::TagItem item, const QString& text) override;
    bool itemChecked(taginfo::TagItem item) const override;
    void setItemChecked(taginfo::TagItem item, bool checked) override;
    int dateTypeIndex() const override;
    void setDateTypeIndex(int index) override;
    QString setName() const override { return setName_; }
    void setSetName(const QString& name) override { setName_ = name; }
    void refreshCaption() override;
    void setLoadingGuard(bool on) override { loadingGuard_ = on; }

    // The selected RadioTimeType item, or -1.
    int timeTypeIndex() const;

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // HtmlUnit.cpp
    void BuildFrame();
    void FormShow();
    void BitBtn1Click();
    void BtnOpenHtmlClick();
    void BtnSaveHtmlClick();
    // The change rule of the template fields: the first edit of a named set
    // makes it user-defined.
    void TemplateChange();
    QLineEdit* TextField(taginfo::TagItem item) const;
    QAbstractButton* FlagControl(taginfo::TagItem item) const;
    // The radio groups with the flag positions they show (HtmlUnit.cpp).
    struct RadioFlag;
    QList<RadioFlag> RadioFlags() const;

    // HtmlDatePages.cpp
    void BuildDateSheet();
    void BuildTimeSheet();
    void CheckDateDayClick();
    void CheckWeaClick();
    void CheckInsertTimeClick();
    void CheckTimeMinClick();
    void CheckTimeSecClick();
    void RefreshDatePreview();
    void RefreshTimePreview();

    // HtmlOtherPages.cpp
    void BuildWeatherSheet();
    void BuildTitleSheet();
    void BuildDiarySheet();
    void BuildAllSheet();
    void BuildInsertNumSheet();
    void BuildBRTagSheet();
    void CheckAllTagClick();

    // A template field with its label in row of grid (HtmlUnit.cpp).
    QLineEdit* AddTemplateField(QGridLayout* grid, int row, const QString& label, const char* name,
                                QLabel** labelOut = nullptr);
    // Enables a field and shows it white, or disables it and shows it grey.
    static void ShowFieldEnabled(QLineEdit* field, bool enabled);

    Platform platform_;
    FileDialog& openDialog_;
    FileDialog& saveDialog_;
    HtmlSet& htmlSet_;
    QString& hiddenTitle_;

    QString setName_;           // empty: a user-defined set
    bool loadingGuard_ = false; // on while an import applies values
    bool shown_ = false;

    QButtonGroup* dateTypeGroup_ = nullptr;   // ids 0-5
    QButtonGroup* weekdayGroup_ = nullptr;    // RadioWea1-4 as 0-3
    QButtonGroup* timeTypeGroup_ = nullptr;   // ids 0-3
    QButtonGroup* insertTypeGroup_ = nullptr; // RadioInsertType1-5 as 0-4
};
