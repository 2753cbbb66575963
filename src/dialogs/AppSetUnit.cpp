// The behaviour settings dialog's frame, its show and OK sequences and the
// handlers of the first four pages.

#include "dialogs/AppSetUnit.h"

#include "dialogs/AppSetTabs.h"
#include "dialogs/AppSetUpload.h"
#include "platform/DialogPlacement.h"
#include "resources/Messages.h"
#include "settings/AppSetChecks.h"
#include "widgets/FixedDialog.h"
#include "widgets/WholeText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#if defined(Q_OS_WIN)
#include <windows.h>
#endif

using namespace Qt::StringLiterals;

namespace {

char checkFlag(const QCheckBox* box) {
    return box->isChecked() ? '1' : '0';
}

// Check boxes show their position ticked unless it holds '0'.
void showFlag(QCheckBox* box, char flag) {
    box->setChecked(flag != '0');
}

} // namespace

TAppSetForm::TAppSetForm(const AppSetContext& context, QWidget* parent)
    : QDialog(parent), context_(context), appSet_(context.appSet) {
    setObjectName(u"AppSetForm"_s);
    setWindowTitle(u"動作設定 - Oribel"_s);
    // A fixed border: a title and a close box, nothing to resize, minimise or maximise.
    makeFixedDialog(this);
    // The pages are laid out for a 9 point face, the main window's.
    QFont base = parent ? parent->font() : font();
    base.setPointSize(9);
    setFont(base);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(u"PageControl1"_s);
    BuildWindowPage();
    BuildStartupPage();
    BuildBrowserPage();
    BuildEditAndViewPage();
    BuildSentencePage();
    BuildBookmarkPage();
    BuildProjectPage();
    ConnectRowButtons();
    BuildUploadPage();
    PageControl1->setCurrentWidget(FirstRunSheet);
    // Seven captions do not fit in one row at this width.
    PageRows = new MultiRowTabs(PageControl1, {4}, this);
    for (int i = 0; i < PageRows->rowCount(); ++i)
        PageRows->row(i)->setFocusPolicy(Qt::StrongFocus);

    BtnOK = new QPushButton(u"&OK"_s, this);
    BtnOK->setObjectName(u"BtnOK"_s);
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(u"&Cancel"_s, this);
    BtnCancel->setObjectName(u"BtnCancel"_s);
    connect(BtnOK, &QPushButton::clicked, this, &TAppSetForm::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(0);
    layout->addWidget(PageRows);
    layout->addWidget(PageControl1, 1);
    layout->addSpacing(4);
    layout->addLayout(buttons);
    TakeWholeTexts(this);

    // Fixed at its design size, grown only where this platform's fonts need more.
    setFixedSize(minimumSizeHint().expandedTo(QSize(442, 323)));
}

TAppSetForm::~TAppSetForm() = default;

void TAppSetForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    centreOnOwnersScreen(this);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

// ---- Show --------------------------------------------------------------------

void TAppSetForm::FormShow() {
    // 1. Start-up geometry and the editors' fonts.
    (appSet_.flag(WindowPlacementFlag) == '0' ? RadioWinOs : RadioWinUser)->setChecked(true);
    RadioWinClick();
    EditWinWidth->setText(appSet_.WindowWidth);
    EditWinHeight->setText(appSet_.WindowHeight);
    EditWinX->setText(appSet_.WindowXPosition);
    EditWinY->setText(appSet_.WindowYPosition);
    EditTodaySize->setText(appSet_.EditFontSizeT);
    EditAllSize->setText(appSet_.EditFontSize);
    ComboTodayFont->setEditText(appSet_.EditFontFaceT);
    ComboAllFont->setEditText(appSet_.EditFontFace);

    // 2. Automatic opening and the input method.
    switch (appSet_.flag(AutoOpenFlag)) {
    case '0':
        RadioAutoNo->setChecked(true);
        break;
    case '1':
        RadioAutoHist->setChecked(true);
        break;
    default:
        RadioAutoUser->setChecked(true);
        break;
    }
    RadioAutoClick();
    showFlag(CheckImeOn, appSet_.flag(TodayImeFlag));

    // 3. The splash flag file.
    splashFlagPath_ = context_.programFolder + u"NOSPLASH.FLG"_s;
    CheckSplash->setChecked(QFileInfo::exists(splashFlagPath_));

    // 4.
    EditAutoOpen->setText(appSet_.AlwaysOpenHtml);

    // 5. Browsers and programs.
    showFlag(CheckErrorHtml, appSet_.flag(ErrorHtmlOffFlag));
    showFlag(CheckPathFromReg, appSet_.flag(BrowserPathManualFlag));
    CheckPathFromRegClick();
    EditIePath->setText(appSet_.BrowserIE);
    EditNnPath->setText(appSet_.BrowserNN);
    EditOperaPath->setText(appSet_.BrowserOpera);
    EditFtp->setText(appSet_.ExternalApp1);
    EditEditor->setText(appSet_.ExternalApp2);

    // 6. The lists.
    FillGrids();
    UserSiteUrlEdit->setText(appSet_.UserSiteUrl);

    // 7. Editing and display.
    showFlag(CheckOption1, appSet_.flag(SpecialCharWarnOffFlag));
    showFlag(CheckBarMsg, appSet_.flag(ReservedFlag));
    showFlag(CheckTooBar, appSet_.flag(ToolbarHiddenFlag));
    showFlag(CheckRight, appSet_.flag(TodayWrapFlag));
    showFlag(Checkleft, appSet_.flag(AllWrapFlag));
    RadioOmakeItems->button(appsetcheck::frequencyItem(appSet_.WriteDiaryFrequency))->setChecked(true);

    // 8.
    CheckPathFromRegClick();

    // 9. The page a command asked for.
    switch (appSet_.settingsDialogPage()) {
    case 'B':
        PageControl1->setCurrentWidget(BookmarkSheet);
        break;
    case 'S':
        PageControl1->setCurrentWidget(SentenceSheet);
        break;
    case 'P':
        PageControl1->setCurrentWidget(SameTimeRenewalSheet);
        break;
    default:
        PageControl1->setCurrentWidget(FirstRunSheet);
        break;
    }
    UploadSheet->load(appSet_);
    if (context_.openOnUploadPage)
        PageControl1->setCurrentWidget(UploadSheet);
    // The page's tab holds the focus at first, so no grid counts as touched
    // merely because the dialog opened on its page.
    for (int i = 0; i < PageRows->rowCount(); ++i) {
        if (PageRows->row(i)->currentIndex() > 0)
            PageRows->row(i)->setFocus();
    }
}

// ---- Handlers of pages 1 to 4 --------------------------------------------------

void TAppSetForm::paintBase(QWidget* widget, bool windowColour) {
    QPalette p = widget->palette();
    p.setColor(QPalette::Base, palette().color(windowColour ? QPalette::Base : QPalette::Button));
    widget->setPalette(p);
}

void TAppSetForm::RadioWinClick() {
    const bool user = RadioWinUser->isChecked();
    for (QLineEdit* edit : {EditWinWidth, EditWinHeight, EditWinX, EditWinY}) {
        edit->setEnabled(user);
        paintBase(edit, user);
    }
    BtnSetNowInfo->setEnabled(user);
}

void TAppSetForm::BtnSetNowInfoClick() {
    if (const QWidget* main = context_.mainWindow) {
        EditWinWidth->setText(QString::number(main->width()));
        EditWinHeight->setText(QString::number(main->height()));
        EditWinX->setText(QString::number(main->x()));
        EditWinY->setText(QString::number(main->y()));
    }
    RadioWinUser->setFocus();
}

void TAppSetForm::SizeEditExit() {
    EditTodaySize->setText(
        appsetcheck::repairedFontSize(EditTodaySize->text(), appsetcheck::TodayStandardSize));
    EditAllSize->setText(
        appsetcheck::repairedFontSize(EditAllSize->text(), appsetcheck::DocumentStandardSize));
}

void TAppSetForm::RadioAutoClick() {
    const bool user = RadioAutoUser->isChecked();
    EditAutoOpen->setReadOnly(!user);
    paintBase(EditAutoOpen, user);
    BtnSearchFullPath->setEnabled(user);
}

void TAppSetForm::CheckPathFromRegClick() {
    const bool manual = CheckPathFromReg->isChecked();
    for (QWidget* widget :
         std::initializer_list<QWidget*>{EditIePath, EditNnPath, EditOperaPath, LabelIe, LabelNn, LabelOpera})
        widget->setVisible(manual);
    LabelGuide->setText(manual
                            ? u"下記の欄に、ブラウザのフルパスを入力して下さい。"_s
                            : u"（ブラウザの位置が、うまく認識されていない場合のみ、ON にして下さい。）"_s);
}

// The editor and FTP program filter; where programs carry no extension the
// executable files come first.
static QString programBrowseFilter() {
#if defined(Q_OS_WIN)
    return msg::ExternalAppBrowseFilter;
#else
    return msg::ProgramFilesFilterName + u'|' + ExecutableFilesPattern + u'|' + msg::ExternalAppBrowseFilter;
#endif
}

bool TAppSetForm::browse(const QString& title, const QString& filter) {
    FileDialog& dialog = context_.openDialog;
    dialog.title = title;
    dialog.filter = filter;
    dialog.filterIndex = 1;
    dialog.initialDir.clear();
    return dialog.execute();
}

void TAppSetForm::BtnSearchFullPathClick() {
    if (browse(msg::AutoOpenBrowseTitle, msg::AutoOpenBrowseFilter))
        EditAutoOpen->setText(context_.openDialog.fileName);
}

void TAppSetForm::BtnAppPathClick(QLineEdit* target) {
    if (browse(msg::ExternalAppBrowseTitle, programBrowseFilter()))
        target->setText(context_.openDialog.fileName);
}

void TAppSetForm::BtnViewPathClick() {
    context_.messages.show(msg::browserPathsReport(context_.iePathFromSystem, context_.nnPathFromSystem),
                           msg::BrowserPathsCaption, MsgIcon::Information);
}

void TAppSetForm::BtnSpecialCharClick() {
    context_.messages.show(msg::SpecialCharExplanation, msg::SpecialCharCaption, MsgIcon::Information);
}

bool TAppSetForm::eventFilter(QObject* watched, QEvent* event) {
    // Leaving a size edit for another control repairs both; the window
    // losing the focus (a message box, another program) is not leaving it.
    if (event->type() == QEvent::FocusOut && (watched == EditTodaySize || watched == EditAllSize)) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            SizeEditExit();
    }
    GridEvent(watched, event);
    return QDialog::eventFilter(watched, event);
}

// ---- OK ------------------------------------------------------------------------

void TAppSetForm::ShowFailure(const QString& message, QWidget* page, QWidget* focus) {
    context_.messages.show(message, msg::InputErrorCaption, MsgIcon::Warning);
    PageControl1->setCurrentWidget(page);
    focus->setFocus();
}

bool TAppSetForm::GeometryCheck() {
    using appsetcheck::GeometryEdit;
    const auto failure = appsetcheck::checkGeometry(EditWinWidth->text(), EditWinHeight->text(),
                                                    EditWinX->text(), EditWinY->text(), context_.screenSize);
    if (!failure)
        return true;
    QLineEdit* const edits[] = {EditWinWidth, EditWinHeight, EditWinX, EditWinY};
    ShowFailure(failure->message, FirstRunSheet, edits[int(failure->edit)]);
    return false;
}

void TAppSetForm::BtnOKClick() {
    // 1. The geometry is checked only when it is to be used.
    if (RadioWinUser->isChecked() && !GeometryCheck())
        return;
    appSet_.setFlag(WindowPlacementFlag, RadioWinUser->isChecked() ? '1' : '0');
    // 2, 3. Stored whichever radio button is checked.
    appSet_.WindowWidth = EditWinWidth->text();
    appSet_.WindowHeight = EditWinHeight->text();
    appSet_.WindowXPosition = EditWinX->text();
    appSet_.WindowYPosition = EditWinY->text();
    appSet_.EditFontSizeT = EditTodaySize->text();
    appSet_.EditFontSize = EditAllSize->text();
    appSet_.EditFontFaceT = ComboTodayFont->currentText();
    appSet_.EditFontFace = ComboAllFont->currentText();
    // 4. Automatic opening; the path is kept unless a path is to be opened.
    if (RadioAutoHist->isChecked()) {
        appSet_.setFlag(AutoOpenFlag, '1');
    } else if (RadioAutoUser->isChecked()) {
        if (!appsetcheck::autoOpenPathGiven(EditAutoOpen->text())) {
            ShowFailure(msg::AutoOpenPathMissing, EditHistSheet, EditAutoOpen);
            return;
        }
        appSet_.setFlag(AutoOpenFlag, '2');
        appSet_.AlwaysOpenHtml = EditAutoOpen->text();
    } else {
        appSet_.setFlag(AutoOpenFlag, '0');
    }
    // 5, 6.
    appSet_.setFlag(TodayImeFlag, checkFlag(CheckImeOn));
    StoreSplashFlag();
    // 7, 8. The browser paths are stored even while their edits are hidden.
    appSet_.setFlag(ErrorHtmlOffFlag, checkFlag(CheckErrorHtml));
    appSet_.setFlag(BrowserPathManualFlag, checkFlag(CheckPathFromReg));
    appSet_.BrowserIE = EditIePath->text();
    appSet_.BrowserNN = EditNnPath->text();
    appSet_.BrowserOpera = EditOperaPath->text();
    appSet_.ExternalApp1 = EditFtp->text();
    appSet_.ExternalApp2 = EditEditor->text();
    // 9, 10, 11. The lists, each only when its grid was touched, and only
    // when every entry can be written as it stands.
    if (!ListsWritable())
        return;
    if (snippetsTouched_)
        SaveSnippets();
    if (bookmarksTouched_)
        SaveBookmarks();
    appSet_.UserSiteUrl = UserSiteUrlEdit->text();
    if (projectsTouched_)
        SaveProjects();
    // 12, 13.
    appSet_.setFlag(SpecialCharWarnOffFlag, checkFlag(CheckOption1));
    appSet_.setFlag(ReservedFlag, checkFlag(CheckBarMsg));
    appSet_.setFlag(ToolbarHiddenFlag, checkFlag(CheckTooBar));
    appSet_.setFlag(TodayWrapFlag, checkFlag(CheckRight));
    appSet_.setFlag(AllWrapFlag, checkFlag(Checkleft));
    appSet_.WriteDiaryFrequency = appsetcheck::frequencyOfItem(RadioOmakeItems->checkedId());
    // 14. Publishing.
    if (!UploadSheet->store(appSet_)) {
        PageControl1->setCurrentWidget(UploadSheet);
        return;
    }
    accept();
}

void TAppSetForm::StoreSplashFlag() {
    const bool exists = QFileInfo::exists(splashFlagPath_);
    if (CheckSplash->isChecked() && !exists) {
        QFile flag(splashFlagPath_);
        if (!flag.open(QIODevice::WriteOnly)) {
            context_.messages.show(msg::SplashFlagCreateFailed, msg::SplashFlagCreateFailedCaption,
                                   MsgIcon::Warning);
            return;
        }
        flag.close();
#if defined(Q_OS_WIN)
        const std::wstring path = QFileInfo(splashFlagPath_).absoluteFilePath().toStdWString();
        SetFileAttributesW(path.c_str(), GetFileAttributesW(path.c_str()) | FILE_ATTRIBUTE_HIDDEN);
#endif
        // Elsewhere a file is hidden only by a leading dot, which would change
        // the name the start-up looks for; the file stays visible.
    } else if (!CheckSplash->isChecked() && exists) {
        if (!QFile::remove(splashFlagPath_))
            context_.messages.show(msg::SplashFlagDeleteFailed, msg::SplashFlagDeleteFailedCaption,
                                   MsgIcon::Warning);
    }
}
