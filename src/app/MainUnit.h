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
// docs/ARCHITECTURE.md walks through adding a command.

#include "document/DiaryDocument.h"
#include "platform/Platform.h"
#include "settings/AppSet.h"
#include "settings/HtmlSet.h"
#include "settings/SettingsStore.h"

#include <QMainWindow>

class DiaryEditor;
class QAbstractButton;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QToolButton;
class QWidget;
class TUpDown;
class TTitleForm;
struct TempDiary;
enum class TagMode : char;

enum class StatusTab { Today, Document };
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
    DiaryEditor* RAll = nullptr;
    QLabel *PanelStatusR1 = nullptr, *PanelStatusR2 = nullptr, *PanelStatusRsm = nullptr;

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
    QAction* ProjectAction = nullptr;
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

    // ---- Operations other parts of the program run ----------------------------------
    void AfterHtmlSettingsDialog();
    void AfterAppSettingsDialog();
    void DropFiles(const QStringList& paths);
    void ApplyWindowSettings();
    void ApplyHtmlFlagControls();
    void RefreshTitlePanel();
    void OpenProjectFile(const QString& path);
    void SetDocumentName(const QString& name);

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
    void DeleteErrorPage();
    void ClearBookmarkMenu();
    void ClearSnippetMenu();
    void ClearProjectMenu();
    void ConnectWindowCommands();

    // ---- MainLayout.cpp: controls and the settings in them
    void CreateControls();
    void SetGuideText();
    void FillWeekdayList();
    void ShowHtmlSetName();
    void ApplyWrap(WrapTarget which);

    // ---- MainCommands.cpp: commands, menus, states, keys
    void CreateActions();
    void CreateMenus();
    void UpdatePageState();
    void UpdateCommandStates();
    QList<QKeySequence> CommandKeys() const;
    bool TodayTabShown() const;
    DiaryEditor* ActiveEditor() const;

    // ---- MainDocument.cpp: the whole-file tab's document
    void ConnectDocumentCommands();
    void ShowDocumentName();
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
    void SaveTodayAndExit();
    void ShowOperationAdvice();
    void UpdateWeekday();
    void DateFieldChange();
    TempDiary CurrentTempDiary() const;
    void ApplyTempDiary(const TempDiary& kept);
    void InsertDiaryActionExecute();
    void MonthlyStatisticsCheck();
    void RefreshStatus(StatusTab tab);

    // ---- MainHelp.cpp: the Help menu
    void ConnectHelpCommands();
    void HelpManClick();
    void HelpFaqClick();
    void HelpUninstallClick();
    void HelpActionExecute();

    Platform platform_;
    QString programFolder_; // ends in the native separator
    QSize screenSize_;
    DiaryDocument* document_ = nullptr;
    SettingsOrigin settingsOrigin_ = SettingsOrigin::Current;
    bool settingsCleared_ = false; // the user removed the settings: nothing is saved at exit
    bool showInProgress_ = false;  // the date fields' handlers wait while the show sequence fills them
    bool documentFontApplied_ = false;
    bool debugMode_ = false;        // statistics are not counted
    bool errorPageWritten_ = false; // error.html waits for its deletion
    bool shownOnce_ = false;
    bool closing_ = false;
    // Whether the system lookup or the user's paths found the named browsers.
    bool ieAvailable_ = false, nnAvailable_ = false, operaAvailable_ = false;
    QString ieFromSystem_, nnFromSystem_, operaFromSystem_;
    QString diaryTitle_;
    QString weatherTag1_, weatherTag2_; // start tags of typed weathers, kept for the run
    bool specialCharWarned_ = false;    // the "<" warning was shown in this run
    bool snippetMenuLoaded_ = false;    // the snippets are items of PopupSentence
};
