#include "app/HelpUnit.h"

#include "app/Resources.h"
#include "resources/AuthorAddresses.h"
#include "resources/Messages.h"
#include "today/Statistics.h"
#include "widgets/FixedDialog.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLabel* label(const QString& text, QWidget* parent, bool wrap = false) {
    auto* result = new QLabel(text, parent);
    result->setTextFormat(Qt::PlainText);
    result->setWordWrap(wrap);
    return result;
}

// A one-line label that ends its text with "…" where it does not fit, so a
// cut is seen as one; text() keeps the whole text.
class ElidingLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect area = contentsRect();
        const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
        style()->drawItemText(&painter, area, int(alignment()), palette(), isEnabled(), shown,
                              foregroundRole());
    }
};

QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent, bool wrap = false) {
    QLabel* result = label(text, parent, wrap);
    result->setObjectName(name);
    return result;
}

QLineEdit* addressEdit(const QString& name, const QString& address, QWidget* parent) {
    auto* edit = new QLineEdit(address, parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setCursorPosition(0);
    return edit;
}

QToolButton* speedButton(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

QPushButton* pushButton(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

// Narrower tab padding than the desktop style's, so that the four page
// captions fit side by side in the window's fixed width.
class CompactTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_TabBarTabHSpace)
            return qMin(QProxyStyle::pixelMetric(metric, option, widget), 12);
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// The pages are tight: little room between rows.
template <class Layout> Layout* pageLayout(QWidget* page) {
    auto* layout = new Layout(page);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(3);
    return layout;
}

} // namespace

THelpForm::THelpForm(const Platform& platform, const AppSet& appSet, bool& debugMode,
                     std::function<void()> loadManual, QWidget* parent)
    : QDialog(parent), platform_(platform), debugMode_(debugMode), loadManual_(std::move(loadManual)) {
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(u"バージョン情報 ＆ ヘルプ"_s);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(472, 271);
    makeFixedDialog(this);
    // The design is laid out for a 9 point face whatever the desktop's default.
    QFont base = font();
    base.setPointSize(9);
    setFont(base);

    ImageIcon = new QLabel(this);
    ImageIcon->setObjectName(QStringLiteral("ImageIcon"));
    ImageIcon->setFixedSize(32, 32);
    ImageIcon->installEventFilter(this);
    Label1 = namedLabel(QStringLiteral("Label1"), u"日記HTMLページ製作支援ツール"_s, this);
    Label2 = namedLabel(QStringLiteral("Label2"), msg::AppName, this);
    QFont title = base;
    title.setPointSize(16);
    title.setBold(true);
    title.setItalic(true);
    title.setStyleHint(QFont::SansSerif);
    Label2->setFont(title);
    Label2->setStyleSheet(QStringLiteral("color: #2f6f9f;"));
    Label3 = namedLabel(QStringLiteral("Label3"), msg::VersionText, this);
    LabelNotice = namedLabel(QStringLiteral("LabelNotice"), u"ご利用の前に、下の利用条件をお読み下さい。"_s,
                             this, true);
    BitBtn1 = pushButton(QStringLiteral("BitBtn1"), u"OK"_s, this);
    BitBtn1->setAutoDefault(true);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* tabStyle = new CompactTabStyle;
    tabStyle->setParent(this);
    PageControl1->tabBar()->setStyle(tabStyle);
    buildSoftwarePage();
    buildHelpPage();
    buildContactPage();
    buildStatisticsPage();
    PageControl1->setCurrentWidget(TabSheet1);

    auto* names = new QGridLayout;
    names->setContentsMargins(0, 0, 0, 0);
    names->setHorizontalSpacing(8);
    names->setVerticalSpacing(0);
    names->addWidget(Label1, 0, 0, 1, 2);
    names->addWidget(Label2, 1, 0);
    names->addWidget(Label3, 1, 1, Qt::AlignLeft | Qt::AlignBottom);

    auto* header = new QHBoxLayout;
    header->setSpacing(8);
    header->addWidget(ImageIcon, 0, Qt::AlignVCenter);
    header->addLayout(names);
    header->addWidget(LabelNotice, 1);
    header->addWidget(BitBtn1, 0, Qt::AlignVCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(header);
    layout->addWidget(PageControl1, 1);

    FormShow(appSet);
}

THelpForm::~THelpForm() {
    if (titleBeforeJoke_)
        QApplication::setApplicationDisplayName(*titleBeforeJoke_);
}

namespace {

// The application display name to put back after the joke. One that was
// never set reads as the application name; setting that explicitly would add
// " — <name>" to every later window caption. Qt cannot unset it, but an empty
// one adds nothing to the captions, as an unset one.
QString displayNameToRestore() {
    const QString shown = QApplication::applicationDisplayName();
    return shown == QApplication::applicationName() ? QString() : shown;
}

} // namespace

void THelpForm::buildSoftwarePage() {
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, u"このソフトウェアについて"_s);

    ImageLogo = new QLabel(TabSheet1);
    ImageLogo->setObjectName(QStringLiteral("ImageLogo"));
    ImageLogo->setPixmap(oribelIcon().pixmap(48, 48));
    ImageLogo->setFixedSize(48, 48);
    OsLabel = new ElidingLabel(u"（判別不能）"_s, TabSheet1);
    OsLabel->setObjectName(QStringLiteral("OsLabel"));
    OsLabel->setTextFormat(Qt::PlainText);
    // A long version text ends in "…" at the window's edge; the tooltip holds all of it.
    OsLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    MemLabel = namedLabel(QStringLiteral("MemLabel"), u"-"_s, TabSheet1);
    crMemo = new QPlainTextEdit(
        u"【Oribel の利用条件】\n\n１．このソフトウェアは、現状のままで提供されます。動作や結果について、明示・黙示を問わず、いかなる保証もありません。\n\n２．このソフトウェアを使ったこと、または使えなかったことによって生じたいかなる損害についても、著作者は責任を負いません。大切な日記ファイルは、こまめにバックアップをお取り下さい。\n\n３．日記ファイルと設定は、お使いのコンピュータの中だけに保存されます。このソフトウェアが、それらを自分からインターネットへ送ることはありません。ページを公開するのは、あなたが指定したFTPツールなどのプログラムです。\n\n４．メールアドレスやウェブサイトの「送信」「移動」ボタンは、お使いのメールソフトやブラウザにアドレスを渡すだけです。\n\n５．公式のウェブサイトとメール窓口は、現在準備中です。このウインドウに記載のアドレスは仮のもので、まだどこにもつながりません。"_s,
        TabSheet1);
    crMemo->setObjectName(QStringLiteral("crMemo"));
    crMemo->setReadOnly(true);
    crMemo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    crMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* facts = new QGridLayout;
    facts->setHorizontalSpacing(4);
    facts->setVerticalSpacing(2);
    facts->addWidget(label(u"OSバージョン："_s, TabSheet1), 0, 0);
    facts->addWidget(OsLabel, 0, 1, 1, 2);
    facts->addWidget(label(u"物理メモリ："_s, TabSheet1), 1, 0);
    facts->addWidget(MemLabel, 1, 1);
    facts->addWidget(label(u"Bytes."_s, TabSheet1), 1, 2);
    facts->setColumnStretch(2, 1);

    auto* top = new QHBoxLayout;
    top->setSpacing(10);
    top->addWidget(ImageLogo);
    top->addLayout(facts, 1);

    auto* layout = pageLayout<QVBoxLayout>(TabSheet1);
    layout->addLayout(top);
    layout->addWidget(crMemo, 1);
}

void THelpForm::buildHelpPage() {
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet3, u"操作ヘルプとガイド"_s);

    BtnLoadManual = pushButton(QStringLiteral("BtnLoadManual"), u"読む(&R)"_s, TabSheet3);
    const AuthorAddresses& author = AuthorAddresses::builtIn();
    EditManualUrl = addressEdit(QStringLiteral("EditManualUrl"), author.shown(author.manualUrl()), TabSheet3);
    BtnAccessMan = pushButton(QStringLiteral("BtnAccessMan"), u"移動(&M)"_s, TabSheet3);
    BtnAccessMan->setEnabled(author.hasSite());
    EditSiteUrl = addressEdit(QStringLiteral("EditSiteUrl"), author.shown(author.downloadUrl()), TabSheet3);
    BtnAccessSite = pushButton(QStringLiteral("BtnAccessSite"), u"移動(&S)"_s, TabSheet3);
    BtnAccessSite->setEnabled(author.hasSite());

    connect(BtnLoadManual, &QPushButton::clicked, this, [this] {
        if (loadManual_)
            loadManual_();
    });
    connect(BtnAccessMan, &QPushButton::clicked, this,
            [this] { platform_.shell->open(EditManualUrl->text()); });
    connect(BtnAccessSite, &QPushButton::clicked, this,
            [this] { platform_.shell->open(EditSiteUrl->text()); });

    auto* layout = pageLayout<QGridLayout>(TabSheet3);
    layout->addWidget(
        label(u"このソフトウェアの使用方法については、付属のドキュメントをご参照下さい。"_s, TabSheet3, true),
        0, 0);
    layout->addWidget(BtnLoadManual, 0, 1);
    layout->addWidget(
        label(u"なお、マニュアルは、インターネット上にも用意してあります。（付属ドキュメントと同一）"_s,
              TabSheet3, true),
        1, 0, 1, 2);
    layout->addWidget(EditManualUrl, 2, 0);
    layout->addWidget(BtnAccessMan, 2, 1);
    layout->addWidget(label(u"また、Oribel 公式コーナーでは、最新版のダウンロードの他、FAQやTIPSの"_s +
                                u"閲覧、専用BBS（掲示板）の利用などが可能です。ぜひ、お越し下さい。"_s,
                            TabSheet3, true),
                      3, 0, 1, 2);
    layout->addWidget(EditSiteUrl, 4, 0);
    layout->addWidget(BtnAccessSite, 4, 1);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(5, 1);
}

void THelpForm::buildContactPage() {
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet2, u"お問い合わせ先"_s);

    const AuthorAddresses& author = AuthorAddresses::builtIn();
    EditMail1 = addressEdit(QStringLiteral("EditMail1"), author.shown(author.supportMail()), TabSheet2);
    SpeedButton1 = speedButton(QStringLiteral("SpeedButton1"), u"送信(&1)"_s, TabSheet2);
    SpeedButton1->setToolTip(u"サポート窓口です。お気軽にお送り下さい。"_s);
    SpeedButton1->setEnabled(author.hasSupportMail());
    EditMail2 = addressEdit(QStringLiteral("EditMail2"), author.shown(author.personalMail()), TabSheet2);
    SpeedButton2 = speedButton(QStringLiteral("SpeedButton2"), u"送信(&2)"_s, TabSheet2);
    SpeedButton2->setEnabled(author.hasPersonalMail());
    EditUrl = addressEdit(QStringLiteral("EditUrl"), author.shown(author.siteUrl()), TabSheet2);
    SpeedButton3 = speedButton(QStringLiteral("SpeedButton3"), u"移動(&J)"_s, TabSheet2);
    SpeedButton3->setToolTip(u"ホームページへアクセスする"_s);
    SpeedButton3->setEnabled(author.hasSite());

    connect(SpeedButton1, &QToolButton::clicked, this,
            [this] { platform_.shell->open(msg::MailtoPrefix + EditMail1->text()); });
    connect(SpeedButton2, &QToolButton::clicked, this,
            [this] { platform_.shell->open(msg::MailtoPrefix + EditMail2->text()); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { platform_.shell->open(EditUrl->text()); });

    auto* layout = pageLayout<QGridLayout>(TabSheet2);
    layout->addWidget(
        label(u"著作者（製作者）へのお問い合わせなどは、下記のメールアドレスへお送り下さい。"_s +
                  u"ご意見・ご感想・ご要望など、お待ちいたしております。お気軽にお送り下さい。（＾o＾）/"_s,
              TabSheet2, true),
        0, 0, 1, 3);
    layout->addWidget(label(u"サポート："_s, TabSheet2), 1, 0);
    layout->addWidget(EditMail1, 1, 1);
    layout->addWidget(SpeedButton1, 1, 2);
    layout->addWidget(label(u"個人："_s, TabSheet2), 2, 0);
    layout->addWidget(EditMail2, 2, 1);
    layout->addWidget(SpeedButton2, 2, 2);
    layout->addWidget(
        label(u"著作者運営のウェブサイトは下記のURLです。ソフトウェアの最新版はここで公開します。"_s,
              TabSheet2, true),
        3, 0, 1, 3);
    layout->addWidget(label(u"URL："_s, TabSheet2), 4, 0);
    layout->addWidget(EditUrl, 4, 1);
    layout->addWidget(SpeedButton3, 4, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(5, 1);
}

void THelpForm::buildStatisticsPage() {
    TabSheet4 = new QWidget;
    TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
    PageControl1->addTab(TabSheet4, u"統計情報"_s);

    LabelDiaryTime = namedLabel(QStringLiteral("LabelDiaryTime"), u"解析エラー"_s, TabSheet4, true);
    LabelDiaryLines =
        namedLabel(QStringLiteral("LabelDiaryLines"), u"情報を取得できませんでした。"_s, TabSheet4, true);
    LabelDiaryTimeL = namedLabel(QStringLiteral("LabelDiaryTimeL"), u"no datas"_s, TabSheet4, true);
    LabelDiaryLinesL = namedLabel(QStringLiteral("LabelDiaryLinesL"), u"no datas"_s, TabSheet4, true);
    LabelPercent = namedLabel(QStringLiteral("LabelPercent"), u"can't calc."_s, TabSheet4, true);
    BtnDebugMode = pushButton(QStringLiteral("BtnDebugMode"), u"開発用：　デバッグモード"_s, TabSheet4);
    BtnDebugMode->setCheckable(true);
    BtnDebugMode->setToolTip(u"統計情報の更新を抑制します。"_s);
    connect(BtnDebugMode, &QPushButton::clicked, this, &THelpForm::BtnDebugModeClick);

    auto* layout = pageLayout<QVBoxLayout>(TabSheet4);
    layout->addWidget(LabelDiaryTime);
    layout->addWidget(LabelDiaryLines);
    layout->addSpacing(4);
    layout->addWidget(LabelDiaryTimeL);
    layout->addWidget(LabelDiaryLinesL);
    layout->addSpacing(4);
    layout->addWidget(LabelPercent);
    layout->addStretch(1);
    layout->addWidget(BtnDebugMode, 0, Qt::AlignRight);
}

void THelpForm::FormShow(const AppSet& appSet) {
    ImageIcon->setPixmap(oribelIcon().pixmap(32, 32));

    // Facts the platform cannot tell keep their design-time texts.
    const qint64 memory = platform_.systemInfo ? platform_.systemInfo->physicalMemoryBytes() : -1;
    if (memory >= 0)
        MemLabel->setText(QString::number(memory));
    const QString os = platform_.systemInfo ? platform_.systemInfo->osVersion() : QString();
    if (!os.isEmpty()) {
        OsLabel->setText(os);
        OsLabel->setToolTip(os);
    }

    const AboutFigures figures = ComputeAboutFigures(appSet);
    LabelDiaryTime->setText(figures.diaryTime);
    LabelDiaryLines->setText(figures.diaryLines);
    LabelDiaryTimeL->setText(figures.diaryTimeL);
    LabelDiaryLinesL->setText(figures.diaryLinesL);
    LabelPercent->setText(figures.percent);

    BtnDebugMode->setChecked(debugMode_);
    crMemo->setFocus();
}

void THelpForm::BtnDebugModeClick() {
    debugMode_ = !debugMode_;
    BtnDebugMode->setChecked(debugMode_);
}

void THelpForm::ImageIconDblClick() {
    // The joke goes further only for someone who tabbed to OK first.
    if (focusWidget() == BitBtn1) {
        setWindowTitle(u"バージョン情報 ＆ おまけ"_s);
        if (!titleBeforeJoke_)
            titleBeforeJoke_ = displayNameToRestore();
        QApplication::setApplicationDisplayName(u"Oribel 3 （おまけ付き）"_s);
        PageControl1->setTabText(PageControl1->indexOf(TabSheet4), u"ひみつの統計"_s);
        LabelDiaryTime->setText(u"今月、日記を書いた回数： 数えきれないほど（たぶん）"_s);
    }
    platform_.messages->show(msg::JokeReleaseNote, msg::JokeReleaseNoteCaption, MsgIcon::Information);
}

bool THelpForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ImageIcon && event->type() == QEvent::MouseButtonDblClick) {
        ImageIconDblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
