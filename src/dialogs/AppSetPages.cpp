// The controls of the behaviour settings dialog's first four pages, with
// their captions, hints and limits, and their connections to the handlers.

#include "dialogs/AppSetUnit.h"
#include "settings/AppSetChecks.h"
#include "widgets/UpDown.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
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

namespace {

template <class Layout> Layout* tightLayout(QWidget* parent, int margin = 4) {
    auto* layout = new Layout(parent);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(2);
    return layout;
}

QWidget* addPage(QTabWidget* pages, const char* name, const QString& caption) {
    auto* page = new QWidget(pages);
    page->setObjectName(QLatin1StringView(name));
    pages->addTab(page, caption);
    return page;
}

QGroupBox* group(QWidget* parent, const QString& title) {
    return new QGroupBox(title, parent);
}

QLineEdit* lineEdit(QWidget* parent, const char* name, int maxLength = 0, const QString& hint = {}) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1StringView(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    edit->setToolTip(hint);
    return edit;
}

QLabel* label(QWidget* parent, const QString& text, QWidget* buddy = nullptr, const char* name = nullptr) {
    auto* l = new QLabel(text, parent);
    if (buddy)
        l->setBuddy(buddy);
    if (name)
        l->setObjectName(QLatin1StringView(name));
    return l;
}

template <class Button>
Button* button(QWidget* parent, const char* name, const QString& caption, const QString& hint = {}) {
    auto* b = new Button(caption, parent);
    b->setObjectName(QLatin1StringView(name));
    b->setToolTip(hint);
    return b;
}

// A size edit: three characters, arrows from 5 to 78 points.
QLineEdit* sizeEdit(QWidget* parent, const char* name, const QString& hint, TUpDown** upDown) {
    QLineEdit* edit = lineEdit(parent, name, 3, hint);
    edit->setFixedWidth(32);
    *upDown = new TUpDown(edit, appsetcheck::SmallestFontPoints, appsetcheck::LargestFontPoints, parent);
    return edit;
}

// The four faces of the design, then every installed face that can show
// Japanese, so that a choice changes the editor's face on this system. Free
// text is limited to 20 characters, but never below the longest name offered.
QComboBox* fontBox(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1StringView(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setToolTip(u"存在しないフォント名を入力した場合の動作は保証できません。"_s);
    QStringList faces = {u"ＭＳ ゴシック"_s, u"ＭＳ 明朝"_s, u"ＭＳ Ｐゴシック"_s, u"ＭＳ Ｐ明朝"_s};
    for (const QString& family : QFontDatabase::families(QFontDatabase::Japanese)) {
        if (!QFontDatabase::isPrivateFamily(family) && !family.startsWith(u'@') && !faces.contains(family))
            faces << family;
    }
    box->addItems(faces);
    qsizetype longest = 20;
    for (const QString& face : std::as_const(faces))
        longest = qMax(longest, face.size());
    box->lineEdit()->setMaxLength(int(longest));
    box->setMinimumContentsLength(10);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return box;
}

} // namespace

void TAppSetForm::BuildWindowPage() {
    FirstRunSheet = addPage(PageControl1, "FirstRunSheet", u"ウインドウ"_s);
    auto* page = tightLayout<QVBoxLayout>(FirstRunSheet);

    QGroupBox* placement = group(FirstRunSheet, u"起動直後のウインドウ設定"_s);
    auto* column = tightLayout<QVBoxLayout>(placement);
    RadioWinOs =
        button<QRadioButton>(placement, "RadioWinOs",
                             u"実行環境に応じて OS側が最適であると判断した位置・サイズを採用する。(&O)"_s);
    RadioWinUser = button<QRadioButton>(placement, "RadioWinUser", u"位置・サイズは、自分で指定する。(&U)"_s);
    EditWinWidth = lineEdit(placement, "EditWinWidth", 4, u"最低サイズ：620"_s);
    EditWinHeight = lineEdit(placement, "EditWinHeight", 4, u"最小サイズ：420"_s);
    EditWinX = lineEdit(placement, "EditWinX", 4, u"画面の左端から何ピクセルかを指定"_s);
    EditWinY = lineEdit(placement, "EditWinY", 4, u"画面の上端から何ピクセルかを指定"_s);
    BtnSetNowInfo =
        button<QPushButton>(placement, "BtnSetNowInfo", u"現在のウインドウの位置・サイズを指定(&N)"_s);
    auto* numbers = new QGridLayout;
    numbers->setContentsMargins(18, 0, 0, 0);
    numbers->setHorizontalSpacing(3);
    numbers->setVerticalSpacing(2);
    numbers->addWidget(label(placement, u"ウインドウの大きさ："_s), 0, 0);
    numbers->addWidget(label(placement, u"&Width:"_s, EditWinWidth), 0, 1, Qt::AlignRight);
    numbers->addWidget(EditWinWidth, 0, 2);
    numbers->addWidget(label(placement, u"× &Height:"_s, EditWinHeight), 0, 3, Qt::AlignRight);
    numbers->addWidget(EditWinHeight, 0, 4);
    numbers->addWidget(label(placement, u"ウインドウの位置（座標）："_s), 1, 0);
    numbers->addWidget(label(placement, u"&X 座標:"_s, EditWinX), 1, 1, Qt::AlignRight);
    numbers->addWidget(EditWinX, 1, 2);
    numbers->addWidget(label(placement, u", &Y 座標:"_s, EditWinY), 1, 3, Qt::AlignRight);
    numbers->addWidget(EditWinY, 1, 4);
    numbers->setColumnStretch(5, 1);
    for (QLineEdit* edit : {EditWinWidth, EditWinHeight, EditWinX, EditWinY})
        edit->setFixedWidth(44);
    column->addWidget(RadioWinOs);
    column->addWidget(RadioWinUser);
    column->addLayout(numbers);
    column->addWidget(BtnSetNowInfo, 0, Qt::AlignRight);
    page->addWidget(placement);

    QGroupBox* fonts = group(FirstRunSheet, u"フォント・文字サイズ"_s);
    auto* grid = new QGridLayout(fonts);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(2);
    EditTodaySize = sizeEdit(fonts, "EditTodaySize", u"標準 12pt."_s, &UpDownTodaySize);
    EditAllSize = sizeEdit(fonts, "EditAllSize", u"標準 10pt."_s, &UpDownAllSize);
    ComboTodayFont = fontBox(fonts, "ComboTodayFont");
    ComboAllFont = fontBox(fonts, "ComboAllFont");
    auto addRow = [&](int row, const QString& side, const QString& sizeCaption, QLineEdit* size,
                      TUpDown* arrows, const QString& faceCaption, QComboBox* face) {
        auto* sizeBox = new QHBoxLayout;
        sizeBox->setSpacing(0);
        sizeBox->addWidget(size);
        sizeBox->addWidget(arrows);
        grid->addWidget(label(fonts, side), row, 0);
        grid->addWidget(label(fonts, sizeCaption, size), row, 1);
        grid->addLayout(sizeBox, row, 2);
        grid->addWidget(label(fonts, faceCaption, face), row, 3);
        grid->addWidget(face, row, 4);
    };
    addRow(0, u"「今日の日記」側："_s, u"&1 文字サイズ :"_s, EditTodaySize, UpDownTodaySize,
           u"&2 フォント :"_s, ComboTodayFont);
    addRow(1, u"「全体編集」側："_s, u"&3 文字サイズ :"_s, EditAllSize, UpDownAllSize, u"&4 フォント :"_s,
           ComboAllFont);
    grid->setColumnStretch(4, 1);
    page->addWidget(fonts);
    page->addStretch(1);

    connect(RadioWinOs, &QRadioButton::clicked, this, &TAppSetForm::RadioWinClick);
    connect(RadioWinUser, &QRadioButton::clicked, this, &TAppSetForm::RadioWinClick);
    connect(BtnSetNowInfo, &QPushButton::clicked, this, &TAppSetForm::BtnSetNowInfoClick);
    EditTodaySize->installEventFilter(this);
    EditAllSize->installEventFilter(this);
}

void TAppSetForm::BuildStartupPage() {
    EditHistSheet = addPage(PageControl1, "EditHistSheet", u"起動直後"_s);
    auto* page = tightLayout<QVBoxLayout>(EditHistSheet);
    page->addWidget(label(EditHistSheet, u"※上記の設定は、「Oribel」の次回起動時から有効になります。"_s));

    QGroupBox* autoOpen = group(EditHistSheet, u"日記HTMLファイルの自動読み込み"_s);
    auto* column = tightLayout<QVBoxLayout>(autoOpen);
    RadioAutoNo = button<QRadioButton>(autoOpen, "RadioAutoNo", u"自動読み込みはしない。(&N)"_s);
    RadioAutoHist =
        button<QRadioButton>(autoOpen, "RadioAutoHist", u"一番最後に保存したファイルを開く。(&H)"_s);
    RadioAutoUser = button<QRadioButton>(autoOpen, "RadioAutoUser", u"指定したファイルを開く。(&U)"_s);
    EditAutoOpen = lineEdit(autoOpen, "EditAutoOpen", 0,
                            u"[注意] ファイル名以外の文字を入力した場合の動作は保証できません。"_s);
    BtnSearchFullPath = button<QPushButton>(autoOpen, "BtnSearchFullPath", u"参照(&E)"_s);
    auto* pathRow = new QHBoxLayout;
    pathRow->setContentsMargins(18, 0, 0, 0);
    pathRow->setSpacing(3);
    pathRow->addWidget(label(autoOpen, u"&Full Path:"_s, EditAutoOpen));
    pathRow->addWidget(EditAutoOpen, 1);
    pathRow->addWidget(BtnSearchFullPath);
    column->addWidget(RadioAutoNo);
    column->addWidget(RadioAutoHist);
    column->addWidget(RadioAutoUser);
    column->addLayout(pathRow);
    page->addWidget(autoOpen);

    QGroupBox* other = group(EditHistSheet, u"その他"_s);
    auto* others = tightLayout<QVBoxLayout>(other);
    CheckImeOn = button<QCheckBox>(other, "CheckImeOn",
                                   u"「今日の日記編集」では、IME（日本語入力機能）を ON にする。(&I)"_s);
    CheckSplash = button<QCheckBox>(other, "CheckSplash",
                                    u"起動処理中に、スプラッシュ・ウインドウを表示しない。(&S)"_s);
    others->addWidget(CheckImeOn);
    others->addWidget(CheckSplash);
    page->addWidget(other);
    page->addStretch(1);

    for (QRadioButton* radio : {RadioAutoNo, RadioAutoHist, RadioAutoUser})
        connect(radio, &QRadioButton::clicked, this, &TAppSetForm::RadioAutoClick);
    connect(BtnSearchFullPath, &QPushButton::clicked, this, &TAppSetForm::BtnSearchFullPathClick);
}

void TAppSetForm::BuildBrowserPage() {
    BrowserSetSheet = addPage(PageControl1, "BrowserSetSheet", u"連携"_s);
    auto* page = tightLayout<QVBoxLayout>(BrowserSetSheet);

    QGroupBox* browsers = group(BrowserSetSheet, u"ブラウザ連携"_s);
    auto* column = tightLayout<QVBoxLayout>(browsers);
    LabelGuide = label(browsers, QString(), nullptr, "LabelGuide");
    CheckPathFromReg =
        button<QCheckBox>(browsers, "CheckPathFromReg",
                          u"ブラウザのインストール位置を、レジストリから自動的に取得しない。(&R)"_s);
    EditIePath = lineEdit(browsers, "EditIePath");
    EditNnPath = lineEdit(browsers, "EditNnPath");
    EditOperaPath = lineEdit(browsers, "EditOperaPath");
    LabelIe = label(browsers, u"&IE："_s, EditIePath, "LabelIe");
    LabelNn = label(browsers, u"&NN："_s, EditNnPath, "LabelNn");
    LabelOpera = label(browsers, u"&Opera："_s, EditOperaPath, "LabelOpera");
    auto* paths = new QGridLayout;
    paths->setContentsMargins(18, 0, 0, 0);
    paths->setHorizontalSpacing(3);
    paths->setVerticalSpacing(2);
    paths->addWidget(LabelIe, 0, 0);
    paths->addWidget(EditIePath, 0, 1);
    paths->addWidget(LabelNn, 1, 0);
    paths->addWidget(EditNnPath, 1, 1);
    paths->addWidget(LabelOpera, 2, 0);
    paths->addWidget(EditOperaPath, 2, 1);
    CheckErrorHtml = button<QCheckBox>(browsers, "CheckErrorHtml", u"エラー用HTML自動生成の抑制(&H)"_s,
                                       u"問題がなければ、OFF にして下さい。"_s);
    BtnViewPath = button<QPushButton>(browsers, "BtnViewPath",
                                      u"ブラウザのインストール位置として認識しているパスを確認(&B)"_s);
    column->addWidget(LabelGuide);
    column->addWidget(CheckPathFromReg);
    column->addLayout(paths);
    column->addWidget(label(browsers, u"※ブラウザの位置取得方法の変更は、次回起動時から有効になります。"_s));
    column->addWidget(CheckErrorHtml);
    column->addWidget(BtnViewPath, 0, Qt::AlignRight);
    page->addWidget(browsers);

    QGroupBox* programs = group(BrowserSetSheet, u"外部アプリケーションの起動"_s);
    auto* grid = new QGridLayout(programs);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(2);
    EditFtp = lineEdit(programs, "EditFtp");
    EditEditor = lineEdit(programs, "EditEditor");
    BtnFtpPath = button<QPushButton>(programs, "BtnFtpPath", u"参照(&1)"_s);
    BtnEditorPath = button<QPushButton>(programs, "BtnEditorPath", u"参照(&2)"_s);
    grid->addWidget(label(programs, u"&FTP ソフト："_s, EditFtp), 0, 0);
    grid->addWidget(EditFtp, 0, 1);
    grid->addWidget(BtnFtpPath, 0, 2);
    grid->addWidget(label(programs, u"&Editor ："_s, EditEditor), 1, 0);
    grid->addWidget(EditEditor, 1, 1);
    grid->addWidget(BtnEditorPath, 1, 2);
    page->addWidget(programs);
    page->addStretch(1);

    connect(CheckPathFromReg, &QCheckBox::clicked, this, &TAppSetForm::CheckPathFromRegClick);
    connect(BtnViewPath, &QPushButton::clicked, this, &TAppSetForm::BtnViewPathClick);
    connect(BtnFtpPath, &QPushButton::clicked, this, [this] { BtnAppPathClick(EditFtp); });
    connect(BtnEditorPath, &QPushButton::clicked, this, [this] { BtnAppPathClick(EditEditor); });
}

void TAppSetForm::BuildEditAndViewPage() {
    EditAndViewSheet = addPage(PageControl1, "EditAndViewSheet", u"編集領域と表示"_s);
    auto* page = tightLayout<QVBoxLayout>(EditAndViewSheet);

    QGroupBox* editing = group(EditAndViewSheet, u"編集領域に関する設定"_s);
    auto* column = tightLayout<QVBoxLayout>(editing);
    CheckOption1 = button<QCheckBox>(
        editing, "CheckOption1", u"特殊文字の初回入力時の注意ダイアログを表示しないようにする(&S)"_s,
        u"うっかりミスを防ぐためにも、毎回表示させた方がいいと思います。（＾＾;）"_s);
    BtnSpecialChar = button<QPushButton>(editing, "BtnSpecialChar", u"特殊文字って何？"_s,
                                         u"詳しくは、ドキュメントやHTMLの解説書を参照してね。"_s);
    CheckRight = button<QCheckBox>(editing, "CheckRight",
                                   u"ウインドウの右端で折り返して表示する（「今日の日記編集」側）(&T)"_s);
    Checkleft = button<QCheckBox>(editing, "Checkleft",
                                  u"ウインドウの右端で折り返して表示する（「全体編集」側）(&A)"_s);
    column->addWidget(CheckOption1);
    column->addWidget(BtnSpecialChar, 0, Qt::AlignRight);
    column->addWidget(CheckRight);
    column->addWidget(Checkleft);
    page->addWidget(editing);

    QGroupBox* display = group(EditAndViewSheet, u"表示制御"_s);
    auto* displays = tightLayout<QVBoxLayout>(display);
    CheckTooBar = button<QCheckBox>(display, "CheckTooBar", u"「全体編集」側のツールバーを表示しない(&T)"_s,
                                    u"編集領域を広くしたい場合にどうぞ。"_s);
    CheckBarMsg = button<QCheckBox>(display, "CheckBarMsg", u"Reserved"_s);
    QPalette grey = CheckBarMsg->palette();
    grey.setColor(QPalette::WindowText, grey.color(QPalette::Disabled, QPalette::WindowText));
    CheckBarMsg->setPalette(grey);
    displays->addWidget(CheckTooBar);
    displays->addWidget(CheckBarMsg);
    page->addWidget(display);

    RadioOmake = group(EditAndViewSheet, u"日記を書く頻度を指定(&R)"_s);
    RadioOmake->setObjectName(u"RadioOmake"_s);
    RadioOmake->setToolTip(
        u"この指定に、あまり深い意味はありません。ちょっとした、おまけ機能です。（＾＾;）"_s);
    auto* items = tightLayout<QHBoxLayout>(RadioOmake);
    RadioOmakeItems = new QButtonGroup(RadioOmake);
    const QString captions[] = {u"毎日（orほぼ毎日）"_s, u"２日に１回程度"_s, u"３日に１回程度以下"_s};
    for (int i = 0; i < 3; ++i) {
        auto* item = new QRadioButton(captions[i], RadioOmake);
        item->setObjectName(u"RadioOmake%1"_s.arg(i));
        RadioOmakeItems->addButton(item, i);
        items->addWidget(item, 1);
    }
    page->addWidget(RadioOmake);
    page->addStretch(1);

    connect(BtnSpecialChar, &QPushButton::clicked, this, &TAppSetForm::BtnSpecialCharClick);
}
