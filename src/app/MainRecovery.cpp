// Nothing the user writes is lost: while today's body or the diary page is
// modified, a recovery copy of it is written in the background; a start after
// a crash offers the copies back. Kept entries (DIARY.TMP and its Temp
// subkey) stay until their text is safe elsewhere, and keeping an entry never
// writes over one another copy of the program kept. The restore of today's
// body runs once the window is on screen, so a big kept entry does not keep
// the window from appearing.

#include "app/MainUnit.h"

#include "publish/UploadRunner.h"

#include "document/DiaryEditor.h"
#include "platform/ReportedFile.h"
#include "platform/TextFile.h"
#include "resources/Messages.h"
#include "settings/KeptEntries.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextDocument>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// A copy is taken this long after the first change it does not hold yet,
// whether or not the user is still typing, so that a crash loses at most the
// last 10 s of writing: the second left is for the write on the store's worker.
constexpr int RecoveryDelayMs = 9000;
// The show sequence's last steps wait for the first paint, or this long.
constexpr int StartupRestoreFallbackMs = 500;

// The copy's bytes: the text as UTF-8 with '\n' line breaks (made on the
// recovery store's worker thread from the editor's raw text).
QByteArray copyBytes(QString text) {
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text.toUtf8();
}
QString copyText(const QByteArray& bytes) {
    return QString::fromUtf8(bytes);
}

namespace fieldnames = storenames;

QMap<QString, QString> fieldsOf(const TempDiary& entry) {
    return {{fieldnames::TDY, entry.TDY},
            {fieldnames::TDM, entry.TDM},
            {fieldnames::TDD, entry.TDD},
            {fieldnames::TDW, entry.TDW},
            {fieldnames::TDW1, entry.TDW1},
            {fieldnames::TDW2, entry.TDW2},
            {fieldnames::TDW1N, QString::number(entry.TDW1N)},
            {fieldnames::TDW2N, QString::number(entry.TDW2N)},
            {fieldnames::TDT, entry.TDT}};
}

std::optional<TempDiary> entryOf(const QMap<QString, QString>& fields) {
    if (fields.isEmpty())
        return std::nullopt;
    TempDiary entry;
    entry.TDY = fields.value(fieldnames::TDY);
    entry.TDM = fields.value(fieldnames::TDM);
    entry.TDD = fields.value(fieldnames::TDD);
    entry.TDW = fields.value(fieldnames::TDW);
    entry.TDW1 = fields.value(fieldnames::TDW1);
    entry.TDW2 = fields.value(fieldnames::TDW2);
    entry.TDW1N = fields.value(fieldnames::TDW1N, u"-1"_s).toInt();
    entry.TDW2N = fields.value(fieldnames::TDW2N, u"-1"_s).toInt();
    entry.TDT = fields.value(fieldnames::TDT);
    return entry;
}

QString timeText(const QDateTime& time) {
    return time.toLocalTime().toString(msg::CopyTimeFormat);
}

} // namespace

TMainForm::~TMainForm() {
    // Nothing of a write still under way may reach a window that is gone.
    if (platform_.recovery)
        platform_.recovery->setWriteListener({});
}

void TMainForm::ConnectRecovery() {
    auto makeTimer = [this](const QString& name, RecoveryKind kind) {
        auto* timer = new QTimer(this);
        timer->setObjectName(name);
        timer->setSingleShot(true);
        timer->setInterval(RecoveryDelayMs);
        connect(timer, &QTimer::timeout, this, [this, kind] { WriteRecoveryCopy(kind); });
        return timer;
    };
    todayRecoveryTimer_ = makeTimer(u"TodayRecoveryTimer"_s, RecoveryKind::TodayBody);
    pageRecoveryTimer_ = makeTimer(u"PageRecoveryTimer"_s, RecoveryKind::Page);

    connect(MToday, &QPlainTextEdit::textChanged, this, [this] {
        if (MToday->document()->isModified())
            ScheduleRecoveryCopy(RecoveryKind::TodayBody);
    });
    // The copy of today's body carries its date, weekday and weathers too.
    auto entryFieldChanged = [this] {
        if (MToday->document()->isModified())
            ScheduleRecoveryCopy(RecoveryKind::TodayBody);
    };
    for (QLineEdit* edit : {EditYear, EditMonth, EditDate})
        connect(edit, &QLineEdit::textChanged, this, entryFieldChanged);
    for (QComboBox* box : {BoxDay, BoxWeather1, BoxWeather2})
        connect(box, &QComboBox::currentTextChanged, this, entryFieldChanged);
    connect(MToday->document(), &QTextDocument::modificationChanged, this, [this](bool modified) {
        // Composed, kept, replaced or discarded on purpose.
        if (!modified) {
            RemoveRecoveryCopy(RecoveryKind::TodayBody);
            ReleaseKeptEntry();
        }
    });
    connect(RAll, &QPlainTextEdit::textChanged, this, [this] {
        if (document_->exists() && RAll->document()->isModified())
            ScheduleRecoveryCopy(RecoveryKind::Page);
    });
    connect(document_, &DiaryDocument::modificationChanged, this, [this](bool modified) {
        if (!modified)
            RemoveRecoveryCopy(RecoveryKind::Page);
    });
    auto notePageTime = [this] {
        pageModifiedWhenLoaded_ =
            document_->fileName().isEmpty() ? QDateTime() : QFileInfo(document_->fileName()).lastModified();
    };
    connect(document_, &DiaryDocument::loaded, this, notePageTime);
    connect(document_, &DiaryDocument::saved, this, notePageTime);

    if (platform_.recovery) {
        platform_.recovery->setWriteListener([this](RecoveryKind kind, bool written) {
            QMetaObject::invokeMethod(
                this, [this, kind, written] { RecoveryCopyWritten(kind, written); }, Qt::QueuedConnection);
        });
    }
}

// ---- Recovery copies while the user writes ------------------------------------

// Runs on every keystroke: it only starts the copy's timer at the first
// change the copy does not hold; later changes leave it running, so steady
// typing never puts the copy off.
void TMainForm::ScheduleRecoveryCopy(RecoveryKind kind) {
    QTimer* timer = kind == RecoveryKind::TodayBody ? todayRecoveryTimer_ : pageRecoveryTimer_;
    if (!timer->isActive())
        timer->start();
}

void TMainForm::WriteRecoveryCopy(RecoveryKind kind) {
    RecoveryStore* store = platform_.recovery;
    if (!store)
        return;
    if (kind == RecoveryKind::TodayBody) {
        todayRecoveryTimer_->stop();
        if (!MToday->document()->isModified())
            return;
        RecoverySource source;
        source.fields = fieldsOf(CurrentTempDiary());
        store->writeLater(
            kind, [text = MToday->textForSaving()] { return copyBytes(text); }, source);
        return;
    }
    pageRecoveryTimer_->stop();
    if (!document_->exists() || !RAll->document()->isModified())
        return;
    store->writeLater(
        kind, [text = RAll->textForSaving()] { return copyBytes(text); },
        RecoverySource{document_->fileName(), pageModifiedWhenLoaded_, {}});
}

void TMainForm::RecoveryCopyWritten(RecoveryKind kind, bool written) {
    if (!written) {
        // Said once: the user should know that a crash would now lose text.
        if (!recoveryFailureShown_ && platform_.recovery) {
            recoveryFailureShown_ = true;
            platform_.messages->show(msg::recoveryWriteFailed(platform_.recovery->lastError()),
                                     msg::RecoveryWriteFailedCaption, MsgIcon::Warning);
        }
        return;
    }
    // The restored kept entry is now safe in the copy.
    if (kind == RecoveryKind::TodayBody && MToday->document()->isModified())
        ReleaseKeptEntry();
}

void TMainForm::RemoveRecoveryCopy(RecoveryKind kind) {
    (kind == RecoveryKind::TodayBody ? todayRecoveryTimer_ : pageRecoveryTimer_)->stop();
    if (platform_.recovery)
        platform_.recovery->remove(kind);
}

void TMainForm::RecoveryAtClose() {
    // Closing after the questions: every text was saved, kept or discarded on
    // purpose. Removing the settings closes without questions, so the copies
    // then stay for the next start.
    if (settingsCleared_)
        return;
    RemoveRecoveryCopy(RecoveryKind::TodayBody);
    RemoveRecoveryCopy(RecoveryKind::Page);
    ReleaseKeptEntry();
}

// ---- Kept entries ----------------------------------------------------------------

bool TMainForm::KeepTodayEntry() {
    KeptEntries kept(programFolder_, *platform_.registry);
    // The entry restored at start-up is written over (or released): not held any more.
    const std::optional<KeptEntry> own = std::exchange(heldKeptEntry_, std::nullopt);
    const KeepOutcome outcome = kept.keep(MToday->textForSaving(), CurrentTempDiary(), own);
    if (!outcome.bodyWritten) {
        heldKeptEntry_ = own;
        platform_.messages->show(msg::withReason(msg::TempSaveFailed, outcome.bodyError),
                                 msg::TempSaveFailedCaption, MsgIcon::Error);
        return false;
    }
    MToday->document()->setModified(false);
    if (!outcome.fieldsWritten)
        platform_.messages->show(
            msg::withReason(msg::TempDiaryWriteFailed,
                            msg::tempKeyNotWritten(storenames::TempKey, outcome.fieldsError,
                                                   QDir::toNativeSeparators(outcome.entry.filePath))),
            msg::AppTitle, MsgIcon::None);
    return true;
}

void TMainForm::ReleaseKeptEntry() {
    const std::optional<KeptEntry> entry = std::exchange(heldKeptEntry_, std::nullopt);
    if (!entry)
        return;
    QString error;
    if (!KeptEntries(programFolder_, *platform_.registry).release(*entry, &error))
        platform_.messages->show(msg::withReason(msg::TempFileDeleteFailed, error), msg::AppName,
                                 MsgIcon::Warning);
}

bool TMainForm::RestoreKeptEntries() {
    const QList<KeptEntry> entries = KeptEntries(programFolder_, *platform_.registry).list();
    if (entries.isEmpty())
        return false;
    // One entry comes back at once; of several, the user picks one (newest
    // first), and the others wait for the next start.
    std::optional<KeptEntry> chosen;
    if (entries.size() == 1) {
        chosen = entries.first();
    } else {
        for (const KeptEntry& entry : entries) {
            if (platform_.messages->show(msg::keptEntryOffer(entries.size(), timeText(entry.keptAt)),
                                         msg::KeptEntriesCaption, MsgIcon::Question,
                                         MsgButtons::YesNo) == MsgAnswer::Yes) {
                chosen = entry;
                break;
            }
        }
    }
    if (!chosen)
        return true;
    // A file that cannot be read stays for the next start. Characters CP932
    // lacks come back as typed from the exact text kept beside the file.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::optional<QString> body = readTextReporting(chosen->filePath, *platform_.messages);
    if (body)
        MToday->loadText(KeptEntries::exactBody(*chosen, *body));
    QApplication::restoreOverrideCursor();
    if (!body)
        return true;
    MToday->document()->setModified(true);
    if (const std::optional<TempDiary> fields =
            LoadTempDiary(*platform_.registry, *platform_.messages, chosen->key,
                          QDir::toNativeSeparators(chosen->filePath)))
        ApplyTempDiary(*fields);
    if (!BoxWeather2->currentText().isEmpty())
        SetWeatherExtension(true);
    RefreshTitlePanel();
    // Released once a recovery copy holds the body (or it is composed, kept
    // again or discarded).
    heldKeptEntry_ = chosen;
    WriteRecoveryCopy(RecoveryKind::TodayBody);
    return true;
}

// ---- The end of the show sequence ------------------------------------------------

void TMainForm::ScheduleStartupRestore() {
    startupRestorePending_ = true;
    // Normally the first paint starts it (eventFilter); a window that is not
    // painted (minimised) gets it anyway.
    QTimer::singleShot(StartupRestoreFallbackMs, this, &TMainForm::StartupRestore);
}

void TMainForm::StartupRestore() {
    if (!startupRestorePending_)
        return;
    startupRestorePending_ = false;
    showInProgress_ = true;
    if (!OfferRecoveryCopies())
        RestoreStartupBody();
    if (TodayTabShown())
        MToday->setFocus();
    RefreshStatus(StatusTab::Document);
    RefreshStatus(StatusTab::Today);
    showInProgress_ = false;
    startupRestored_ = true;
}

// A page whose rewrite in place a crash interrupted may be torn: its old
// contents, kept aside before the rewrite, are offered back.
void TMainForm::OfferInterruptedRewrites() {
    for (const textfile::InterruptedRewrite& rewrite : textfile::interruptedRewrites()) {
        const QString folder = QDir::toNativeSeparators(QFileInfo(rewrite.guardPath).absolutePath());
        if (platform_.messages->show(
                msg::interruptedRewriteOffer(QDir::toNativeSeparators(rewrite.page), folder),
                msg::InterruptedRewriteCaption, MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes) {
            textfile::putAsideInterruptedRewrite(rewrite);
            continue;
        }
        textfile::FileError error;
        if (!textfile::restoreInterruptedRewrite(rewrite, error))
            platform_.messages->show(
                msg::interruptedRewriteNotRestored(msg::pathAndReason(error.path, error.reason)),
                msg::InterruptedRewriteCaption, MsgIcon::Error);
    }
}

bool TMainForm::OfferRecoveryCopies() {
    OfferInterruptedRewrites();
    RecoveryStore* store = platform_.recovery;
    if (!store || !store->isUsable())
        return false;
    const RecoveryScan scan = store->scan();
    const QString folder = QDir::toNativeSeparators(store->folder());
    bool todayRestored = false, pageRestored = false;
    for (const RecoveryOffer& offer : scan.offers) {
        const bool today = offer.kind == RecoveryKind::TodayBody;
        // One text per editor; a further copy waits for the next start.
        if (today ? todayRestored : pageRestored)
            continue;
        const QString time = timeText(offer.copiedAt);
        const QString page =
            offer.source.path.isEmpty() ? msg::UnnamedPage : QDir::toNativeSeparators(offer.source.path);
        const QString question =
            today ? msg::recoveryOfferToday(time, folder) : msg::recoveryOfferPage(page, time, folder);
        if (platform_.messages->show(question, msg::RecoveryOfferCaption, MsgIcon::Question,
                                     MsgButtons::YesNo) != MsgAnswer::Yes) {
            store->putAside(offer);
            continue;
        }
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (today) {
            MToday->loadText(copyText(offer.text));
            MToday->document()->setModified(true);
            if (const std::optional<TempDiary> fields = entryOf(offer.source.fields))
                ApplyTempDiary(*fields);
            SetWeatherExtension(!BoxWeather2->currentText().isEmpty());
            RefreshTitlePanel();
            todayRestored = true;
        } else {
            document_->restore(offer.source.path, copyText(offer.text));
            pageRestored = true;
        }
        QApplication::restoreOverrideCursor();
        // Restored first, then taken over: the copy stands for the text until
        // the next copy replaces it.
        store->adopt(offer);
    }
    store->releaseOffers();
    return todayRestored;
}
