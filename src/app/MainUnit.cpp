// The main window's life: creation, the show sequence that brings the settings
// into the controls, the start-up restore of today's body, the close sequence
// with its questions, dropped files and the Help menu.

#include "app/MainUnit.h"

#include "app/HelpUnit.h"
#include "app/Resources.h"
#include "document/DiaryEditor.h"
#include "platform/TextFile.h"
#include "resources/AuthorAddresses.h"
#include "resources/Messages.h"
#include "settings/Defaults.h"
#include "settings/SettingsStore.h"
#include "today/TitleUnit.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QUrl>

using namespace Qt::StringLiterals;

TMainForm::TMainForm(const Platform& platform, QWidget* parent)
    : QMainWindow(parent), OpenDialog(FileDialogKind::Open, platform.fileDialogs),
      SaveDialog(FileDialogKind::Save, platform.fileDialogs), platform_(platform) {
    setObjectName(u"MainForm"_s);
    resize(620, 420);
    setMinimumWidth(289);
    QFont font;
    font.setFamilies({u"ＭＳ Ｐゴシック"_s, u"MS PGothic"_s, u"Noto Sans CJK JP"_s, u"IPAPGothic"_s});
    font.setPointSize(9);
    setFont(font);
    setWindowIcon(oribelIcon());

    CreateActions();
    CreateMenus();
    CreateControls();
    ConnectHandlers();

    OpenDialog.options = FileDialogOption::HideReadOnly | FileDialogOption::PathMustExist |
                         FileDialogOption::FileMustExist | FileDialogOption::NoReadOnlyReturn |
                         FileDialogOption::EnableSizing;
    SaveDialog.options = FileDialogOption::OverwritePrompt | FileDialogOption::HideReadOnly |
                         FileDialogOption::PathMustExist | FileDialogOption::NoReadOnlyReturn |
                         FileDialogOption::EnableSizing;

    // Creation, before the window is shown.
    ProgramFolder = platform_.programFolder;
    const QSize screen = platform_.systemInfo->primaryScreenSize();
    ScreenWidth = screen.width();
    ScreenHeight = screen.height();
    LoadSettings();
    setAcceptDrops(true);

    const QList<QKeySequence> keys = CommandKeys();
    MToday->setCommandKeys(keys);
    RAll->setCommandKeys(keys);
    for (QWidget* widget : findChildren<QWidget*>())
        widget->setToolTipDuration(25000);

    TitleForm = new TTitleForm(this);
}

TMainForm::~TMainForm() = default;

void TMainForm::LoadSettings() {
    const LoadOutcome outcome = ::LoadSettings(*platform_.registry, *platform_.browsers, htmlSet, appSet);
    SettingsState = outcome.settingsState;
    IePathFromSystem = outcome.iePathFromSystem;
    NnPathFromSystem = outcome.nnPathFromSystem;
    OperaPathFromSystem = outcome.operaPathFromSystem;
    SendIEAction->setEnabled(outcome.sendIEEnabled);
    SendNNAction->setEnabled(outcome.sendNNEnabled);
    SendOperaAction->setEnabled(outcome.sendOperaEnabled);
}

void TMainForm::SaveSettings() {
    // The stored fonts are those the editors use now.
    appSet.EditFontSize = QString::number(RAll->font().pointSize());
    appSet.EditFontFace = RAll->font().family();
    appSet.EditFontSizeT = QString::number(MToday->font().pointSize());
    appSet.EditFontFaceT = MToday->font().family();
    ::SaveSettings(*platform_.registry, *platform_.messages, htmlSet, appSet, platform_.executablePath,
                   platform_.clock->now().date());
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void TMainForm::FormShow() {
    ShowInProgress = true;
    if (SettingsState != '-')
        ApplySettingDefaults(htmlSet, appSet, SettingsCleared);
    AutoOpenAtStart();
    PageControlMain->setCurrentWidget(TabSheetToday);
    ApplyWindowSettings();
    FillWeekdayList();
    ResetToToday();
    ApplyHtmlFlagControls();
    ShowHtmlSetName();
    UpdatePageState();
    MonthlyStatisticsCheck();
    RAll->document()->setModified(false);
    MToday->document()->setModified(false);
    RestoreStartupBody();
    EditDate->setFocus();
    MToday->setFocus();
    RefreshStatus(StatusTab::Document);
    RefreshStatus(StatusTab::Today);
    // The input method's composition colours cannot be set through Qt; the
    // platform's own colours stay.
    ShowInProgress = false;
}

void TMainForm::AutoOpenAtStart() {
    BookmarkListPath = ProgramFolder + u"bookmark.csv"_s;
    SentenceListPath = ProgramFolder + u"sentence.csv"_s;
    ProjectListPath = ProgramFolder + u"default.str"_s;

    BtnSentence->setToolTip(msg::BtnSentenceHint);
    BtnEditor->setToolTip(msg::BtnEditorHint);
    BtnFTP->setToolTip(msg::BtnFtpHint);

    const char mode = appSet.flag(AutoOpenFlag);
    QString error;
    if (mode == '1') {
        if (!QFileInfo(appSet.FileHistory1).isFile() && !appSet.FileHistory1.isEmpty())
            error = msg::lastSavedFileMissing(appSet.FileHistory1);
    } else if (mode == '2') {
        if (!QFileInfo(appSet.AlwaysOpenHtml).isFile())
            error = msg::alwaysOpenFileMissing(appSet.AlwaysOpenHtml);
    }
    if (!error.isEmpty())
        platform_.messages->show(error, msg::AutoOpenErrorCaption, MsgIcon::Error);
    else if (mode == '1')
        OpenHistoryFile(0);
    else if (mode == '2')
        OpenHistoryFile(-1);

    DebugMode = false;
    if (appSet.flag(TodayImeFlag) == '1')
        MToday->setInputMethodHints(Qt::ImhNone);
}

bool TMainForm::LoadIntoToday(const QString& path) {
    QString error;
    const std::optional<QString> text = textfile::read(path, &error);
    if (!text) {
        platform_.messages->show(error, msg::AppName, MsgIcon::Error);
        return false;
    }
    MToday->loadText(*text);
    return true;
}

void TMainForm::RestoreStartupBody() {
    const QString tempPath = ProgramFolder + u"DIARY.TMP"_s;
    if (QFileInfo::exists(tempPath)) {
        // A kept entry. It is deleted only once it was read: a file that cannot
        // be read stays for the next start instead of being lost.
        if (!LoadIntoToday(tempPath))
            return;
        MToday->document()->setModified(true);
        if (!QFile::remove(tempPath))
            platform_.messages->show(msg::TempFileDeleteFailed, msg::AppName, MsgIcon::Warning);
        if (const std::optional<TempDiary> kept = LoadTempDiary(*platform_.registry, *platform_.messages))
            ApplyTempDiary(*kept);
        if (!BoxWeather2->currentText().isEmpty())
            SetWeatherExtension(true);
        RefreshTitlePanel();
        return;
    }
    const QString parameter = platform_.arguments.value(0);
    if (!parameter.isEmpty()) {
        if (QFileInfo(parameter).isFile()) {
            if (LoadIntoToday(parameter))
                MToday->document()->setModified(false);
        } else {
            platform_.messages->show(msg::invalidParameter(parameter), msg::AppName, MsgIcon::Error);
        }
        return;
    }
    const QString templatePath = ProgramFolder + u"basediary.txt"_s;
    if (QFileInfo::exists(templatePath) && LoadIntoToday(templatePath))
        MToday->document()->setModified(false);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    closing_ = true;
    FormClose();
    event->accept();
}

bool TMainForm::FormCloseQuery() {
    if (SettingsCleared == 'T')
        return true;
    try {
        if (AskSaveDocument() == AskSaveResult::Cancel)
            return false;
        if (!MToday->document()->isModified())
            return true;
        switch (platform_.messages->show(msg::ExitConfirm, msg::ExitConfirmCaption, MsgIcon::Question,
                                         MsgButtons::YesNoCancel)) {
        case MsgAnswer::Yes:
            return SaveTodayTemp();
        case MsgAnswer::No:
            return true;
        default:
            PageControlMain->setCurrentWidget(TabSheetToday);
            MToday->setFocus();
            UpdatePageState();
            return false;
        }
    } catch (...) {
        return false;
    }
}

void TMainForm::FormClose() {
    if (SettingsCleared != 'T')
        SaveSettings();
    if (ErrorHtmlMade == u"F"_s)
        DeleteErrorPage();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Paint && ErrorHtmlMade == u"F"_s)
        DeleteErrorPage();
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::DeleteErrorPage() {
    // The error page for the browser is written by the hand-over commands; until
    // they exist there is nothing to delete.
}

void TMainForm::ClearBookmarkMenu() {}
void TMainForm::ClearSnippetMenu() {}
void TMainForm::ClearProjectMenu() {}

// ---- Dropped files --------------------------------------------------------------

static QStringList localFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            files << QDir::toNativeSeparators(url.toLocalFile());
    }
    return files;
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const QStringList files = localFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    DropFiles(files);
}

void TMainForm::DropFiles(const QStringList& paths) {
    if (paths.isEmpty())
        return;
    // Only the first file counts; its path is used whole.
    const QString& path = paths.first();
    if (TodayTabShown()) {
        if (MToday->document()->isModified() &&
            platform_.messages->show(msg::DropIntoTodayConfirm, msg::ConfirmCaption, MsgIcon::Question,
                                     MsgButtons::YesNo) != MsgAnswer::Yes)
            return;
        if (LoadIntoToday(path))
            MToday->document()->setModified(false);
        return;
    }
    if (AskSaveDocument() != AskSaveResult::Cancel)
        OpenDocumentFile(path);
}

// ---- After the dialogs ----------------------------------------------------------

void TMainForm::FocusShownEditor() {
    if (TodayTabShown())
        MToday->setFocus();
    else
        RAll->setFocus();
}

void TMainForm::SetHTMLActionExecute() {
    // The HTML settings dialog opens here; whatever it answers, the main window
    // then brings the settings back into its controls.
    AfterHtmlSettingsDialog();
}

void TMainForm::SetAppActionExecute() {
    AfterAppSettingsDialog();
}

void TMainForm::AfterHtmlSettingsDialog() {
    ApplySettingDefaults(htmlSet, appSet, SettingsCleared);
    ApplyHtmlFlagControls();
    FillWeekdayList();
    ShowHtmlSetName();
    UpdateWeekday();
    FocusShownEditor();
}

void TMainForm::AfterAppSettingsDialog() {
    ApplySettingDefaults(htmlSet, appSet, SettingsCleared);
    ApplyWindowSettings();
    ApplyHtmlFlagControls();
    ClearBookmarkMenu();
    ClearSnippetMenu();
    ClearProjectMenu();
    appSet.setFlag(SettingsDialogPage, '\0');
    FocusShownEditor();
}

// ---- Help menu ------------------------------------------------------------------

void TMainForm::HelpManClick() {
    const QString manual = ProgramFolder + u"Pagora.chm"_s;
    if (QFileInfo::exists(manual)) {
        platform_.shell->open(manual);
        return;
    }
    platform_.messages->show(msg::ManualNotFound, msg::ManualNotFoundCaption, MsgIcon::Error);
    HelpActionExecute();
}

void TMainForm::HelpFaqClick() {
    const QString manual = AuthorAddresses::builtIn().manualUrl();
    if (manual.isEmpty()) {
        platform_.messages->show(msg::NoAuthorSite, msg::AppTitle, MsgIcon::Information);
        return;
    }
    platform_.shell->open(manual);
}

void TMainForm::HelpUninstallClick() {
    if (platform_.messages->show(msg::UninstallConfirm, msg::UninstallConfirmCaption, MsgIcon::Warning,
                                 MsgButtons::YesNo, MsgAnswer::No) != MsgAnswer::Yes)
        return;
    ClearSettings(*platform_.registry);
    platform_.messages->show(msg::UninstallDone, msg::UninstallDoneCaption, MsgIcon::Information);
    SettingsCleared = 'T';
    close();
}

void TMainForm::HelpActionExecute() {
    THelpForm about(
        platform_, appSet, DebugMode, [this] { HelpManClick(); }, this);
    about.exec();
    FocusShownEditor();
}
