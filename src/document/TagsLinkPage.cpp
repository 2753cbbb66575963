#include "document/TagsLinkPage.h"

#include "document/TagsControls.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLineEdit* field(const char* name, QWidget* parent, const QString& hint = {}) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1StringView(name));
    edit->setToolTip(hint);
    return edit;
}

template <class Button> Button* button(const char* name, const QString& caption, QWidget* parent) {
    auto* b = new Button(caption, parent);
    b->setObjectName(QLatin1StringView(name));
    return b;
}

} // namespace

TagsLinkPage::TagsLinkPage(QTabWidget* pages) : QObject(pages), pages_(pages) {
    BuildLinkTagSheet();
    BuildLinkTagExpSheet();
}

void TagsLinkPage::BuildLinkTagSheet() {
    LinkTagSheet = new QWidget(pages_);
    LinkTagSheet->setObjectName(u"LinkTagSheet"_s);
    auto* page = new QVBoxLayout(LinkTagSheet);

    auto* target = new QGroupBox(u"リンク名称・リンク先の指定"_s, LinkTagSheet);
    auto* targetGrid = new QGridLayout(target);
    EditLinkName =
        field("EditLinkName", target,
              u"ここに書いた文字がリンクとして表示されます。省略した場合はURLが代わりに表示されます。"_s);
    EditLinkUrl =
        field("EditLinkUrl", target,
              u"リンク先のURLもしくはファイル名を入力します。大文字・小文字の区別に注意して下さい。"_s);
    EditLinkUrl->setMinimumWidth(320);
    LabelLinkName = BuddyLabel(u"リンク名称(&N)："_s, EditLinkName, target);
    LabelLinkName->setObjectName(u"LabelLinkName"_s);
    LabelLinkUrl = BuddyLabel(u"リンク先URL(&U)："_s, EditLinkUrl, target);
    LabelLinkUrl->setObjectName(u"LabelLinkUrl"_s);
    targetGrid->addWidget(LabelLinkName, 0, 0);
    targetGrid->addWidget(EditLinkName, 0, 1);
    targetGrid->addWidget(LabelLinkUrl, 1, 0);
    targetGrid->addWidget(EditLinkUrl, 1, 1);
    page->addWidget(target);

    auto* form = new QGroupBox(u"リンク形態の指定"_s, LinkTagSheet);
    auto* formLayout = new QVBoxLayout(form);
    RadioLinkNml = button<QRadioButton>("RadioLinkNml", u"通常のリンク (&L)"_s, form);
    RadioLinkNew = button<QRadioButton>("RadioLinkNew", u"リンク先を新しいウインドウに表示 (&W)"_s, form);
    RadioLinkTop = button<QRadioButton>("RadioLinkTop",
                                        u"リンク先をフレームを解除して、ウインドウ全体に表示 (&A)"_s, form);
    RadioLinkFrame =
        button<QRadioButton>("RadioLinkFrame", u"リンク先を特定のフレームに表示 (&F)　フレーム名："_s, form);
    EditLinkFrame = field("EditLinkFrame", form);
    RadioLinkNml->setChecked(true);
    formLayout->addWidget(RadioLinkNml);
    formLayout->addWidget(RadioLinkNew);
    formLayout->addWidget(RadioLinkTop);
    auto* frameRow = new QHBoxLayout();
    frameRow->addWidget(RadioLinkFrame);
    frameRow->addWidget(EditLinkFrame, 1);
    formLayout->addLayout(frameRow);
    page->addWidget(form);

    auto* style = new QGroupBox(u"スタイルシート指定支援"_s, LinkTagSheet);
    auto* styleRow = new QHBoxLayout(style);
    CheckLinkStyle = button<QCheckBox>("CheckLinkStyle", u"CLASS属性を加える (&S)　Class名："_s, style);
    CheckLinkStyle->setToolTip(u"スタイルシートを適応するときに使用します。"_s);
    EditLinkClass = field("EditLinkClass", style);
    styleRow->addWidget(CheckLinkStyle);
    styleRow->addWidget(EditLinkClass, 1);
    page->addWidget(style);
    page->addStretch(1);

    SetFieldGrey(EditLinkFrame, true);
    for (QRadioButton* radio : {RadioLinkNml, RadioLinkNew, RadioLinkTop}) {
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                SetFieldGrey(EditLinkFrame, true);
        });
    }
    connect(RadioLinkFrame, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            EditLinkFrame->setFocus(Qt::OtherFocusReason);
    });
    // Typing is entering too, even when the focus arrived without an event.
    connect(EditLinkFrame, &QLineEdit::textEdited, this, [this] {
        SetFieldGrey(EditLinkFrame, false);
        RadioLinkFrame->setChecked(true);
    });
    EditLinkFrame->installEventFilter(this);
    TieCheckToField(CheckLinkStyle, EditLinkClass);

    pages_->addTab(LinkTagSheet, u"リンク"_s);
}

void TagsLinkPage::BuildLinkTagExpSheet() {
    LinkTagExpSheet = new QWidget(pages_);
    LinkTagExpSheet->setObjectName(u"LinkTagExpSheet"_s);
    auto* page = new QVBoxLayout(LinkTagExpSheet);
    auto* group = new QGroupBox(u"アクセシビリティ・ユーザビリティ関連属性"_s, LinkTagExpSheet);
    auto* grid = new QGridLayout(group);

    CheckLinkAKey = button<QCheckBox>("CheckLinkAKey", u"アクセスキーを指定する (&A)　Access Key："_s, group);
    CheckLinkAKey->setToolTip(u"リンクにショートカットキーを割り当てます。"_s);
    EditAccessKey = field("EditAccessKey", group, u"半角英字１文字"_s);
    EditAccessKey->setMaxLength(1);
    EditAccessKey->setFixedWidth(EditAccessKey->fontMetrics().horizontalAdvance(u"WW"_s) + 16);

    CheckLinkTList =
        button<QCheckBox>("CheckLinkTList", u"タブ・インデックスを指定する (&T)　Index Number："_s, group);
    CheckLinkTList->setToolTip(
        u"リンクを[Tab]キーで移動する順番を指定します。値の小さなものから順番に移動します。ただし、0や値なしは最後になります。"_s);
    EditTabIndex = field("EditTabIndex", group, u"値は、1～32767 と 0（最後）です。"_s);
    EditTabIndex->setMaxLength(5);
    EditTabIndex->setFixedWidth(EditTabIndex->fontMetrics().horizontalAdvance(u"000000"_s) + 16);

    CheckLinkTitle =
        button<QCheckBox>("CheckLinkTitle", u"リンクにポップアップメッセージを指定(&M) Message："_s, group);
    CheckLinkTitle->setToolTip(u"リンク文字の上にマウスが乗ったときに、ポップアップメッセージを表示。"_s);
    EditLinkTitle = field("EditLinkTitle", group);
    EditLinkTitle->setMinimumWidth(200);

    grid->addWidget(CheckLinkAKey, 0, 0);
    grid->addWidget(EditAccessKey, 0, 1, Qt::AlignLeft);
    grid->addWidget(CheckLinkTList, 1, 0);
    grid->addWidget(EditTabIndex, 1, 1, Qt::AlignLeft);
    grid->addWidget(CheckLinkTitle, 2, 0);
    grid->addWidget(EditLinkTitle, 2, 1);
    grid->setColumnStretch(1, 1);
    page->addWidget(group);
    page->addStretch(1);

    TieCheckToField(CheckLinkAKey, EditAccessKey);
    TieCheckToField(CheckLinkTList, EditTabIndex);
    TieCheckToField(CheckLinkTitle, EditLinkTitle);

    pages_->addTab(LinkTagExpSheet, u"拡張設定"_s);
}

void TagsLinkPage::TieCheckToField(QCheckBox* check, QLineEdit* edit) {
    SetFieldGrey(edit, true);
    connect(check, &QCheckBox::toggled, this, [edit](bool on) {
        SetFieldGrey(edit, !on);
        if (on)
            edit->setFocus(Qt::OtherFocusReason);
    });
}

bool TagsLinkPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditLinkFrame && event->type() == QEvent::FocusIn) {
        SetFieldGrey(EditLinkFrame, false);
        RadioLinkFrame->setChecked(true);
    }
    return QObject::eventFilter(watched, event);
}

void TagsLinkPage::Open(const AppSet& appSet, const QString& selectedText) {
    const LinkPage page = OpenLinkPage(appSet, selectedText);
    EditLinkName->setText(page.name);
    EditLinkFrame->setText(page.frame);
    EditLinkClass->setText(page.className);
    pages_->setCurrentWidget(LinkTagSheet);
    EditLinkUrl->setFocus(Qt::OtherFocusReason);
}

LinkPage TagsLinkPage::Values() const {
    LinkPage page;
    page.name = EditLinkName->text();
    page.url = EditLinkUrl->text();
    if (RadioLinkNew->isChecked())
        page.target = LinkTarget::NewWindow;
    else if (RadioLinkTop->isChecked())
        page.target = LinkTarget::Top;
    else if (RadioLinkFrame->isChecked())
        page.target = LinkTarget::Frame;
    page.frame = EditLinkFrame->text();
    page.classOn = CheckLinkStyle->isChecked();
    page.className = EditLinkClass->text();
    page.accessKeyOn = CheckLinkAKey->isChecked();
    page.accessKey = EditAccessKey->text();
    page.tabIndexOn = CheckLinkTList->isChecked();
    page.tabIndex = EditTabIndex->text();
    page.titleOn = CheckLinkTitle->isChecked();
    page.title = EditLinkTitle->text();
    return page;
}

TagOutcome TagsLinkPage::Ok(bool lowerCase, AppSet& appSet) {
    LinkPage page = Values();
    TagOutcome outcome = LinkPageOk(page, lowerCase, appSet);
    EditLinkName->setText(page.name);
    return outcome;
}

void TagsLinkPage::ShowRefusal() {
    QPalette palette = LabelLinkUrl->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    LabelLinkUrl->setPalette(palette);
    pages_->setCurrentWidget(LinkTagSheet);
    EditLinkUrl->setFocus(Qt::OtherFocusReason);
}
