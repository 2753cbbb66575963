// The main window's face: controls of both tabs, the menus, the commands and
// their per-tab states, and the operations that bring the settings into the controls.

#include "app/MainUnit.h"
#include "app/UpDown.h"
#include "document/DiaryEditor.h"
#include "resources/Messages.h"
#include "settings/IntText.h"
#include "today/DateFormat.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
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

QLabel* statusPanel(QWidget* parent, const char* name, int width) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1StringView(name));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setFixedHeight(16);
    if (width > 0) {
        label->setFixedWidth(width);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    return label;
}

} // namespace

// A button that runs an action: it keeps its own caption and hint and follows
// the action's enabled state, so enabling the action enables every place showing it.
static void bindButton(QAbstractButton* button, QAction* action) {
    QObject::connect(button, &QAbstractButton::clicked, action, [action] { action->trigger(); });
    auto sync = [button, action] { button->setEnabled(action->isEnabled()); };
    QObject::connect(action, &QAction::changed, button, sync);
    sync();
}

// A context-menu item with its own caption that runs the main command and
// follows its enabled state.
static QAction* proxyAction(QObject* owner, QAction* target, const char* name, const QString& caption) {
    auto* proxy = new QAction(caption, owner);
    proxy->setObjectName(QLatin1StringView(name));
    QObject::connect(proxy, &QAction::triggered, target, [target] { target->trigger(); });
    auto sync = [proxy, target] { proxy->setEnabled(target->isEnabled()); };
    QObject::connect(target, &QAction::changed, proxy, sync);
    sync();
    return proxy;
}

void TMainForm::CreateActions() {
    auto make = [this](const char* name, const QString& caption, const QList<QKeySequence>& keys = {},
                       const char* menuItem = nullptr) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QLatin1StringView(name));
        if (!keys.isEmpty())
            action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        if (menuItem)
            action->setProperty("menuItem", QLatin1StringView(menuItem));
        addAction(action); // shortcuts work even while a menu or panel hiding the action is closed
        return action;
    };
    const auto key = [](QKeyCombination combination) {
        return QList<QKeySequence>{QKeySequence(combination)};
    };

    NewAction = make("NewAction", u"HTMLファイルを新規作成(&N)"_s, key(Qt::CTRL | Qt::Key_N), "FileAllNew");
    OpenAction = make("OpenAction", u"HTMLファイルを開く(&O)..."_s, key(Qt::CTRL | Qt::Key_O), "FileAllOpen");
    SaveAction =
        make("SaveAction", u"HTMLファイルを上書き保存(&S)"_s, key(Qt::CTRL | Qt::Key_S), "FileAllSave");
    SaveAsAction = make("SaveAsAction", u"HTMLファイルを別名で保存(&A)"_s,
                        key(Qt::CTRL | Qt::ALT | Qt::Key_S), "FileAllSaveAs");
    FileTodayNew = make("FileTodayNew", u"今日の日記を新規作成(&N)"_s, key(Qt::CTRL | Qt::Key_N));
    FileTodaySave = make("FileTodaySave", u"今日の日記を一時保存して終了(&S)"_s, key(Qt::CTRL | Qt::Key_F4));
    FileExit = make("FileExit", u"Oribel の終了(&X)"_s, key(Qt::CTRL | Qt::Key_Q));
    FileHist1 = make("FileHist1", u"&1 None"_s);
    FileHist2 = make("FileHist2", u"&2 None"_s);
    FileHist3 = make("FileHist3", u"&3 None"_s);
    FileProjectEdit = make("FileProjectEdit", u"(同時更新HTMLリストの編集)"_s);

    UndoAction = make("UndoAction", u"元に戻す(&Z)"_s, key(Qt::CTRL | Qt::Key_Z), "EditUndo");
    CutAction = make("CutAction", u"切り取り(&T)"_s, key(Qt::CTRL | Qt::Key_X), "EditCut");
    CopyAction = make("CopyAction", u"コピー(&C)"_s, key(Qt::CTRL | Qt::Key_C), "EditCopy");
    PasteAction = make("PasteAction", u"貼り付け(&P)"_s, key(Qt::CTRL | Qt::Key_V), "EditPaste");
    DelAction = make("DelAction", u"削除(&D)"_s, {}, "EditDelete");
    AllSelectAction = make("AllSelectAction", u"すべて選択(&A)"_s, key(Qt::CTRL | Qt::Key_A), "EditAll");
    EditSearch = make("EditSearch", u"検索(&S)"_s, key(Qt::CTRL | Qt::Key_F3));
    EditNext = make("EditNext", u"次を検索(&N)"_s, key(Qt::Key_F3));
    EditSearch->setVisible(false);
    EditNext->setVisible(false);

    InsertDiaryAction = make("InsertDiaryAction", u"今日の日記をカーソル位置に挿入(&I)"_s,
                             key(Qt::CTRL | Qt::Key_Insert), "InsertDiary");
    InsertTitle = make("InsertTitle", u"タイトルを付ける(&T)..."_s, key(Qt::CTRL | Qt::Key_T));
    TagBRAction = make("TagBRAction", u"改行タグ挿入(&B)"_s, key(Qt::CTRL | Qt::Key_B), "InsertBR");
    TagHRAction = make("TagHRAction", u"水平線タグ挿入(&H)"_s, key(Qt::CTRL | Qt::Key_H), "InsertHR");
    TagLinkAction =
        make("TagLinkAction", u"リンクタグ挿入(&L)..."_s, key(Qt::CTRL | Qt::Key_L), "InsertLink");
    TagGraphAction =
        make("TagGraphAction", u"画像指定タグ挿入(&G)..."_s, key(Qt::CTRL | Qt::Key_G), "InsertIMG");
    TagDecAction =
        make("TagDecAction", u"文字装飾タグ挿入(&D)..."_s, key(Qt::CTRL | Qt::Key_D), "InsertFont");
    TagPosAction = make("TagPosAction", u"位置指定タグ挿入(&P)..."_s, key(Qt::CTRL | Qt::Key_I), "InsertPos");
    SentenceAction =
        make("SentenceAction", u"任意タグ・単文の挿入(&U)..."_s, key(Qt::CTRL | Qt::Key_U), "InsertSentence");
    SPCltAction = make("SPCltAction", u"開きカッコ 「 < 」 を挿入(&1)"_s, key(Qt::CTRL | Qt::ALT | Qt::Key_O),
                       "InsertSPClt");
    SPCgtAction = make("SPCgtAction", u"閉じカッコ 「 > 」 を挿入(&2)"_s, key(Qt::CTRL | Qt::ALT | Qt::Key_C),
                       "InsertSPCgt");
    SPCampAction = make("SPCampAction", u"アンパサンド 「 && 」 を挿入(&3)"_s,
                        key(Qt::CTRL | Qt::ALT | Qt::Key_A), "InsertSPCamp");
    SPCquotAction = make("SPCquotAction", u"ダブルクオーテーション 「 \" 」 を挿入(&4)"_s,
                         key(Qt::CTRL | Qt::ALT | Qt::Key_D), "InsertSPCquot");
    SPCspace =
        make("SPCspace", u"半角スペースを挿入(&5)"_s, key(Qt::CTRL | Qt::ALT | Qt::Key_K), "InsertSPCspace");
    InsTimeAction =
        make("InsTimeAction", u"現在時刻の挿入(&J)"_s, key(Qt::CTRL | Qt::Key_J), "InsertOnlyTime");

    ViewWrapSet = make("ViewWrapSet", u"右端で折り返す（今日の日記側）(&W)"_s);
    ViewWrapSet2 = make("ViewWrapSet2", u"右端で折り返す（全体編集側）(&W)"_s);
    ViewWrapSet->setCheckable(true);
    ViewWrapSet2->setCheckable(true);

    SendHtmlAction = make("SendHtmlAction", u"標準のブラウザへHTMLを送る(&B)"_s,
                          {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter),
                           QKeySequence(Qt::CTRL | Qt::Key_F9)},
                          "BrowseDef");
    SendIEAction = make("SendIEAction", u"Internet Explorer へ送る(&I)"_s,
                        key(Qt::CTRL | Qt::ALT | Qt::Key_I), "BrowseIE");
    SendNNAction = make("SendNNAction", u"Netscape Navigator へ送る(&N)"_s,
                        key(Qt::CTRL | Qt::ALT | Qt::Key_N), "BrowseNN");
    SendOperaAction =
        make("SendOperaAction", u"Opera へ送る(&O)"_s, key(Qt::CTRL | Qt::ALT | Qt::Key_P), "BrowseOpera");
    EditorAction = make("EditorAction", u"エディタへ送る(&E)"_s, key(Qt::CTRL | Qt::Key_E), "BrowseEditor");
    FtpToolAction = make("FtpToolAction", u"FTPソフトを起動(&F)"_s, key(Qt::CTRL | Qt::Key_F), "BrowseFtp");

    SetHTMLAction = make("SetHTMLAction", u"HTML設定(&M)"_s, {}, "SetHtml");
    SetAppAction = make("SetAppAction", u"動作設定(&C)"_s, {}, "SetCtrl");

    ServicesOfNet = make("ServicesOfNet", u"最新バージョンの公開状況をチェック(&N)"_s);
    Service244Top = make("Service244Top", u"作者のホームページへ(&A)"_s);
    ServiceUserSite = make("ServiceUserSite", u"自分の日記ページ(&D)"_s);
    ServiceBmLink = make("ServiceBmLink", u"ユーザの方々の日記ページ一覧(&L)"_s);
    ServiceMsgMail = make("ServiceMsgMail", u"メールで送信(&M)"_s);
    ServiceMsgWeb = make("ServiceMsgWeb", u"Webから送信(&W)"_s);

    HelpAction = make("HelpAction", u"バージョン情報(&V)"_s, {}, "HelpVer");
    HelpMan = make("HelpMan", u"マニュアル(&M)"_s, key(Qt::Key_F1));
    HelpFaq = make("HelpFaq", u"オンライン・マニュアル(&O)"_s);
    HelpUninstall = make("HelpUninstall", u"アンインストール準備"_s);

    ProjectAction = make("ProjectAction", u"Project"_s, key(Qt::CTRL | Qt::Key_P));
    NextTabAction = make("NextTabAction", u"次のタブ"_s,
                         {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
    PrevTabAction =
        make("PrevTabAction", u"前のタブ"_s,
             {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)});

    InsDiary = proxyAction(this, InsertDiaryAction, "InsDiary", u"今日の日記を挿入(&I)"_s);
    TagDecPopup = proxyAction(this, TagDecAction, "TagDec", u"文字装飾タグ挿入(&M)..."_s);
    TagSentencePopup = proxyAction(this, SentenceAction, "TagSentence", u"任意タグ・単文挿入(&U)..."_s);
    PopupHist1 = new QAction(u"&1 None"_s, this);
    PopupHist2 = new QAction(u"&2 None"_s, this);
    PopupHist3 = new QAction(u"&3 None"_s, this);
    PopupHist1->setObjectName(u"PopupHist1"_s);
    PopupHist2->setObjectName(u"PopupHist2"_s);
    PopupHist3->setObjectName(u"PopupHist3"_s);
}

void TMainForm::CreateMenus() {
    QMenuBar* bar = menuBar();
    auto menu = [this](QMenu* parentMenu, QMenuBar* parentBar, const char* name, const QString& caption) {
        QMenu* m = parentMenu ? parentMenu->addMenu(caption) : parentBar->addMenu(caption);
        m->setObjectName(QLatin1StringView(name));
        m->menuAction()->setObjectName(QLatin1StringView(name) + u"Item"_s);
        Q_UNUSED(this);
        return m;
    };

    MenuFile = menu(nullptr, bar, "MenuFile", u"ファイル(&F)"_s);
    MenuFile->addAction(NewAction);
    MenuFile->addAction(OpenAction);
    FileHistory = menu(MenuFile, nullptr, "FileHistory", u"履歴から開く(&R)"_s);
    FileHistory->addActions({FileHist1, FileHist2, FileHist3});
    FileProjects = menu(MenuFile, nullptr, "FileProjects", u"プロジェクトから開く(&P)"_s);
    FileProjects->addSeparator();
    FileProjects->addAction(FileProjectEdit);
    MenuFile->addSeparator();
    MenuFile->addAction(SaveAction);
    MenuFile->addAction(SaveAsAction);
    MenuFile->addSeparator();
    MenuFile->addAction(FileTodayNew);
    MenuFile->addAction(FileTodaySave);
    MenuFile->addSeparator();
    MenuFile->addAction(FileExit);

    MenuEdit = menu(nullptr, bar, "MenuEdit", u"編集(&E)"_s);
    MenuEdit->addActions({UndoAction});
    MenuEdit->addSeparator();
    MenuEdit->addActions({CutAction, CopyAction, PasteAction, DelAction});
    MenuEdit->addSeparator();
    MenuEdit->addActions({AllSelectAction, EditSearch, EditNext});

    MenuInsert = menu(nullptr, bar, "MenuInsert", u"挿入(&I)"_s);
    MenuInsert->addAction(InsertDiaryAction);
    MenuInsert->addAction(InsertTitle);
    MenuInsert->addSeparator();
    MenuInsert->addActions({TagBRAction, TagHRAction});
    MenuInsert->addSeparator();
    MenuInsert->addActions({TagLinkAction, TagGraphAction, TagDecAction, TagPosAction});
    MenuInsert->addSeparator();
    MenuInsert->addAction(SentenceAction);
    InsertSPC = menu(MenuInsert, nullptr, "InsertSPC", u"特殊文字(&S)"_s);
    InsertSPC->addActions({SPCltAction, SPCgtAction, SPCampAction, SPCquotAction, SPCspace});
    MenuInsert->addAction(InsTimeAction);

    MenuView = menu(nullptr, bar, "MenuView", u"表示(&V)"_s);
    MenuView->addActions({ViewWrapSet, ViewWrapSet2});

    MenuBrowse = menu(nullptr, bar, "MenuBrowse", u"ブラウザ・連携(&W)"_s);
    MenuBrowse->addActions({SendHtmlAction, SendIEAction, SendNNAction, SendOperaAction});
    MenuBrowse->addSeparator();
    MenuBrowse->addActions({EditorAction, FtpToolAction});

    MenuSet = menu(nullptr, bar, "MenuSet", u"設定(&C)"_s);
    MenuSet->addActions({SetHTMLAction, SetAppAction});

    MenuService = menu(nullptr, bar, "MenuService", u"インターネットサービス(&S)"_s);
    MenuService->addActions({ServicesOfNet, Service244Top, ServiceUserSite});
    ServiceBookMark =
        menu(MenuService, nullptr, "ServiceBookMark", u"お気に入り日記サイト ブックマーク(&F)"_s);
    ServiceBookMark->addAction(ServiceBmLink);
    ServiceSendMessage = menu(MenuService, nullptr, "ServiceSendMessage", u"作者宛にメッセージを送る(&M)"_s);
    ServiceSendMessage->addActions({ServiceMsgMail, ServiceMsgWeb});

    MenuHelp = menu(nullptr, bar, "MenuHelp", u"ヘルプ(&H)"_s);
    MenuHelp->addActions({HelpAction, HelpMan, HelpFaq});
    MenuHelp->addSeparator();
    MenuHelp->addAction(HelpUninstall);

    // The context menu of both editors.
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName(u"PopupMenu"_s);
    PopupMenu->addAction(UndoAction);
    PopupMenu->addSeparator();
    PopupMenu->addActions({CutAction, CopyAction, PasteAction, DelAction});
    PopupMenu->addSeparator();
    PopupMenu->addAction(AllSelectAction);
    PopupMenu->addSeparator();
    PopupMenu->addAction(InsDiary);
    PopupMenu->addSeparator();
    PopupMenu->addActions({TagBRAction, TagHRAction, TagLinkAction, TagGraphAction, TagDecPopup, TagPosAction,
                           TagSentencePopup});
    PopupSPC = PopupMenu->addMenu(u"特殊文字挿入"_s);
    PopupSPC->setObjectName(u"SPC"_s);
    PopupSPC->addActions({SPCltAction, SPCgtAction, SPCampAction, SPCquotAction, SPCspace});
    PopupMenu->addAction(InsTimeAction);

    PopupHistry = new QMenu(this);
    PopupHistry->setObjectName(u"PopupHistry"_s);
    PopupHistry->addActions({PopupHist1, PopupHist2, PopupHist3});
    PopupSentence = new QMenu(this);
    PopupSentence->setObjectName(u"PopupSentence"_s);
    PopupProjects = new QMenu(this);
    PopupProjects->setObjectName(u"PopupProjects"_s);
}

void TMainForm::CreateControls() {
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
    BtnCtrl = button(PanelBottom, "BtnCtrl", u"動作設定(&C)"_s, u"ソフトウェアの動作詳細を設定します。"_s);
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
    day->addSpacing(6);
    LabelDay = label(PanelDay, u"曜日："_s, "LabelDay");
    BoxDay = new QComboBox(PanelDay);
    BoxDay->setObjectName(u"BoxDay"_s);
    BoxDay->setEditable(true);
    BoxDay->setInsertPolicy(QComboBox::NoInsert);
    BoxDay->setToolTip(u"曜日は日付から自動算出されます。"_s);
    BoxDay->setMinimumContentsLength(5);
    day->addWidget(LabelDay);
    day->addWidget(BoxDay);
    day->addSpacing(6);
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
    BtnWeaPlus = new QPushButton(u"天気拡張(&W)"_s, PanelDay);
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

    auto* statusT = new QHBoxLayout();
    statusT->setSpacing(1);
    PanelStatusT1 = statusPanel(TabSheetToday, "PanelStatusT1", 100);
    PanelStatusT2 = statusPanel(TabSheetToday, "PanelStatusT2", 120);
    PanelStatusTsm = statusPanel(TabSheetToday, "PanelStatusTsm", -1);
    statusT->addWidget(PanelStatusT1);
    statusT->addWidget(PanelStatusT2);
    statusT->addWidget(PanelStatusTsm, 1);
    today->addLayout(statusT);

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
    BtnEditor = tool(row1, "BtnEditor", u"エディタ"_s, QString(), EditorAction);
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
    BtnSentence = tool(row2, "BtnSentence", u"任意"_s, QString(), nullptr);
    BtnFTP = tool(row2, "BtnFTP", u"FTP"_s, QString(), FtpToolAction);
    row2->addStretch(1);
    BtnSaveAs = new QToolButton(PanelAllBtn);
    BtnSaveAs->setObjectName(u"BtnSaveAs"_s);
    bindButton(BtnSaveAs, SaveAsAction);
    BtnSaveAs->hide();
    all->addWidget(PanelAllBtn);

    auto* fileRow = new QHBoxLayout();
    fileRow->setSpacing(2);
    PanelFile1 = new QLabel(u"編集中ファイル名："_s, TabSheetAll);
    PanelFile1->setObjectName(u"PanelFile1"_s);
    PanelFileName = new QLabel(u"None."_s, TabSheetAll);
    PanelFileName->setObjectName(u"PanelFileName"_s);
    PanelFileName->setToolTip(u"編集中のファイル名が表示されます。"_s);
    PanelFileName->setTextFormat(Qt::PlainText);
    PanelFileName->setMinimumWidth(40);
    PanelFileName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    PanelHtml1 = new QLabel(u"HTML設定SET："_s, TabSheetAll);
    PanelHtml1->setObjectName(u"PanelHtml1"_s);
    PanelHtmlName = new QLabel(TabSheetAll);
    PanelHtmlName->setObjectName(u"PanelHtmlName"_s);
    PanelHtmlName->setTextFormat(Qt::PlainText);
    for (QLabel* l : {PanelFile1, PanelFileName, PanelHtml1, PanelHtmlName})
        l->setFixedHeight(15);
    fileRow->addWidget(PanelFile1);
    fileRow->addWidget(PanelFileName, 1);
    fileRow->addWidget(PanelHtml1);
    fileRow->addWidget(PanelHtmlName);
    all->addLayout(fileRow);

    RAll = new DiaryEditor(TabSheetAll);
    RAll->setObjectName(u"RAll"_s);
    all->addWidget(RAll, 1);

    auto* statusR = new QHBoxLayout();
    statusR->setSpacing(1);
    PanelStatusR1 = statusPanel(TabSheetAll, "PanelStatusR1", 100);
    PanelStatusR2 = statusPanel(TabSheetAll, "PanelStatusR2", 120);
    PanelStatusRsm = statusPanel(TabSheetAll, "PanelStatusRsm", -1);
    statusR->addWidget(PanelStatusR1);
    statusR->addWidget(PanelStatusR2);
    statusR->addWidget(PanelStatusRsm, 1);
    all->addLayout(statusR);

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
    todayFont.setPointSize(qMax(1, intOr(appSet.EditFontSizeT, 12)));
    MToday->setFont(todayFont);
    QFont allFont(fontFamilies(appSet.EditFontFace));
    allFont.setPointSize(qMax(1, intOr(appSet.EditFontSize, 10)));
    RAll->setFont(allFont);
    PanelAllBtn->setVisible(!appSet.toolbarHidden());
    ApplyWrap(WrapTarget::Both);
}

void TMainForm::ApplyWrap(WrapTarget which) {
    if (which != WrapTarget::Document) {
        const bool wrap = appSet.todayWraps();
        MToday->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        ViewWrapSet->setChecked(wrap);
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
    const bool noWeekday = !htmlSet.weekdayShown();
    BoxDay->setEnabled(!noWeekday);
    LabelDay->setEnabled(!noWeekday);
    paint(BoxDay, noWeekday ? buttonFace : window);
    paint(EditYear, !htmlSet.dateShowsYear() ? buttonFace : window);
    paint(EditMonth, !htmlSet.dateShowsMonth() ? buttonFace : window);

    const bool automatic = htmlSet.autoLineBreaks();
    {
        const QSignalBlocker blocker(ComboBoxAutoBR);
        ComboBoxAutoBR->setCurrentIndex(automatic ? 0 : 1);
    }
    BtnBR->setEnabled(!automatic);

    FtpToolAction->setEnabled(!appSet.ExternalApp1.isEmpty());
    EditorAction->setEnabled(!appSet.ExternalApp2.isEmpty());
}

void TMainForm::ShowHtmlSetName() {
    const QString name = htmlSet.HtmlDataTitle.isEmpty() ? msg::UserDefinedSetName : htmlSet.HtmlDataTitle;
    PanelHtmlName->setText(name);
    PanelHtmlName->setToolTip(msg::htmlSetNameHint(name));
}

bool TMainForm::TodayTabShown() const {
    return PageControlMain->currentWidget() == TabSheetToday;
}

DiaryEditor* TMainForm::ActiveEditor() const {
    return TodayTabShown() ? MToday : RAll;
}

bool TMainForm::HasDocument() const {
    return PanelFileName->text() != u"None."_s;
}

void TMainForm::UpdatePageState() {
    const bool today = TodayTabShown();
    const bool document = !today && HasDocument();

    for (QAction* action : {NewAction, OpenAction})
        action->setEnabled(!today);
    FileHistory->menuAction()->setEnabled(!today);
    FileProjects->menuAction()->setEnabled(!today);
    ProjectAction->setEnabled(!today);

    for (QAction* action : {SaveAction, SaveAsAction, EditSearch, EditNext, InsertDiaryAction})
        action->setEnabled(document);

    for (QAction* action : {FileTodayNew, FileTodaySave, InsertTitle, ViewWrapSet})
        action->setEnabled(today);
    ViewWrapSet2->setEnabled(!today);

    for (QAction* action : {TagBRAction, TagHRAction, TagLinkAction, TagGraphAction, TagDecAction,
                            TagPosAction, SPCltAction, SPCgtAction, SPCampAction, SPCquotAction})
        action->setEnabled(today || document);

    if (!today) {
        BtnSentence->setEnabled(document);
        for (QAction* action : {SentenceAction, InsTimeAction, SPCspace})
            action->setEnabled(document);
    }

    if (today) {
        MToday->setFocus();
        if (appSet.todayInputMethodOn())
            MToday->setInputMethodHints(Qt::ImhNone);
        return;
    }
    if (document)
        RAll->setInputMethodHints(Qt::ImhPreferLatin);
    if (AllFontApplied != 'F') {
        QFont font = RAll->font();
        font.setPointSize(qMax(1, intOr(appSet.EditFontSize, 10)));
        RAll->setFont(font);
        QPalette p = RAll->palette();
        p.setColor(QPalette::Text, QApplication::palette().color(QPalette::WindowText));
        RAll->setPalette(p);
        RAll->document()->setModified(false);
        AllFontApplied = 'F';
    }
    RAll->setFocus();
}

QList<QKeySequence> TMainForm::CommandKeys() const {
    QList<QKeySequence> keys;
    for (const QAction* action : actions())
        keys += action->shortcuts();
    return keys;
}

void TMainForm::ConnectHandlers() {
    connect(PageControlMain, &QTabWidget::currentChanged, this, [this] { UpdatePageState(); });
    connect(NextTabAction, &QAction::triggered, this,
            [this] { PageControlMain->setCurrentIndex((PageControlMain->currentIndex() + 1) % 2); });
    connect(PrevTabAction, &QAction::triggered, this,
            [this] { PageControlMain->setCurrentIndex((PageControlMain->currentIndex() + 1) % 2); });

    connect(BtnHelp, &QPushButton::clicked, this, &TMainForm::HelpManClick);
    connect(BtnHtml, &QPushButton::clicked, SetHTMLAction, &QAction::trigger);
    connect(BtnCtrl, &QPushButton::clicked, SetAppAction, &QAction::trigger);
    connect(BtnExit, &QPushButton::clicked, this, &QWidget::close);
    connect(FileExit, &QAction::triggered, this, &QWidget::close);

    connect(NewAction, &QAction::triggered, this, &TMainForm::NewActionExecute);
    connect(OpenAction, &QAction::triggered, this, &TMainForm::OpenActionExecute);
    connect(SaveAction, &QAction::triggered, this, [this] { SaveDocument(); });
    connect(SaveAsAction, &QAction::triggered, this, [this] { SaveDocumentAs(); });
    connect(FileTodayNew, &QAction::triggered, this, &TMainForm::NewTodayEntry);
    connect(FileTodaySave, &QAction::triggered, this, &TMainForm::SaveTodayAndExit);
    const QAction* const historyItems[] = {FileHist1,  FileHist2,  FileHist3,
                                           PopupHist1, PopupHist2, PopupHist3};
    for (int i = 0; i < 6; ++i)
        connect(historyItems[i], &QAction::triggered, this, [this, i] { OpenHistoryFile(i % 3); });
    FileHist1->setEnabled(false);
    FileHist2->setEnabled(false);
    FileHist3->setEnabled(false);
    connect(MenuFile, &QMenu::aboutToShow, this, &TMainForm::MenuFileClick);
    connect(PopupHistry, &QMenu::aboutToShow, this, &TMainForm::PopupHistryPopup);
    connect(BtnHistory, &QToolButton::clicked, this, &TMainForm::BtnHistoryClick);
    connect(RAll, &QPlainTextEdit::textChanged, this, &TMainForm::RAllChange);

    connect(MenuEdit, &QMenu::aboutToShow, this, &TMainForm::MenuEditClick);
    connect(PopupMenu, &QMenu::aboutToShow, this, &TMainForm::MenuEditClick);
    for (DiaryEditor* editor : {MToday, RAll}) {
        connect(editor, &QWidget::customContextMenuRequested, this, [this, editor](const QPoint& pos) {
            PopupMenu->popup(editor->viewport()->mapToGlobal(pos));
        });
    }
    ConnectEditCommands();

    connect(InsertDiaryAction, &QAction::triggered, this, &TMainForm::InsertDiaryActionExecute);
    connect(InsertTitle, &QAction::triggered, this, &TMainForm::EditDiaryTitle);
    connect(ViewWrapSet, &QAction::triggered, this, [this] {
        appSet.flipTodayWrap();
        ApplyWrap(WrapTarget::Today);
    });
    connect(ViewWrapSet2, &QAction::triggered, this, [this] {
        appSet.flipDocumentWrap();
        ApplyWrap(WrapTarget::Document);
    });
    connect(SetHTMLAction, &QAction::triggered, this, &TMainForm::SetHTMLActionExecute);
    connect(SetAppAction, &QAction::triggered, this, &TMainForm::SetAppActionExecute);
    connect(HelpAction, &QAction::triggered, this, &TMainForm::HelpActionExecute);
    connect(HelpMan, &QAction::triggered, this, &TMainForm::HelpManClick);
    connect(HelpFaq, &QAction::triggered, this, &TMainForm::HelpFaqClick);
    connect(HelpUninstall, &QAction::triggered, this, &TMainForm::HelpUninstallClick);

    for (QLineEdit* edit : {EditYear, EditMonth, EditDate})
        connect(edit, &QLineEdit::textChanged, this, &TMainForm::DateFieldChange);
    connect(BtnWeaPlus, &QPushButton::clicked, this, [this] {
        SetWeatherExtension(true);
        BoxWeather2->setFocus();
    });
    connect(BtnNewToday, &QPushButton::clicked, this, &TMainForm::NewTodayEntry);
    connect(BtnDateReset, &QPushButton::clicked, this, &TMainForm::ResetTodayDate);
    connect(BtnTitle, &QPushButton::clicked, this, &TMainForm::EditDiaryTitle);
    connect(BtnGuide, &QPushButton::clicked, this, &TMainForm::ShowOperationAdvice);
    connect(BtnBR, &QPushButton::clicked, TagBRAction, &QAction::trigger);
    connect(ComboBoxAutoBR, &QComboBox::activated, this, [this](int index) {
        htmlSet.setAutoLineBreaks(index == 0);
        ApplyHtmlFlagControls();
    });

    auto today = [this] { RefreshStatus(StatusTab::Today); };
    auto document = [this] { RefreshStatus(StatusTab::Document); };
    connect(MToday, &QPlainTextEdit::cursorPositionChanged, this, today);
    connect(MToday, &DiaryEditor::totalsChanged, this, today);
    connect(RAll, &QPlainTextEdit::cursorPositionChanged, this, document);
    connect(RAll, &DiaryEditor::totalsChanged, this, document);

    centralWidget()->installEventFilter(this);
}
