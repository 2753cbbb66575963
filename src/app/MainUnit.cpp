// The main window's life: creation, the settings, the show sequence that brings
// them into the controls, the start-up restore of today's body, the close
// sequence with its questions, dropped files and the steps after the settings
// dialogs.

#include "app/MainUnit.h"

#include "app/Resources.h"
#include "dialogs/AppSetUnit.h"
#include "dialogs/HtmlUnit.h"
#include "document/DiaryEditor.h"
#include "platform/InputMethodSwitch.h"
#include "platform/TextFile.h"
#include "publish/UploadRunner.h"
#include "resources/Messages.h"
#include "settings/AppSetChecks.h"
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
#include <QTimer>

#include <QUrl>
#include <utility>

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
    inputMethodSwitch_ = new InputMethodSwitch(platform_.inputMethod, this);
    document_ =
        new DiaryDocument(*RAll, *platform_.messages, OpenDialog, SaveDialog, appSet, programFolder_, this);
    ConnectWindowCommands();
    ConnectDocumentCommands();
    ConnectEditCommands();
    ConnectTodayCommands();
    ConnectHelpCommands();
    ConnectBrowseCommands();
    ConnectProjectCommands();
    ConnectRecovery();
    ConnectUploadCommands();

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

void TMainForm::LoadSettings() {
    const LoadOutcome outcome = ::LoadSettings(*platform_.registry, *platform_.browsers, htmlSet, appSet);
    settingsOrigin_ = outcome.origin;
    ieFromSystem_ = outcome.iePathFromSystem;
    nnFromSystem_ = outcome.nnPathFromSystem;
    operaFromSystem_ = outcome.operaPathFromSystem;
    ieAvailable_ = outcome.sendIEEnabled;
    nnAvailable_ = outcome.sendNNEnabled;
    operaAvailable_ = outcome.sendOperaEnabled;
    loadedSettings_ = LoadedSettings{htmlSet, appSet};
    UpdateCommandStates();
}

void TMainForm::SaveSettings() {
    // The stored fonts are those the editors use now. A size text the editor
    // shows as it says (an absurd size is held to the largest) stays as typed.
    const auto sizeText = [](const QString& stored, int standard, int shown) {
        return appsetcheck::appliedFontPoints(stored, standard) == shown ? stored : QString::number(shown);
    };
    appSet.EditFontSize = sizeText(appSet.EditFontSize, 10, RAll->font().pointSize());
    appSet.EditFontFace = RAll->font().family();
    appSet.EditFontSizeT = sizeText(appSet.EditFontSizeT, 12, MToday->font().pointSize());
    appSet.EditFontFaceT = MToday->font().family();
    ::SaveSettings(*platform_.registry, *platform_.messages, htmlSet, appSet, loadedSettings_,
                   platform_.executablePath, platform_.clock->now().date());
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

void TMainForm::setVisible(bool visible) {
    // A position given before the window exists places its frame there, and
    // the window manager takes it as the user's (0, 0 too, instead of
    // centring the window): the stored geometry goes in now, after the
    // defaults pass it depends on.
    if (visible && !shownOnce_ && !testAttribute(Qt::WA_WState_Created)) {
        ApplyStartDefaults();
        ApplyWindowGeometry();
        placedBeforeShow_ = true;
    }
    QMainWindow::setVisible(visible);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void TMainForm::ApplyStartDefaults() {
    if (std::exchange(startDefaultsApplied_, true))
        return;
    if (settingsOrigin_ != SettingsOrigin::Current) {
        ApplySettingDefaults(htmlSet, appSet, settingsCleared_);
        loadedSettings_.htmlAfterDefaults = htmlSet;
        loadedSettings_.appAfterDefaults = appSet;
    }
}

void TMainForm::FormShow() {
    showInProgress_ = true;
    ApplyStartDefaults();
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
    // Today's body (and any recovery copy) is restored once the window is on
    // screen: a big kept entry takes seconds to load.
    ScheduleStartupRestore();
    EditDate->setFocus();
    MToday->setFocus();
    // The neutral mode of the input method is the one the user left it in:
    // nothing to do here.
    RefreshStatus(StatusTab::Document);
    RefreshStatus(StatusTab::Today);
    // The editors show compositions in their own colours (DiaryEditor).
    showInProgress_ = false;
}

void TMainForm::AutoOpenAtStart() {
    const AutoOpen mode = appSet.autoOpen();
    QString error;
    // A page that is there but is no regular file is named for what it is.
    if (mode == AutoOpen::LastSaved) {
        const textfile::FileKind kind = textfile::fileKind(appSet.FileHistory1);
        if (kind == textfile::FileKind::Missing && !appSet.FileHistory1.isEmpty())
            error = msg::lastSavedFileMissing(appSet.FileHistory1);
        else if (kind != textfile::FileKind::Missing && kind != textfile::FileKind::Regular)
            error = msg::lastSavedFileNotRegular(appSet.FileHistory1, textfile::notRegularReason(kind));
    } else if (mode == AutoOpen::AlwaysOpenHtml) {
        const textfile::FileKind kind = textfile::fileKind(appSet.AlwaysOpenHtml);
        if (kind == textfile::FileKind::Missing)
            error = msg::alwaysOpenFileMissing(appSet.AlwaysOpenHtml);
        else if (kind != textfile::FileKind::Regular)
            error = msg::alwaysOpenFileNotRegular(appSet.AlwaysOpenHtml, textfile::notRegularReason(kind));
    }
    if (!error.isEmpty())
        platform_.messages->show(error, msg::AutoOpenErrorCaption, MsgIcon::Error);
    else if (mode == AutoOpen::LastSaved)
        document_->openHistoryEntry(0);
    else if (mode == AutoOpen::AlwaysOpenHtml)
        document_->openHistoryEntry(-1);

    debugMode_ = false;
    // Today's body switches the input method on as it gets the focus
    // (ApplyInputMethodModes), which it does a few steps on.
    ApplyInputMethodModes();
}

void TMainForm::RestoreStartupBody() {
    // Kept entries: the command-line parameter is then ignored.
    if (RestoreKeptEntries())
        return;
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
    // A big page is on its way to the disk: the window closes once it is there.
    if (document_->isSaving()) {
        closeAfterSave_ = true;
        event->ignore();
        return;
    }
    if (!UploadMayClose()) {
        event->ignore();
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
        switch (AskAboutUnusedEntry()) {
        case UnusedEntry::Keep:
            return SaveTodayTemp();
        case UnusedEntry::Discard:
            return true;
        case UnusedEntry::Cancel:
            return false;
        }
        return false;
    } catch (...) {
        return false;
    }
}

void TMainForm::FormClose() {
    RecoveryAtClose();
    if (!settingsCleared_)
        SaveSettings();
    DeleteErrorPage(true);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    // The error page goes at a repaint once the browser has had its time. A
    // window uncovered on this platform is not repainted from scratch, so
    // the return to the window counts as its repaint.
    if ((watched == centralWidget() && event->type() == QEvent::Paint) ||
        (watched == this && event->type() == QEvent::WindowActivate))
        DeleteErrorPage(false);
    // The window was painted: now the rest of the show sequence.
    if (watched == centralWidget() && event->type() == QEvent::Paint && startupRestorePending_)
        QTimer::singleShot(0, this, &TMainForm::StartupRestore);
    return QMainWindow::eventFilter(watched, event);
}

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
    // A fresh dialog for each use; it writes htmlSet only on OK. Whatever it
    // answers, the main window then brings the settings back into its controls.
    {
        THtmlForm form(platform_, OpenDialog, SaveDialog, htmlSet, htmlTitleHidden_, this);
        form.exec();
    }
    AfterHtmlSettingsDialog();
}

void TMainForm::SetAppActionExecute() {
    {
        TAppSetForm dialog({appSet, *platform_.messages, OpenDialog, programFolder_, screenSize_,
                            ieFromSystem_, nnFromSystem_, this, uploadRunner_.get(), uploadPasswords_.get()},
                           this);
        dialog.exec();
    }
    // Whichever button closed it, the settings are brought back into the window.
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
    ApplyInputMethodModes();
    FocusShownEditor();
}
