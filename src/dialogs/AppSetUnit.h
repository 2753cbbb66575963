#pragma once
// TAppSetForm: the behaviour settings dialog. Seven pages edit the behaviour
// settings record (window geometry, editor fonts, automatic opening, splash,
// browser and program paths, editing and display switches, writing
// frequency) and the three user lists (snippets, bookmarks, project files)
// in grids.
//
// The dialog reads the record when it is first shown and writes it back only
// through OK, step by step in a fixed order; a check that fails part way
// leaves the steps before it stored. The list files are rewritten on OK only
// when their grid was touched. The sources are split by page:
//   AppSetUnit.cpp   the frame, show and OK, and the handlers of pages 1-4
//   AppSetPages.cpp  the controls of pages 1-4
//   AppSetLists.cpp  the three list pages: grids, their editing rules, saving

#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "settings/AppSet.h"

#include <QDialog>
#include <QSize>
#include <QString>

class MultiRowTabs;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class TUpDown;
class UploadPasswords;
class UploadRunner;
class UploadSettingsPage;

// What the dialog works on: the main window's behaviour settings and shared
// open dialog, and facts the main window took at its creation.
struct AppSetContext {
    AppSet& appSet;
    MessageService& messages;
    FileDialog& openDialog;
    QString programFolder; // ends in the native separator; the list files and NOSPLASH.FLG live here
    QSize screenSize;      // the primary screen when the main window was created
    QString iePathFromSystem, nnPathFromSystem;
    const QWidget* mainWindow = nullptr; // its place and size for BtnSetNowInfo
    // The upload page's connection test and password; none: no test, no password field.
    UploadRunner* uploads = nullptr;
    UploadPasswords* passwords = nullptr;
    bool openOnUploadPage = false; // the first upload opens the dialog on its page
};

class TAppSetForm : public QDialog {
    Q_OBJECT
public:
    TAppSetForm(const AppSetContext& context, QWidget* parent = nullptr);
    ~TAppSetForm() override;

    // ---- Frame
    QTabWidget* PageControl1 = nullptr;
    MultiRowTabs* PageRows = nullptr;
    QPushButton *BtnOK = nullptr, *BtnCancel = nullptr;

    // ---- "ウインドウ"
    QWidget* FirstRunSheet = nullptr;
    QRadioButton *RadioWinOs = nullptr, *RadioWinUser = nullptr;
    QLineEdit *EditWinWidth = nullptr, *EditWinHeight = nullptr, *EditWinX = nullptr, *EditWinY = nullptr;
    QPushButton* BtnSetNowInfo = nullptr;
    QLineEdit *EditTodaySize = nullptr, *EditAllSize = nullptr;
    TUpDown *UpDownTodaySize = nullptr, *UpDownAllSize = nullptr;
    QComboBox *ComboTodayFont = nullptr, *ComboAllFont = nullptr;

    // ---- "起動直後"
    QWidget* EditHistSheet = nullptr;
    QRadioButton *RadioAutoNo = nullptr, *RadioAutoHist = nullptr, *RadioAutoUser = nullptr;
    QLineEdit* EditAutoOpen = nullptr;
    QPushButton* BtnSearchFullPath = nullptr;
    QCheckBox *CheckImeOn = nullptr, *CheckSplash = nullptr;

    // ---- "連携"
    QWidget* BrowserSetSheet = nullptr;
    QLabel* LabelGuide = nullptr;
    QCheckBox* CheckPathFromReg = nullptr;
    QLabel *LabelIe = nullptr, *LabelNn = nullptr, *LabelOpera = nullptr;
    QLineEdit *EditIePath = nullptr, *EditNnPath = nullptr, *EditOperaPath = nullptr;
    QCheckBox* CheckErrorHtml = nullptr;
    QPushButton* BtnViewPath = nullptr;
    QLineEdit *EditFtp = nullptr, *EditEditor = nullptr;
    QPushButton *BtnFtpPath = nullptr, *BtnEditorPath = nullptr;

    // ---- "編集領域と表示"
    QWidget* EditAndViewSheet = nullptr;
    QCheckBox* CheckOption1 = nullptr;
    QPushButton* BtnSpecialChar = nullptr;
    QCheckBox *CheckRight = nullptr, *Checkleft = nullptr;
    QCheckBox *CheckTooBar = nullptr, *CheckBarMsg = nullptr;
    QGroupBox* RadioOmake = nullptr;
    QButtonGroup* RadioOmakeItems = nullptr; // ids 0, 1, 2 in the order shown

    // ---- The list pages
    QWidget* SentenceSheet = nullptr;
    QTableWidget* StringGrid2 = nullptr; // snippets: name, start, end
    QPushButton *BtnDelSentence = nullptr, *BtnUpSentence = nullptr, *BtnDownSentence = nullptr;
    QWidget* BookmarkSheet = nullptr;
    QTableWidget* StringGrid1 = nullptr; // bookmarks: name, URL
    QPushButton *BtnDelBookmark = nullptr, *BtnUpBookmark = nullptr, *BtnDownBookmark = nullptr;
    QLineEdit* UserSiteUrlEdit = nullptr;
    QWidget* SameTimeRenewalSheet = nullptr;
    QTableWidget* StringGrid3 = nullptr; // projects: "Project", path
    QPushButton *BtnAddHtml = nullptr, *BtnDelHtml = nullptr, *BtnProjectHelp = nullptr;
    QPushButton *BtnUpHtml = nullptr, *BtnDownHtml = nullptr;
    // ---- "アップロード" (AppSetUpload.cpp)
    UploadSettingsPage* UploadSheet = nullptr;

    // The splash flag file: ProgramFolder + "NOSPLASH.FLG".
    QString splashFlagPath() const { return splashFlagPath_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // AppSetPages.cpp
    void BuildWindowPage();
    void BuildStartupPage();
    void BuildBrowserPage();
    void BuildEditAndViewPage();
    // AppSetLists.cpp
    void BuildSentencePage();
    void BuildBookmarkPage();
    void BuildProjectPage();
    void ConnectRowButtons(); // 削除 and the arrows of the three grids
    // AppSetUpload.cpp
    void BuildUploadPage();
    void FillGrids();
    void GridEvent(QObject* watched, QEvent* event);
    void GridKeyPress(QTableWidget* grid);
    void BtnAddHtmlClick();
    void BtnDelHtmlClick();
    void BtnProjectHelpClick();
    bool ListsWritable(); // false, with the message shown, while a cell holds a character CP932 lacks
    void SaveSnippets();
    void SaveBookmarks();
    void SaveProjects();

    // AppSetUnit.cpp
    void FormShow();
    void RadioWinClick();
    void RadioAutoClick();
    void CheckPathFromRegClick();
    void BtnSetNowInfoClick();
    void SizeEditExit();
    void BtnSearchFullPathClick();
    void BtnAppPathClick(QLineEdit* target);
    void BtnViewPathClick();
    void BtnSpecialCharClick();
    void BtnOKClick();
    bool GeometryCheck();
    void StoreSplashFlag();
    void ShowFailure(const QString& message, QWidget* page, QWidget* focus);
    void paintBase(QWidget* widget, bool windowColour);
    bool browse(const QString& title, const QString& filter);

    AppSetContext context_;
    AppSet& appSet_;
    QString splashFlagPath_;
    bool shown_ = false;
    // Whether each grid was focused, typed in or changed by its buttons since
    // it was filled; only touched lists are written at OK.
    bool snippetsTouched_ = false, bookmarksTouched_ = false, projectsTouched_ = false;
};
