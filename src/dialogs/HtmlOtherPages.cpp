// The pages "天気", "タイトル", "本文", "全体", "順序" and "既定タグ編集" of the
// HTML settings dialog.

#include "dialogs/HtmlUnit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QWidget* addSheet(QTabWidget* pages, const QString& caption, const char* name) {
    auto* sheet = new QWidget(pages);
    sheet->setObjectName(QLatin1StringView(name));
    pages->addTab(sheet, caption);
    return sheet;
}

QCheckBox* makeCheck(const QString& caption, const char* name, const QString& hint, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1StringView(name));
    box->setToolTip(hint);
    return box;
}

// A group "動作制御" holding one box.
QGroupBox* behaviourGroup(QCheckBox* box, QWidget* parent) {
    auto* group = new QGroupBox(u"動作制御"_s, parent);
    auto* rows = new QVBoxLayout(group);
    box->setParent(group);
    rows->addWidget(box);
    return group;
}

QComboBox* makeTagList(const char* name, const QStringList& items, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1StringView(name));
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->addItems(items);
    return list;
}

const QString NoWarningHint = u"今日の日記の挿入時に、警告を出さないようにします。"_s;

} // namespace

void THtmlForm::BuildWeatherSheet() {
    WeatherSheet = addSheet(PageControl, u"天気"_s, "WeatherSheet");
    auto* page = new QVBoxLayout(WeatherSheet);

    auto* tags = new QGroupBox(u"HTMLタグ設定"_s, WeatherSheet);
    auto* grid = new QGridLayout(tags);
    EditWea1 = AddTemplateField(grid, 0, u"晴れ(&F)："_s, "EditWea1");
    EditWea2 = AddTemplateField(grid, 1, u"くもり(&C)："_s, "EditWea2");
    EditWea3 = AddTemplateField(grid, 2, u"雨(&R)："_s, "EditWea3");
    EditWea4 = AddTemplateField(grid, 3, u"雪(&S)："_s, "EditWea4");
    EditWeaL = AddTemplateField(grid, 4, u"境界(&L)："_s, "EditWeaL");
    EditWeaE = AddTemplateField(grid, 5, u"終了(&E)："_s, "EditWeaE");
    EditWeaChar = AddTemplateField(grid, 6, u"境界の文字(&B)："_s, "EditWeaChar");
    CheckWeatherCharOff =
        makeCheck(u"天気挿入の際、「雨」などの文字を挿入せず、タグだけ挿入する(&T)"_s, "CheckWeatherCharOff",
                  u"タグで、天気画像を使用する際などに ON にして下さい。\n"
                  u"それ以外の場合には OFF にしないと、天気が表示されないことになってしまいます。"_s,
                  tags);
    grid->addWidget(CheckWeatherCharOff, 7, 0, 1, 2);
    page->addWidget(tags);

    CheckWeather = makeCheck(u"天気の入力を省略しても、「入力不備警告」ダイアログを出さない。(&N)"_s,
                             "CheckWeather", NoWarningHint, WeatherSheet);
    page->addWidget(behaviourGroup(CheckWeather, WeatherSheet));
    page->addStretch(1);
}

void THtmlForm::BuildTitleSheet() {
    TitleSheet = addSheet(PageControl, u"タイトル"_s, "TitleSheet");
    auto* page = new QVBoxLayout(TitleSheet);

    auto* tags = new QGroupBox(u"HTMLタグ設定"_s, TitleSheet);
    auto* grid = new QGridLayout(tags);
    EditTitle1 = AddTemplateField(grid, 0, u"開始(&S)："_s, "EditTitle1");
    EditTitle2 = AddTemplateField(grid, 1, u"終了(&E)："_s, "EditTitle2");
    page->addWidget(tags);

    CheckTitle = makeCheck(u"タイトルの入力を省略しても、「入力不備警告」を表示しない。(&N)"_s, "CheckTitle",
                           NoWarningHint, TitleSheet);
    page->addWidget(behaviourGroup(CheckTitle, TitleSheet));

    EditTitleH = new QLineEdit(TitleSheet);
    EditTitleH->setObjectName(u"EditTitleH"_s);
    EditTitleH->hide();
    page->addStretch(1);
}

void THtmlForm::BuildDiarySheet() {
    DiarySheet = addSheet(PageControl, u"本文"_s, "DiarySheet");
    auto* page = new QVBoxLayout(DiarySheet);

    auto* tags = new QGroupBox(u"HTMLタグ設定"_s, DiarySheet);
    auto* grid = new QGridLayout(tags);
    EditDiary1 = AddTemplateField(grid, 0, u"開始(&S)："_s, "EditDiary1");
    EditDiary2 = AddTemplateField(grid, 1, u"終了(&E)："_s, "EditDiary2");
    page->addWidget(tags);

    auto* extra = new QGroupBox(u"追加設定"_s, DiarySheet);
    auto* rows = new QVBoxLayout(extra);
    CheckHR = makeCheck(u"日記本文のあとに、水平線を１つ挿入する。(&H)"_s, "CheckHR", {}, extra);
    CheckBR = makeCheck(u"自動的に、各行末に、改行タグを挿入する。(&B)"_s, "CheckBR", {}, extra);
    rows->addWidget(CheckHR);
    rows->addWidget(CheckBR);
    rows->addWidget(
        new QLabel(u"※水平線タグや改行タグとして実際に挿入されるHTMLは、自由にカスタマイズ可能"_s, extra));
    rows->addWidget(new QLabel(u"です。「既定タグ編集」ページで指定してください。"_s, extra));
    page->addWidget(extra);
    page->addStretch(1);
}

void THtmlForm::BuildAllSheet() {
    AllSheet = addSheet(PageControl, u"全体"_s, "AllSheet");
    auto* page = new QVBoxLayout(AllSheet);

    auto* tags = new QGroupBox(u"HTMLタグ設定"_s, AllSheet);
    auto* grid = new QGridLayout(tags);
    grid->addWidget(new QLabel(u"※日付から本文までの全体を囲むタグを指定できます。"_s, tags), 0, 0, 1, 2);
    grid->addWidget(
        new QLabel(u"１日分の日記をTABLEタグで括ったり、スタイルを適応する際などにお使い下さい。"_s, tags), 1,
        0, 1, 2);
    CheckAllTag = makeCheck(u"全体を囲むタグは、使わない (&N)"_s, "CheckAllTag", {}, tags);
    grid->addWidget(CheckAllTag, 2, 0, 1, 2);
    EditAll1 = AddTemplateField(grid, 3, u"開始(&S)："_s, "EditAll1");
    EditAll2 = AddTemplateField(grid, 4, u"終了(&E)："_s, "EditAll2");
    page->addWidget(tags);
    page->addStretch(1);

    connect(CheckAllTag, &QCheckBox::toggled, this, &THtmlForm::CheckAllTagClick);
}

void THtmlForm::BuildInsertNumSheet() {
    InsertNumSheet = addSheet(PageControl, u"順序"_s, "InsertNumSheet");
    auto* page = new QVBoxLayout(InsertNumSheet);

    auto* order = new QGroupBox(u"挿入順序の指定"_s, InsertNumSheet);
    auto* rows = new QVBoxLayout(order);
    rows->addWidget(new QLabel(
        u"お望みのデザインになるように選んで下さい。（＾＾;） 順序の要望があればメールで。^^;"_s, order));
    insertTypeGroup_ = new QButtonGroup(this);
    struct Type {
        QRadioButton** member;
        const char* name;
        QString caption;
        QString hint;
    };
    const Type types[] = {
        {&RadioInsertType1, "RadioInsertType1", u"標準タイプ(&S)　：　[日付,曜日]→[天気]→[タイトル]→[本文]"_s,
         u"日付→天気→タイトル→本文 という標準形式"_s},
        {&RadioInsertType2, "RadioInsertType2",
         u"題名先頭タイプ(&T)　：　[タイトル]→[日付,曜日]→[天気]→[本文]"_s,
         u"「タイトル」が「日付・曜日・天気」よりも先に来ます。"_s},
        {&RadioInsertType3, "RadioInsertType3",
         u"日付後方タイプ(&D)　：　[タイトル]→[本文]→[日付,曜日]→[天気]"_s,
         u"「日付・曜日・天気」が、本文の後に来ます。"_s},
        {&RadioInsertType4,
         "RadioInsertType4",
         u"天気先頭タイプ(&W)　：　[天気]→[日付,曜日]→[タイトル]→[本文]"_s,
         {}},
        {&RadioInsertType5,
         "RadioInsertType5",
         u"天気・題名タイプ(&2)　：　[天気]→[タイトル]→[日付,曜日]→[本文]"_s,
         {}},
    };
    int id = 0;
    for (const Type& type : types) {
        auto* radio = new QRadioButton(type.caption, order);
        radio->setObjectName(QLatin1StringView(type.name));
        radio->setToolTip(type.hint);
        insertTypeGroup_->addButton(radio, id++);
        rows->addWidget(radio);
        *type.member = radio;
    }
    rows->addWidget(
        new QLabel(u"※全体タグは必ず全体を囲みます。アンカーポイントは必ず最上部に挿入されます。"_s, order));
    page->addWidget(order);

    CheckWeekdayFirst = makeCheck(u"日付よりも曜日を先に挿入する（[曜日→[日付]の順で挿入する）"_s,
                                  "CheckWeekdayFirst", {}, InsertNumSheet);
    CheckWeekdayFirst->setEnabled(false);
    page->addWidget(CheckWeekdayFirst);
    page->addStretch(1);
}

void THtmlForm::BuildBRTagSheet() {
    BRTagSheet = addSheet(PageControl, u"既定タグ編集"_s, "BRTagSheet");
    auto* page = new QVBoxLayout(BRTagSheet);

    auto* tags = new QGroupBox(u"既定タグのカスタマイズ"_s, BRTagSheet);
    auto* grid = new QGridLayout(tags);
    grid->addWidget(
        new QLabel(u"ソフトウェア側が自動挿入する各種既定タグを、自由にカスタマイズできます。"_s, tags), 0, 0,
        1, 2);
    grid->addWidget(new QLabel(u"※選択するだけでなく、自由に文字を入力可能です。"_s, tags), 1, 0, 1, 2);
    ComboBoxBR = makeTagList("ComboBoxBR", {u"<BR>"_s, u"<br>"_s, u"<br />"_s}, tags);
    ComboBoxHR = makeTagList(
        "ComboBoxHR", {u"<HR>"_s, u"<hr>"_s, u"<hr />"_s, u"<HR color=\"yellowgreen\" size=\"1\">"_s}, tags);
    const std::pair<QString, QComboBox*> rows[] = {{u"改行タグ(&B)："_s, ComboBoxBR},
                                                   {u"水平線タグ(&H)："_s, ComboBoxHR}};
    int row = 2;
    for (const auto& [caption, list] : rows) {
        auto* label = new QLabel(caption, tags);
        label->setBuddy(list);
        grid->addWidget(label, row, 0, Qt::AlignRight);
        grid->addWidget(list, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    page->addWidget(tags);
    page->addStretch(1);
}

// Ticked, the wrapping tags are not used, so their fields are out of play.
void THtmlForm::CheckAllTagClick() {
    ShowFieldEnabled(EditAll1, !CheckAllTag->isChecked());
    ShowFieldEnabled(EditAll2, !CheckAllTag->isChecked());
}
