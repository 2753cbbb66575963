#pragma once
// TMainForm: the main window and hub of the program. It owns the two settings
// records, the diary document, both tabs with their controls, the menus and
// every command. Its members are grouped by subject in separate sources, each
// of which also connects its own commands:
//   MainUnit.cpp      creation, settings, the show and close sequences, dropped files,
//                     the steps after the settings dialogs
//   MainLayout.cpp    the controls of both tabs and the settings brought into them
//   MainCommands.cpp  the command table (actions, captions, keys), the menus, the
//                     commands' states per tab, tab switching
//   MainDocument.cpp  the whole-file tab's document commands and history menus
//   MainEdit.cpp      the editing commands shared by both editors, the quick tags
//   MainTags.cpp      the tag builder's openers, the snippet menu, tag highlighting
//   MainToday.cpp     today's page, the composer, the status panels
//   MainHelp.cpp      the Help menu
//   MainBrowse.cpp    the hand-over to browsers, editor and FTP program, the error
//                     page, the Internet-service menu with the bookmarks
//   MainProjects.cpp  the project menus
//   MainSearch.cpp    find, replace and go to a line (the find bars)
//   MainRecovery.cpp  recovery copies of unsaved text, kept entries, the start-up
//                     restore that runs once the window is on screen
//   MainUpload.cpp    publishing the page (and changed project pages) to the web site
// docs/ARCHITECTURE.md walks through adding a command.

#include "document/DiaryDocument.h"
#include "platform/Platform.h"
#include "platform/RecoveryStore.h"
#include "settings/AppSet.h"
#include "settings/HtmlSet.h"
#include "settings/KeptEntries.h"
#include "settings/SettingsStore.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QMainWindow>

#include <memory>
#include <optional>

class DiaryEditor;
class FindBar;
class InputMethodSwitch;
class QAbstractButton;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;
class QToolButton;
class QWidget;
class TUpDown;
class TTitleForm;
class UploadPasswords;
class UploadRunner;
struct UploadItem;
struct UploadOutcome;
struct TempDiary;
namespace handover {
enum class HandOver;
struct Launch;
} // namespace handover
enum class TagMode : char;

enum class StatusTab { Today, Document };
// The answer about an unused entry before the program closes: nothing to ask
// or discard it, keep it for the next start, or do not close.
enum class UnusedEntry { Discard, Keep, Cancel };
enum class WrapTarget { Both, Today, Document };

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(const Platform& platform, QWidget* parent = nullptr);
    ~TMainForm() override;

    // ---- Settings records (the only truth between start and exit) ----------------
    HtmlSet htmlSet;
    AppSet appSet;

    // ---- Controls ---------------------------------------------------------------
    QFrame* BevelTop = nullptr;
    QWidget* PanelBottom = nullptr;
    QPushButton *BtnHelp = nullptr, *BtnHtml = nullptr, *BtnCtrl = nullptr, *BtnExit = nullptr;
    QTabWidget* PageControlMain = nullptr;

    QWidget* TabSheetToday = nullptr;
    QWidget* PanelDay = nullptr;
    QLineEdit *EditYear = nullptr, *EditMonth = nullptr, *EditDate = nullptr;
    TUpDown *UpDownYear = nullptr, *UpDownMonth = nullptr, *UpDownDate = nullptr;
    QLabel *LabelDay = nullptr, *LabelWeather = nullptr, *LabelWeatherBar = nullptr;
    QComboBox *BoxDay = nullptr, *BoxWeather1 = nullptr, *BoxWeather2 = nullptr;
    QPushButton *BtnWeaPlus = nullptr, *BtnNewToday = nullptr, *BtnDateReset = nullptr;
    QWidget* PanelTodayBar = nullptr;
    QPushButton *BtnTitle = nullptr, *BtnBR = nullptr, *BtnGuide = nullptr;
    QLabel* LabelAutoBR = nullptr;
    QComboBox* ComboBoxAutoBR = nullptr;
    QLabel* PanelTitle = nullptr;
    DiaryEditor* MToday = nullptr;
    QLabel *PanelStatusT1 = nullptr, *PanelStatusT2 = nullptr, *PanelStatusTsm = nullptr;

    QWidget* TabSheetAll = nullptr;
    QWidget* PanelAllBtn = nullptr;
    QToolButton *BtnNew = nullptr, *BtnOpen = nullptr, *BtnHistory = nullptr, *BtnBrowser = nullptr,
                *BtnInsertDiary = nullptr, *BtnEditor = nullptr, *BtnSave = nullptr, *BtnProject = nullptr,
                *BtnExternApp1 = nullptr, *SpeedButton1 = nullptr, *SpeedButton6 = nullptr, *BtnBRa = nullptr,
                *BtnHR = nullptr, *SpeedButton2 = nullptr, *SpeedButton3 = nullptr, *SpeedButton4 = nullptr,
                *SpeedButton5 = nullptr, *BtnSentence = nullptr, *BtnFTP = nullptr, *BtnSaveAs = nullptr;
    QLabel *PanelFile1 = nullptr, *PanelFileName = nullptr, *PanelHtml1 = nullptr, *PanelHtmlName = nullptr;
    QLabel* PanelFileForm = nullptr; // the page's encoding and line ending
    DiaryEditor* RAll = nullptr;
    QLabel *PanelStatusR1 = nullptr, *PanelStatusR2 = nullptr, *PanelStatusRsm = nullptr;
    QToolButton* BtnUpload = nullptr;
    // Shown in the bottom bar while an upload takes longer than a second.
    QProgressBar* UploadProgress = nullptr;
    QPushButton* BtnUploadCancel = nullptr;

    FileDialog OpenDialog;
    FileDialog SaveDialog;

    // ---- Commands (one QAction each; menus, buttons and context menus share it) ----
    QAction *NewAction = nullptr, *OpenAction = nullptr, *SaveAction = nullptr, *SaveAsAction = nullptr;
    QAction *FileTodayNew = nullptr, *FileTodaySave = nullptr, *FileExit = nullptr;
    QAction *FileHist1 = nullptr, *FileHist2 = nullptr, *FileHist3 = nullptr, *FileProjectEdit = nullptr;
    QAction *UndoAction = nullptr, *CutAction = nullptr, *CopyAction = nullptr, *PasteAction = nullptr,
            *DelAction = nullptr, *AllSelectAction = nullptr, *EditSearch = nullptr, *EditNext = nullptr,
            *TagHighlightAction = nullptr;
    QAction *InsertDiaryAction = nullptr, *InsertTitle = nullptr, *TagBRAction = nullptr,
            *TagHRAction = nullptr, *TagLinkAction = nullptr, *TagGraphAction = nullptr,
            *TagDecAction = nullptr, *TagPosAction = nullptr, *SentenceAction = nullptr,
            *SPCltAction = nullptr, *SPCgtAction = nullptr, *SPCampAction = nullptr, *SPCquotAction = nullptr,
            *SPCspace = nullptr, *InsTimeAction = nullptr;
    QAction *ViewWrapSet = nullptr, *ViewWrapSet2 = nullptr;
    QAction *SendHtmlAction = nullptr, *SendIEAction = nullptr, *SendNNAction = nullptr,
            *SendOperaAction = nullptr, *EditorAction = nullptr, *FtpToolAction = nullptr;
    QAction *SetHTMLAction = nullptr, *SetAppAction = nullptr;
    QAction *ServicesOfNet = nullptr, *Service244Top = nullptr, *ServiceUserSite = nullptr,
            *ServiceBmLink = nullptr, *ServiceMsgMail = nullptr, *ServiceMsgWeb = nullptr;
    QAction *HelpAction = nullptr, *HelpMan = nullptr, *HelpFaq = nullptr, *HelpUninstall = nullptr;
    // Find previous, replace and go to a line, beside EditSearch and EditNext.
    QAction *EditPrev = nullptr, *EditReplace = nullptr, *EditGoToLine = nullptr;
    QAction* ProjectAction = nullptr;
    QAction* UploadAction = nullptr;
    QAction* ProjectsEdit = nullptr; // the registration item of PopupProjects
    QAction *NextTabAction = nullptr, *PrevTabAction = nullptr;
    // Context-menu items whose caption differs from the main menu's.
    QAction *InsDiary = nullptr, *TagDecPopup = nullptr, *TagSentencePopup = nullptr;
    QAction *PopupHist1 = nullptr, *PopupHist2 = nullptr, *PopupHist3 = nullptr;
    // The snippet menu's registration item "（任意タグ,単文の登録...）".
    QAction* SentenceEdit = nullptr;

    QMenu *MenuFile = nullptr, *FileHistory = nullptr, *FileProjects = nullptr, *MenuEdit = nullptr,
          *MenuInsert = nullptr, *InsertSPC = nullptr, *MenuView = nullptr, *MenuBrowse = nullptr,
          *MenuSet = nullptr, *MenuService = nullptr, *ServiceBookMark = nullptr,
          *ServiceSendMessage = nullptr, *MenuHelp = nullptr;
    QMenu *PopupMenu = nullptr, *PopupHistry = nullptr, *PopupSentence = nullptr, *PopupProjects = nullptr,
          *PopupSPC = nullptr;

    TTitleForm* TitleForm = nullptr;
    // The find bars under today's body and under the page.
    FindBar *FindBarToday = nullptr, *FindBarAll = nullptr;

    // ---- What the window holds for the run ------------------------------------------
    DiaryDocument& document() { return *document_; }
    SettingsOrigin settingsOrigin() const { return settingsOrigin_; }
    bool showInProgress() const { return showInProgress_; }
    QString diaryTitle() const { return diaryTitle_; }
    void setDiaryTitle(const QString& title) { diaryTitle_ = title; }
    QString weatherTag1() const { return weatherTag1_; }
    QString weatherTag2() const { return weatherTag2_; }
    bool debugMode() const { return debugMode_; }
    // The primary screen's size when the window was created.
    QSize screenSize() const { return screenSize_; }
    void setDebugMode(bool on) { debugMode_ = on; }
    // Whether the last steps of the show sequence (the recovery copies offered
    // back, today's body restored), run once the window is on screen, are done.
    bool startupRestored() const { return startupRestored_; }

    // ---- Operations other parts of the program run ----------------------------------
    void AfterHtmlSettingsDialog();
    void AfterAppSettingsDialog();
    void DropFiles(const QStringList& paths);
    void ApplyWindowSettings();
    void ApplyHtmlFlagControls();
    void RefreshTitlePanel();
    void OpenProjectFile(const QString& path);
    void SetDocumentName(const QString& name);

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ---- MainUnit.cpp: life of the window
    void LoadSettings();
    void SaveSettings();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void AutoOpenAtStart();
    void RestoreStartupBody();
    void FocusShownEditor();
    void SetHTMLActionExecute();
    void SetAppActionExecute();
    void ClearSnippetMenu();
    void ConnectWindowCommands();

    // ---- MainLayout.cpp: controls and the settings in them
    void CreateControls();
    void SetGuideText();
    void FillWeekdayList();
    void ShowHtmlSetName();
    void ApplyWrap(WrapTarget which);
    void ApplyWindowGeometry(); // the stored place and size, when they are to be used
    void ApplyStartDefaults();  // MainUnit.cpp: the defaults pass of the first show, once

    // ---- MainCommands.cpp: commands, menus, states, keys
    void CreateActions();
    void CreateMenus();
    void UpdatePageState();
    // Which way each editor wants the input method when it gets the focus.
    void ApplyInputMethodModes();
    void UpdateCommandStates();
    QList<QKeySequence> CommandKeys() const;
    bool TodayTabShown() const;
    DiaryEditor* ActiveEditor() const;

    // ---- MainDocument.cpp: the whole-file tab's document
    void ConnectDocumentCommands();
    void ShowDocumentName();
    void ShowDocumentBusy(bool busy);
    void MenuFileClick();
    void PopupHistryPopup();
    void BtnHistoryClick();

    // ---- MainEdit.cpp: editing commands
    void ConnectEditCommands();
    void MenuEditClick();
    void InsertText(const QString& text);
    void TagBRActionExecute();
    void TagHRActionExecute();
    void InsTimeActionExecute();

    // ---- MainSearch.cpp: find, replace, go to a line
    void ConnectSearchCommands();
    FindBar* ActiveFindBar() const;

    // ---- MainTags.cpp: tag builder openers, snippet menu, highlighting, "<" warning
    void ConnectTagCommands();
    void OpenTagBuilder(TagMode mode);
    void BtnSentenceClick();
    void SentenceActionExecute();
    void PopUpSnippetMenu(QPoint offset);
    void LoadSnippetMenu();
    void SentenceEditClick(QAction* item);
    void HighlightTags(DiaryEditor* editor);
    void MTodayKeyPress(const QString& typed);

    // ---- MainToday.cpp: today's page, composer, status
    void ConnectTodayCommands();
    void ResetToToday();
    void NewTodayEntry();
    void ResetTodayDate();
    void SetWeatherExtension(bool open);
    void EditDiaryTitle();
    bool LoadIntoToday(const QString& path);
    bool SaveTodayTemp();
    UnusedEntry AskAboutUnusedEntry();
    void SaveTodayAndExit();
    void ShowOperationAdvice();
    void UpdateWeekday();
    void DateFieldChange();
    TempDiary CurrentTempDiary() const;
    void ApplyTempDiary(const TempDiary& kept);
    void InsertDiaryActionExecute();
    void MonthlyStatisticsCheck();
    void RefreshStatus(StatusTab tab);

    // ---- MainRecovery.cpp: recovery copies, kept entries, the deferred restore
    void ConnectRecovery();
    void ScheduleStartupRestore();
    void StartupRestore();
    bool OfferRecoveryCopies();
    void OfferInterruptedRewrites();
    bool RestoreKeptEntries();
    bool KeepTodayEntry();
    void ReleaseKeptEntry();
    void ScheduleRecoveryCopy(RecoveryKind kind);
    void WriteRecoveryCopy(RecoveryKind kind);
    void RecoveryCopyWritten(RecoveryKind kind, bool written);
    void RemoveRecoveryCopy(RecoveryKind kind);
    void RecoveryAtClose();

    // ---- MainHelp.cpp: the Help menu
    void ConnectHelpCommands();
    void HelpManClick();
    bool OpenLocalManual(); // false, having said so, when the manual is missing
    void HelpFaqClick();
    void HelpUninstallClick();
    void HelpActionExecute();

    // ---- MainBrowse.cpp: hand-over, error page, service and bookmark menus
    void ConnectBrowseCommands();
    handover::HandOver PrepareHandOver();
    QString WriteErrorPage(bool* written = nullptr);
    void DeleteErrorPage(bool exiting);
    void SendHtmlActionExecute();
    void SendToNamedBrowser(const QString& foundPath, const QString& userPath);
    void EditorActionExecute();
    void FtpToolActionExecute();
    void RunHandOverLaunch(const handover::Launch& launch);
    void ShowLaunchFailure(const QString& reason);
    void MenuServiceClick();
    void LoadBookmarkMenu();
    void ClearBookmarkMenu();
    void ServicesOfNetClick(const QAction* item);

    // ---- MainProjects.cpp: the project menus
    void ConnectProjectCommands();
    void LoadProjectMenu();
    void ClearProjectMenu();
    void BtnProjectClick();
    void ProjectActionExecute();
    void ProjectsEditClick(const QAction* item);

    // ---- MainUpload.cpp: publishing to the web site
    void ConnectUploadCommands();
    void UploadActionExecute();
    QList<UploadItem> UploadItems(const QString& page) const;
    void UploadProgressed(const UploadItem& item, qint64 sent, qint64 total);
    void UploadItemDone(const UploadOutcome& outcome);
    void UploadAllDone(const QList<UploadOutcome>& outcomes);
    void ShowUploadStatus(const QString& text);
    bool UploadMayClose(); // false: the close waits (or was refused)

    Platform platform_;
    // MainRecovery.cpp: the copies' timers, the kept entry restored at start-up.
    QTimer *todayRecoveryTimer_ = nullptr, *pageRecoveryTimer_ = nullptr;
    QDateTime pageModifiedWhenLoaded_;
    std::optional<KeptEntry> heldKeptEntry_; // restored, not yet safe elsewhere
    bool recoveryFailureShown_ = false;
    LoadedSettings loadedSettings_; // what this run loaded; only changes are saved
    bool startupRestorePending_ = false;
    bool startupRestored_ = false;
    QString programFolder_; // ends in the native separator
    QSize screenSize_;
    DiaryDocument* document_ = nullptr;
    SettingsOrigin settingsOrigin_ = SettingsOrigin::Current;
    bool settingsCleared_ = false; // the user removed the settings: nothing is saved at exit
    bool showInProgress_ = false;  // the date fields' handlers wait while the show sequence fills them
    bool documentFontApplied_ = false;
    // Switches the input method as the editors and fields get the focus.
    InputMethodSwitch* inputMethodSwitch_ = nullptr;
    bool debugMode_ = false;             // statistics are not counted
    bool errorPageWritten_ = false;      // error.html waits for its deletion
    QDateTime errorPageWrittenAt_;       // when error.html was last written
    bool errorPageDeletionDue_ = false;  // a deletion waits until the repaint is over
    bool errorPageDeleteFailed_ = false; // reported once; retried later and at exit
    int bookmarkItemCounter_ = 30;       // the last number given to a bookmark item
    bool bookmarkMenuLoaded_ = false;
    bool projectMenuLoaded_ = false;
    bool shownOnce_ = false;
    bool startDefaultsApplied_ = false; // the defaults pass of the first show ran
    bool placedBeforeShow_ = false;     // the stored geometry was given before the window existed
    bool closing_ = false;
    bool closeAfterSave_ = false; // a close asked for while a big page was being written
    // Whether the system lookup or the user's paths found the named browsers.
    bool ieAvailable_ = false, nnAvailable_ = false, operaAvailable_ = false;
    QString ieFromSystem_, nnFromSystem_, operaFromSystem_;
    QString diaryTitle_;
    QString htmlTitleHidden_;           // the HTML settings dialog's invisible title field, kept for the run
    QString weatherTag1_, weatherTag2_; // start tags of typed weathers, kept for the run
    bool specialCharWarned_ = false;    // the "<" warning was shown in this run
    bool snippetMenuLoaded_ = false;    // the snippets are items of PopupSentence
    // MainUpload.cpp
    std::unique_ptr<UploadPasswords> uploadPasswords_;
    std::unique_ptr<UploadRunner> uploadRunner_;
    QTimer* uploadProgressDelay_ = nullptr; // shows the progress after a second
    bool closeAfterUpload_ = false;         // the window closes once the cancel is through
};
