// Today's page: the date fields and weekday, the weathers, the title, a new
// entry, the temporary save, the operation advice; the composer command that
// turns the entry into HTML in the diary page; the status panels.

#include "app/MainUnit.h"

#include "document/DiaryEditor.h"
#include "document/TagsUnit.h"
#include "platform/ReportedFile.h"
#include "platform/TextFile.h"
#include "resources/Messages.h"
#include "settings/SettingsStore.h"
#include "today/Composer.h"
#include "today/DateFormat.h"
#include "today/Statistics.h"
#include "today/TitleUnit.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace {

// The list item chosen in a weather box, or -1 when its text was typed (also
// when the user typed over a chosen item).
int chosenItem(const QComboBox* box) {
    const int index = box->currentIndex();
    if (index >= 0 && box->itemText(index) == box->currentText())
        return index;
    return -1;
}

void clearBox(QComboBox* box) {
    box->setCurrentIndex(-1);
    box->setEditText(QString());
}

} // namespace

void TMainForm::ConnectTodayCommands() {
    connect(FileTodayNew, &QAction::triggered, this, &TMainForm::NewTodayEntry);
    connect(FileTodaySave, &QAction::triggered, this, &TMainForm::SaveTodayAndExit);
    connect(InsertDiaryAction, &QAction::triggered, this, &TMainForm::InsertDiaryActionExecute);
    connect(InsertTitle, &QAction::triggered, this, &TMainForm::EditDiaryTitle);
    for (QLineEdit* edit : {EditYear, EditMonth, EditDate})
        connect(edit, &QLineEdit::textChanged, this, &TMainForm::DateFieldChange);
    connect(BtnWeaPlus, &QPushButton::clicked, this, [this] {
        SetWeatherExtension(true);
        BoxWeather2->setFocus();
    });
    connect(BtnNewToday, &QPushButton::clicked, this, &TMainForm::NewTodayEntry);
    connect(BtnDateReset, &QPushButton::clicked, this, &TMainForm::ResetTodayDate);
    connect(BtnTitle, &QPushButton::clicked, this, &TMainForm::EditDiaryTitle);
    connect(BtnGuide, &QPushButton::clicked, this, &TMainForm::ShowOperationAdvice);
    // The button inserts into today's editor, where the user goes on typing.
    connect(BtnBR, &QPushButton::clicked, this, [this] {
        TagBRAction->trigger();
        MToday->setFocus();
    });
    connect(ComboBoxAutoBR, &QComboBox::activated, this, [this](int index) {
        htmlSet.setAutoLineBreaks(index == 0);
        ApplyHtmlFlagControls();
    });

    connect(MToday, &QPlainTextEdit::cursorPositionChanged, this,
            [this] { RefreshStatus(StatusTab::Today); });
    connect(MToday, &DiaryEditor::totalsChanged, this, [this] { RefreshStatus(StatusTab::Today); });
    connect(MToday, &DiaryEditor::displayedLinesChanged, this, [this] { RefreshStatus(StatusTab::Today); });
    connect(RAll, &QPlainTextEdit::cursorPositionChanged, this,
            [this] { RefreshStatus(StatusTab::Document); });
    connect(RAll, &DiaryEditor::totalsChanged, this, [this] { RefreshStatus(StatusTab::Document); });
}

void TMainForm::ResetToToday() {
    const QDate today = platform_.clock->now().date();
    setWindowTitle(MainCaption(today));
    clearBox(BoxWeather1);
    clearBox(BoxWeather2);
    EditYear->setText(QString::number(today.year()));
    EditMonth->setText(QString::number(today.month()));
    EditDate->setText(QString::number(today.day()));
    UpdateWeekday();
}

void TMainForm::UpdateWeekday() {
    const int weekday = WeekdayIndex(EditYear->text(), EditMonth->text(), EditDate->text());
    if (weekday < 0 || weekday >= BoxDay->count())
        clearBox(BoxDay);
    else
        BoxDay->setCurrentIndex(weekday);
}

void TMainForm::DateFieldChange() {
    if (!showInProgress_)
        UpdateWeekday();
}

void TMainForm::NewTodayEntry() {
    if (MToday->document()->isModified() &&
        platform_.messages->show(msg::NewTodayEntryQuestion, msg::NewTodayEntryCaption, MsgIcon::Question,
                                 MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    MToday->loadText(QString());
    MToday->document()->setModified(false);
    diaryTitle_.clear();
    PanelTitle->hide();
    ResetTodayDate();
}

void TMainForm::ResetTodayDate() {
    SetWeatherExtension(false);
    ResetToToday();
    MToday->setFocus();
}

void TMainForm::SetWeatherExtension(bool open) {
    LabelWeatherBar->setVisible(open);
    BoxWeather2->setVisible(open);
    BtnWeaPlus->setVisible(!open);
}

void TMainForm::RefreshTitlePanel() {
    if (diaryTitle_.isEmpty()) {
        PanelTitle->hide();
        return;
    }
    PanelTitle->setText(msg::TitlePanelPrefix + diaryTitle_);
    PanelTitle->show();
}

void TMainForm::EditDiaryTitle() {
    TitleForm->Edit(diaryTitle_);
    RefreshTitlePanel();
    MToday->setFocus();
}

TempDiary TMainForm::CurrentTempDiary() const {
    TempDiary kept;
    kept.TDY = EditYear->text();
    kept.TDM = EditMonth->text();
    kept.TDD = EditDate->text();
    kept.TDW = BoxDay->currentText();
    kept.TDW1 = BoxWeather1->currentText();
    kept.TDW2 = BoxWeather2->currentText();
    kept.TDW1N = chosenItem(BoxWeather1);
    kept.TDW2N = chosenItem(BoxWeather2);
    kept.TDT = diaryTitle_;
    return kept;
}

void TMainForm::ApplyTempDiary(const TempDiary& kept) {
    EditYear->setText(kept.TDY);
    EditMonth->setText(kept.TDM);
    EditDate->setText(kept.TDD);
    BoxDay->setCurrentIndex(-1);
    BoxDay->setEditText(kept.TDW);
    diaryTitle_ = kept.TDT;
    auto restore = [](QComboBox* box, int index, const QString& text) {
        if (index != -1 && index < box->count()) {
            box->setCurrentIndex(index);
        } else {
            box->setCurrentIndex(-1);
            box->setEditText(text);
        }
    };
    restore(BoxWeather1, kept.TDW1N, kept.TDW1);
    restore(BoxWeather2, kept.TDW2N, kept.TDW2);
}

bool TMainForm::LoadIntoToday(const QString& path) {
    const std::optional<QString> text = readTextReporting(path, *platform_.messages);
    if (!text)
        return false;
    MToday->loadText(*text);
    return true;
}

bool TMainForm::SaveTodayTemp() {
    // DIARY.TMP and the Temp subkey, never over an entry another copy kept
    // (MainRecovery.cpp).
    return KeepTodayEntry();
}

// The exit question about a body that was changed and not used. Cancel shows
// today's page, where the entry waits.
UnusedEntry TMainForm::AskAboutUnusedEntry() {
    if (!MToday->document()->isModified())
        return UnusedEntry::Discard;
    switch (platform_.messages->show(msg::ExitConfirm, msg::ExitConfirmCaption, MsgIcon::Question,
                                     MsgButtons::YesNoCancel)) {
    case MsgAnswer::Yes:
        return UnusedEntry::Keep;
    case MsgAnswer::No:
        return UnusedEntry::Discard;
    default:
        PageControlMain->setCurrentWidget(TabSheetToday);
        MToday->setFocus();
        UpdatePageState();
        return UnusedEntry::Cancel;
    }
}

void TMainForm::SaveTodayAndExit() {
    if (MToday->document()->isEmpty()) {
        platform_.messages->show(msg::TempSaveNoBody, msg::AppName, MsgIcon::Exclamation);
        return;
    }
    if (document_->askSave() == AskSaveResult::Cancel) {
        platform_.messages->show(msg::TempSaveCancelled, msg::TempSaveCancelledCaption, MsgIcon::Information);
        return;
    }
    RAll->document()->setModified(false);
    if (!SaveTodayTemp())
        return;
    platform_.messages->show(msg::TempSaveDone, msg::AppName, MsgIcon::Information);
    close();
}

void TMainForm::ShowOperationAdvice() {
    const QString middle = htmlSet.autoLineBreaks() ? msg::AdviceAutomaticBreaks : msg::AdviceManualBreaks;
    platform_.messages->show(msg::AdviceIntro + middle + msg::AdviceOutro, msg::AdviceCaption,
                             MsgIcon::Information);
    MToday->setFocus();
}

// ---- The composer command ----------------------------------------------------------

void TMainForm::InsertDiaryActionExecute() {
    if (MToday->document()->isEmpty()) {
        platform_.messages->show(msg::NoDiaryBody, msg::NoDiaryBodyCaption, MsgIcon::Exclamation);
        return;
    }
    if (htmlSet.warnsWithoutWeather() && BoxWeather1->currentText().isEmpty() &&
        BoxWeather2->currentText().isEmpty() &&
        platform_.messages->show(msg::NoWeatherQuestion, msg::EntryIncompleteCaption, MsgIcon::Question,
                                 MsgButtons::YesNo) != MsgAnswer::Yes) {
        PageControlMain->setCurrentWidget(TabSheetToday);
        BoxWeather1->setFocus();
        return;
    }
    if (htmlSet.warnsWithoutTitle() && diaryTitle_.isEmpty() &&
        platform_.messages->show(msg::NoTitleQuestion, msg::EntryIncompleteCaption, MsgIcon::Question,
                                 MsgButtons::YesNo) != MsgAnswer::Yes) {
        PageControlMain->setCurrentWidget(TabSheetToday);
        BtnTitle->setFocus();
        return;
    }
    DiaryEntry entry;
    entry.yearText = EditYear->text();
    entry.monthText = EditMonth->text();
    entry.dayText = EditDate->text();
    entry.weekdayText = BoxDay->currentText();
    entry.weather1 = {BoxWeather1->currentText(), chosenItem(BoxWeather1)};
    entry.weather2 = {BoxWeather2->currentText(), chosenItem(BoxWeather2)};
    entry.title = diaryTitle_;
    entry.body = MToday->toPlainText();
    entry.shiftHeld = platform_.keyboard->shiftHeld();
    entry.now = platform_.clock->now().time();

    // A typed weather needs its start tag from the tag builder's weather mode.
    // Closing that dialog without OK stops here: nothing is counted or
    // inserted (an end tag without its start tag would break the page), and
    // the entry stays unused.
    if (NeedsWeatherResolution(entry)) {
        appSet.setTagDialogMode('W');
        TTagsForm tags(TagMode::Weather, platform_, htmlSet, appSet, {}, this);
        tags.SetWeatherFields(entry.weather1, entry.weather2);
        if (tags.exec() != QDialog::Accepted)
            return;
        weatherTag1_ = tags.WeatherTag1();
        weatherTag2_ = tags.WeatherTag2();
    }

    if (!debugMode_)
        CountInsertion(appSet, MToday->displayedLineCount());
    RAll->insertTextAtCaret(ComposeDiaryEntry(entry, htmlSet, weatherTag1_, weatherTag2_));
    MToday->document()->setModified(false);
}

void TMainForm::MonthlyStatisticsCheck() {
    const QDate today = platform_.clock->now().date();
    loadedSettings_.checkedMonth = MonthStamp(today);
    if (::MonthlyStatisticsCheck(appSet, today))
        platform_.messages->show(msg::ThanksText, msg::ThanksCaption, MsgIcon::Information);
}

void TMainForm::RefreshStatus(StatusTab tab) {
    if (tab == StatusTab::Document) {
        PanelStatusR1->setText(CaretPanelText(RAll->caretLine(), RAll->caretColumn()));
        PanelStatusR2->setText(TotalsPanelText(RAll->lineTotal(), RAll->byteTotal()));
        PanelStatusRsm->clear();
        return;
    }
    // Today's lines are counted as they are shown, wrapped lines included: the
    // count the composer gives the statistics. The body is small, so counting
    // its displayed lines costs nothing worth keeping.
    const DiaryEditor::Caret caret = MToday->displayedCaret();
    const int lines = MToday->displayedLineCount();
    PanelStatusT1->setText(CaretPanelText(caret.line, caret.column));
    PanelStatusT2->setText(TotalsPanelText(lines, MToday->byteTotal()));
    PanelStatusTsm->setText(TodayStatusText(appSet, lines));
}
