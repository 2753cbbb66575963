// The pages "日付" and "時刻" of the HTML settings dialog: their controls, the
// rules that enable and grey them, and the two previews.

#include "dialogs/HtmlPreview.h"
#include "dialogs/HtmlUnit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QCheckBox* makeCheck(const QString& caption, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1StringView(name));
    return box;
}

QRadioButton* makeRadio(const QString& caption, const QString& name, QButtonGroup* group, int id,
                        QWidget* parent) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(name);
    group->addButton(radio, id);
    return radio;
}

// A sunken panel showing a sample in a large font.
QLabel* makePreviewPanel(const char* name, const QString& hint, QWidget* parent) {
    auto* panel = new QLabel(parent);
    panel->setObjectName(QLatin1StringView(name));
    panel->setToolTip(hint);
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    QFont font = panel->font();
    font.setPointSize(16);
    font.setBold(true);
    panel->setFont(font);
    // Tall enough for a line before the first sample is shown.
    panel->setMinimumHeight(QFontMetrics(font).height() * 3 / 2 + 2 * panel->frameWidth());
    return panel;
}

} // namespace

void THtmlForm::BuildDateSheet() {
    DateSheet = new QWidget(PageControl);
    DateSheet->setObjectName(u"DateSheet"_s);
    PageControl->addTab(DateSheet, u"日付"_s);
    auto* page = new QVBoxLayout(DateSheet);

    auto* tags = new QGroupBox(u"HTMLタグ設定"_s, DateSheet);
    auto* tagGrid = new QGridLayout(tags);
    EditDate1 = AddTemplateField(tagGrid, 0, u"開始(&S)："_s, "EditDate1", &LabelDate1);
    EditDate2 = AddTemplateField(tagGrid, 1, u"終了(&E)："_s, "EditDate2", &LabelDate2);
    page->addWidget(tags);

    // The six forms in two columns; the seventh cell holds the two-digit box.
    RadioDateType = new QGroupBox(u"表記形式設定(&V)"_s, DateSheet);
    RadioDateType->setObjectName(u"RadioDateType"_s);
    dateTypeGroup_ = new QButtonGroup(this);
    auto* forms = new QGridLayout(RadioDateType);
    const QString formCaptions[] = {u"2000年6月24日"_s, u"2000/6/24."_s,     u"June 24, 2000."_s,
                                    u"Jun 24, 2000."_s, u"英: 24/6/2000."_s, u"米: 6/24/2000."_s};
    for (int i = 0; i < 6; ++i) {
        RadioDateTypeItems[i] =
            makeRadio(formCaptions[i], u"RadioDateType%1"_s.arg(i), dateTypeGroup_, i, RadioDateType);
        forms->addWidget(RadioDateTypeItems[i], i / 2, i % 2);
    }
    Check2keta = makeCheck(u"月日２桁(&K)"_s, "Check2keta", RadioDateType);
    Check2keta->setToolTip(u"例えば、6月の場合「06月」と２桁で表記します。"_s);
    forms->addWidget(Check2keta, 3, 0);

    auto* limits = new QGroupBox(u"限定"_s, DateSheet);
    auto* limitBoxes = new QVBoxLayout(limits);
    CheckDateYear = makeCheck(u"年(&Y)"_s, "CheckDateYear", limits);
    CheckDateMonth = makeCheck(u"月(&M)"_s, "CheckDateMonth", limits);
    CheckDateDay = makeCheck(u"日(&D)"_s, "CheckDateDay", limits);
    for (QCheckBox* box : {CheckDateYear, CheckDateMonth, CheckDateDay})
        limitBoxes->addWidget(box);
    limitBoxes->addStretch(1);

    auto* formRow = new QHBoxLayout();
    formRow->addWidget(RadioDateType, 1);
    formRow->addWidget(limits);
    page->addLayout(formRow);

    auto* weekday = new QGroupBox(u"曜日表記設定"_s, DateSheet);
    auto* weekdayRows = new QVBoxLayout(weekday);
    CheckWea = makeCheck(u"曜日を表示する(&W)"_s, "CheckWea", weekday);
    CheckWea->setToolTip(u"曜日を挿入したくない場合は、チェックを外して下さい。"_s);
    weekdayRows->addWidget(CheckWea);
    weekdayGroup_ = new QButtonGroup(this);
    RadioWea1 = makeRadio(u"&1 （土）"_s, u"RadioWea1"_s, weekdayGroup_, 0, weekday);
    RadioWea2 = makeRadio(u"&2 土曜日"_s, u"RadioWea2"_s, weekdayGroup_, 1, weekday);
    RadioWea3 = makeRadio(u"&3 Sat."_s, u"RadioWea3"_s, weekdayGroup_, 2, weekday);
    RadioWea4 = makeRadio(u"&4 Saturday."_s, u"RadioWea4"_s, weekdayGroup_, 3, weekday);
    auto* weekdayForms = new QHBoxLayout();
    for (QRadioButton* radio : {RadioWea1, RadioWea2, RadioWea3, RadioWea4})
        weekdayForms->addWidget(radio);
    weekdayRows->addLayout(weekdayForms);
    page->addWidget(weekday);

    CheckAnchorName =
        makeCheck(u"日記の挿入前に、日付を含んだアンカーポイント（name属性のaタグ）を挿入する。(&A)"_s,
                  "CheckAnchorName", DateSheet);
    CheckAnchorName->setToolTip(
        u"この機能により、容易に「特定の日」へのリンクが可能になります。\n"
        u"ONにしておくことをお勧めいたします。\n詳しい意味はマニュアルをご参照下さい。"_s);
    page->addWidget(CheckAnchorName);

    PanelPreview =
        makePreviewPanel("PanelPreview", u"プレビュー領域（今日の日付ではありません）"_s, DateSheet);
    page->addWidget(PanelPreview);

    connect(CheckDateDay, &QCheckBox::toggled, this, &THtmlForm::CheckDateDayClick);
    connect(CheckWea, &QCheckBox::toggled, this, &THtmlForm::CheckWeaClick);
    for (QCheckBox* box : {CheckDateYear, CheckDateMonth, Check2keta})
        connect(box, &QCheckBox::toggled, this, &THtmlForm::RefreshDatePreview);
    connect(dateTypeGroup_, &QButtonGroup::idToggled, this, &THtmlForm::RefreshDatePreview);
    connect(weekdayGroup_, &QButtonGroup::idToggled, this, &THtmlForm::RefreshDatePreview);
}

void THtmlForm::BuildTimeSheet() {
    TimeSheet = new QWidget(PageControl);
    TimeSheet->setObjectName(u"TimeSheet"_s);
    PageControl->addTab(TimeSheet, u"時刻"_s);
    auto* page = new QVBoxLayout(TimeSheet);

    auto* tags = new QGroupBox(u"HTMLタグ設定"_s, TimeSheet);
    auto* tagGrid = new QGridLayout(tags);
    CheckInsertTime =
        makeCheck(u"「今日の日記」挿入時に、日付と一緒に時刻も挿入する(&T)"_s, "CheckInsertTime", tags);
    tagGrid->addWidget(CheckInsertTime, 0, 0, 1, 2);
    tagGrid->addWidget(
        new QLabel(u"（日記挿入時に SHIFTキーを押していれば、時刻は挿入されません。）"_s, tags), 1, 0, 1, 2);
    EditTime1 = AddTemplateField(tagGrid, 2, u"開始(&S)："_s, "EditTime1");
    EditTime2 = AddTemplateField(tagGrid, 3, u"終了(&E)："_s, "EditTime2");
    page->addWidget(tags);

    RadioTimeType = new QGroupBox(u"表記形式設定(&V)"_s, TimeSheet);
    RadioTimeType->setObjectName(u"RadioTimeType"_s);
    timeTypeGroup_ = new QButtonGroup(this);
    auto* forms = new QGridLayout(RadioTimeType);
    const QString formCaptions[] = {u"05時22分34秒"_s, u"5時22分34秒"_s, u"05:22:34"_s, u"5:22:34"_s};
    for (int i = 0; i < 4; ++i) {
        RadioTimeTypeItems[i] =
            makeRadio(formCaptions[i], u"RadioTimeType%1"_s.arg(i), timeTypeGroup_, i, RadioTimeType);
        forms->addWidget(RadioTimeTypeItems[i], i / 2, i % 2);
    }

    auto* limits = new QGroupBox(u"限定"_s, TimeSheet);
    auto* limitBoxes = new QVBoxLayout(limits);
    CheckTimeHour = makeCheck(u"時(&H)"_s, "CheckTimeHour", limits);
    CheckTimeHour->setChecked(true);
    CheckTimeHour->setEnabled(false);
    CheckTimeMin = makeCheck(u"分(&M)"_s, "CheckTimeMin", limits);
    CheckTimeSec = makeCheck(u"秒(&S)"_s, "CheckTimeSec", limits);
    for (QCheckBox* box : {CheckTimeHour, CheckTimeMin, CheckTimeSec})
        limitBoxes->addWidget(box);

    auto* formRow = new QHBoxLayout();
    formRow->addWidget(RadioTimeType, 1);
    formRow->addWidget(limits);
    page->addLayout(formRow);

    page->addWidget(new QLabel(u"この設定は、日記挿入時だけでなく"_s, TimeSheet));
    page->addWidget(new QLabel(u"時刻の単独挿入機能でも有効です。"_s, TimeSheet));
    PanelPreviewTime =
        makePreviewPanel("PanelPreviewTime", u"プレビュー領域（今の時刻ではありません）"_s, TimeSheet);
    page->addWidget(PanelPreviewTime);
    page->addStretch(1);

    connect(CheckInsertTime, &QCheckBox::toggled, this, &THtmlForm::CheckInsertTimeClick);
    connect(CheckTimeMin, &QCheckBox::toggled, this, &THtmlForm::CheckTimeMinClick);
    connect(CheckTimeSec, &QCheckBox::toggled, this, &THtmlForm::CheckTimeSecClick);
    connect(timeTypeGroup_, &QButtonGroup::idToggled, this, &THtmlForm::RefreshTimePreview);
}

// Without a date block every control of the date's form is out of play.
void THtmlForm::CheckDateDayClick() {
    const bool on = CheckDateDay->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{RadioDateType, Check2keta, CheckDateYear,
                                                            CheckDateMonth, CheckWea, LabelDate1, LabelDate2})
        control->setEnabled(on);
    // The weekday forms also follow 曜日を表示する, so that ticking 日 again
    // does not offer forms for a weekday that is not shown.
    for (QRadioButton* radio : {RadioWea1, RadioWea2, RadioWea3, RadioWea4})
        radio->setEnabled(on && CheckWea->isChecked());
    ShowFieldEnabled(EditDate1, on);
    ShowFieldEnabled(EditDate2, on);
    RefreshDatePreview();
}

void THtmlForm::CheckWeaClick() {
    if (!CheckDateDay->isChecked())
        return;
    for (QRadioButton* radio : {RadioWea1, RadioWea2, RadioWea3, RadioWea4})
        radio->setEnabled(CheckWea->isChecked());
    RefreshDatePreview();
}

void THtmlForm::CheckInsertTimeClick() {
    ShowFieldEnabled(EditTime1, CheckInsertTime->isChecked());
    ShowFieldEnabled(EditTime2, CheckInsertTime->isChecked());
}

// Seconds are shown only with minutes.
void THtmlForm::CheckTimeMinClick() {
    if (!CheckTimeMin->isChecked())
        CheckTimeSec->setChecked(false);
    RefreshTimePreview();
}

void THtmlForm::CheckTimeSecClick() {
    if (CheckTimeSec->isChecked())
        CheckTimeMin->setChecked(true);
    RefreshTimePreview();
}

void THtmlForm::RefreshDatePreview() {
    DatePreviewChoice choice;
    choice.dateShown = CheckDateDay->isChecked();
    choice.dateType = dateTypeGroup_->checkedId();
    choice.year = CheckDateYear->isChecked();
    choice.month = CheckDateMonth->isChecked();
    choice.twoDigits = Check2keta->isChecked();
    choice.weekday = CheckWea->isChecked();
    choice.weekdayForm = weekdayGroup_->checkedId();
    PanelPreview->setText(DatePreviewText(choice));
}

void THtmlForm::RefreshTimePreview() {
    TimePreviewChoice choice;
    choice.timeType = timeTypeGroup_->checkedId();
    choice.minutes = CheckTimeMin->isChecked();
    choice.seconds = CheckTimeSec->isChecked();
    PanelPreviewTime->setText(TimePreviewText(choice));
}
