#pragma once
// The behaviour settings: the behaviour switches, window geometry, editor fonts,
// file history, program paths, the tag builder's remembered inputs and the
// writing statistics. Every member's name is its stored value name, except the
// file history (stored as LoadLog, LoadLog1, LoadLog2).

#include <QDate>
#include <QString>
#include <array>

// Positions in AppSet::AppSetFlags; 0..12 are stored, 13 lives only in memory.
// Code reads the switches through AppSet's named accessors.
enum AppFlag : int {
    WindowPlacementFlag = 0,    // '1' apply the stored geometry
    AutoOpenFlag = 1,           // '0' none, '1' last saved file, '2' AlwaysOpenHtml
    TodayImeFlag = 2,           // '1' input method on in today's editor
    ErrorHtmlOffFlag = 3,       // '1' no automatic error page
    SpecialCharWarnOffFlag = 4, // '1' never warn at the first "<"
    ReservedFlag = 5,           // always '0' after a defaults pass
    ToolbarHiddenFlag = 6,      // '1' hide the document tab's tool panel
    BrowserPathManualFlag = 7,  // '1' use the user's browser paths
    TodayWrapFlag = 8,          // '1' wrap today's editor
    AllWrapFlag = 9,            // '1' wrap the document editor
    DecoStyleFlag = 10,         // '1' decorations as style sheet code
    LowerCaseFlag = 11,         // '1' tag builder's lower-case box ticked
    TagDialogMode = 12,         // 'W','L','G','D','P'; NUL after a defaults pass
    SettingsDialogPage = 13,    // 'B','S','P' or NUL; never stored
};
inline constexpr int AppFlagCount = 14;
inline constexpr int AppFlagStoredCount = 13;

// Which diary file the program opens by itself at start-up.
enum class AutoOpen { Nothing, LastSaved, AlwaysOpenHtml };

struct AppSet {
    static constexpr int StoredFlagCount = AppFlagStoredCount;

    std::array<char, AppFlagCount + 1> AppSetFlags{};

    QString WindowWidth, WindowHeight, WindowXPosition, WindowYPosition;
    QString EditFontSizeT, EditFontFaceT; // today's editor
    QString EditFontSize, EditFontFace;   // document editor
    QString AlwaysOpenHtml;
    QString FileHistory1, FileHistory2, FileHistory3;
    QString BrowserIE, BrowserNN, BrowserOpera;
    QString ExternalApp1; // FTP tool
    QString ExternalApp2; // external editor
    QString UserSiteUrl;
    QString DecoPrevColor, DecoInfo0, DecoInfo1, DecoInfo2, DecoInfo3;
    QString GraphicDir, LinkFrame, LinkClass, PositionClass;

    // Publishing to the web site (publish/UploadPlan.h); the password is kept
    // in the desktop's keyring, never here.
    QString UploadProtocol; // "sftp", "ftps" or "ftp"; empty: not set up yet
    QString UploadHost, UploadPort, UploadUser;
    QString UploadFolder;      // the remote folder
    QString UploadLocalFolder; // the local folder that corresponds to it
    QString UploadKeyFile;     // SFTP: a private key file
    QString UploadAgent;       // "0": the ssh-agent is not asked
    QString UploadProjects;    // "1": changed project pages go up with the page
    QString UploadPins;        // FTPS: trusted certificates, "host:port pin" per line

    // Writing statistics (32-bit signed, truncating division).
    qint32 WriteDiaryFrequency = 0;
    qint32 InsertDiaryTime = 0;
    qint32 WriteDiaryTime = 0;
    qint32 WriteDiaryLines = 0;
    qint32 WriteDiaryTimeL = 0;
    qint32 WriteDiaryLinesL = 0;
    qint32 WriteLastMonth = 0;

    char flag(AppFlag position) const { return AppSetFlags[position]; }
    void setFlag(AppFlag position, char value) { AppSetFlags[position] = value; }
    char* flagData() { return AppSetFlags.data(); }
    const char* flagData() const { return AppSetFlags.data(); }

    // ---- The switches, by what they mean -----------------------------------
    bool appliesStoredGeometry() const { return flag(WindowPlacementFlag) == '1'; }
    AutoOpen autoOpen() const {
        switch (flag(AutoOpenFlag)) {
        case '1':
            return AutoOpen::LastSaved;
        case '2':
            return AutoOpen::AlwaysOpenHtml;
        default:
            return AutoOpen::Nothing;
        }
    }
    bool todayInputMethodOn() const { return flag(TodayImeFlag) == '1'; }
    bool errorPageOff() const { return flag(ErrorHtmlOffFlag) == '1'; }
    bool warnsAtFirstSpecialChar() const { return flag(SpecialCharWarnOffFlag) != '1'; }
    bool toolbarHidden() const { return flag(ToolbarHiddenFlag) == '1'; }
    bool browserPathsManual() const { return flag(BrowserPathManualFlag) == '1'; }
    bool todayWraps() const { return flag(TodayWrapFlag) == '1'; }
    bool documentWraps() const { return flag(AllWrapFlag) == '1'; }
    bool decorationsAsStyleSheet() const { return flag(DecoStyleFlag) == '1'; }
    bool lowerCaseTags() const { return flag(LowerCaseFlag) == '1'; }
    // The View menu's switches: '0' becomes '1', any other character '0'.
    void flipTodayWrap() { flip(TodayWrapFlag); }
    void flipDocumentWrap() { flip(AllWrapFlag); }

    char tagDialogMode() const { return flag(TagDialogMode); }
    void setTagDialogMode(char mode) { setFlag(TagDialogMode, mode); }
    char settingsDialogPage() const { return flag(SettingsDialogPage); }
    void setSettingsDialogPage(char page) { setFlag(SettingsDialogPage, page); }

private:
    void flip(AppFlag position) { setFlag(position, flag(position) == '0' ? '1' : '0'); }
};

// year × 12 + month: the month stamp of the writing statistics (WriteLastMonth).
inline qint32 MonthStamp(const QDate& date) {
    return date.year() * 12 + date.month();
}
