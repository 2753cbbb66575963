#include "document/TagsGraphicPage.h"

#include "document/TagsControls.h"
#include "widgets/NumberField.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TagsGraphicPage::TagsGraphicPage(QTabWidget* pages, FileDialog* openDialog)
    : QObject(pages), pages_(pages), openDialog_(openDialog) {
    GraphicTagSheet = new QWidget(pages_);
    GraphicTagSheet->setObjectName(u"GraphicTagSheet"_s);
    auto* page = new QVBoxLayout(GraphicTagSheet);

    auto* file = new QGroupBox(u"画像ファイル指定"_s, GraphicTagSheet);
    auto* fileGrid = new QGridLayout(file);
    EditGraphicName = new QLineEdit(file);
    EditGraphicName->setObjectName(u"EditGraphicName"_s);
    EditGraphicName->setToolTip(
        u"HTMLとディレクトリが違う画像の場合は、ディレクトリ指定を手動で加えて下さい。"_s);
    EditGraphicName->setMinimumWidth(260);
    LabelGraphicName = BuddyLabel(u"画像ファイル名(&N)："_s, EditGraphicName, file);
    LabelGraphicName->setObjectName(u"LabelGraphicName"_s);
    BtnGraphicSearch = new QPushButton(u"参照(&F)"_s, file);
    BtnGraphicSearch->setObjectName(u"BtnGraphicSearch"_s);
    BtnGraphicSearch->setAutoDefault(false);
    fileGrid->addWidget(LabelGraphicName, 0, 0);
    fileGrid->addWidget(EditGraphicName, 0, 1);
    fileGrid->addWidget(BtnGraphicSearch, 0, 2);

    EditGraphicSizeW = new QLineEdit(file);
    EditGraphicSizeW->setObjectName(u"EditGraphicSizeW"_s);
    EditGraphicSizeH = new QLineEdit(file);
    EditGraphicSizeH->setObjectName(u"EditGraphicSizeH"_s);
    makeNumberField(EditGraphicSizeW);
    makeNumberField(EditGraphicSizeH);
    const int sizeWidth = EditGraphicSizeW->fontMetrics().horizontalAdvance(u"00000"_s) + 16;
    EditGraphicSizeW->setFixedWidth(sizeWidth);
    EditGraphicSizeH->setFixedWidth(sizeWidth);
    auto* sizeRow = new QHBoxLayout();
    sizeRow->addWidget(EditGraphicSizeW);
    sizeRow->addWidget(new QLabel(u"（横）　×"_s, file));
    sizeRow->addWidget(EditGraphicSizeH);
    sizeRow->addWidget(new QLabel(u"（縦）"_s, file));
    sizeRow->addStretch(1);
    fileGrid->addWidget(BuddyLabel(u"画像サイズ(&S)："_s, EditGraphicSizeW, file), 1, 0);
    fileGrid->addLayout(sizeRow, 1, 1, 1, 2);
    page->addWidget(file);

    auto* other = new QGroupBox(u"その他"_s, GraphicTagSheet);
    auto* otherGrid = new QGridLayout(other);
    EditGraphicALT = new QLineEdit(other);
    EditGraphicALT->setObjectName(u"EditGraphicALT"_s);
    otherGrid->addWidget(BuddyLabel(u"代替テキスト(&T)："_s, EditGraphicALT, other), 0, 0);
    otherGrid->addWidget(EditGraphicALT, 0, 1);
    otherGrid->addWidget(new QLabel(u"「代替テキスト」は、画像が表示されなかった場合や、画像を表示しない\n"
                                    u"設定になっている場合に、画像の代わりに表示される文字です。"_s,
                                    other),
                         1, 0, 1, 2);

    RadioGroupGraphic =
        new TRadioGroup(u"画像の表示位置指定(&P)"_s,
                        {u"通常の表示"_s, u"ウインドウの右端に表示"_s, u"ウインドウの左端に表示"_s}, other);
    RadioGroupGraphic->setObjectName(u"RadioGroupGraphic"_s);
    RadioGroupGraphic->setItemIndex(0);
    CheckAbsmiddle = new QCheckBox(u"Align属性に「&absmiddle」を指定"_s, other);
    CheckAbsmiddle->setObjectName(u"CheckAbsmiddle"_s);
    CheckGrphBorder = new QCheckBox(u"「BORDER=\"0\"」を加える (&B)"_s, other);
    CheckGrphBorder->setObjectName(u"CheckGrphBorder"_s);
    CheckGrphBorder->setToolTip(u"画像をリンクにする場合に、外枠線を非表示にします。"_s);
    auto* checks = new QVBoxLayout();
    checks->addWidget(CheckAbsmiddle);
    checks->addWidget(CheckGrphBorder);
    checks->addStretch(1);
    auto* placement = new QHBoxLayout();
    placement->addWidget(RadioGroupGraphic);
    placement->addLayout(checks, 1);
    otherGrid->addLayout(placement, 2, 0, 1, 2);
    page->addWidget(other);
    page->addStretch(1);

    connect(CheckAbsmiddle, &QCheckBox::toggled, this,
            [this](bool on) { RadioGroupGraphic->setEnabled(!on); });
    connect(BtnGraphicSearch, &QPushButton::clicked, this, &TagsGraphicPage::BtnGraphicSearchClick);

    pages_->addTab(GraphicTagSheet, u"画像"_s);
}

void TagsGraphicPage::Open(const AppSet& appSet) {
    folder_ = OpenGraphicPage(appSet).folder;
    EditGraphicName->setFocus(Qt::OtherFocusReason);
}

void TagsGraphicPage::BtnGraphicSearchClick() {
    if (openDialog_) {
        GraphicPage page;
        page.fileName = EditGraphicName->text();
        page.folder = folder_;
        ChooseGraphicFile(page, *openDialog_);
        EditGraphicName->setText(page.fileName);
        folder_ = page.folder;
    }
    EditGraphicName->setFocus(Qt::OtherFocusReason);
}

TagOutcome TagsGraphicPage::Ok(bool lowerCase, AppSet& appSet) {
    GraphicPage page;
    page.fileName = EditGraphicName->text();
    page.width = EditGraphicSizeW->text();
    page.height = EditGraphicSizeH->text();
    page.alt = EditGraphicALT->text();
    switch (RadioGroupGraphic->itemIndex()) {
    case 1:
        page.align = GraphicAlign::Right;
        break;
    case 2:
        page.align = GraphicAlign::Left;
        break;
    default:
        page.align = GraphicAlign::Normal;
        break;
    }
    page.absmiddle = CheckAbsmiddle->isChecked();
    page.border = CheckGrphBorder->isChecked();
    page.folder = folder_;
    return GraphicPageOk(page, lowerCase, appSet);
}

void TagsGraphicPage::ShowRefusal() {
    QPalette palette = LabelGraphicName->palette();
    palette.setColor(QPalette::Window, Qt::red);
    LabelGraphicName->setPalette(palette);
    LabelGraphicName->setAutoFillBackground(true);
    EditGraphicName->setFocus(Qt::OtherFocusReason);
}
