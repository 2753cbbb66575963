// Publishing to the web site: the command "サーバへアップロード" sends the
// saved page (and, when the settings ask for it, the project pages that
// changed since their last upload) through the UploadRunner, which runs the
// upload off the window's thread and asks the trust and password questions.
// An upload that takes longer than a second shows its progress with a cancel
// button in the bottom bar; the status panel says what went where.

#include "app/MainUnit.h"

#include "dialogs/AppSetUnit.h"
#include "document/ListFile.h"
#include "publish/UploadPlan.h"
#include "publish/UploadRunner.h"
#include "resources/Messages.h"

#include <QAction>
#include <QBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

void TMainForm::ConnectUploadCommands() {
    if (platform_.uploads) {
        uploadPasswords_ = std::make_unique<UploadPasswords>(platform_.passwords, platform_.passwordPrompt);
        uploadRunner_ = std::make_unique<UploadRunner>(*platform_.uploads, *platform_.messages,
                                                       *uploadPasswords_, platform_.knownHostsFile);
    }
    UploadProgress = new QProgressBar(PanelBottom);
    UploadProgress->setObjectName(u"UploadProgress"_s);
    UploadProgress->setRange(0, 1000);
    UploadProgress->setMaximumWidth(220);
    UploadProgress->setToolTip(u"アップロードの進み具合"_s);
    BtnUploadCancel = new QPushButton(u"中止"_s, PanelBottom);
    BtnUploadCancel->setObjectName(u"BtnUploadCancel"_s);
    BtnUploadCancel->setToolTip(u"アップロードを中止します。サーバ上のページは元のままです。"_s);
    BtnUploadCancel->setFocusPolicy(Qt::TabFocus);
    auto* bottom = static_cast<QBoxLayout*>(PanelBottom->layout());
    const int at = bottom->indexOf(BtnExit);
    bottom->insertWidget(at, BtnUploadCancel);
    bottom->insertWidget(at, UploadProgress);
    UploadProgress->hide();
    BtnUploadCancel->hide();

    uploadProgressDelay_ = new QTimer(this);
    uploadProgressDelay_->setSingleShot(true);
    uploadProgressDelay_->setInterval(1000);
    connect(uploadProgressDelay_, &QTimer::timeout, this, [this] {
        if (uploadRunner_ && uploadRunner_->busy()) {
            UploadProgress->show();
            BtnUploadCancel->show();
        }
    });
    connect(BtnUploadCancel, &QPushButton::clicked, this, [this] {
        if (uploadRunner_)
            uploadRunner_->cancel();
    });
    connect(UploadAction, &QAction::triggered, this, &TMainForm::UploadActionExecute);
}

void TMainForm::UploadActionExecute() {
    if (!uploadRunner_ || uploadRunner_->busy())
        return;
    if (!upload::configured(appSet)) {
        platform_.messages->show(msg::UploadNotConfigured, msg::UploadCaption, MsgIcon::Information);
        {
            AppSetContext context{
                appSet,        *platform_.messages, OpenDialog, programFolder_,      screenSize_,
                ieFromSystem_, nnFromSystem_,       this,       uploadRunner_.get(), uploadPasswords_.get()};
            context.openOnUploadPage = true;
            TAppSetForm dialog(context, this);
            dialog.exec();
        }
        AfterAppSettingsDialog();
        if (!upload::configured(appSet))
            return;
    }
    // Only the saved page goes up: unsaved changes are asked about first, and
    // a page the user chose not to save stays where it is.
    if (document_->exists() && document_->askSave() != AskSaveResult::Proceed)
        return;
    const QString page = document_->exists() ? document_->fileName() : QString();
    if (page.isEmpty() || !QFileInfo::exists(page)) {
        platform_.messages->show(msg::UploadNoSavedPage, msg::UploadCaption, MsgIcon::Information);
        return;
    }

    QPointer<TMainForm> self = this;
    UploadProgress->setValue(0);
    uploadProgressDelay_->start();
    uploadRunner_->upload(
        appSet, UploadItems(page),
        [self](const UploadItem& item, qint64 sent, qint64 total) {
            if (self)
                self->UploadProgressed(item, sent, total);
        },
        [self](const UploadOutcome& outcome) {
            if (self)
                self->UploadItemDone(outcome);
        },
        [self](const QList<UploadOutcome>& outcomes) {
            if (self)
                self->UploadAllDone(outcomes);
        });
    UpdateCommandStates();
    ShowUploadStatus(msg::UploadRunningStatus.arg(upload::displayAddress(
        upload::targetFrom(appSet, {}), upload::remotePathFor(page, appSet.UploadLocalFolder))));
}

// The page first, then the project pages that changed since they last went up.
QList<UploadItem> TMainForm::UploadItems(const QString& page) const {
    QList<UploadItem> items{{page, upload::remotePathFor(page, appSet.UploadLocalFolder)}};
    if (appSet.UploadProjects != u"1"_s)
        return items;
    const upload::Ledger ledger(platform_.uploadLedgerFile);
    const QString pageAbsolute = QFileInfo(page).absoluteFilePath();
    for (const QString& path : listfile::readProjectMenuPaths(programFolder_ + u"default.str"_s)) {
        const QFileInfo info(path);
        if (!info.isFile() || info.absoluteFilePath() == pageAbsolute || !ledger.changed(path))
            continue;
        items << UploadItem{path, upload::remotePathFor(path, appSet.UploadLocalFolder)};
    }
    return items;
}

void TMainForm::UploadProgressed(const UploadItem& item, qint64 sent, qint64 total) {
    if (total > 0)
        UploadProgress->setValue(int(sent * 1000 / total));
    UploadProgress->setFormat(QFileInfo(item.localPath).fileName() + u" %p%"_s);
}

void TMainForm::UploadItemDone(const UploadOutcome& outcome) {
    if (outcome.result.status == upload::Status::Done) {
        upload::Ledger ledger(platform_.uploadLedgerFile);
        ledger.record(outcome.item.localPath);
        ledger.save();
    }
}

void TMainForm::UploadAllDone(const QList<UploadOutcome>& outcomes) {
    uploadProgressDelay_->stop();
    UploadProgress->hide();
    BtnUploadCancel->hide();
    UpdateCommandStates();
    if (closeAfterUpload_) {
        close();
        return;
    }
    QStringList done, failed;
    QString failure;
    bool cancelled = false;
    for (const UploadOutcome& o : outcomes) {
        const QString name = QDir::toNativeSeparators(o.item.localPath);
        if (o.result.status == upload::Status::Done) {
            done << name + u" → "_s + o.address;
        } else if (o.result.status == upload::Status::Cancelled) {
            cancelled = true;
        } else {
            failed << name;
            if (failure.isEmpty())
                failure = o.message;
        }
    }
    if (outcomes.size() == 1 && !done.isEmpty())
        ShowUploadStatus(
            msg::UploadDoneStatus.arg(QFileInfo(outcomes[0].item.localPath).fileName(), outcomes[0].address));
    else if (!done.isEmpty())
        ShowUploadStatus(msg::UploadDoneStatus.arg(QString::number(done.size()) + u" 個のページ"_s,
                                                   upload::displayAddress(upload::targetFrom(appSet, {}))));
    else if (cancelled)
        ShowUploadStatus(msg::UploadCancelledStatus);
    else if (!failure.isEmpty())
        ShowUploadStatus(msg::UploadFailedStatus.arg(failure.section(u'\n', 0, 0)));
    else
        ShowUploadStatus(msg::UploadCancelledStatus);

    if (outcomes.size() > 1 || (!done.isEmpty() && !failed.isEmpty())) {
        const QString none = msg::UploadSummaryNone;
        platform_.messages->show(msg::UploadSummary.arg(done.isEmpty() ? none : done.join(u'\n'),
                                                        failed.isEmpty() ? none : failed.join(u'\n')) +
                                     (failure.isEmpty() ? QString() : u"\n\n"_s + failure),
                                 msg::UploadSummaryCaption,
                                 failed.isEmpty() ? MsgIcon::Information : MsgIcon::Exclamation);
    } else if (!failure.isEmpty()) {
        platform_.messages->show(failure, msg::UploadCaption, MsgIcon::Error);
    }
}

void TMainForm::ShowUploadStatus(const QString& text) {
    QLabel* panel = TodayTabShown() ? PanelStatusTsm : PanelStatusRsm;
    panel->setText(text);
    panel->setToolTip(text.trimmed());
}

bool TMainForm::UploadMayClose() {
    if (!uploadRunner_ || !uploadRunner_->busy())
        return true;
    if (closeAfterUpload_)
        return false;
    if (platform_.messages->show(msg::UploadCloseQuestion, msg::UploadCaption, MsgIcon::Question,
                                 MsgButtons::YesNo, MsgAnswer::No) != MsgAnswer::Yes)
        return false;
    // The cancel removes the temporary file on the server; the window closes after it.
    closeAfterUpload_ = true;
    uploadRunner_->cancel();
    return false;
}
