#include "app/SplashUnit.h"

#include "app/Resources.h"
#include "resources/Messages.h"

#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QFont resized(QFont font, qreal pointSize, bool bold = false) {
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace

TSplashForm::TSplashForm(const std::optional<SplashFigures>& figures, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SplashForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(msg::AppName);
    setWindowIcon(oribelIcon());
    setFixedSize(441, 237);
    // The design is laid out for a 9 point face whatever the desktop's default.
    setFont(resized(font(), 9));

    // Without a title bar the window draws its own frame.
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    ImageIcon = new QLabel(frame);
    ImageIcon->setObjectName(QStringLiteral("ImageIcon"));
    ImageIcon->setPixmap(oribelIcon().pixmap(48, 48));
    ImageIcon->setFixedSize(48, 48);

    Label2 = namedLabel(QStringLiteral("Label2"), u"日記HTMLファイル作成支援エディタ"_s, frame);
    Label1 = namedLabel(QStringLiteral("Label1"), msg::AppName, frame);
    QFont title = resized(font(), 28, true);
    title.setItalic(true);
    title.setStyleHint(QFont::SansSerif);
    title.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans"), QStringLiteral("Arial"),
                       QStringLiteral("Sans Serif")});
    Label1->setFont(title);
    Label1->setStyleSheet(QStringLiteral("color: #2f6f9f;"));
    Label3 = namedLabel(QStringLiteral("Label3"), msg::VersionText, frame);
    Label3->setFont(resized(font(), 10, true));
    LabelNotice = namedLabel(QStringLiteral("LabelNotice"),
                             u"ウェブ日記のHTMLを、手元で書いて整えるエディタです。"_s, frame);
    LabelNotice->setWordWrap(true);

    InfoPanel = new QFrame(frame);
    InfoPanel->setObjectName(QStringLiteral("InfoPanel"));
    static_cast<QFrame*>(InfoPanel)->setFrameShape(QFrame::StyledPanel);
    static_cast<QFrame*>(InfoPanel)->setFrameShadow(QFrame::Sunken);
    const QFont figureFont = resized(font(), 16, true);
    LabelWriteTimeCap =
        namedLabel(QStringLiteral("LabelWriteTimeCap"), u"今月中に日記を書いた回数："_s, InfoPanel);
    LabelWriteTime = namedLabel(QStringLiteral("LabelWriteTime"), msg::SplashFigureUnknown, InfoPanel);
    LabelWriteTime->setFont(figureFont);
    LabelWriteTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LabelWriteTimeTani = namedLabel(QStringLiteral("LabelWriteTimeTani"), u"回"_s, InfoPanel);
    LabelWriteTimeBef = namedLabel(QStringLiteral("LabelWriteTimeBef"), msg::SplashFigureUnknown, InfoPanel);
    LabelSumLineCap = namedLabel(QStringLiteral("LabelSumLineCap"), u"今月の日記の総行数："_s, InfoPanel);
    LabelSumLine = namedLabel(QStringLiteral("LabelSumLine"), msg::SplashFigureUnknown, InfoPanel);
    LabelSumLine->setFont(figureFont);
    LabelSumLine->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LabelSumLineTani = namedLabel(QStringLiteral("LabelSumLineTani"), u"行"_s, InfoPanel);
    LabelSumLineBef = namedLabel(QStringLiteral("LabelSumLineBef"), msg::SplashFigureUnknown, InfoPanel);

    auto* info = new QGridLayout(InfoPanel);
    info->setContentsMargins(10, 4, 10, 4);
    info->setVerticalSpacing(0);
    info->addWidget(LabelWriteTimeCap, 0, 0);
    info->addWidget(LabelWriteTime, 0, 1);
    info->addWidget(LabelWriteTimeTani, 0, 2);
    info->addWidget(LabelWriteTimeBef, 0, 3);
    info->addWidget(LabelSumLineCap, 1, 0);
    info->addWidget(LabelSumLine, 1, 1);
    info->addWidget(LabelSumLineTani, 1, 2);
    info->addWidget(LabelSumLineBef, 1, 3);
    info->setColumnStretch(1, 1);

    StatusLabel = namedLabel(QStringLiteral("StatusLabel"), u"起動処理中..."_s, frame);
    StatusLabel->setStyleSheet(QStringLiteral("color: maroon;"));
    BtnPin = new QPushButton(u"消さない"_s, frame);
    BtnPin->setObjectName(QStringLiteral("BtnPin"));

    auto* heading = new QGridLayout;
    heading->setHorizontalSpacing(10);
    heading->setVerticalSpacing(0);
    heading->addWidget(ImageIcon, 0, 0, 2, 1, Qt::AlignTop);
    heading->addWidget(Label2, 0, 1, 1, 2);
    heading->addWidget(Label1, 1, 1, Qt::AlignLeft | Qt::AlignVCenter);
    heading->addWidget(Label3, 1, 2, Qt::AlignLeft | Qt::AlignBottom);
    heading->setColumnStretch(2, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(StatusLabel);
    bottom->addStretch(1);
    bottom->addWidget(BtnPin);

    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(14, 10, 14, 10);
    layout->setSpacing(6);
    layout->addLayout(heading);
    layout->addWidget(LabelNotice);
    layout->addWidget(InfoPanel);
    layout->addStretch(1);
    layout->addLayout(bottom);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    FormShow(figures);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TSplashForm::Timer1Timer);
    connect(BtnPin, &QPushButton::clicked, this, &TSplashForm::BtnPinClick);
    Timer1->start();
}

void TSplashForm::FormShow(const std::optional<SplashFigures>& figures) {
    if (figures) {
        LabelWriteTime->setText(QString::number(figures->time));
        LabelSumLine->setText(QString::number(figures->lines));
        LabelWriteTimeBef->setText(msg::SplashLastMonthBefore + QString::number(figures->timeL) + u"回）"_s);
        LabelSumLineBef->setText(msg::SplashLastMonthBefore + QString::number(figures->linesL) + u"行）"_s);
        return;
    }
    // No figures yet (first run, or a value missing): a welcome line instead.
    LabelWriteTimeCap->setText(u"Oribel をダウンロードいただき、ありがとうございます。"_s);
    for (QLabel* label : {LabelWriteTime, LabelWriteTimeTani, LabelWriteTimeBef, LabelSumLineCap,
                          LabelSumLine, LabelSumLineTani, LabelSumLineBef})
        label->hide();
}

void TSplashForm::Timer1Timer() {
    Timer1->stop();
    close();
}

void TSplashForm::BtnPinClick() {
    if (!Timer1->isActive()) {
        close();
        return;
    }
    // Pinned: the splash stays until the user closes it, by this button or Escape.
    Timer1->stop();
    BtnPin->setText(u"閉じる"_s);
    BtnPin->setFocus();
    StatusLabel->hide();
}

void TSplashForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && !Timer1->isActive()) {
        BtnPin->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool SplashWanted(const QString& programFolder) {
    const QString flag = QStringLiteral("NOSPLASH.FLG");
    return !QFileInfo::exists(flag) && !QFileInfo::exists(programFolder + flag);
}
