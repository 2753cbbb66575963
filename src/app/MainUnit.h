#pragma once
// TMainForm: the main window and hub of the program. It owns the two settings
// records, the run-time state, both tabs with their controls, the menus and
// every command. The handlers are grouped by subject in separate sources:
//   MainUnit.cpp      start-up, show and close sequences, dropped files, Help menu
//   MainLayout.cpp    controls, menus, actions, command states, settings → controls
//   MainDocument.cpp  the diary document: new, open, save, history
//   MainEdit.cpp      the editing commands shared by both editors
//   MainToday.cpp     today's page, the composer, the status panels

#include "platform/Platform.h"
#include "settings/AppSet.h"
#include "settings/HtmlSet.h"
#include "settings/SettingsStore.h"

#include <QMainWindow>
#include <QPointer>

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

enum class AskSaveResult { Proceed, ProceedUnsaved, Cancel };
enum class DocumentSaveResult { Saved, Cancelled };
enum class StatusTab { Today, Document };
enum class WrapTarget { Both, Today, Document };

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(const Platform& platform, QWidget* parent = nullptr);
    ~TMainForm() override;

    // ---- Settings records and run-time state ----------------------------------
    HtmlSet htmlSet;
    AppSet appSet;

    QString ProgramFolder; // ends in the native separator
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    SettingsOrigin settingsOrigin = SettingsOrigin::Current;
    bool settingsCleared = false; // the user removed the settings
    bool ShowInProgress = false;
    char AllFontApplied = 0; // 'F' once the document font was applied
    bool DebugMode = false;
    QString DiaryTitle;
    QString IePathFromSystem, NnPathFromSystem, OperaPathFromSystem;
    QString BookmarkListPath, SentenceListPath, ProjectListPath;
    QString DocumentFileName;
    QString WeatherTag1, WeatherTag2;
    QString ErrorHtmlMade; // "F" once the error page was written

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
            *DelAction = nullptr, *AllSelectAction = nullptr, *EditSearch = nullptr, *EditNext = nullptr;
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

    QMenu *MenuFile = nullptr, *FileHistory = nullptr, *FileProjects = nullptr, *MenuEdit = nullptr,
          *MenuInsert = nullptr, *InsertSPC = nullptr, *MenuView = nullptr, *MenuBrowse = nullptr,
          *MenuSet = nullptr, *MenuService = nullptr, *ServiceBookMark = nullptr,
          *ServiceSendMessage = nullptr, *MenuHelp = nullptr;
    QMenu *PopupMenu = nullptr, *PopupHistry = nullptr, *PopupSentence = nullptr, *PopupProjects = nullptr,
          *PopupSPC = nullptr;

    TTitleForm* TitleForm = nullptr;

    // ---- Start-up, show and close -----------------------------------------------
    void LoadSettings();
    void SaveSettings();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void AutoOpenAtStart();
    void RestoreStartupBody();
    void DropFiles(const QStringList& paths);
    void AfterHtmlSettingsDialog();
    void AfterAppSettingsDialog();
    void FocusShownEditor();
    void HelpManClick();
    void HelpFaqClick();
    void HelpUninstallClick();
    void HelpActionExecute();
    void SetHTMLActionExecute();
    void SetAppActionExecute();
    void DeleteErrorPage();
    void ClearBookmarkMenu();
    void ClearSnippetMenu();
    void ClearProjectMenu();

    // ---- Layout and command states ------------------------------------------------
    void ApplyWindowSettings();
    void FillWeekdayList();
    void ApplyHtmlFlagControls();
    void ShowHtmlSetName();
    void UpdatePageState();
    void ApplyWrap(WrapTarget which);
    bool TodayTabShown() const;
    DiaryEditor* ActiveEditor() const;

    // ---- Diary document -------------------------------------------------------------
    AskSaveResult AskSaveDocument();
    void NewActionExecute();
    void OpenActionExecute();
    bool OpenDocumentFile(const QString& path);
    void OpenHistoryFile(int index);
    void OpenProjectFile(const QString& path);
    DocumentSaveResult SaveDocument();
    DocumentSaveResult SaveDocumentAs();
    void SetDocumentName(const QString& name);
    void MenuFileClick();
    void PopupHistryPopup();
    void BtnHistoryClick();
    void RAllChange();
    bool HasDocument() const;

    // ---- Editing commands ---------------------------------------------------------------
    void MenuEditClick();

    // ---- Today's page, composer, status ---------------------------------------------------
    void ResetToToday();
    void NewTodayEntry();
    void ResetTodayDate();
    void SetWeatherExtension(bool open);
    void RefreshTitlePanel();
    void EditDiaryTitle();
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

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateControls();
    void ConnectHandlers();
    void ConnectEditCommands();
    void MakeDocumentEditable();
    void SetGuideText();
    void MarkDocumentLoaded();
    void MarkDocumentSaved();
    bool LoadIntoToday(const QString& path);
    bool WriteDocument(const QString& path);
    QList<QKeySequence> CommandKeys() const;

    Platform platform_;
    bool shownOnce_ = false;
    bool closing_ = false;
};
