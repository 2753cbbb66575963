#include "document/TagsUnit.h"

#include "document/DiaryEditor.h"

#include "document/TagBuilder.h"
#include "document/TagsControls.h"
#include "document/TagsDecorationPage.h"
#include "document/TagsGraphicPage.h"
#include "document/TagsLinkPage.h"
#include "document/TagsPositionPage.h"
#include "platform/DialogPlacement.h"
#include "resources/Messages.h"
#include "widgets/FixedDialog.h"
#include "widgets/WholeText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QTabWidget>
#include <QTextCursor>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int ButtonWidth = 75;
constexpr int ButtonGap = 5;
// In weather mode the OK button also covers the hidden Cancel button's place.
constexpr int WideButtonWidth = ButtonWidth + ButtonGap + ButtonWidth;

} // namespace

TTagsForm::TTagsForm(TagMode mode, const Platform& platform, const HtmlSet& htmlSet, AppSet& appSet,
                     TagTarget target, QWidget* parent)
    : QDialog(parent), platform_(platform), htmlSet_(htmlSet), appSet_(appSet), mode_(mode), target_(target) {
    setObjectName(u"TagsForm"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    BuildFrame();
    PageLink = new TagsLinkPage(PageControl);
    AddSheet(PageLink->LinkTagSheet, TagMode::Link);
    AddSheet(PageLink->LinkTagExpSheet, TagMode::Link);
    PageGraphic = new TagsGraphicPage(PageControl, target_.openDialog);
    AddSheet(PageGraphic->GraphicTagSheet, TagMode::Graphic);
    PageDecoration = new TagsDecorationPage(PageControl, platform_.colors);
    AddSheet(PageDecoration->DecTagSheet, TagMode::Decoration);
    BuildWeaColorSheet();
    PagePosition = new TagsPositionPage(PageControl);
    AddSheet(PagePosition->PosTagSheet, TagMode::Position);
    ShowPagesOfMode();
    TakeWholeTexts(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    makeFixedDialog(this);
}

void TTagsForm::BuildFrame() {
    setWindowTitle(mode_ == TagMode::Weather ? u"不足情報の解決 - Oribel"_s : u"HTMLタグ挿入 - Oribel"_s);

    auto* root = new QVBoxLayout(this);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(u"PageControl"_s);
    root->addWidget(PageControl);

    auto* bottom = new QHBoxLayout();
    bottom->setSpacing(ButtonGap);
    CheckAllLowerCase = new QCheckBox(u"全て小文字(&L)"_s, this);
    CheckAllLowerCase->setObjectName(u"CheckAllLowerCase"_s);
    CheckAllLowerCase->setToolTip(u"全て小文字に変換して挿入します。"_s);
    BtnOK = new QPushButton(u"OK"_s, this);
    BtnOK->setObjectName(u"BtnOK"_s);
    BtnOK->setDefault(true);
    BtnOK->setFixedWidth(ButtonWidth);
    BtnCancel = new QPushButton(u"Cancel"_s, this);
    BtnCancel->setObjectName(u"BtnCancel"_s);
    BtnCancel->setFixedWidth(ButtonWidth);
    bottom->addWidget(CheckAllLowerCase);
    bottom->addStretch(1);
    bottom->addWidget(BtnOK);
    bottom->addWidget(BtnCancel);
    root->addLayout(bottom);

    if (mode_ == TagMode::Weather) {
        CheckAllLowerCase->hide();
        BtnCancel->hide();
        BtnOK->setFixedWidth(WideButtonWidth);
    }

    connect(BtnOK, &QPushButton::clicked, this, &TTagsForm::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TTagsForm::AddSheet(QWidget* sheet, TagMode mode) {
    sheets_.append({sheet, mode});
}

void TTagsForm::ShowPagesOfMode() {
    // The other modes' pages leave the page control altogether: a hidden tab
    // would still be reached by the page control's own Ctrl+Tab and wheel.
    // They stay hidden children of the page control, so their page objects live on.
    for (const auto& [sheet, mode] : sheets_) {
        if (mode != mode_) {
            PageControl->removeTab(PageControl->indexOf(sheet));
            sheet->hide();
        }
    }
    PageControl->setCurrentIndex(0);
}

void TTagsForm::BuildWeaColorSheet() {
    WeaColorSheet = new QWidget(PageControl);
    WeaColorSheet->setObjectName(u"WeaColorSheet"_s);
    auto* page = new QVBoxLayout(WeaColorSheet);

    auto* note = new QHBoxLayout();
    auto* icon = new QLabel(WeaColorSheet);
    icon->setObjectName(u"ImageWeaQuestion"_s);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(iconSize));
    icon->setAlignment(Qt::AlignTop);
    auto* lines = new QVBoxLayout();
    lines->addWidget(new QLabel(u"天気欄に、リスト外の文字が入力されています。"_s, WeaColorSheet));
    lines->addWidget(new QLabel(u"表示する際のタグ設定を選択して下さい。"_s, WeaColorSheet));
    note->addWidget(icon);
    note->addLayout(lines, 1);
    page->addLayout(note);

    weather1_ = BuildWeatherPanel(1);
    weather2_ = BuildWeatherPanel(2);
    auto* panels = new QHBoxLayout();
    panels->addWidget(weather1_.panel);
    panels->addWidget(weather2_.panel);
    page->addLayout(panels);

    PanelWea1 = weather1_.panel;
    EditWeaCol1 = weather1_.input;
    RadioWea1Sun = weather1_.radios[0];
    RadioWea1Crw = weather1_.radios[1];
    RadioWea1Rain = weather1_.radios[2];
    RadioWea1Snow = weather1_.radios[3];
    RadioWea1User = weather1_.radios[UserChoice];
    EditWea1User = weather1_.tag;
    BtnWea1Color = weather1_.color;

    PanelWea2 = weather2_.panel;
    EditWeaCol2 = weather2_.input;
    RadioWea2Sun = weather2_.radios[0];
    RadioWea2Crw = weather2_.radios[1];
    RadioWea2Rain = weather2_.radios[2];
    RadioWea2Snow = weather2_.radios[3];
    RadioWea2User = weather2_.radios[UserChoice];
    EditWea2User = weather2_.tag;
    BtnWea2Color = weather2_.color;

    for (WeatherPanel* panel : {&weather1_, &weather2_}) {
        connect(panel->choices, &QButtonGroup::idToggled, this, [this, panel](int choice, bool checked) {
            if (checked)
                WeatherChoiceSelected(*panel, choice);
        });
        connect(panel->color, &QPushButton::clicked, this, [this, panel] { BtnWeaColorClick(*panel); });
        // Typing is entering too, even when the focus arrived without an event.
        connect(panel->tag, &QLineEdit::textEdited, this,
                [panel] { panel->radios[UserChoice]->setChecked(true); });
        panel->tag->installEventFilter(this);
    }

    PageControl->addTab(WeaColorSheet, u"天気のタグ指定"_s);
    AddSheet(WeaColorSheet, TagMode::Weather);
}

TTagsForm::WeatherPanel TTagsForm::BuildWeatherPanel(int number) {
    const QString n = QString::number(number);
    WeatherPanel p;
    p.panel = new QFrame(WeaColorSheet);
    p.panel->setObjectName(u"PanelWea"_s + n);
    p.panel->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(p.panel);

    auto* inputRow = new QHBoxLayout();
    p.input = new QLineEdit(p.panel);
    p.input->setObjectName(u"EditWeaCol"_s + n);
    p.input->setReadOnly(true);
    SetFieldGrey(p.input, true);
    auto* inputLabel = new QLabel(number == 1 ? u"入力文字１："_s : u"入力文字２："_s, p.panel);
    inputLabel->setBuddy(p.input);
    inputRow->addWidget(inputLabel);
    inputRow->addWidget(p.input, 1);
    layout->addLayout(inputRow);

    auto* group = new QGroupBox(number == 1 ? u"設定リスト(&1)"_s : u"設定リスト(&2)"_s, p.panel);
    auto* groupLayout = new QGridLayout(group);
    p.choices = new QButtonGroup(group);
    const QString captions[5] = {u"「晴れ」の設定(&L)"_s, u"「くもり」の設定(&C)"_s, u"「雨」の設定(&R)"_s,
                                 u"「雪」の設定(&S)"_s, u"任意のタグを指定(&U)"_s};
    const QString names[5] = {u"Sun"_s, u"Crw"_s, u"Rain"_s, u"Snow"_s, u"User"_s};
    for (int choice = 0; choice < 5; ++choice) {
        p.radios[choice] = new QRadioButton(captions[choice], group);
        p.radios[choice]->setObjectName(u"RadioWea"_s + n + names[choice]);
        p.choices->addButton(p.radios[choice], choice);
        groupLayout->addWidget(p.radios[choice], choice, 0, 1, 2);
    }
    p.tag = new QLineEdit(group);
    p.tag->setObjectName(u"EditWea"_s + n + u"User"_s);
    p.tag->setMinimumWidth(220);
    p.color = new QPushButton(u"色"_s, group);
    p.color->setObjectName(u"BtnWea"_s + n + u"Color"_s);
    p.color->setToolTip(u"カラー指定"_s);
    p.color->setAutoDefault(false);
    groupLayout->addWidget(p.tag, 5, 0);
    groupLayout->addWidget(p.color, 5, 1);
    layout->addWidget(group);
    return p;
}

void TTagsForm::SetWeatherFields(const WeatherField& first, const WeatherField& second) {
    weather1_.weather = first;
    weather2_.weather = second;
}

void TTagsForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    centreOnOwnersScreen(this);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

bool TTagsForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        for (WeatherPanel* panel : {&weather1_, &weather2_}) {
            if (watched == panel->tag && !panel->tag->isReadOnly())
                panel->radios[UserChoice]->setChecked(true);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TTagsForm::FormShow() {
    switch (mode_) {
    case TagMode::Link:
        PageLink->Open(appSet_, SelectedText());
        break;
    case TagMode::Graphic:
        PageGraphic->Open(appSet_);
        break;
    case TagMode::Decoration:
        PageDecoration->Open(appSet_, SelectedText());
        break;
    case TagMode::Position:
        PagePosition->Open(appSet_);
        break;
    case TagMode::Weather:
        WeaColorSheetShow();
        break;
    }
    if (appSet_.lowerCaseTags())
        CheckAllLowerCase->setChecked(true);
}

void TTagsForm::BtnOKClick() {
    const bool lowerCase = CheckAllLowerCase->isChecked();
    TagOutcome outcome;
    switch (mode_) {
    case TagMode::Link:
        outcome = PageLink->Ok(lowerCase, appSet_);
        break;
    case TagMode::Graphic:
        outcome = PageGraphic->Ok(lowerCase, appSet_);
        break;
    case TagMode::Decoration:
        outcome = PageDecoration->Ok(lowerCase, appSet_);
        break;
    case TagMode::Position:
        outcome = PagePosition->Ok(SelectedText(), lowerCase, appSet_);
        break;
    case TagMode::Weather:
        WeaColorSheetOK();
        return;
    }
    if (outcome.refused()) {
        if (platform_.messages)
            platform_.messages->show(*outcome.refusal);
        if (mode_ == TagMode::Link)
            PageLink->ShowRefusal();
        else if (mode_ == TagMode::Graphic)
            PageGraphic->ShowRefusal();
        return;
    }
    ReplaceSelection(outcome.text);
    accept();
}

QString TTagsForm::SelectedText() const {
    if (!target_.editor)
        return {};
    return target_.editor->textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n');
}

void TTagsForm::ReplaceSelection(const QString& text) {
    if (!target_.editor)
        return;
    // One undo step of its own, as every inserting command is.
    if (auto* diaryEditor = qobject_cast<DiaryEditor*>(target_.editor)) {
        diaryEditor->insertTextAtCaret(text);
        return;
    }
    QTextCursor cursor = target_.editor->textCursor();
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    target_.editor->setTextCursor(cursor);
}

void TTagsForm::WeaColorSheetShow() {
    QList<WeatherPanel*> open;
    for (WeatherPanel* panel : {&weather1_, &weather2_}) {
        panel->input->setText(panel->weather.text);
        if (panel->weather.isTyped()) {
            open.append(panel);
            continue;
        }
        // A weather chosen from the list gets that kind's tag; an empty one none.
        if (!panel->weather.text.isEmpty())
            panel->radios[panel->weather.listIndex]->setChecked(true);
        LockWeatherPanel(*panel);
    }
    for (WeatherPanel* panel : open)
        panel->radios[0]->setChecked(true);
    // The focus goes to the first panel that waits for a choice, on its radio
    // button rather than its tag field, which would select the user's own tag.
    if (!open.isEmpty())
        open.first()->radios[0]->setFocus();
    else
        BtnOK->setFocus();
}

void TTagsForm::LockWeatherPanel(WeatherPanel& panel) {
    for (QRadioButton* radio : panel.radios)
        radio->setEnabled(false);
    panel.tag->setReadOnly(true);
    SetFieldGrey(panel.tag, true);
    panel.color->setEnabled(false);
}

void TTagsForm::WeatherChoiceSelected(WeatherPanel& panel, int choice) {
    if (choice == UserChoice) {
        SetFieldGrey(panel.tag, panel.tag->isReadOnly());
        return;
    }
    SetFieldGrey(panel.tag, true);
    panel.tag->setText(WeatherListTag(htmlSet_, choice));
}

void TTagsForm::BtnWeaColorClick(WeatherPanel& panel) {
    const std::optional<quint32> chosen =
        platform_.colors ? platform_.colors->pick(std::nullopt, TagColorChooserPresets()) : std::nullopt;
    if (chosen)
        panel.tag->setText(WeatherColorTag(*chosen));
    panel.radios[UserChoice]->setChecked(true);
    panel.tag->setFocus();
}

void TTagsForm::WeaColorSheetOK() {
    weatherTag1_ = weather1_.tag->text();
    weatherTag2_ = weather2_.tag->text();
    // LowerCaseFlag stays as it was: the lower-case box is hidden in this mode.
    accept();
}
