// Handing the diary page to other programs: the default browser, the three
// named browsers, the external editor and the FTP program; the error page
// shown in the browser when there is nothing to show, with its deletion; the
// Internet-service menu and its bookmark submenu.
//
// Everything is started through the Shell with an argument list. A launch
// that fails is shown in the free status panel under the editor of the shown
// tab, where the user is looking.

#include "app/MainUnit.h"

#include "document/DiaryEditor.h"
#include "document/HandOver.h"
#include "document/ListFile.h"
#include "resources/Messages.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTextDocument>
#include <QTimer>

using namespace Qt::StringLiterals;
using handover::HandOver;
using handover::Launch;

void TMainForm::ConnectBrowseCommands() {
    connect(SendHtmlAction, &QAction::triggered, this, &TMainForm::SendHtmlActionExecute);
    connect(SendIEAction, &QAction::triggered, this,
            [this] { SendToNamedBrowser(ieFromSystem_, appSet.BrowserIE); });
    connect(SendNNAction, &QAction::triggered, this,
            [this] { SendToNamedBrowser(nnFromSystem_, appSet.BrowserNN); });
    connect(SendOperaAction, &QAction::triggered, this,
            [this] { SendToNamedBrowser(operaFromSystem_, appSet.BrowserOpera); });
    connect(EditorAction, &QAction::triggered, this, &TMainForm::EditorActionExecute);
    connect(FtpToolAction, &QAction::triggered, this, &TMainForm::FtpToolActionExecute);

    // The service items are told apart by their tag numbers.
    const std::pair<QAction*, int> serviceItems[] = {
        {ServicesOfNet, handover::VersionCheckTag}, {Service244Top, handover::AuthorTopTag},
        {ServiceMsgMail, handover::MailTag},        {ServiceMsgWeb, handover::WebMessageTag},
        {ServiceUserSite, handover::UserSiteTag},   {ServiceBmLink, handover::UserDiariesTag},
    };
    for (const auto& [item, tag] : serviceItems) {
        item->setData(tag);
        connect(item, &QAction::triggered, this, [this, item = item] { ServicesOfNetClick(item); });
    }
    // The bookmark submenu starts with its link to the users' diaries and a
    // separator; the bookmarks follow them once the service menu opens.
    ServiceBookMark->addSeparator();
    ServiceBookMark->setToolTipsVisible(true);
    connect(MenuService, &QMenu::aboutToShow, this, &TMainForm::MenuServiceClick);

    // The window's activation counts as a repaint for the error page (eventFilter).
    installEventFilter(this);
}

// ---- Hand-over ----------------------------------------------------------------

HandOver TMainForm::PrepareHandOver() {
    const bool documentHasText = document_->exists() && !RAll->document()->isEmpty();
    const auto askSave = [this] {
        switch (document_->askSave()) {
        case AskSaveResult::Cancel:
            return handover::SaveAnswer::Cancel;
        case AskSaveResult::ProceedUnsaved:
            return handover::SaveAnswer::ProceedUnsaved;
        case AskSaveResult::Proceed:
            break;
        }
        // A new document that was never saved has no file a program could
        // read: it is treated like one the user chose not to save.
        return document_->fileName().isEmpty() ? handover::SaveAnswer::ProceedUnsaved
                                               : handover::SaveAnswer::Proceed;
    };
    return handover::PrepareHandOver(documentHasText, askSave, appSet.errorPageOff(), *platform_.messages);
}

void TMainForm::SendHtmlActionExecute() {
    const HandOver handOver = PrepareHandOver();
    bool written = false;
    const QString errorPage = handOver == HandOver::SendErrorPage ? WriteErrorPage(&written) : QString();
    RunHandOverLaunch(handover::DefaultBrowserLaunch(handOver, document_->fileName(), errorPage, written));
}

void TMainForm::SendToNamedBrowser(const QString& foundPath, const QString& userPath) {
    const HandOver handOver = PrepareHandOver();
    const QString errorPage = handOver == HandOver::SendErrorPage ? WriteErrorPage() : QString();
    RunHandOverLaunch(handover::NamedBrowserLaunch(handOver, document_->fileName(), errorPage, foundPath,
                                                   userPath, appSet.browserPathsManual()));
}

void TMainForm::EditorActionExecute() {
    const HandOver handOver = PrepareHandOver();
    RunHandOverLaunch(
        handover::EditorLaunch(handOver, document_->fileName(), appSet.ExternalApp2, *platform_.messages));
}

void TMainForm::FtpToolActionExecute() {
    RunHandOverLaunch(handover::FtpToolLaunch(appSet.ExternalApp1));
}

void TMainForm::RunHandOverLaunch(const Launch& launch) {
    QString reason;
    if (!handover::RunLaunch(launch, *platform_.shell, &reason))
        ShowLaunchFailure(reason);
}

void TMainForm::ShowLaunchFailure(const QString& reason) {
    // Like the panel's own texts, it begins with one blank. The next caret
    // move or edit refreshes the panel.
    QLabel* panel = TodayTabShown() ? PanelStatusTsm : PanelStatusRsm;
    panel->setText(u' ' + reason);
}

// ---- The error page -------------------------------------------------------------

QString TMainForm::WriteErrorPage(bool* written) {
    const QString path = programFolder_ + msg::ErrorPageFileName;
    const bool ok = handover::WriteErrorPage(path, *platform_.messages);
    if (ok) {
        errorPageWritten_ = true;
        errorPageDeleteFailed_ = false;
        errorPageWrittenAt_ = platform_.clock->now();
    }
    if (written)
        *written = ok;
    return path;
}

// Runs at every repaint of the window, when the user returns to it, and at
// its close. The page stays until the browser has had its time to read it,
// or until the program exits.
void TMainForm::DeleteErrorPage(bool exiting) {
    if (!errorPageWritten_ || !handover::ErrorPageDue(errorPageWrittenAt_, platform_.clock->now(), exiting))
        return;
    const auto deletePage = [this] {
        // A page that cannot be deleted is reported once and stays due: it is
        // tried again at a repaint once its time has passed again, and at exit.
        if (handover::DeleteErrorPage(programFolder_ + msg::ErrorPageFileName, *platform_.messages,
                                      !errorPageDeleteFailed_)) {
            errorPageWritten_ = errorPageDeleteFailed_ = false;
            return;
        }
        errorPageDeleteFailed_ = true;
        errorPageWrittenAt_ = platform_.clock->now();
    };
    if (exiting) {
        deletePage();
        return;
    }
    // A repaint is under way: the deletion, and a message about its failure,
    // wait until it is over.
    if (errorPageDeletionDue_)
        return;
    errorPageDeletionDue_ = true;
    QTimer::singleShot(0, this, [this, deletePage] {
        errorPageDeletionDue_ = false;
        if (errorPageWritten_ &&
            handover::ErrorPageDue(errorPageWrittenAt_, platform_.clock->now(), closing_))
            deletePage();
    });
}

// ---- The Internet-service menu and the bookmarks ------------------------------

void TMainForm::MenuServiceClick() {
    LoadBookmarkMenu();
}

namespace {
// A user's text as a menu caption: a "&" shows as itself.
QString menuCaption(QString text) {
    return text.replace(u'&', u"&&"_s);
}
} // namespace

void TMainForm::LoadBookmarkMenu() {
    if (bookmarkMenuLoaded_)
        return;
    bookmarkMenuLoaded_ = true;
    // Every item gets the next number of the run's counter; the service
    // handler tells the bookmarks and the registration item by their hints.
    const auto addItem = [this](const QString& caption, const QString& hint) {
        auto* item = new QAction(caption, ServiceBookMark);
        item->setData(++bookmarkItemCounter_);
        item->setStatusTip(hint);
        ServiceBookMark->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] { ServicesOfNetClick(item); });
        return item;
    };
    for (const listfile::Bookmark& bookmark : listfile::readBookmarks(programFolder_ + u"bookmark.csv"_s))
        addItem(menuCaption(bookmark.name), bookmark.url)->setToolTip(bookmark.url);
    addItem(QString(), QString())->setSeparator(true);
    addItem(u"（ブックマークの登録...）"_s, u"\t"_s);
}

void TMainForm::ClearBookmarkMenu() {
    // The link to the users' diaries and its separator stay. The items go
    // later, as the registration item may be the one running this.
    const QList<QAction*> items = ServiceBookMark->actions();
    for (qsizetype i = 2; i < items.size(); ++i) {
        ServiceBookMark->removeAction(items[i]);
        items[i]->deleteLater();
    }
    bookmarkMenuLoaded_ = false;
}

void TMainForm::ServicesOfNetClick(const QAction* item) {
    const handover::ServiceChoice choice =
        handover::ServiceItemChoice(item->data().toInt(), item->statusTip(), appSet.UserSiteUrl);
    switch (choice.kind) {
    case handover::ServiceChoice::Kind::Open:
        RunHandOverLaunch(Launch::open(choice.target));
        break;
    case handover::ServiceChoice::Kind::Message:
        platform_.messages->show(choice.text, choice.caption, choice.icon);
        break;
    case handover::ServiceChoice::Kind::Registration:
        appSet.setSettingsDialogPage('B');
        SetAppActionExecute();
        break;
    }
}
