// The main window's life: creation, the settings, the show sequence that brings
// them into the controls, the start-up restore of today's body, the close
// sequence with its questions, dropped files and the steps after the settings
// dialogs.

#include "app/MainUnit.h"

#include "app/Resources.h"
#include "document/DiaryEditor.h"
#include "resources/Messages.h"
#include "settings/Defaults.h"
#include "today/TitleUnit.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>

using namespace Qt::StringLiterals;

TMainForm::TMainForm(const Platform& platform, QWidget* parent)
    : QMainWindow(parent), OpenDialog(FileDialogKind::Open, platform.fileDialogs),
      SaveDialog(FileDialogKind::Save, platform.fileDialogs), platform_(platform),
      programFolder_(platform.programFolder) {
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
    document_ =
        new DiaryDocument(*RAll, *platform_.messages, OpenDialog, SaveDialog, appSet, programFolder_, this);
    ConnectWindowCommands();
    ConnectDocumentCommands();
    ConnectEditCommands();
    ConnectTodayCommands();
    ConnectHelpCommands();

    OpenDialog.options = FileDialogOption::HideReadOnly | FileDialogOption::PathMustExist |
                         FileDialogOption::FileMustExist | FileDialogOption::NoReadOnlyReturn |
                         FileDialogOption::EnableSizing;
    SaveDialog.options = FileDialogOption::OverwritePrompt | FileDialogOption::HideReadOnly |
                         FileDialogOption::PathMustExist | FileDialogOption::NoReadOnlyReturn |
                         FileDialogOption::EnableSizing;

    // Creation, before the window is shown.
    screenSize_ = platform_.systemInfo->primaryScreenSize();
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
    settingsOrigin_ = outcome.origin;
    ieFromSystem_ = outcome.iePathFromSystem;
    nnFromSystem_ = outcome.nnPathFromSystem;
    operaFromSystem_ = outcome.operaPathFromSystem;
    ieAvailable_ = outcome.sendIEEnabled;
    nnAvailable_ = outcome.sendNNEnabled;
    operaAvailable_ = outcome.sendOperaEnabled;
    UpdateCommandStates();
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

void TMainForm::ConnectWindowCommands() {
    connect(PageControlMain, &QTabWidget::currentChanged, this, &TMainForm::UpdatePageState);
    connect(BtnExit, &QPushButton::clicked, this, &QWidget::close);
    connect(FileExit, &QAction::triggered, this, &QWidget::close);
    connect(BtnHtml, &QPushButton::clicked, SetHTMLAction, &QAction::trigger);
    connect(BtnCtrl, &QPushButton::clicked, SetAppAction, &QAction::trigger);
    connect(SetHTMLAction, &QAction::triggered, this, &TMainForm::SetHTMLActionExecute);
    connect(SetAppAction, &QAction::triggered, this, &TMainForm::SetAppActionExecute);
    connect(ViewWrapSet, &QAction::triggered, this, [this] {
        appSet.flipTodayWrap();
        ApplyWrap(WrapTarget::Today);
    });
    connect(ViewWrapSet2, &QAction::triggered, this, [this] {
        appSet.flipDocumentWrap();
        ApplyWrap(WrapTarget::Document);
    });
    centralWidget()->installEventFilter(this);
}

// ---- Show --------------------------------------------------------------------

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void TMainForm::FormShow() {
    showInProgress_ = true;
    if (settingsOrigin_ != SettingsOrigin::Current)
        ApplySettingDefaults(htmlSet, appSet, settingsCleared_);
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
    showInProgress_ = false;
}

void TMainForm::AutoOpenAtStart() {
    const AutoOpen mode = appSet.autoOpen();
    QString error;
    if (mode == AutoOpen::LastSaved) {
        if (!QFileInfo(appSet.FileHistory1).isFile() && !appSet.FileHistory1.isEmpty())
            error = msg::lastSavedFileMissing(appSet.FileHistory1);
    } else if (mode == AutoOpen::AlwaysOpenHtml) {
        if (!QFileInfo(appSet.AlwaysOpenHtml).isFile())
            error = msg::alwaysOpenFileMissing(appSet.AlwaysOpenHtml);
    }
    if (!error.isEmpty())
        platform_.messages->show(error, msg::AutoOpenErrorCaption, MsgIcon::Error);
    else if (mode == AutoOpen::LastSaved)
        document_->openHistoryEntry(0);
    else if (mode == AutoOpen::AlwaysOpenHtml)
        document_->openHistoryEntry(-1);

    debugMode_ = false;
    if (appSet.todayInputMethodOn())
        MToday->setInputMethodHints(Qt::ImhNone);
}

void TMainForm::RestoreStartupBody() {
    const QString tempPath = programFolder_ + u"DIARY.TMP"_s;
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
    const QString templatePath = programFolder_ + u"basediary.txt"_s;
    if (QFileInfo::exists(templatePath) && LoadIntoToday(templatePath))
        MToday->document()->setModified(false);
}

// ---- Close -------------------------------------------------------------------

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
    if (settingsCleared_)
        return true;
    try {
        if (document_->askSave() == AskSaveResult::Cancel)
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
    if (!settingsCleared_)
        SaveSettings();
    if (errorPageWritten_)
        DeleteErrorPage();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Paint && errorPageWritten_)
        DeleteErrorPage();
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::DeleteErrorPage() {
    // The error page for the browser is written by the hand-over commands; until
    // they exist there is nothing to delete.
}

void TMainForm::ClearBookmarkMenu() {}
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
    if (document_->askSave() != AskSaveResult::Cancel)
        document_->openFile(path);
}

// ---- After the dialogs ----------------------------------------------------------

void TMainForm::FocusShownEditor() {
    ActiveEditor()->setFocus();
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
    ApplySettingDefaults(htmlSet, appSet, settingsCleared_);
    ApplyHtmlFlagControls();
    FillWeekdayList();
    ShowHtmlSetName();
    UpdateWeekday();
    FocusShownEditor();
}

void TMainForm::AfterAppSettingsDialog() {
    ApplySettingDefaults(htmlSet, appSet, settingsCleared_);
    ApplyWindowSettings();
    ApplyHtmlFlagControls();
    ClearBookmarkMenu();
    ClearSnippetMenu();
    ClearProjectMenu();
    appSet.setSettingsDialogPage('\0');
    FocusShownEditor();
}
