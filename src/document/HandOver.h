#pragma once
// Handing the diary page to other programs: what the browser, editor and FTP
// commands start and with which arguments, the error page shown when there is
// nothing to show, the Internet-service menu's addresses and the checks on a
// bookmark's target. Nothing here starts anything by itself except RunLaunch(),
// which hands a Launch to the Shell; nothing ever goes through a shell
// command line.

#include "platform/Messages.h"
#include "platform/Shell.h"
#include "resources/AuthorAddresses.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

namespace handover {

// What a hand-over command does with the document.
enum class HandOver {
    SendFile,      // hand over the saved document
    SendErrorPage, // show the error page instead
    Stop,          // a message was shown; nothing is started
    Abort,         // the user cancelled the save question
};

// The answer of the main window's save question for a modified document.
enum class SaveAnswer { Proceed, ProceedUnsaved, Cancel };

// documentHasText: a document is loaded (its editor is not read-only) and its
// text is not empty; only then is askSave called. errorHtmlOff: the user
// asked for messages instead of the error page.
HandOver PrepareHandOver(bool documentHasText, const std::function<SaveAnswer()>& askSave, bool errorHtmlOff,
                         MessageService& messages);

// One thing to start: nothing, a document or address handed to the desktop's
// own handler, or a program started with its argument list.
struct Launch {
    enum class Kind { Nothing, Open, Start };
    Kind kind = Kind::Nothing;
    QString target; // the document or address to open, or the program to start
    QStringList arguments;
    bool operator==(const Launch&) const = default;

    static Launch nothing() { return {}; }
    static Launch open(const QString& target) { return {Kind::Open, target, {}}; }
    static Launch start(const QString& program, const QStringList& arguments) {
        return {Kind::Start, program, arguments};
    }
};

// A path as it is handed to another program: absolute, so that neither a
// leading "-" nor something that looks like an address scheme can be taken
// for anything but a file. An empty path stays empty.
QString HandedPath(const QString& path);

// The default browser: the document, or the error page, through the
// desktop's handler for the file. An error page that could not be written
// (errorPageWritten false) is handed over all the same, as its file address:
// the desktop then still starts the browser, which tells that it is missing.
Launch DefaultBrowserLaunch(HandOver handOver, const QString& documentFileName, const QString& errorPagePath,
                            bool errorPageWritten = true);

// A named browser (Internet Explorer, Netscape, Opera). The document goes to
// the user's path when manualPath is set (the user's browser-path switch),
// otherwise to the path found at start-up; the error page always goes to the
// found path.
Launch NamedBrowserLaunch(HandOver handOver, const QString& documentFileName, const QString& errorPagePath,
                          const QString& foundPath, const QString& userPath, bool manualPath);

// The external editor: the saved document only. With nothing saved to send,
// a warning is shown and nothing is started (no error page).
Launch EditorLaunch(HandOver handOver, const QString& documentFileName, const QString& editorPath,
                    MessageService& messages);

// The FTP program, without arguments and whatever the document's state.
Launch FtpToolLaunch(const QString& ftpPath);

// Starts a Launch. Returns false when it could not be started; error then
// holds why, in words for the status line. Nothing returns true.
bool RunLaunch(const Launch& launch, Shell& shell, QString* error = nullptr);

// ---- The error page -----------------------------------------------------------

// The page's bytes: six lines, each ending in CR LF, CP932. The fifth links
// to the author's site; while there is no site it is left out.
QByteArray ErrorPageBytes(const AuthorAddresses& author = AuthorAddresses::builtIn());

// Writes the error page to path (replacing an old one). On failure shows the
// write-failure message and returns false; the caller hands over the path
// all the same.
bool WriteErrorPage(const QString& path, MessageService& messages,
                    const AuthorAddresses& author = AuthorAddresses::builtIn());

// How long a written error page is kept for the browser to read it.
inline constexpr qint64 ErrorPageKeepSeconds = 30;

// Whether the error page written at writtenAt may be deleted now: at exit,
// or at a repaint once the browser has had its time to read it.
bool ErrorPageDue(const QDateTime& writtenAt, const QDateTime& now, bool exiting);

// Deletes the error page when it exists; a failed deletion shows the plain
// deletion message when report is set. Returns whether no page is left.
bool DeleteErrorPage(const QString& path, MessageService& messages, bool report = true);

// ---- The Internet-service menu -----------------------------------------------------

// The service menu's tag numbers.
enum ServiceTag : int {
    VersionCheckTag = 1, // "最新バージョンの公開状況をチェック(&N)"
    AuthorTopTag = 2,    // "作者のホームページへ(&A)"
    MailTag = 11,        // "メールで送信(&M)"
    WebMessageTag = 12,  // "Webから送信(&W)"
    UserSiteTag = 21,    // "自分の日記ページ(&D)"
    UserDiariesTag = 22, // "ユーザの方々の日記ページ一覧(&L)"
};

// What choosing a service or bookmark item does.
struct ServiceChoice {
    enum class Kind {
        Open,         // open target
        Message,      // show the message (text, caption, icon); nothing is opened
        Registration, // the bookmark registration item: open the settings on the bookmark page
    };
    Kind kind = Kind::Message;
    QString target;
    QString text;
    QString caption;
    MsgIcon icon = MsgIcon::None;
    bool operator==(const ServiceChoice&) const = default;

    static ServiceChoice open(const QString& target) { return {Kind::Open, target, {}, {}, MsgIcon::None}; }
    static ServiceChoice message(const QString& text, const QString& caption, MsgIcon icon) {
        return {Kind::Message, {}, text, caption, icon};
    }
    static ServiceChoice registration() { return {Kind::Registration, {}, {}, {}, MsgIcon::None}; }
};

// A service item by its tag; any other tag is a bookmark item, whose hint
// is its target (see BookmarkChoice).
ServiceChoice ServiceItemChoice(int tag, const QString& hint, const QString& userSiteUrl,
                                const AuthorAddresses& author = AuthorAddresses::builtIn());

// A bookmark item by its hint. A hint beginning with TAB is the registration
// item. The checks look for exact byte sequences anywhere in the target (case
// matters), with "https://" counting as "http://": ".exe", or ".com" without
// an address, is a program; a target with neither ".htm" nor an address is a
// local file that is no page. A target that is no web address must moreover
// be an existing file whose name ends in ".htm" or ".html": anything else
// local (a script, a desktop entry, a folder) could be run by the desktop.
ServiceChoice BookmarkChoice(const QString& hint);

} // namespace handover
