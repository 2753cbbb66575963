#include "document/TagsDecorationPage.h"

#include "document/TagsControls.h"
#include "platform/FileDialogs.h"
#include "widgets/NumberField.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QColor GreyText(0x80, 0x80, 0x80);
// The preview shows the start of a long selection; OK uses all of it.
constexpr qsizetype PreviewCharacters = 2000;

QColor rgbColor(quint32 rgb) {
    return QColor(QRgb(rgb));
}

void setBackground(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
}

// The text colour of an enabled control; a disabled one keeps the palette's
// disabled colour, so that it reads as disabled whatever colour it has when on.
void setTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    const QPalette& standard = QApplication::palette(widget);
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText}) {
        palette.setColor(QPalette::Active, role, color);
        palette.setColor(QPalette::Inactive, role, color);
        palette.setColor(QPalette::Disabled, role, standard.color(QPalette::Disabled, role));
    }
    widget->setPalette(palette);
}

void setBaseGrey(QWidget* widget, bool grey) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, grey ? palette.color(QPalette::Window) : QColor(Qt::white));
    widget->setPalette(palette);
}

void setTextQuietly(QLineEdit* field, const QString& text) {
    if (field->text() == text)
        return;
    const QSignalBlocker blocker(field);
    field->setText(text);
}

void setCheckedQuietly(QAbstractButton* button, bool checked) {
    const QSignalBlocker blocker(button);
    button->setChecked(checked);
}

void setIndexQuietly(QComboBox* box, int index) {
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(index);
}

QLineEdit* colorField(const char* name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1StringView(name));
    field->setMaxLength(7);
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(u"#DDDDDDD"_s) + 16);
    return field;
}

QLabel* swatch(const char* name, const QString& hint, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1StringView(name));
    label->setToolTip(hint);
    label->setFrameShape(QFrame::Box);
    label->setAutoFillBackground(true);
    label->setFixedSize(60, 18);
    return label;
}

} // namespace

TagsDecorationPage::TagsDecorationPage(QTabWidget* pages, ColorDialogService* colors)
    : QObject(pages), pages_(pages), colors_(colors) {
    DecTagSheet = new QWidget(pages_);
    DecTagSheet->setObjectName(u"DecTagSheet"_s);
    auto* page = new QVBoxLayout(DecTagSheet);
    page->addWidget(BuildPreview());
    page->addWidget(BuildCodeKind());
    auto* lower = new QHBoxLayout();
    lower->addWidget(BuildEffects());
    lower->addWidget(BuildColors());
    page->addLayout(lower);
    page->addStretch(1);
    ConnectControls();
    pages_->addTab(DecTagSheet, u"文字装飾・色指定"_s);
}

QWidget* TagsDecorationPage::BuildPreview() {
    auto* group =
        new QGroupBox(u"[上段] 文字装飾・色指定プレビュー／[下段] 挿入コードプレビュー"_s, DecTagSheet);
    auto* layout = new QVBoxLayout(group);
    PanelPreviewBase = new QFrame(group);
    PanelPreviewBase->setObjectName(u"PanelPreviewBase"_s);
    PanelPreviewBase->setFrameShape(QFrame::StyledPanel);
    PanelPreviewBase->setFrameShadow(QFrame::Sunken);
    PanelPreviewBase->setAutoFillBackground(true);
    PanelPreviewBase->setFixedHeight(64);
    setBackground(PanelPreviewBase, Qt::white);
    auto* baseLayout = new QVBoxLayout(PanelPreviewBase);
    PanelPreview = new QLabel(u"PREVIEW AREA"_s, PanelPreviewBase);
    PanelPreview->setObjectName(u"PanelPreview"_s);
    PanelPreview->setToolTip(
        u"代表的なブラウザで表示した場合のプレビューです。ブラウザによっては違う表現になる場合もあります。"_s);
    PanelPreview->setAlignment(Qt::AlignCenter);
    PanelPreview->setTextFormat(Qt::PlainText);
    // A long selection is cut off at the panel's edges rather than widening the dialog.
    PanelPreview->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    baseLayout->addWidget(PanelPreview);
    layout->addWidget(PanelPreviewBase);

    PanelTagPreview = new QLabel(group);
    PanelTagPreview->setObjectName(u"PanelTagPreview"_s);
    PanelTagPreview->setTextFormat(Qt::PlainText);
    PanelTagPreview->setFrameShape(QFrame::StyledPanel);
    PanelTagPreview->setFrameShadow(QFrame::Sunken);
    PanelTagPreview->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    layout->addWidget(PanelTagPreview);
    return group;
}

QWidget* TagsDecorationPage::BuildCodeKind() {
    auto* strip = new QFrame(DecTagSheet);
    strip->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(new QLabel(u" 挿入コード種類選択 :"_s, strip));
    RadioColorFont = new QRadioButton(u"各HTMLタグを使用(&H)"_s, strip);
    RadioColorFont->setObjectName(u"RadioColorFont"_s);
    RadioColorFont->setToolTip(u"FONTタグなどのHTMLタグを用いて表現します。背景色は指定できません。"_s);
    RadioColorStyle = new QRadioButton(u"スタイルシートを使用(&S)"_s, strip);
    RadioColorStyle->setObjectName(u"RadioColorStyle"_s);
    RadioColorStyle->setToolTip(u"スタイルシートを使って表現します。"_s);
    layout->addWidget(RadioColorFont);
    layout->addWidget(RadioColorStyle);
    layout->addStretch(1);
    return strip;
}

QWidget* TagsDecorationPage::BuildEffects() {
    auto* group = new QGroupBox(u"文字装飾とフォントサイズ指定"_s, DecTagSheet);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(new QLabel(u"◆付加したい効果を押し下げて下さい。"_s, group));

    struct ButtonRow {
        QToolButton* TagsDecorationPage::*member;
        const char* name;
        QString caption, hint;
    };
    const ButtonRow rows[DecoButtonCount] = {
        {&TagsDecorationPage::SB_Bold, "SB_Bold", u"太字"_s, u"<B> / font-weight:bold;"_s},
        {&TagsDecorationPage::SB_Italic, "SB_Italic", u"斜体"_s, u"<I> / font-style:italic;"_s},
        {&TagsDecorationPage::SB_Line, "SB_Line", u"下線"_s, u"<U> / text-decoration:underline;"_s},
        {&TagsDecorationPage::SB_Strike, "SB_Strike", u"取消"_s,
         u"<STRIKE> / text-decoration:line-through;"_s},
        {&TagsDecorationPage::SB_Big, "SB_Big", u"大きく"_s, u"<BIG> / font-size:larger;"_s},
        {&TagsDecorationPage::SB_Small, "SB_Small", u"小さく"_s, u"<SMALL> / font-size:smaller;"_s},
        {&TagsDecorationPage::SB_STRONG, "SB_STRONG", u"強調"_s, u"<STRONG> / font-weight:bold;"_s},
    };
    auto* buttonRow = new QHBoxLayout();
    buttonRow->setSpacing(2);
    for (int i = 0; i < DecoButtonCount; ++i) {
        auto* b = new QToolButton(group);
        b->setObjectName(QLatin1StringView(rows[i].name));
        b->setText(rows[i].caption);
        b->setToolTip(rows[i].hint);
        b->setCheckable(true);
        b->setMinimumWidth(44);
        // Each caption is drawn in the effect it stands for.
        QFont font = b->font();
        switch (DecoButton(i)) {
        case DecoButton::Bold:
        case DecoButton::Strong:
            font.setBold(true);
            break;
        case DecoButton::Italic:
            font.setItalic(true);
            break;
        case DecoButton::Underline:
            font.setUnderline(true);
            break;
        case DecoButton::Strike:
            font.setStrikeOut(true);
            break;
        case DecoButton::Big:
            font.setPointSizeF(font.pointSizeF() * 1.25);
            break;
        case DecoButton::Small:
            font.setPointSizeF(font.pointSizeF() * 0.8);
            break;
        }
        b->setFont(font);
        this->*rows[i].member = b;
        buttons_[size_t(i)] = b;
        buttonRow->addWidget(b);
    }
    buttonRow->addStretch(1);
    layout->addLayout(buttonRow);

    const QString sizeHint = u"プレビューには反映されません。"_s;
    layout->addWidget(new QLabel(u"◆フォントサイズ（規定値）"_s, group));
    FontSizeHtmlBox = new QComboBox(group);
    FontSizeHtmlBox->setObjectName(u"FontSizeHtmlBox"_s);
    FontSizeHtmlBox->addItems(HtmlFontSizeItems());
    FontSizeHtmlBox->setToolTip(sizeHint);
    FontSizeStyleBox = new QComboBox(group);
    FontSizeStyleBox->setObjectName(u"FontSizeStyleBox"_s);
    FontSizeStyleBox->addItems(StyleFontSizeItems());
    FontSizeStyleBox->setToolTip(sizeHint);
    auto* sizeRow = new QHBoxLayout();
    sizeRow->addWidget(FontSizeHtmlBox);
    sizeRow->addWidget(FontSizeStyleBox);
    sizeRow->addStretch(1);
    layout->addLayout(sizeRow);

    layout->addWidget(new QLabel(u"◆フォント絶対サイズ"_s, group));
    EditFontSize = new QLineEdit(group);
    EditFontSize->setObjectName(u"EditFontSize"_s);
    EditFontSize->setToolTip(sizeHint);
    makeNumberField(EditFontSize);
    EditFontSize->setFixedWidth(EditFontSize->fontMetrics().horizontalAdvance(u"00000"_s) + 16);
    auto* pointRow = new QHBoxLayout();
    pointRow->addWidget(EditFontSize);
    pointRow->addWidget(new QLabel(u"pt"_s, group));
    pointRow->addStretch(1);
    layout->addLayout(pointRow);
    layout->addStretch(1);
    return group;
}

QWidget* TagsDecorationPage::BuildColors() {
    auto* group = new QGroupBox(u"色指定"_s, DecTagSheet);
    auto* grid = new QGridLayout(group);

    CheckFrontColor = new QCheckBox(group);
    CheckFrontColor->setObjectName(u"CheckFrontColor"_s);
    CheckFrontColor->setToolTip(u"文字色を有効にする"_s);
    BtnFrontColor = new QPushButton(u"文字色(&F)"_s, group);
    BtnFrontColor->setObjectName(u"BtnFrontColor"_s);
    BtnFrontColor->setToolTip(u"文字の色を指定します。"_s);
    EditFrontColor = colorField("EditFrontColor", group);
    LabelFrontColor = swatch("LabelFrontColor", u"文字色指定色"_s, group);

    CheckBackColor = new QCheckBox(group);
    CheckBackColor->setObjectName(u"CheckBackColor"_s);
    CheckBackColor->setToolTip(u"背景色を有効にする"_s);
    BtnBackColor = new QPushButton(u"背景色(&B)"_s, group);
    BtnBackColor->setObjectName(u"BtnBackColor"_s);
    BtnBackColor->setToolTip(u"背景色を指定します。（スタイルシートでのみ実現できます。）"_s);
    EditBackColor = colorField("EditBackColor", group);
    LabelBackColor = swatch("LabelBackColor", u"背景色指定色"_s, group);

    BtnPreviewColor = new QPushButton(u"プレビュー背景(&C)"_s, group);
    BtnPreviewColor->setObjectName(u"BtnPreviewColor"_s);
    BtnPreviewColor->setToolTip(u"表示確認用の背景色を指定します。"_s);
    EditPrevColor = colorField("EditPrevColor", group);
    LabelPrevColor = swatch("LabelPrevColor", u"プレビュー用背景色"_s, group);

    const QList<QList<QWidget*>> rows = {
        {CheckFrontColor, BtnFrontColor, EditFrontColor, LabelFrontColor},
        {CheckBackColor, BtnBackColor, EditBackColor, LabelBackColor},
        {nullptr, BtnPreviewColor, EditPrevColor, LabelPrevColor},
    };
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < 4; ++column) {
            if (QWidget* widget = rows[row][column])
                grid->addWidget(widget, row, column);
        }
    }
    grid->setRowStretch(3, 1);

    // The layout's values; the opening brings the remembered ones.
    EditFrontColor->setText(page_.frontText);
    EditBackColor->setText(page_.backText);
    EditPrevColor->setText(page_.previewText);
    setBackground(LabelFrontColor, rgbColor(page_.front));
    setBackground(LabelBackColor, rgbColor(page_.back));
    setBackground(LabelPrevColor, rgbColor(page_.previewBase));
    // Off until a code kind is chosen.
    for (QWidget* widget : {static_cast<QWidget*>(CheckFrontColor), static_cast<QWidget*>(CheckBackColor),
                            static_cast<QWidget*>(BtnFrontColor), static_cast<QWidget*>(BtnBackColor)})
        widget->setEnabled(false);
    return group;
}

void TagsDecorationPage::ConnectControls() {
    for (int i = 0; i < DecoButtonCount; ++i) {
        connect(buttons_[size_t(i)], &QToolButton::toggled, this, [this, i](bool down) {
            page_.setButtonDown(DecoButton(i), down);
            Sync();
        });
    }
    connect(RadioColorFont, &QRadioButton::toggled, this, [this](bool on) {
        if (!on)
            return;
        page_.selectCode(DecoCode::HtmlTags);
        Sync();
    });
    connect(RadioColorStyle, &QRadioButton::toggled, this, [this](bool on) {
        if (!on)
            return;
        page_.selectCode(DecoCode::StyleSheet);
        Sync();
    });
    connect(FontSizeHtmlBox, &QComboBox::currentIndexChanged, this, [this](int item) {
        page_.htmlSize = item;
        Sync();
    });
    connect(FontSizeStyleBox, &QComboBox::currentIndexChanged, this, [this](int item) {
        page_.chooseStyleSize(item);
        if (item == StylePointSizeItem)
            EditFontSize->setFocus(Qt::OtherFocusReason);
        Sync();
    });
    connect(EditFontSize, &QLineEdit::textChanged, this, [this](const QString& text) {
        page_.setPointSize(text);
        Sync();
    });
    connect(EditFrontColor, &QLineEdit::textChanged, this, [this](const QString& text) {
        page_.setFrontText(text);
        Sync();
    });
    connect(EditBackColor, &QLineEdit::textChanged, this, [this](const QString& text) {
        page_.setBackText(text);
        Sync();
    });
    connect(EditPrevColor, &QLineEdit::textChanged, this, [this](const QString& text) {
        page_.setPreviewText(text);
        Sync();
    });
    connect(CheckFrontColor, &QCheckBox::toggled, this, [this](bool on) {
        page_.frontOn = on;
        Sync();
    });
    connect(CheckBackColor, &QCheckBox::toggled, this, [this](bool on) {
        page_.backOn = on && page_.code == DecoCode::StyleSheet;
        Sync();
    });
    connect(BtnFrontColor, &QPushButton::clicked, this, [this] {
        page_.frontOn = true;
        Sync();
        ChooseColor(page_.front, &DecorationPage::frontColorChosen);
    });
    connect(BtnBackColor, &QPushButton::clicked, this, [this] {
        page_.backOn = page_.code == DecoCode::StyleSheet;
        Sync();
        ChooseColor(page_.back, &DecorationPage::backColorChosen);
    });
    connect(BtnPreviewColor, &QPushButton::clicked, this,
            [this] { ChooseColor(page_.previewBase, &DecorationPage::previewColorChosen); });
    for (QLineEdit* field : {EditFrontColor, EditBackColor, EditPrevColor})
        field->installEventFilter(this);
}

bool TagsDecorationPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* field = qobject_cast<QLineEdit*>(watched);
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (field && typed.size() == 1) {
            // The typed character replaces the selection: what stays decides.
            QString staying = field->text();
            if (field->hasSelectedText())
                staying.remove(field->selectionStart(), field->selectedText().size());
            if (!ColorFieldAcceptsChar(staying, typed.front()))
                return true; // dropped
        }
    }
    return QObject::eventFilter(watched, event);
}

void TagsDecorationPage::ChooseColor(quint32 initial,
                                     void (DecorationPage::*chosen)(std::optional<quint32>)) {
    const std::optional<quint32> color =
        colors_ ? colors_->pick(initial, TagColorChooserPresets()) : std::optional<quint32>();
    (page_.*chosen)(color);
    Sync();
}

void TagsDecorationPage::Open(const AppSet& appSet, const QString& selectedText) {
    page_ = OpenDecorationPage(appSet, selectedText);
    PanelPreview->setText(selectedText.left(PreviewCharacters));
    Sync();
}

TagOutcome TagsDecorationPage::Ok(bool lowerCase, AppSet& appSet) {
    return DecorationPageOk(page_, lowerCase, appSet);
}

void TagsDecorationPage::Sync() {
    for (int i = 0; i < DecoButtonCount; ++i)
        setCheckedQuietly(buttons_[size_t(i)], page_.isDown(DecoButton(i)));
    setCheckedQuietly(RadioColorFont, page_.code == DecoCode::HtmlTags);
    setCheckedQuietly(RadioColorStyle, page_.code == DecoCode::StyleSheet);
    setIndexQuietly(FontSizeHtmlBox, page_.htmlSize);
    setIndexQuietly(FontSizeStyleBox, page_.styleSize);
    setTextQuietly(EditFontSize, page_.pointSize);
    setTextQuietly(EditFrontColor, page_.frontText);
    setTextQuietly(EditBackColor, page_.backText);
    setTextQuietly(EditPrevColor, page_.previewText);
    setCheckedQuietly(CheckFrontColor, page_.frontOn);
    setCheckedQuietly(CheckBackColor, page_.backOn);
    setBackground(LabelFrontColor, rgbColor(page_.front));
    setBackground(LabelBackColor, rgbColor(page_.back));
    setBackground(LabelPrevColor, rgbColor(page_.previewBase));
    const QColor normalText = QApplication::palette().color(QPalette::Text);
    setTextColor(EditFontSize, page_.pointSizeFieldInUse ? normalText : GreyText);
    setTextColor(FontSizeStyleBox, page_.pointSizeFieldInUse ? GreyText : normalText);
    ApplyCodeKind();
    ShowLook();
}

void TagsDecorationPage::ApplyCodeKind() {
    const bool style = page_.code == DecoCode::StyleSheet;
    BtnFrontColor->setEnabled(true);
    CheckFrontColor->setEnabled(true);
    BtnBackColor->setEnabled(style);
    CheckBackColor->setEnabled(style);
    EditBackColor->setEnabled(style);
    setBaseGrey(EditBackColor, !style);
    FontSizeHtmlBox->setEnabled(!style);
    setBaseGrey(FontSizeHtmlBox, style);
    FontSizeStyleBox->setEnabled(style);
    setBaseGrey(FontSizeStyleBox, !style);
    EditFontSize->setEnabled(style);
    setBaseGrey(EditFontSize, !style);
}

void TagsDecorationPage::ShowLook() {
    const DecorationLook look = page_.look();
    QFont font = PanelPreview->font();
    font.setPointSize(look.pointSize);
    font.setBold(look.bold);
    font.setItalic(look.italic);
    font.setUnderline(look.underline);
    font.setStrikeOut(look.strikeOut);
    PanelPreview->setFont(font);
    QPalette palette = PanelPreview->palette();
    palette.setColor(QPalette::WindowText, look.textColor
                                               ? rgbColor(*look.textColor)
                                               : QApplication::palette().color(QPalette::WindowText));
    PanelPreview->setPalette(palette);
    setBackground(PanelPreviewBase, rgbColor(look.panelColor));
    PanelTagPreview->setText(look.tagPreview());
    PanelTagPreview->setToolTip(look.tagPreview());
}
