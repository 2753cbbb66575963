// The window's commands: one table of every command with its caption and keys,
// the menus that show them, and the commands' states for the tab that is
// shown. Each subject's source connects its own commands to their handlers.

#include "app/MainUnit.h"

#include "publish/UploadRunner.h"

#include "document/DiaryEditor.h"
#include "platform/InputMethodSwitch.h"
#include "settings/AppSetChecks.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

using Keys = QList<QKeySequence>;

Keys key(QKeyCombination combination) {
    return {QKeySequence(combination)};
}

// One command: the window member that holds it, its object name, its caption
// and keys, and the name of the menu item that shows it.
struct CommandRow {
    QAction* TMainForm::*action;
    const char* name;
    QString caption;
    Keys keys;
    const char* menuItem = nullptr;
};

const QList<CommandRow>& commandTable() {
    using M = TMainForm;
    static const QList<CommandRow> rows = {
        // File
        {&M::NewAction, "NewAction", u"HTMLファイルを新規作成(&N)"_s, key(Qt::CTRL | Qt::Key_N),
         "FileAllNew"},
        {&M::OpenAction, "OpenAction", u"HTMLファイルを開く(&O)..."_s, key(Qt::CTRL | Qt::Key_O),
         "FileAllOpen"},
        {&M::SaveAction, "SaveAction", u"HTMLファイルを上書き保存(&S)"_s, key(Qt::CTRL | Qt::Key_S),
         "FileAllSave"},
        {&M::SaveAsAction, "SaveAsAction", u"HTMLファイルを別名で保存(&A)"_s,
         key(Qt::CTRL | Qt::ALT | Qt::Key_S), "FileAllSaveAs"},
        {&M::FileTodayNew, "FileTodayNew", u"今日の日記を新規作成(&N)"_s, key(Qt::CTRL | Qt::Key_N)},
        {&M::FileTodaySave, "FileTodaySave", u"今日の日記を一時保存して終了(&S)"_s,
         key(Qt::CTRL | Qt::Key_F4)},
        {&M::FileExit, "FileExit", u"Oribel の終了(&X)"_s, key(Qt::CTRL | Qt::Key_Q)},
        {&M::FileHist1, "FileHist1", u"&1 None"_s, {}},
        {&M::FileHist2, "FileHist2", u"&2 None"_s, {}},
        {&M::FileHist3, "FileHist3", u"&3 None"_s, {}},
        {&M::FileProjectEdit, "FileProjectEdit", u"(同時更新HTMLリストの編集)"_s, {}},
        // Edit
        {&M::UndoAction, "UndoAction", u"元に戻す(&Z)"_s, key(Qt::CTRL | Qt::Key_Z), "EditUndo"},
        {&M::CutAction, "CutAction", u"切り取り(&T)"_s, key(Qt::CTRL | Qt::Key_X), "EditCut"},
        {&M::CopyAction, "CopyAction", u"コピー(&C)"_s, key(Qt::CTRL | Qt::Key_C), "EditCopy"},
        {&M::PasteAction, "PasteAction", u"貼り付け(&P)"_s, key(Qt::CTRL | Qt::Key_V), "EditPaste"},
        {&M::DelAction, "DelAction", u"削除(&D)"_s, {}, "EditDelete"},
        {&M::AllSelectAction, "AllSelectAction", u"すべて選択(&A)"_s, key(Qt::CTRL | Qt::Key_A), "EditAll"},
        {&M::EditSearch, "EditSearch", u"検索(&S)"_s, key(Qt::CTRL | Qt::Key_F3)},
        {&M::EditNext, "EditNext", u"次を検索(&N)"_s, key(Qt::Key_F3)},
        {&M::EditPrev, "EditPrev", u"前を検索(&B)"_s, key(Qt::SHIFT | Qt::Key_F3)},
        {&M::EditReplace, "EditReplace", u"置換(&R)..."_s, key(Qt::CTRL | Qt::Key_R)},
        {&M::EditGoToLine, "EditGoToLine", u"指定行へ移動(&G)..."_s, key(Qt::CTRL | Qt::SHIFT | Qt::Key_G)},
        // Ctrl+Space is the usual key of input methods for switching
        // themselves on and off: Ctrl+Shift+H, which none takes, does the same.
        {&M::TagHighlightAction,
         "TagHighlightAction",
         u"タグの色分け表示(&H)"_s,
         {QKeySequence(Qt::CTRL | Qt::Key_Space), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H)},
         "EditTagHighlight"},
        // Insert
        {&M::InsertDiaryAction, "InsertDiaryAction", u"今日の日記をカーソル位置に挿入(&I)"_s,
         key(Qt::CTRL | Qt::Key_Insert), "InsertDiary"},
        {&M::InsertTitle, "InsertTitle", u"タイトルを付ける(&T)..."_s, key(Qt::CTRL | Qt::Key_T)},
        {&M::TagBRAction, "TagBRAction", u"改行タグ挿入(&B)"_s, key(Qt::CTRL | Qt::Key_B), "InsertBR"},
        {&M::TagHRAction, "TagHRAction", u"水平線タグ挿入(&H)"_s, key(Qt::CTRL | Qt::Key_H), "InsertHR"},
        {&M::TagLinkAction, "TagLinkAction", u"リンクタグ挿入(&L)..."_s, key(Qt::CTRL | Qt::Key_L),
         "InsertLink"},
        {&M::TagGraphAction, "TagGraphAction", u"画像指定タグ挿入(&G)..."_s, key(Qt::CTRL | Qt::Key_G),
         "InsertIMG"},
        {&M::TagDecAction, "TagDecAction", u"文字装飾タグ挿入(&D)..."_s, key(Qt::CTRL | Qt::Key_D),
         "InsertFont"},
        {&M::TagPosAction, "TagPosAction", u"位置指定タグ挿入(&P)..."_s, key(Qt::CTRL | Qt::Key_I),
         "InsertPos"},
        {&M::SentenceAction, "SentenceAction", u"任意タグ・単文の挿入(&U)..."_s, key(Qt::CTRL | Qt::Key_U),
         "InsertSentence"},
        {&M::SPCltAction, "SPCltAction", u"開きカッコ 「 < 」 を挿入(&1)"_s,
         key(Qt::CTRL | Qt::ALT | Qt::Key_O), "InsertSPClt"},
        {&M::SPCgtAction, "SPCgtAction", u"閉じカッコ 「 > 」 を挿入(&2)"_s,
         key(Qt::CTRL | Qt::ALT | Qt::Key_C), "InsertSPCgt"},
        {&M::SPCampAction, "SPCampAction", u"アンパサンド 「 && 」 を挿入(&3)"_s,
         key(Qt::CTRL | Qt::ALT | Qt::Key_A), "InsertSPCamp"},
        {&M::SPCquotAction, "SPCquotAction", u"ダブルクオーテーション 「 \" 」 を挿入(&4)"_s,
         key(Qt::CTRL | Qt::ALT | Qt::Key_D), "InsertSPCquot"},
        {&M::SPCspace, "SPCspace", u"半角スペースを挿入(&5)"_s, key(Qt::CTRL | Qt::ALT | Qt::Key_K),
         "InsertSPCspace"},
        {&M::InsTimeAction, "InsTimeAction", u"現在時刻の挿入(&J)"_s, key(Qt::CTRL | Qt::Key_J),
         "InsertOnlyTime"},
        // View
        {&M::ViewWrapSet, "ViewWrapSet", u"右端で折り返す（今日の日記側）(&W)"_s, {}},
        {&M::ViewWrapSet2, "ViewWrapSet2", u"右端で折り返す（全体編集側）(&W)"_s, {}},
        // Browsers and programs
        {&M::SendHtmlAction,
         "SendHtmlAction",
         u"標準のブラウザへHTMLを送る(&B)"_s,
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter),
          QKeySequence(Qt::CTRL | Qt::Key_F9)},
         "BrowseDef"},
        {&M::SendIEAction, "SendIEAction", u"Internet Explorer へ送る(&I)"_s,
         key(Qt::CTRL | Qt::ALT | Qt::Key_I), "BrowseIE"},
        {&M::SendNNAction, "SendNNAction", u"Netscape Navigator へ送る(&N)"_s,
         key(Qt::CTRL | Qt::ALT | Qt::Key_N), "BrowseNN"},
        {&M::SendOperaAction, "SendOperaAction", u"Opera へ送る(&O)"_s, key(Qt::CTRL | Qt::ALT | Qt::Key_P),
         "BrowseOpera"},
        {&M::EditorAction, "EditorAction", u"エディタへ送る(&E)"_s, key(Qt::CTRL | Qt::Key_E),
         "BrowseEditor"},
        {&M::FtpToolAction, "FtpToolAction", u"FTPソフトを起動(&F)"_s, key(Qt::CTRL | Qt::Key_F),
         "BrowseFtp"},
        {&M::UploadAction, "UploadAction", u"サーバへアップロード(&U)"_s,
         key(Qt::CTRL | Qt::SHIFT | Qt::Key_F), "BrowseUpload"},
        // Settings
        {&M::SetHTMLAction, "SetHTMLAction", u"HTML設定(&M)"_s, {}, "SetHtml"},
        {&M::SetAppAction, "SetAppAction", u"動作設定(&C)"_s, {}, "SetCtrl"},
        // Internet services
        {&M::ServicesOfNet, "ServicesOfNet", u"最新バージョンの公開状況をチェック(&N)"_s, {}},
        {&M::Service244Top, "Service244Top", u"作者のホームページへ(&A)"_s, {}},
        {&M::ServiceUserSite, "ServiceUserSite", u"自分の日記ページ(&D)"_s, {}},
        {&M::ServiceBmLink, "ServiceBmLink", u"ユーザの方々の日記ページ一覧(&L)"_s, {}},
        {&M::ServiceMsgMail, "ServiceMsgMail", u"メールで送信(&M)"_s, {}},
        {&M::ServiceMsgWeb, "ServiceMsgWeb", u"Webから送信(&W)"_s, {}},
        // Help
        {&M::HelpAction, "HelpAction", u"バージョン情報(&V)"_s, {}, "HelpVer"},
        {&M::HelpMan, "HelpMan", u"マニュアル(&M)"_s, key(Qt::Key_F1)},
        {&M::HelpFaq, "HelpFaq", u"オンライン・マニュアル(&O)"_s, {}},
        {&M::HelpUninstall, "HelpUninstall", u"アンインストール準備"_s, {}},
        // Commands without a menu item
        {&M::ProjectAction, "ProjectAction", u"Project"_s, key(Qt::CTRL | Qt::Key_P)},
        {&M::NextTabAction,
         "NextTabAction",
         u"次のタブ"_s,
         {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}},
        {&M::PrevTabAction,
         "PrevTabAction",
         u"前のタブ"_s,
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)}},
    };
    return rows;
}

// A context-menu item with its own caption that runs the main command and
// follows its enabled state.
QAction* proxyAction(QObject* owner, QAction* target, const char* name, const QString& caption) {
    auto* proxy = new QAction(caption, owner);
    proxy->setObjectName(QLatin1StringView(name));
    QObject::connect(proxy, &QAction::triggered, target, [target] { target->trigger(); });
    auto sync = [proxy, target] { proxy->setEnabled(target->isEnabled()); };
    QObject::connect(target, &QAction::changed, proxy, sync);
    sync();
    return proxy;
}

QAction* plainAction(QObject* owner, const char* name, const QString& caption) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(QLatin1StringView(name));
    return action;
}

} // namespace

void TMainForm::CreateActions() {
    for (const CommandRow& row : commandTable()) {
        auto* action = new QAction(row.caption, this);
        action->setObjectName(QLatin1StringView(row.name));
        if (!row.keys.isEmpty())
            action->setShortcuts(row.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        if (row.menuItem)
            action->setProperty("menuItem", QLatin1StringView(row.menuItem));
        addAction(action); // shortcuts work even while a menu or panel showing the action is closed
        this->*row.action = action;
    }
    ViewWrapSet->setCheckable(true);
    ViewWrapSet2->setCheckable(true);
    for (QAction* item : {FileHist1, FileHist2, FileHist3})
        item->setEnabled(false);

    InsDiary = proxyAction(this, InsertDiaryAction, "InsDiary", u"今日の日記を挿入(&I)"_s);
    TagDecPopup = proxyAction(this, TagDecAction, "TagDec", u"文字装飾タグ挿入(&M)..."_s);
    TagSentencePopup = proxyAction(this, SentenceAction, "TagSentence", u"任意タグ・単文挿入(&U)..."_s);
    PopupHist1 = plainAction(this, "PopupHist1", u"&1 None"_s);
    PopupHist2 = plainAction(this, "PopupHist2", u"&2 None"_s);
    PopupHist3 = plainAction(this, "PopupHist3", u"&3 None"_s);

    connect(NextTabAction, &QAction::triggered, this,
            [this] { PageControlMain->setCurrentIndex((PageControlMain->currentIndex() + 1) % 2); });
    connect(PrevTabAction, &QAction::triggered, this,
            [this] { PageControlMain->setCurrentIndex((PageControlMain->currentIndex() + 1) % 2); });
}

void TMainForm::CreateMenus() {
    QMenuBar* bar = menuBar();
    auto menu = [](QMenu* parentMenu, QMenuBar* parentBar, const char* name, const QString& caption) {
        QMenu* m = parentMenu ? parentMenu->addMenu(caption) : parentBar->addMenu(caption);
        m->setObjectName(QLatin1StringView(name));
        m->menuAction()->setObjectName(QLatin1StringView(name) + u"Item"_s);
        return m;
    };

    MenuFile = menu(nullptr, bar, "MenuFile", u"ファイル(&F)"_s);
    MenuFile->addActions({NewAction, OpenAction});
    FileHistory = menu(MenuFile, nullptr, "FileHistory", u"履歴から開く(&R)"_s);
    FileHistory->addActions({FileHist1, FileHist2, FileHist3});
    FileProjects = menu(MenuFile, nullptr, "FileProjects", u"プロジェクトから開く(&P)"_s);
    FileProjects->addSeparator();
    FileProjects->addAction(FileProjectEdit);
    MenuFile->addSeparator();
    MenuFile->addActions({SaveAction, SaveAsAction});
    MenuFile->addSeparator();
    MenuFile->addActions({FileTodayNew, FileTodaySave});
    MenuFile->addSeparator();
    MenuFile->addAction(FileExit);

    MenuEdit = menu(nullptr, bar, "MenuEdit", u"編集(&E)"_s);
    MenuEdit->addAction(UndoAction);
    MenuEdit->addSeparator();
    MenuEdit->addActions({CutAction, CopyAction, PasteAction, DelAction});
    MenuEdit->addSeparator();
    MenuEdit->addAction(AllSelectAction);
    MenuEdit->addSeparator();
    MenuEdit->addActions({EditSearch, EditNext, EditPrev, EditReplace, EditGoToLine});
    MenuEdit->addSeparator();
    MenuEdit->addAction(TagHighlightAction);

    MenuInsert = menu(nullptr, bar, "MenuInsert", u"挿入(&I)"_s);
    MenuInsert->addActions({InsertDiaryAction, InsertTitle});
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
    MenuBrowse->addActions({EditorAction, FtpToolAction, UploadAction});

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
    PopupMenu->addActions({EditSearch, EditNext, EditPrev, EditReplace, EditGoToLine});
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

QList<QKeySequence> TMainForm::CommandKeys() const {
    QList<QKeySequence> keys;
    for (const QAction* action : actions())
        keys += action->shortcuts();
    return keys;
}

bool TMainForm::TodayTabShown() const {
    return PageControlMain->currentWidget() == TabSheetToday;
}

DiaryEditor* TMainForm::ActiveEditor() const {
    return TodayTabShown() ? MToday : RAll;
}

// The states of the commands, computed from the tab that is shown, the
// document's state and what the settings and the browser lookup allow.
void TMainForm::UpdateCommandStates() {
    const bool today = TodayTabShown();
    // While a page is on its way in, the document's commands wait.
    const bool busy = document_ && document_->isBusy();
    const bool document = !today && document_ && document_->exists() && !busy;

    for (QAction* action : {NewAction, OpenAction, ProjectAction})
        action->setEnabled(!today && !busy);
    FileHistory->menuAction()->setEnabled(!today && !busy);
    FileProjects->menuAction()->setEnabled(!today && !busy);

    SaveAction->setEnabled(document && document_->saveEnabled());
    SaveAsAction->setEnabled(document && document_->saveAsEnabled());
    InsertDiaryAction->setEnabled(document);
    for (QAction* action : {EditSearch, EditNext, EditPrev, EditReplace, EditGoToLine})
        action->setEnabled(today || document);

    for (QAction* action : {FileTodayNew, FileTodaySave, InsertTitle, ViewWrapSet})
        action->setEnabled(today);
    ViewWrapSet2->setEnabled(!today);

    for (QAction* action : {TagBRAction, TagHRAction, TagLinkAction, TagGraphAction, TagDecAction,
                            TagPosAction, SPCltAction, SPCgtAction, SPCampAction, SPCquotAction})
        action->setEnabled(today || document);

    // On today's tab these keep the state the document tab left them in.
    if (!today) {
        BtnSentence->setEnabled(document);
        for (QAction* action : {SentenceAction, InsTimeAction, SPCspace})
            action->setEnabled(document);
    }

    SendIEAction->setEnabled(ieAvailable_);
    SendNNAction->setEnabled(nnAvailable_);
    SendOperaAction->setEnabled(operaAvailable_);
    FtpToolAction->setEnabled(!appSet.ExternalApp1.isEmpty());
    EditorAction->setEnabled(!appSet.ExternalApp2.isEmpty());
    UploadAction->setEnabled(uploadRunner_ && !uploadRunner_->busy());
}

// Run at show, at every change of tab, when the close is cancelled and after
// a document was created or opened.
void TMainForm::UpdatePageState() {
    document_->enableSaveCommands();
    UpdateCommandStates();

    // The input method follows the focus: on in today's body when the
    // settings ask for it, off in a loaded document. The editor that already
    // had the focus is switched too.
    ApplyInputMethodModes();
    if (TodayTabShown()) {
        MToday->setFocus();
        inputMethodSwitch_->applyToFocus();
        return;
    }
    if (!documentFontApplied_) {
        QFont font = RAll->font();
        font.setPointSize(appsetcheck::appliedFontPoints(appSet.EditFontSize, 10));
        RAll->setFont(font);
        QPalette p = RAll->palette();
        p.setColor(QPalette::Text, QApplication::palette().color(QPalette::WindowText));
        RAll->setPalette(p);
        RAll->document()->setModified(false);
        documentFontApplied_ = true;
    }
    RAll->setFocus();
    inputMethodSwitch_->applyToFocus();
}

void TMainForm::ApplyInputMethodModes() {
    InputMethodSwitch::setMode(MToday,
                               appSet.todayInputMethodOn() ? InputMethodMode::On : InputMethodMode::Leave);
    InputMethodSwitch::setMode(RAll, document_->exists() ? InputMethodMode::Off : InputMethodMode::Leave);
}
