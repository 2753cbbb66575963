// The HTML settings dialog's frame and its life: opening from HtmlSet, OK,
// the caption with the set name, the change rule of the template fields and
// the tag information file's view of the controls.

#include "dialogs/HtmlUnit.h"

#include "platform/DialogPlacement.h"
#include "resources/Messages.h"
#include "widgets/FixedDialog.h"
#include "widgets/WholeText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using taginfo::TagItem;

namespace {

// A long template shows its start, where its tag begins, not its tail.
void setTextFromStart(QLineEdit* field, const QString& text) {
    field->setText(text);
    field->setCursorPosition(0);
}
void setTextFromStart(QComboBox* box, const QString& text) {
    box->setCurrentText(text);
    if (box->lineEdit())
        box->lineEdit()->setCursorPosition(0);
}

constexpr int FieldWidth = 360;

// Each template field and the template it shows, copied as it is both ways.
struct TemplateField {
    QLineEdit* THtmlForm::*field;
    QString HtmlSet::*text;
};
const TemplateField TemplateFields[] = {
    {&THtmlForm::EditDate1, &HtmlSet::HtmlDate1},   {&THtmlForm::EditDate2, &HtmlSet::HtmlDate2},
    {&THtmlForm::EditTime1, &HtmlSet::HtmlTime1},   {&THtmlForm::EditTime2, &HtmlSet::HtmlTime2},
    {&THtmlForm::EditWea1, &HtmlSet::HtmlSky1},     {&THtmlForm::EditWea2, &HtmlSet::HtmlSky2},
    {&THtmlForm::EditWea3, &HtmlSet::HtmlSky3},     {&THtmlForm::EditWea4, &HtmlSet::HtmlSky5},
    {&THtmlForm::EditWeaL, &HtmlSet::HtmlSky6},     {&THtmlForm::EditWeaE, &HtmlSet::HtmlSky4},
    {&THtmlForm::EditWeaChar, &HtmlSet::HtmlSky7},  {&THtmlForm::EditTitle1, &HtmlSet::HtmlTitle1},
    {&THtmlForm::EditTitle2, &HtmlSet::HtmlTitle2}, {&THtmlForm::EditDiary1, &HtmlSet::HtmlMain1},
    {&THtmlForm::EditDiary2, &HtmlSet::HtmlMain2},  {&THtmlForm::EditAll1, &HtmlSet::HtmlAll1},
    {&THtmlForm::EditAll2, &HtmlSet::HtmlAll2},
};

// A check box and its flag. Most boxes are ticked for '0': the polarity is
// the box's own, given by the character it writes when ticked and when not.
struct CheckFlag {
    QCheckBox* THtmlForm::*box;
    HtmlFlag flag;
    char ticked;   // written by a ticked box
    char unticked; // written by an unticked box
    // Opening: true, the box is ticked unless the flag is `unticked`;
    // false, it is ticked only when the flag is `ticked`.
    bool tickedUnlessUnticked;
};
const CheckFlag CheckFlags[] = {
    {&THtmlForm::CheckWea, WeekdayFlag, '0', '1', true},
    {&THtmlForm::CheckHR, HrFlag, '0', '1', false},
    {&THtmlForm::CheckBR, AutoBrFlag, '0', '1', false},
    {&THtmlForm::CheckWeather, WeatherWarnFlag, '0', '1', false},
    {&THtmlForm::CheckTitle, TitleWarnFlag, '0', '1', false},
    {&THtmlForm::CheckAllTag, AllTagFlag, '0', '1', false},
    {&THtmlForm::CheckDateYear, DateYearFlag, '0', '1', true},
    {&THtmlForm::CheckDateMonth, DateMonthFlag, '0', '1', true},
    {&THtmlForm::CheckAnchorName, AnchorFlag, '1', '0', true},
    {&THtmlForm::CheckWeatherCharOff, WeatherTagOnlyFlag, '1', '0', false},
    {&THtmlForm::Check2keta, TwoDigitFlag, '1', '0', false},
    {&THtmlForm::CheckInsertTime, InsertTimeFlag, '1', '0', false},
    {&THtmlForm::CheckTimeMin, TimeMinuteFlag, '0', '1', true},
    {&THtmlForm::CheckTimeSec, TimeSecondFlag, '0', '1', true},
    {&THtmlForm::CheckDateDay, DateDayFlag, '0', '1', true},
};

// Unchecks the checked button of an exclusive group, which the group itself
// does not allow, so that no button is selected.
void deselect(QAbstractButton* button) {
    if (!button->isChecked())
        return;
    QButtonGroup* group = button->group();
    const bool exclusive = group && group->exclusive();
    if (exclusive)
        group->setExclusive(false);
    button->setChecked(false);
    if (exclusive)
        group->setExclusive(true);
}

} // namespace

// A radio group and its flag: the character of each item, in item order. On
// opening a character outside them selects the first item; on OK a group with
// no selected item leaves its flag as it is.
struct THtmlForm::RadioFlag {
    QButtonGroup* group;
    HtmlFlag flag;
    QByteArrayView chars;
};

QList<THtmlForm::RadioFlag> THtmlForm::RadioFlags() const {
    return {
        {dateTypeGroup_, DateFormFlag, "012345"},
        {weekdayGroup_, WeekdayFormFlag, "0123"},
        {insertTypeGroup_, InsertOrderFlag, "0ABCD"},
        {timeTypeGroup_, TimeFormFlag, "0123"},
    };
}

THtmlForm::THtmlForm(const Platform& platform, FileDialog& openDialog, FileDialog& saveDialog,
                     HtmlSet& htmlSet, QString& hiddenTitle, QWidget* parent)
    : QDialog(parent), platform_(platform), openDialog_(openDialog), saveDialog_(saveDialog),
      htmlSet_(htmlSet), hiddenTitle_(hiddenTitle) {
    setObjectName(u"HtmlForm"_s);
    // A fixed border: a title and a close box, nothing to resize, minimise or maximise.
    makeFixedDialog(this);
    setModal(true);
    BuildFrame();
    BuildDateSheet();
    BuildTimeSheet();
    BuildWeatherSheet();
    BuildTitleSheet();
    BuildDiarySheet();
    BuildAllSheet();
    BuildInsertNumSheet();
    BuildBRTagSheet();
    for (const TemplateField& row : TemplateFields)
        connect(this->*row.field, &QLineEdit::textChanged, this, &THtmlForm::TemplateChange);
    refreshCaption();
    TakeWholeTexts(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void THtmlForm::BuildFrame() {
    auto* root = new QVBoxLayout(this);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(u"PageControl"_s);
    root->addWidget(PageControl);

    auto makeButton = [this](const QString& caption, const char* name, const QString& hint) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QLatin1StringView(name));
        button->setToolTip(hint);
        button->setAutoDefault(false);
        return button;
    };
    BtnOpenHtml = makeButton(u"設定読込(&L)"_s, "BtnOpenHtml", u"ファイルからHTML設定情報を読み込む"_s);
    BtnSaveHtml =
        makeButton(u"設定書出(&F)"_s, "BtnSaveHtml", u"現在のHTML設定情報をファイルへ書き出します。"_s);
    BitBtn1 = makeButton(u"OK"_s, "BitBtn1", u"変更内容を適応させます。（記憶されます）"_s);
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton, nullptr, this));
    BitBtn1->setDefault(true);
    BitBtn2 = makeButton(u"Cancel"_s, "BitBtn2", u"変更内容を破棄します。（変更前の設定を使用し続けます）"_s);
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton, nullptr, this));

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(BtnOpenHtml);
    buttons->addWidget(BtnSaveHtml);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    root->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, &THtmlForm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtnOpenHtml, &QPushButton::clicked, this, &THtmlForm::BtnOpenHtmlClick);
    connect(BtnSaveHtml, &QPushButton::clicked, this, &THtmlForm::BtnSaveHtmlClick);
}

QLineEdit* THtmlForm::AddTemplateField(QGridLayout* grid, int row, const QString& label, const char* name,
                                       QLabel** labelOut) {
    QWidget* page = grid->parentWidget();
    auto* caption = new QLabel(label, page);
    auto* field = new QLineEdit(page);
    field->setObjectName(QLatin1StringView(name));
    field->setMinimumWidth(FieldWidth);
    caption->setBuddy(field);
    grid->addWidget(caption, row, 0, Qt::AlignRight);
    grid->addWidget(field, row, 1);
    if (labelOut)
        *labelOut = caption;
    return field;
}

void THtmlForm::ShowFieldEnabled(QLineEdit* field, bool enabled) {
    field->setEnabled(enabled);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, enabled ? QColor(Qt::white) : palette.color(QPalette::Window));
    field->setPalette(palette);
}

// The dialog reads the settings as it opens, before its size is settled, so
// that the previews' texts are measured with the rest.
void THtmlForm::setVisible(bool visible) {
    if (visible && !shown_) {
        shown_ = true;
        FormShow();
    }
    QDialog::setVisible(visible);
}

void THtmlForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    centreOnOwnersScreen(this);
}

// Opening: the controls take the settings. Setting a flag control runs its
// rule, so the previews and the enabling follow as the controls are set.
void THtmlForm::FormShow() {
    for (const TemplateField& row : TemplateFields)
        setTextFromStart((this->*row.field), htmlSet_.*row.text);
    EditTitleH->setText(hiddenTitle_);
    setTextFromStart(ComboBoxBR, htmlSet_.HtmlBRTag);
    setTextFromStart(ComboBoxHR, htmlSet_.HtmlHRTag);

    const QList<RadioFlag> radios = RadioFlags();
    for (int position = 0; position < HtmlFlagCount; ++position) {
        const char value = htmlSet_.flag(HtmlFlag(position));
        for (const CheckFlag& row : CheckFlags) {
            if (row.flag == position)
                (this->*row.box)
                    ->setChecked(row.tickedUnlessUnticked ? value != row.unticked : value == row.ticked);
        }
        for (const RadioFlag& row : radios) {
            if (row.flag == position)
                row.group->button(qMax(0, int(row.chars.indexOf(value))))->setChecked(true);
        }
    }
    RefreshDatePreview();
    RefreshTimePreview();

    CheckDateDayClick();
    CheckWeaClick();
    CheckAllTagClick();
    CheckInsertTimeClick();

    setName_ = htmlSet_.HtmlDataTitle;
    refreshCaption();
    loadingGuard_ = false;
}

void THtmlForm::BitBtn1Click() {
    htmlSet_.HtmlDataTitle = setName_;
    for (const TemplateField& row : TemplateFields)
        htmlSet_.*row.text = (this->*row.field)->text();
    htmlSet_.HtmlBRTag = ComboBoxBR->currentText();
    htmlSet_.HtmlHRTag = ComboBoxHR->currentText();
    hiddenTitle_ = EditTitleH->text();

    for (const CheckFlag& row : CheckFlags)
        htmlSet_.setFlag(row.flag, (this->*row.box)->isChecked() ? row.ticked : row.unticked);
    for (const RadioFlag& row : RadioFlags()) {
        const int item = row.group->checkedId();
        if (item >= 0 && item < row.chars.size())
            htmlSet_.setFlag(row.flag, row.chars[item]);
    }
    accept();
}

void THtmlForm::BtnSaveHtmlClick() {
    taginfo::exportTagFile(*this, saveDialog_, *platform_.messages, platform_.programFolder);
}

void THtmlForm::BtnOpenHtmlClick() {
    taginfo::importTagFile(*this, openDialog_, *platform_.messages, platform_.programFolder);
}

void THtmlForm::refreshCaption() {
    const QString name = setName_.isEmpty() ? msg::UserDefinedSetName : setName_;
    setWindowTitle(u"HTML化タグ設定 ["_s + name + u"] - "_s + msg::AppName);
}

void THtmlForm::TemplateChange() {
    if (loadingGuard_ || setName_.isEmpty())
        return;
    setName_.clear();
    refreshCaption();
}

// ---- The tag information file's view ----------------------------------------------

QLineEdit* THtmlForm::TextField(TagItem item) const {
    switch (item) {
    case TagItem::EditDate1:
        return EditDate1;
    case TagItem::EditDate2:
        return EditDate2;
    case TagItem::EditWea1:
        return EditWea1;
    case TagItem::EditWea2:
        return EditWea2;
    case TagItem::EditWea3:
        return EditWea3;
    case TagItem::EditWea4:
        return EditWea4;
    case TagItem::EditWeaL:
        return EditWeaL;
    case TagItem::EditWeaChar:
        return EditWeaChar;
    case TagItem::EditWeaE:
        return EditWeaE;
    case TagItem::EditTitle1:
        return EditTitle1;
    case TagItem::EditTitle2:
        return EditTitle2;
    case TagItem::EditDiary1:
        return EditDiary1;
    case TagItem::EditDiary2:
        return EditDiary2;
    case TagItem::EditAll1:
        return EditAll1;
    case TagItem::EditAll2:
        return EditAll2;
    default:
        return nullptr;
    }
}

QAbstractButton* THtmlForm::FlagControl(TagItem item) const {
    switch (item) {
    case TagItem::CheckDateYear:
        return CheckDateYear;
    case TagItem::CheckDateMonth:
        return CheckDateMonth;
    case TagItem::CheckWea:
        return CheckWea;
    case TagItem::RadioWea1:
        return RadioWea1;
    case TagItem::RadioWea2:
        return RadioWea2;
    case TagItem::RadioWea3:
        return RadioWea3;
    case TagItem::RadioWea4:
        return RadioWea4;
    case TagItem::CheckAnchorName:
        return CheckAnchorName;
    case TagItem::CheckWeather:
        return CheckWeather;
    case TagItem::CheckWeatherCharOff:
        return CheckWeatherCharOff;
    case TagItem::CheckTitle:
        return CheckTitle;
    case TagItem::CheckHR:
        return CheckHR;
    case TagItem::CheckBR:
        return CheckBR;
    case TagItem::CheckAllTag:
        return CheckAllTag;
    case TagItem::RadioInsertType1:
        return RadioInsertType1;
    case TagItem::RadioInsertType2:
        return RadioInsertType2;
    case TagItem::RadioInsertType3:
        return RadioInsertType3;
    default:
        return nullptr;
    }
}

QString THtmlForm::itemText(TagItem item) const {
    if (item == TagItem::ComboBoxBR)
        return ComboBoxBR->currentText();
    const QLineEdit* field = TextField(item);
    return field ? field->text() : QString();
}

void THtmlForm::setItemText(TagItem item, const QString& text) {
    if (item == TagItem::ComboBoxBR) {
        setTextFromStart(ComboBoxBR, text);
    } else if (QLineEdit* field = TextField(item)) {
        setTextFromStart(field, text);
    }
}

bool THtmlForm::itemChecked(TagItem item) const {
    const QAbstractButton* button = FlagControl(item);
    return button && button->isChecked();
}

void THtmlForm::setItemChecked(TagItem item, bool checked) {
    QAbstractButton* button = FlagControl(item);
    if (!button)
        return;
    if (checked)
        button->setChecked(true);
    else
        deselect(button);
}

int THtmlForm::dateTypeIndex() const {
    return dateTypeGroup_->checkedId();
}

void THtmlForm::setDateTypeIndex(int index) {
    if (QAbstractButton* item = dateTypeGroup_->button(index)) {
        item->setChecked(true);
    } else if (QAbstractButton* selected = dateTypeGroup_->checkedButton()) {
        deselect(selected);
    }
}

int THtmlForm::timeTypeIndex() const {
    return timeTypeGroup_->checkedId();
}
