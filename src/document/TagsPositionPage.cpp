#include "document/TagsPositionPage.h"

#include "document/TagsControls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// RadioPos's item "（指定なし）".
constexpr int UnspecifiedItem = 3;

} // namespace

TagsPositionPage::TagsPositionPage(QTabWidget* pages) : QObject(pages), pages_(pages) {
    PosTagSheet = new QWidget(pages_);
    PosTagSheet->setObjectName(u"PosTagSheet"_s);
    auto* page = new QVBoxLayout(PosTagSheet);

    RadioPos = new TRadioGroup(u"位置(&P)"_s, {u"左寄せ"_s, u"中央寄せ"_s, u"右寄せ"_s, u"（指定なし）"_s},
                               PosTagSheet);
    RadioPos->setObjectName(u"RadioPos"_s);
    RadioPos->setItemIndex(0);
    RadioTag = new TRadioGroup(u"使用タグ(&T)"_s,
                               {u"<DIV>タグ（ブロックレベル要素化）"_s, u"<P>タグ（段落）"_s}, PosTagSheet);
    RadioTag->setObjectName(u"RadioTag"_s);
    RadioTag->setItemIndex(0);
    RadioWay = new TRadioGroup(u"実現方法(&W)"_s, {u"ALIGN属性"_s, u"スタイルシート"_s}, PosTagSheet);
    RadioWay->setObjectName(u"RadioWay"_s);
    RadioWay->setItemIndex(1);
    auto* choices = new QHBoxLayout();
    choices->addWidget(RadioPos);
    auto* right = new QVBoxLayout();
    right->addWidget(RadioTag);
    right->addWidget(RadioWay);
    choices->addLayout(right, 1);
    page->addLayout(choices);

    auto* options = new QGroupBox(u"オプション"_s, PosTagSheet);
    auto* grid = new QGridLayout(options);
    CheckStyle = new QCheckBox(u"<HEAD>部で定義しているスタイルシートの適応(&S)"_s, options);
    CheckStyle->setObjectName(u"CheckStyle"_s);
    EditPosClass = new QLineEdit(options);
    EditPosClass->setObjectName(u"EditPosClass"_s);
    LabelClass = BuddyLabel(u"&CLASS ："_s, EditPosClass, options);
    LabelClass->setObjectName(u"LabelClass"_s);
    grid->addWidget(CheckStyle, 0, 0, 1, 2);
    grid->addWidget(LabelClass, 1, 0);
    grid->addWidget(EditPosClass, 1, 1);
    page->addWidget(options);
    page->addStretch(1);

    connect(RadioPos, &TRadioGroup::itemIndexChanged, this,
            [this](int item) { RadioWay->setEnabled(item != UnspecifiedItem); });
    connect(CheckStyle, &QCheckBox::toggled, this, &TagsPositionPage::CheckStyleClick);

    pages_->addTab(PosTagSheet, u"位置"_s);
}

void TagsPositionPage::CheckStyleClick() {
    const bool on = CheckStyle->isChecked();
    LabelClass->setEnabled(on);
    EditPosClass->setReadOnly(!on);
    SetFieldGrey(EditPosClass, !on);
}

void TagsPositionPage::Open(const AppSet& appSet) {
    CheckStyleClick();
    EditPosClass->setText(OpenPositionPage(appSet).className);
    RadioPos->focusChosenItem();
}

TagOutcome TagsPositionPage::Ok(const QString& selectedText, bool lowerCase, AppSet& appSet) {
    PositionPage page;
    page.align = PosAlign(qBound(0, RadioPos->itemIndex(), UnspecifiedItem));
    page.tag = RadioTag->itemIndex() == 1 ? PosTag::Paragraph : PosTag::Div;
    page.way = RadioWay->itemIndex() == 0 ? PosWay::AlignAttribute : PosWay::StyleSheet;
    page.classOn = CheckStyle->isChecked();
    page.className = EditPosClass->text();
    return PositionPageOk(page, selectedText, lowerCase, appSet);
}
