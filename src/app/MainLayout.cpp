// The main window's face: the controls of both tabs with their captions and
// hints, and the operations that bring the settings into them.

#include "app/MainUnit.h"
#include "document/DiaryEditor.h"
#include "resources/Messages.h"
#include "settings/AppSetChecks.h"
#include "settings/IntText.h"
#include "today/DateFormat.h"
#include "widgets/UpDown.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Families tried in order for a face stored in the settings; the Windows faces the
// settings name are rarely installed elsewhere, so Japanese fonts follow.
QStringList fontFamilies(const QString& face) {
    QStringList families;
    if (!face.isEmpty())
        families << face;
    families << u"Noto Sans Mono CJK JP"_s << u"IPAGothic"_s << u"Noto Sans CJK JP"_s << u"monospace"_s;
    return families;
}

QWidget* panel(QWidget* parent, int height = -1) {
    auto* widget = new QWidget(parent);
    if (height > 0)
        widget->setFixedHeight(height);
    return widget;
}

QLabel* statusPanel(QWidget* parent, const QString& name, int width) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setFixedHeight(16);
    if (width > 0) {
        // At least the designed width; wider when the figures of a big page need it.
        label->setMinimumWidth(width);
        label->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    return label;
}

// The status row under an editor: caret (1), totals (2) and a free panel,
// named <prefix>1, <prefix>2 and <prefix>sm.
struct StatusRow {
    QLabel *caret, *totals, *free;
};
StatusRow addStatusRow(QWidget* tab, QBoxLayout* column, const QString& prefix) {
    auto* row = new QHBoxLayout();
    row->setSpacing(1);
    const StatusRow panels{statusPanel(tab, prefix + u'1', 100), statusPanel(tab, prefix + u'2', 120),
                           statusPanel(tab, prefix + u"sm"_s, -1)};
    row->addWidget(panels.caret);
    row->addWidget(panels.totals);
    row->addWidget(panels.free, 1);
    column->addLayout(row);
    return panels;
}

// The menu bar's titles sit closer together than the desktop style puts them,
// so that all of them fit the window's default width of 620 pixels instead of
// the last ones hiding behind the overflow button. Only the bar itself gets
// this style; its menus keep the desktop's.
class CompactMenuBarStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_MenuBarItemSpacing)
            return qMin(QProxyStyle::pixelMetric(metric, option, widget), 2);
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

// A button that runs an action: it keeps its own caption and hint and follows
// the action's enabled state, so enabling the action enables every place showing it.
static void bindButton(QAbstractButton* button, QAction* action) {
    QObject::connect(button, &QAbstractButton::clicked, action, [action] { action->trigger(); });
    auto sync = [button, action] { button->setEnabled(action->isEnabled()); };
    QObject::connect(action, &QAction::changed, button, sync);
    sync();
}

void TMainForm::CreateControls() {
    auto* menuBarStyle = new CompactMenuBarStyle;
    menuBarStyle->setParent(menuBar());
    menuBar()->setStyle(menuBarStyle);

    auto* central = new QWidget(this);
    auto* root = new QVBoxLayout(central);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    setCentralWidget(central);

    BevelTop = new QFrame(central);
    BevelTop->setObjectName(u"BevelTop"_s);
    BevelTop->setFrameShape(QFrame::HLine);
    BevelTop->setFrameShadow(QFrame::Sunken);
    root->addWidget(BevelTop);

    PageControlMain = new QTabWidget(central);
    PageControlMain->setObjectName(u"PageControlMain"_s);
    root->addWidget(PageControlMain, 1);

    // ---- Bottom bar
    PanelBottom = panel(central, 41);
    PanelBottom->setObjectName(u"PanelBottom"_s);
    auto* bottom = new QHBoxLayout(PanelBottom);
    bottom->setContentsMargins(6, 4, 6, 4);
    auto button = [](QWidget* parent, const char* name, const QString& caption, const QString& hint) {
        auto* b = new QPushButton(caption, parent);
        b->setObjectName(QLatin1StringView(name));
        b->setToolTip(hint);
        b->setFocusPolicy(Qt::TabFocus);
        return b;
    };
    BtnHelp = button(PanelBottom, "BtnHelp", u"ヘルプ"_s, u"バージョン情報やヘルプを表示します。"_s);
    BtnHtml = button(PanelBottom, "BtnHtml", u"HTML設定(&M)"_s, u"日記のHTML化方法を設定します。"_s);
    BtnCtrl = button(PanelBottom, "BtnCtrl", u"動作設定(&O)"_s, u"ソフトウェアの動作詳細を設定します。"_s);
    BtnExit = button(PanelBottom, "BtnExit", u"閉じる(&X)"_s, u"「Oribel」を終了します。"_s);
    bottom->addWidget(BtnHelp);
    bottom->addWidget(BtnHtml);
    bottom->addWidget(BtnCtrl);
    bottom->addStretch(1);
    bottom->addWidget(BtnExit);
    root->addWidget(PanelBottom);

    // ---- Today's tab
    TabSheetToday = new QWidget(PageControlMain);
    TabSheetToday->setObjectName(u"TabSheetToday"_s);
    PageControlMain->addTab(TabSheetToday, u"今日の日記編集"_s);
    auto* today = new QVBoxLayout(TabSheetToday);
    today->setContentsMargins(2, 2, 2, 2);
    today->setSpacing(2);

    PanelDay = panel(TabSheetToday, 41);
    PanelDay->setObjectName(u"PanelDay"_s);
    auto* day = new QHBoxLayout(PanelDay);
    day->setContentsMargins(4, 2, 4, 2);
    day->setSpacing(2);
    auto dateEdit = [this](const char* name, int width) {
        auto* edit = new QLineEdit(PanelDay);
        edit->setObjectName(QLatin1StringView(name));
        edit->setFixedWidth(width);
        edit->setAlignment(Qt::AlignRight);
        return edit;
    };
    auto label = [](QWidget* parent, const QString& text, const char* name = nullptr) {
        auto* l = new QLabel(text, parent);
        if (name)
            l->setObjectName(QLatin1StringView(name));
        return l;
    };
    EditYear = dateEdit("EditYear", 44);
    UpDownYear = new TUpDown(EditYear, 1990, 9999, PanelDay);
    EditMonth = dateEdit("EditMonth", 26);
    UpDownMonth = new TUpDown(EditMonth, 1, 12, PanelDay);
    EditDate = dateEdit("EditDate", 26);
    UpDownDate = new TUpDown(EditDate, 1, 31, PanelDay);
    UpDownYear->setObjectName(u"UpDownYear"_s);
    UpDownMonth->setObjectName(u"UpDownMonth"_s);
    UpDownDate->setObjectName(u"UpDownDate"_s);
    day->addWidget(EditYear);
    day->addWidget(UpDownYear);
    day->addWidget(label(PanelDay, u"年"_s));
    day->addWidget(EditMonth);
    day->addWidget(UpDownMonth);
    day->addWidget(label(PanelDay, u"月"_s));
    day->addWidget(EditDate);
    day->addWidget(UpDownDate);
    day->addWidget(label(PanelDay, u"日"_s));
    day->addSpacing(4);
    LabelDay = label(PanelDay, u"曜日："_s, "LabelDay");
    BoxDay = new QComboBox(PanelDay);
    BoxDay->setObjectName(u"BoxDay"_s);
    BoxDay->setEditable(true);
    BoxDay->setInsertPolicy(QComboBox::NoInsert);
    BoxDay->setToolTip(u"曜日は日付から自動算出されます。"_s);
    BoxDay->setMinimumContentsLength(5);
    day->addWidget(LabelDay);
    day->addWidget(BoxDay);
    day->addSpacing(4);
    LabelWeather = label(PanelDay, u"天気："_s, "LabelWeather");
    auto weatherBox = [this](const char* name) {
        auto* box = new QComboBox(PanelDay);
        box->setObjectName(QLatin1StringView(name));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems({u"晴れ"_s, u"くもり"_s, u"雨"_s, u"雪"_s});
        box->setToolTip(u"リスト外の任意の文字も入力可能です。"_s);
        box->setMinimumContentsLength(4);
        box->setCurrentIndex(-1);
        return box;
    };
    BoxWeather1 = weatherBox("BoxWeather1");
    LabelWeatherBar = label(PanelDay, u"／"_s, "LabelWeatherBar");
    BoxWeather2 = weatherBox("BoxWeather2");
    BtnWeaPlus = new QPushButton(u"天気拡張(&T)"_s, PanelDay);
    BtnWeaPlus->setObjectName(u"BtnWeaPlus"_s);
    BtnWeaPlus->setToolTip(u"「くもり／雨」など、２種類の天気を挿入したい場合に。"_s);
    day->addWidget(LabelWeather);
    day->addWidget(BoxWeather1);
    day->addWidget(LabelWeatherBar);
    day->addWidget(BoxWeather2);
    day->addWidget(BtnWeaPlus);
    day->addStretch(1);
    BtnNewToday = new QPushButton(u"新規(&N)"_s, PanelDay);
    BtnNewToday->setObjectName(u"BtnNewToday"_s);
    BtnNewToday->setToolTip(u"「今日の日記」内容を削除して、新たに書く準備をします。"_s);
    BtnDateReset = new QPushButton(PanelDay);
    BtnDateReset->setObjectName(u"BtnDateReset"_s);
    BtnDateReset->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    BtnDateReset->setToolTip(u"今日の日付に再設定します。"_s);
    day->addWidget(BtnNewToday);
    day->addWidget(BtnDateReset);
    LabelWeatherBar->hide();
    BoxWeather2->hide();
    today->addWidget(PanelDay);

    PanelTodayBar = panel(TabSheetToday, 27);
    PanelTodayBar->setObjectName(u"PanelTodayBar"_s);
    auto* bar = new QHBoxLayout(PanelTodayBar);
    bar->setContentsMargins(4, 0, 4, 0);
    bar->setSpacing(4);
    BtnTitle = new QPushButton(u"今日の日記にタイトルを付ける"_s, PanelTodayBar);
    BtnTitle->setObjectName(u"BtnTitle"_s);
    BtnTitle->setToolTip(u"日記にタイトルを付けたい場合にクリックして下さい。"_s);
    BtnBR = new QPushButton(u"改行タグ挿入"_s, PanelTodayBar);
    BtnBR->setObjectName(u"BtnBR"_s);
    BtnBR->setToolTip(u"改行タグを自動挿入させたい場合は、[HTML設定]の[本文]項目で可能です。"_s);
    LabelAutoBR = label(PanelTodayBar, u"改行タグ："_s, "LabelAutoBR");
    ComboBoxAutoBR = new QComboBox(PanelTodayBar);
    ComboBoxAutoBR->setObjectName(u"ComboBoxAutoBR"_s);
    ComboBoxAutoBR->addItems({u"自動挿入"_s, u"手動挿入 "_s});
    ComboBoxAutoBR->setToolTip(u"「自動挿入」にすれば、日記挿入時に自動的に各行末に改行タグが入ります。"_s);
    BtnGuide = new QPushButton(u"操作アドバイス表示(&A)"_s, PanelTodayBar);
    BtnGuide->setObjectName(u"BtnGuide"_s);
    BtnGuide->setToolTip(u"一度は読んでね。（設定により内容の一部が変化します。）"_s);
    bar->addWidget(BtnTitle);
    bar->addWidget(BtnBR);
    bar->addWidget(LabelAutoBR);
    bar->addWidget(ComboBoxAutoBR);
    bar->addStretch(1);
    bar->addWidget(BtnGuide);
    today->addWidget(PanelTodayBar);

    PanelTitle = new QLabel(TabSheetToday);
    PanelTitle->setObjectName(u"PanelTitle"_s);
    PanelTitle->setFixedHeight(20);
    PanelTitle->setFrameShape(QFrame::Panel);
    PanelTitle->setFrameShadow(QFrame::Raised);
    PanelTitle->setToolTip(u"修正や削除したい場合は、左上のボタンをクリック。"_s);
    PanelTitle->setTextFormat(Qt::PlainText);
    PanelTitle->hide();
    today->addWidget(PanelTitle);

    MToday = new DiaryEditor(TabSheetToday);
    MToday->setObjectName(u"MToday"_s);
    today->addWidget(MToday, 1);

    const StatusRow statusT = addStatusRow(TabSheetToday, today, u"PanelStatusT"_s);
    PanelStatusT1 = statusT.caret;
    PanelStatusT2 = statusT.totals;
    PanelStatusTsm = statusT.free;

    // ---- Whole-file tab
    TabSheetAll = new QWidget(PageControlMain);
    TabSheetAll->setObjectName(u"TabSheetAll"_s);
    PageControlMain->addTab(TabSheetAll, u"日記ファイル全体編集"_s);
    auto* all = new QVBoxLayout(TabSheetAll);
    all->setContentsMargins(2, 2, 2, 2);
    all->setSpacing(2);

    PanelAllBtn = panel(TabSheetAll, 56);
    PanelAllBtn->setObjectName(u"PanelAllBtn"_s);
    auto* rows = new QVBoxLayout(PanelAllBtn);
    rows->setContentsMargins(2, 1, 2, 1);
    rows->setSpacing(1);
    auto* row1 = new QHBoxLayout();
    auto* row2 = new QHBoxLayout();
    row1->setSpacing(1);
    row2->setSpacing(1);
    rows->addLayout(row1);
    rows->addLayout(row2);
    auto tool = [this](QHBoxLayout* row, const char* name, const QString& caption, const QString& hint,
                       QAction* action) {
        auto* b = new QToolButton(PanelAllBtn);
        b->setObjectName(QLatin1StringView(name));
        b->setText(caption);
        b->setToolTip(hint);
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        if (action)
            bindButton(b, action);
        row->addWidget(b);
        return b;
    };
    BtnNew = tool(row1, "BtnNew", u"新規"_s, u"HTMLファイルを新規作成する"_s, NewAction);
    BtnOpen = tool(row1, "BtnOpen", u"開く"_s, u"既存のHTMLファイルを開く"_s, OpenAction);
    BtnHistory = tool(row1, "BtnHistory", u"履歴"_s, u"過去に保存したHTMLファイルを開く"_s, nullptr);
    BtnBrowser = tool(row1, "BtnBrowser", u"ブラウザ"_s, u"標準のブラウザに編集中のHTMLを渡します。"_s,
                      SendHtmlAction);
    BtnInsertDiary = tool(row1, "BtnInsertDiary", u"今日の日記をカーソル位置に挿入"_s,
                          u"「今日の日記編集」側の内容をHTML化して挿入"_s, InsertDiaryAction);
    BtnEditor =
        tool(row1, "BtnEditor", u"エディタ"_s,
             u"エディタに編集中のHTMLを渡します。\n「動作設定」の「連携」で起動ソフトを指定できます。"_s,
             EditorAction);
    row1->addStretch(1);
    BtnSave = tool(row2, "BtnSave", u"上書き保存"_s, u"同名で上書き保存"_s, SaveAction);
    BtnProject = tool(row2, "BtnProject", u"Project"_s, u"日記と同時に更新すべきHTMLを開く"_s, nullptr);
    BtnExternApp1 = tool(row2, "BtnExternApp1", u"IE"_s, u"Internet Explorer を強制起動"_s, SendIEAction);
    SpeedButton1 = tool(row2, "SpeedButton1", u"NN"_s, u"Netscape Navigatorを強制起動"_s, SendNNAction);
    SpeedButton6 = tool(row2, "SpeedButton6", u"Opera"_s, QString(), SendOperaAction);
    BtnBRa = tool(row2, "BtnBRa", u"改行"_s, u"表示上、改行させたい場所に挿入"_s, TagBRAction);
    BtnHR = tool(row2, "BtnHR", u"水平"_s, u"区切りなどに使用"_s, TagHRAction);
    SpeedButton2 = tool(row2, "SpeedButton2", u"Link"_s, u"選択範囲をリンク化"_s, TagLinkAction);
    SpeedButton3 = tool(row2, "SpeedButton3", u"画像"_s, u"画像を表示させるタグを挿入"_s, TagGraphAction);
    SpeedButton4 = tool(row2, "SpeedButton4", u"装飾"_s, u"選択範囲の文字に色と装飾を付加"_s, TagDecAction);
    SpeedButton5 = tool(row2, "SpeedButton5", u"位置"_s, u"選択範囲を、左寄せ・中央寄せ・右寄せに指定。"_s,
                        TagPosAction);
    BtnSentence = tool(
        row2, "BtnSentence", u"任意"_s,
        u"「任意タグ」は、エディタ上の文字を範囲選択した上で\nクリックすれば、選択した文字を「開始タグ」と「終了タグ」で\n挟んだ形で挿入されます。 (Ctrl+U)"_s,
        nullptr);
    BtnFTP =
        tool(row2, "BtnFTP", u"FTP"_s,
             u"FTPソフトを起動します。\n「動作設定」の「連携」でFTPソフトを登録できます。"_s, FtpToolAction);
    row2->addStretch(1);
    BtnSaveAs = new QToolButton(PanelAllBtn);
    BtnSaveAs->setObjectName(u"BtnSaveAs"_s);
    bindButton(BtnSaveAs, SaveAsAction);
    BtnSaveAs->hide();
    all->addWidget(PanelAllBtn);

    auto* fileRow = new QHBoxLayout();
    fileRow->setSpacing(2);
    fileRow->setContentsMargins(0, 0, 4, 0); // the set name keeps clear of the tab's edge
    PanelFile1 = new QLabel(u"編集中ファイル名："_s, TabSheetAll);
    PanelFile1->setObjectName(u"PanelFile1"_s);
    PanelFileName = new QLabel(u"None."_s, TabSheetAll);
    PanelFileName->setObjectName(u"PanelFileName"_s);
    PanelFileName->setToolTip(u"編集中のファイル名が表示されます。"_s);
    PanelFileName->setTextFormat(Qt::PlainText);
    PanelFileName->setMinimumWidth(40);
    PanelFileName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    PanelFileForm = new QLabel(TabSheetAll);
    PanelFileForm->setObjectName(u"PanelFileForm"_s);
    PanelFileForm->setToolTip(
        u"ファイルの文字コードと改行コードです。保存するときもこの形で書き込みます。"_s);
    PanelFileForm->setTextFormat(Qt::PlainText);
    PanelFileForm->setContentsMargins(6, 0, 12, 0);
    PanelHtml1 = new QLabel(u"HTML設定SET："_s, TabSheetAll);
    PanelHtml1->setObjectName(u"PanelHtml1"_s);
    PanelHtmlName = new QLabel(TabSheetAll);
    PanelHtmlName->setObjectName(u"PanelHtmlName"_s);
    PanelHtmlName->setTextFormat(Qt::PlainText);
    for (QLabel* l : {PanelFile1, PanelFileName, PanelFileForm, PanelHtml1, PanelHtmlName})
        l->setFixedHeight(15);
    fileRow->addWidget(PanelFile1);
    fileRow->addWidget(PanelFileName, 1);
    fileRow->addWidget(PanelFileForm);
    fileRow->addWidget(PanelHtml1);
    fileRow->addWidget(PanelHtmlName);
    all->addLayout(fileRow);

    RAll = new DiaryEditor(TabSheetAll);
    RAll->setObjectName(u"RAll"_s);
    all->addWidget(RAll, 1);

    const StatusRow statusR = addStatusRow(TabSheetAll, all, u"PanelStatusR"_s);
    PanelStatusR1 = statusR.caret;
    PanelStatusR2 = statusR.totals;
    PanelStatusRsm = statusR.free;

    for (DiaryEditor* editor : {MToday, RAll}) {
        editor->setContextMenuPolicy(Qt::CustomContextMenu);
        editor->setFont(QFont(fontFamilies(QString())));
    }
    RAll->setReadOnly(true);
    SetGuideText();
}

void TMainForm::SetGuideText() {
    const QStringList guide = {
        QString(),
        u"   *** 日記HTMLファイル編集領域 ***"_s,
        QString(),
        u"      日記用ＨＴＭＬファイルを読み込んで下さい。ない場合は、「新規」ボタンで新規作成して下さい。"_s,
        u"      「動作設定」で、毎回起動時に自動的に特定のファイルを読み込むよう設定することも可能です。"_s,
        QString(),
        u"   *** 操作ガイド ***"_s,
        QString(),
        u"      １．日記用HTMLファイルを読み込みます。（なければ新規作成して下さい）"_s,
        u"      ２．HTML化した今日の日記を挿入したい場所へ、カーソルを移動します。"_s,
        u"      ３．「今日の日記をカーソル位置に挿入」ボタンをクリックします。"_s,
        QString(),
        u"      以上の操作で、「今日の日記編集」に記入した日記が、HTMLコードと一緒に"_s,
        u"      挿入されます。編集後は、保存ボタンで保存して下さい。"_s,
    };
    RAll->loadText(guide.join(u'\n'));
    QPalette palette = RAll->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    RAll->setPalette(palette);
}

// ---------------------------------------------------------------------------------

void TMainForm::ApplyWindowSettings() {
    if (appSet.appliesStoredGeometry()) {
        const int left = intOr(appSet.WindowXPosition, 0);
        const int top = intOr(appSet.WindowYPosition, 0);
        const int width = intOr(appSet.WindowWidth, 620);
        const int height = intOr(appSet.WindowHeight, 420);
        move(left, top);
        resize(width, height);
    }
    QFont todayFont(fontFamilies(appSet.EditFontFaceT));
    todayFont.setPointSize(appsetcheck::appliedFontPoints(appSet.EditFontSizeT, 12));
    MToday->setFont(todayFont);
    QFont allFont(fontFamilies(appSet.EditFontFace));
    allFont.setPointSize(appsetcheck::appliedFontPoints(appSet.EditFontSize, 10));
    RAll->setFont(allFont);
    PanelAllBtn->setVisible(!appSet.toolbarHidden());
    ApplyWrap(WrapTarget::Both);
}

void TMainForm::ApplyWrap(WrapTarget which) {
    if (which != WrapTarget::Document) {
        const bool wrap = appSet.todayWraps();
        MToday->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        ViewWrapSet->setChecked(wrap);
        RefreshStatus(StatusTab::Today); // today's status counts the lines as shown
    }
    if (which != WrapTarget::Today) {
        const bool wrap = appSet.documentWraps();
        RAll->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        ViewWrapSet2->setChecked(wrap);
    }
}

void TMainForm::FillWeekdayList() {
    const QStringList names = WeekdayNames(htmlSet.weekdayForm());
    if (names.isEmpty())
        return;
    // Replacing the items must not change the text the user sees: the weekday
    // computation sets it afterwards.
    const QString text = BoxDay->currentText();
    const QSignalBlocker blocker(BoxDay);
    BoxDay->clear();
    BoxDay->addItems(names);
    BoxDay->setCurrentIndex(-1);
    BoxDay->setEditText(text);
}

void TMainForm::ApplyHtmlFlagControls() {
    const QColor buttonFace = palette().color(QPalette::Button);
    const QColor window = palette().color(QPalette::Base);
    auto paint = [](QWidget* widget, const QColor& colour) {
        QPalette p = widget->palette();
        p.setColor(QPalette::Base, colour);
        widget->setPalette(p);
    };
    const bool weekday = htmlSet.weekdayShown();
    BoxDay->setEnabled(weekday);
    LabelDay->setEnabled(weekday);
    paint(BoxDay, weekday ? window : buttonFace);
    paint(EditYear, htmlSet.dateShowsYear() ? window : buttonFace);
    paint(EditMonth, htmlSet.dateShowsMonth() ? window : buttonFace);

    const bool automatic = htmlSet.autoLineBreaks();
    {
        const QSignalBlocker blocker(ComboBoxAutoBR);
        ComboBoxAutoBR->setCurrentIndex(automatic ? 0 : 1);
    }
    BtnBR->setEnabled(!automatic);

    UpdateCommandStates(); // the FTP and editor commands follow their program paths
}

void TMainForm::ShowHtmlSetName() {
    const QString name = htmlSet.HtmlDataTitle.isEmpty() ? msg::UserDefinedSetName : htmlSet.HtmlDataTitle;
    PanelHtmlName->setText(name);
    PanelHtmlName->setToolTip(u"現在選択されているHTMLタグ設定は、["_s + name +
                              u"]です。\n変更したい場合は、「HTML設定」で出来ます。"_s);
}
