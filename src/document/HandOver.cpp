#include "document/HandOver.h"

#include "document/ListFile.h"
#include "platform/SjisCodec.h"
#include "resources/Messages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace handover {

HandOver PrepareHandOver(bool documentHasText, const std::function<SaveAnswer()>& askSave, bool errorHtmlOff,
                         MessageService& messages) {
    if (documentHasText) {
        switch (askSave()) {
        case SaveAnswer::Cancel:
            return HandOver::Abort;
        case SaveAnswer::Proceed:
            return HandOver::SendFile;
        case SaveAnswer::ProceedUnsaved:
            break;
        }
        if (!errorHtmlOff)
            return HandOver::SendErrorPage;
        messages.show(msg::HandOverNotSaved, msg::HandOverErrorCaption, MsgIcon::Error, MsgButtons::Ok);
        return HandOver::Stop;
    }
    if (!errorHtmlOff)
        return HandOver::SendErrorPage;
    messages.show(msg::HandOverNothing, msg::HandOverErrorCaption, MsgIcon::Error, MsgButtons::Ok);
    return HandOver::Stop;
}

QString HandedPath(const QString& path) {
    if (path.isEmpty() || QDir::isAbsolutePath(path))
        return path;
    return QDir::current().absoluteFilePath(path);
}

Launch DefaultBrowserLaunch(HandOver handOver, const QString& documentFileName, const QString& errorPagePath,
                            bool errorPageWritten) {
    switch (handOver) {
    case HandOver::SendFile:
        return Launch::open(HandedPath(documentFileName));
    case HandOver::SendErrorPage:
        if (!errorPageWritten)
            return Launch::open(QUrl::fromLocalFile(HandedPath(errorPagePath)).toString());
        return Launch::open(HandedPath(errorPagePath));
    case HandOver::Stop:
    case HandOver::Abort:
        break;
    }
    return Launch::nothing();
}

Launch NamedBrowserLaunch(HandOver handOver, const QString& documentFileName, const QString& errorPagePath,
                          const QString& foundPath, const QString& userPath, bool manualPath) {
    switch (handOver) {
    case HandOver::SendFile:
        return Launch::start(manualPath ? userPath : foundPath, {HandedPath(documentFileName)});
    case HandOver::SendErrorPage:
        return Launch::start(foundPath, {HandedPath(errorPagePath)});
    case HandOver::Stop:
    case HandOver::Abort:
        break;
    }
    return Launch::nothing();
}

Launch EditorLaunch(HandOver handOver, const QString& documentFileName, const QString& editorPath,
                    MessageService& messages) {
    switch (handOver) {
    case HandOver::SendFile:
        return Launch::start(editorPath, {HandedPath(documentFileName)});
    case HandOver::SendErrorPage:
        messages.show(msg::EditorNothing, msg::EditorErrorCaption, MsgIcon::Warning, MsgButtons::Ok);
        break;
    case HandOver::Stop:
    case HandOver::Abort:
        break;
    }
    return Launch::nothing();
}

Launch FtpToolLaunch(const QString& ftpPath) {
    return Launch::start(ftpPath, {});
}

bool RunLaunch(const Launch& launch, Shell& shell, QString* error) {
    switch (launch.kind) {
    case Launch::Kind::Nothing:
        return true;
    case Launch::Kind::Open:
        return shell.open(launch.target, error);
    case Launch::Kind::Start:
        return shell.launch(launch.target, launch.arguments, error);
    }
    return false;
}

// ---- The error page -----------------------------------------------------------

QByteArray ErrorPageBytes(const AuthorAddresses& author) {
    QStringList lines = {msg::ErrorPageLine1, msg::ErrorPageLine2, msg::ErrorPageLine3, msg::ErrorPageLine4};
    // The link to the author's site; while there is no site, no link at all.
    if (author.hasSite())
        lines << u"<P><A HREF=\""_s + author.siteUrl() + u"\">"_s + msg::ErrorPageSiteTitle + u"</A></P>"_s;
    lines << msg::ErrorPageLine6;
    QString text;
    for (const QString& line : lines)
        text += line + u"\r\n"_s;
    return sjis::encode(text);
}

bool WriteErrorPage(const QString& path, MessageService& messages, const AuthorAddresses& author) {
    if (listfile::writeWhole(path, ErrorPageBytes(author)) == listfile::WriteFailure::None)
        return true;
    messages.show(msg::ErrorPageWriteFailed, msg::AppName, MsgIcon::Error, MsgButtons::Ok);
    return false;
}

bool ErrorPageDue(const QDateTime& writtenAt, const QDateTime& now, bool exiting) {
    if (exiting || !writtenAt.isValid())
        return true;
    return writtenAt.secsTo(now) >= ErrorPageKeepSeconds;
}

bool DeleteErrorPage(const QString& path, MessageService& messages, bool report) {
    const QFileInfo page(path);
    if (!page.exists() && !page.isSymLink())
        return true;
    if (QFile::remove(path))
        return true;
    if (report)
        messages.show(msg::ErrorPageDeleteFailed, msg::AppTitle, MsgIcon::None, MsgButtons::Ok);
    return false;
}

// ---- The Internet-service menu -----------------------------------------------------

namespace {

ServiceChoice authorPage(const AuthorAddresses& author, AuthorAddresses::ServicePage page) {
    if (!author.hasSite())
        return ServiceChoice::message(msg::NoAuthorSite, msg::AppTitle, MsgIcon::Information);
    return ServiceChoice::open(author.serviceUrl(page));
}

bool isWebAddress(const QString& target) {
    return target.startsWith(u"http://"_s, Qt::CaseInsensitive) ||
           target.startsWith(u"https://"_s, Qt::CaseInsensitive);
}

bool isPageName(const QString& fileName) {
    return fileName.endsWith(u".htm"_s) || fileName.endsWith(u".html"_s);
}

} // namespace

ServiceChoice ServiceItemChoice(int tag, const QString& hint, const QString& userSiteUrl,
                                const AuthorAddresses& author) {
    switch (tag) {
    case VersionCheckTag:
        return authorPage(author, AuthorAddresses::ServicePage::VersionCheck);
    case AuthorTopTag:
        return authorPage(author, AuthorAddresses::ServicePage::Top);
    case WebMessageTag:
        return authorPage(author, AuthorAddresses::ServicePage::Message);
    case UserDiariesTag:
        return authorPage(author, AuthorAddresses::ServicePage::UserDiaries);
    case MailTag:
        if (!author.hasSupportMail())
            return ServiceChoice::message(msg::NoAuthorMail, msg::AppTitle, MsgIcon::Information);
        return ServiceChoice::open(author.supportMailto());
    case UserSiteTag:
        // Five CP932 bytes at least, as the other lengths of the settings count.
        if (sjis::byteLength(userSiteUrl) < 5)
            return ServiceChoice::message(msg::UserSiteMissing, msg::AppTitle, MsgIcon::None);
        return ServiceChoice::open(userSiteUrl);
    default:
        return BookmarkChoice(hint);
    }
}

ServiceChoice BookmarkChoice(const QString& hint) {
    if (hint.startsWith(u'\t'))
        return ServiceChoice::registration();
    const QString& target = hint;
    // The default entry that earlier builds wrote while the author had no site.
    if (target == msg::DefaultBookmarkNoSiteTarget)
        return ServiceChoice::message(msg::NoAuthorSite, msg::AppTitle, MsgIcon::Information);

    const bool hasAddress = target.contains(u"http://"_s) || target.contains(u"https://"_s);
    if (target.contains(u".exe"_s) || (target.contains(u".com"_s) && !hasAddress))
        return ServiceChoice::message(msg::BookmarkProgramRefused, msg::SecurityCaption, MsgIcon::Error);
    const auto refusedLocal = [] {
        return ServiceChoice::message(msg::BookmarkLocalRefused, msg::SecurityCaption, MsgIcon::Error);
    };
    if (!target.contains(u".htm"_s) && !hasAddress)
        return refusedLocal();
    if (isWebAddress(target))
        return ServiceChoice::open(target);

    // Anything local goes to the desktop's handler, which may run it: only
    // an existing page file (and, for a link, the file it leads to) passes.
    const QFileInfo file(target);
    if (!file.isFile() || !isPageName(file.fileName()) ||
        !isPageName(QFileInfo(file.canonicalFilePath()).fileName()))
        return refusedLocal();
    return ServiceChoice::open(file.absoluteFilePath());
}

} // namespace handover
