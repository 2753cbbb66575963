// The behaviour settings dialog's list pages: the snippet, bookmark and
// project grids, their editing rules and touched marks, and the writing of
// sentence.csv, bookmark.csv and default.str at OK.
//
// Each grid shows its entries with one empty row at the bottom; the header
// row is the grid's column header, so grid row 0 is the first entry.

#include "dialogs/AppSetUnit.h"
#include "document/ListFile.h"
#include "resources/Messages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString SnippetFile = u"sentence.csv"_s;
const QString BookmarkFile = u"bookmark.csv"_s;
const QString ProjectFile = u"default.str"_s;

// The in-place editor writes every change straight into its cell, so the
// cells always hold what the user sees, and the dialog watches its keys.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(QObject* keyWatcher, QObject* parent)
        : QStyledItemDelegate(parent), keyWatcher_(keyWatcher) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            edit->installEventFilter(keyWatcher_);
            auto* self = const_cast<CellDelegate*>(this);
            connect(edit, &QLineEdit::textEdited, self, [self, edit] { emit self->commitData(edit); });
        }
        return editor;
    }

private:
    QObject* keyWatcher_;
};

QString cell(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

void setCell(QTableWidget* grid, int row, int column, const QString& text) {
    if (QTableWidgetItem* item = grid->item(row, column))
        item->setText(text);
    else
        grid->setItem(row, column, new QTableWidgetItem(text));
}

// Every cell holds an item, so the in-place editor can open on any of them.
void addEmptyRow(QTableWidget* grid) {
    const int row = grid->rowCount();
    grid->insertRow(row);
    for (int column = 0; column < grid->columnCount(); ++column)
        grid->setItem(row, column, new QTableWidgetItem);
}

int lastRow(const QTableWidget* grid) {
    return grid->rowCount() - 1;
}

// Every row of the grid, the empty bottom row included.
QList<QStringList> gridRows(const QTableWidget* grid) {
    QList<QStringList> rows;
    for (int row = 0; row < grid->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < grid->columnCount(); ++column)
            cells << cell(grid, row, column);
        rows << cells;
    }
    return rows;
}

// Puts the rows a writer returned (trimmed, filled in) back into the grid.
void putRows(QTableWidget* grid, const QList<QStringList>& rows) {
    for (int row = 0; row < rows.size() && row < grid->rowCount(); ++row) {
        for (int column = 0; column < rows[row].size() && column < grid->columnCount(); ++column) {
            if (cell(grid, row, column) != rows[row][column])
                setCell(grid, row, column, rows[row][column]);
        }
    }
}

// Starts a grid with its header and one empty row.
void resetGrid(QTableWidget* grid, const QStringList& headers, const QList<int>& widths) {
    grid->clear();
    grid->setColumnCount(int(headers.size()));
    grid->setHorizontalHeaderLabels(headers);
    for (int column = 0; column < widths.size(); ++column)
        grid->setColumnWidth(column, widths[column]);
    grid->setRowCount(0);
    addEmptyRow(grid);
}

// Opens the current cell's editor once the event at hand is done, unless the
// grid has lost the focus by then (to an editor opened meanwhile, too).
void openCellEditor(QTableWidget* grid) {
    QMetaObject::invokeMethod(
        grid,
        [grid] {
            if (grid->hasFocus() && grid->currentItem())
                grid->editItem(grid->currentItem());
        },
        Qt::QueuedConnection);
}

QString unwritableMessage(const QString& entry, char32_t character) {
    return msg::listEntryUnwritable(entry, QString::fromUcs4(&character, 1),
                                    QString::number(uint(character), 16).toUpper().rightJustified(4, u'0'));
}

// Makes a row current and shows it selected, so the next button press works
// on the row the user sees.
void showCurrentRow(QTableWidget* grid, int row) {
    const int column = std::max(0, grid->currentColumn());
    grid->setCurrentCell(row, column, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// Removes the current row: the bottom row is only emptied; any other row is
// taken out, so the rows below it move up by one. The row that moved into its
// place stays current, so a second press removes the entry shown there.
void deleteCurrentRow(QTableWidget* grid) {
    const int row = grid->currentRow();
    if (row < 0)
        return;
    if (row == lastRow(grid)) {
        for (int column = 0; column < grid->columnCount(); ++column)
            setCell(grid, row, column, QString());
    } else {
        grid->removeRow(row);
    }
    showCurrentRow(grid, row);
}

// Swaps the current row with the one above (-1) or below (+1). The empty
// bottom row stays at the bottom, so an entry never moves into the row that
// is not written.
bool moveCurrentRow(QTableWidget* grid, int step) {
    const int row = grid->currentRow();
    const int target = row + step;
    if (row < 0 || row >= lastRow(grid) || target < 0 || target >= lastRow(grid))
        return false;
    for (int column = 0; column < grid->columnCount(); ++column) {
        const QString moving = cell(grid, row, column);
        setCell(grid, row, column, cell(grid, target, column));
        setCell(grid, target, column, moving);
    }
    showCurrentRow(grid, target);
    return true;
}

QPushButton* gridButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1StringView(name));
    return button;
}

// The grid with its buttons in a column on its right.
QHBoxLayout* gridWithButtons(QTableWidget* grid, const QList<QPushButton*>& top,
                             const QList<QPushButton*>& bottom = {}) {
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    for (QPushButton* button : top)
        buttons->addWidget(button);
    buttons->addStretch(1);
    for (QPushButton* button : bottom)
        buttons->addWidget(button);
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(grid, 1);
    row->addLayout(buttons);
    return row;
}

QTableWidget* makeGrid(QWidget* parent, const char* name, QObject* keyWatcher) {
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(QLatin1StringView(name));
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(18);
    grid->verticalHeader()->setMinimumSectionSize(18);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                          QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    grid->setTabKeyNavigation(true);
    grid->setShowGrid(true);
    grid->setWordWrap(false);
    grid->setItemDelegate(new CellDelegate(keyWatcher, grid));
    grid->installEventFilter(keyWatcher);
    // The current cell's editor stays open while the grid has the focus.
    QObject::connect(grid, &QTableWidget::currentCellChanged, grid, [grid] { openCellEditor(grid); });
    return grid;
}

QLabel* note(QWidget* parent, const QString& text) {
    return new QLabel(text, parent);
}

QVBoxLayout* pageColumn(QWidget* page) {
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(2);
    return column;
}

} // namespace

// ---- The pages -------------------------------------------------------------------

void TAppSetForm::BuildSentencePage() {
    SentenceSheet = new QWidget(PageControl1);
    SentenceSheet->setObjectName(u"SentenceSheet"_s);
    PageControl1->addTab(SentenceSheet, u"任意タグ・単文"_s);
    auto* box = new QGroupBox(u"任意タグ・単文登録(&S)"_s, SentenceSheet);
    auto* column = pageColumn(box);
    StringGrid2 = makeGrid(box, "StringGrid2", this);
    BtnDelSentence = gridButton(box, "BtnDelSentence", u"削除(&D)"_s);
    BtnUpSentence = gridButton(box, "BtnUpSentence", u"上へ"_s);
    BtnDownSentence = gridButton(box, "BtnDownSentence", u"下へ"_s);
    column->addLayout(gridWithButtons(StringGrid2, {BtnDelSentence, BtnUpSentence, BtnDownSentence}), 1);
    column->addWidget(
        note(box, u"「項目名」がメニューに表示される文字です。最大で半角61文字まで書けます。"_s));
    column->addWidget(
        note(box, u"「開始タグ」と「終了タグ」は、最大半角224文字までです。任意タグではなく単文と"_s));
    column->addWidget(note(box, u"して登録したい場合は、「終了タグ」欄を空欄にして下さい。"_s));
    pageColumn(SentenceSheet)->addWidget(box);
}

void TAppSetForm::BuildBookmarkPage() {
    BookmarkSheet = new QWidget(PageControl1);
    BookmarkSheet->setObjectName(u"BookmarkSheet"_s);
    PageControl1->addTab(BookmarkSheet, u"ブックマーク"_s);
    auto* page = pageColumn(BookmarkSheet);

    auto* box = new QGroupBox(u"ブックマーク(&B)"_s, BookmarkSheet);
    auto* column = pageColumn(box);
    StringGrid1 = makeGrid(box, "StringGrid1", this);
    BtnDelBookmark = gridButton(box, "BtnDelBookmark", u"削除(&D)"_s);
    BtnUpBookmark = gridButton(box, "BtnUpBookmark", u"上へ"_s);
    BtnDownBookmark = gridButton(box, "BtnDownBookmark", u"下へ"_s);
    column->addLayout(gridWithButtons(StringGrid1, {BtnDelBookmark, BtnUpBookmark, BtnDownBookmark}), 1);
    column->addWidget(
        note(box, u"※「インターネットサービス」メニュー内の「ブックマーク」項目の追加・削除です。"_s));
    column->addWidget(
        note(box, u"URL欄には、「http://」から始まるURLか、ローカルファイルのフルパスを入力。"_s));
    page->addWidget(box, 1);

    auto* site = new QGroupBox(u"自分の日記ページURL"_s, BookmarkSheet);
    auto* row = new QHBoxLayout(site);
    row->setContentsMargins(4, 4, 4, 4);
    UserSiteUrlEdit = new QLineEdit(site);
    UserSiteUrlEdit->setObjectName(u"UserSiteUrlEdit"_s);
    auto* caption = new QLabel(u"&URL："_s, site);
    caption->setBuddy(UserSiteUrlEdit);
    row->addWidget(caption);
    row->addWidget(UserSiteUrlEdit, 1);
    page->addWidget(site);
}

void TAppSetForm::BuildProjectPage() {
    SameTimeRenewalSheet = new QWidget(PageControl1);
    SameTimeRenewalSheet->setObjectName(u"SameTimeRenewalSheet"_s);
    PageControl1->addTab(SameTimeRenewalSheet, u"同時更新HTML"_s);
    auto* box = new QGroupBox(u"同時更新HTML登録(&H)"_s, SameTimeRenewalSheet);
    auto* column = pageColumn(box);
    StringGrid3 = makeGrid(box, "StringGrid3", this);
    BtnAddHtml = new QPushButton(u"追加(&A)"_s, box);
    BtnAddHtml->setObjectName(u"BtnAddHtml"_s);
    BtnDelHtml = new QPushButton(u"削除(&D)"_s, box);
    BtnDelHtml->setObjectName(u"BtnDelHtml"_s);
    BtnUpHtml = gridButton(box, "BtnUpHtml", u"上へ"_s);
    BtnDownHtml = gridButton(box, "BtnDownHtml", u"下へ"_s);
    BtnProjectHelp = new QPushButton(u"ヘルプ(&H)"_s, box);
    BtnProjectHelp->setObjectName(u"BtnProjectHelp"_s);
    column->addLayout(
        gridWithButtons(StringGrid3, {BtnAddHtml, BtnDelHtml, BtnUpHtml, BtnDownHtml}, {BtnProjectHelp}), 1);
    column->addWidget(note(box, u"日記と同時に更新しなければならないHTMLファイルを登録します。"_s));
    column->addWidget(note(box, u"ここに登録したHTMLは、「Project」ボタンなどから手軽に読み込めます。"_s));
    column->addWidget(
        note(box, u"右側の「追加」ボタンで登録して下さい。（直接パスを記述することもできます。）"_s));
    pageColumn(SameTimeRenewalSheet)->addWidget(box);

    connect(BtnAddHtml, &QPushButton::clicked, this, &TAppSetForm::BtnAddHtmlClick);
    connect(BtnDelHtml, &QPushButton::clicked, this, &TAppSetForm::BtnDelHtmlClick);
    connect(BtnProjectHelp, &QPushButton::clicked, this, &TAppSetForm::BtnProjectHelpClick);
}

void TAppSetForm::ConnectRowButtons() {
    struct Buttons {
        QTableWidget* grid;
        QPushButton *del, *up, *down;
        bool* touched;
    };
    for (const Buttons& b :
         {Buttons{StringGrid1, BtnDelBookmark, BtnUpBookmark, BtnDownBookmark, &bookmarksTouched_},
          Buttons{StringGrid2, BtnDelSentence, BtnUpSentence, BtnDownSentence, &snippetsTouched_},
          Buttons{StringGrid3, nullptr, BtnUpHtml, BtnDownHtml, &projectsTouched_}}) {
        if (b.del) {
            connect(b.del, &QPushButton::clicked, this, [b] {
                deleteCurrentRow(b.grid);
                *b.touched = true;
            });
        }
        connect(b.up, &QPushButton::clicked, this, [b] { *b.touched |= moveCurrentRow(b.grid, -1); });
        connect(b.down, &QPushButton::clicked, this, [b] { *b.touched |= moveCurrentRow(b.grid, +1); });
    }
}

// ---- Filling -----------------------------------------------------------------------

void TAppSetForm::FillGrids() {
    resetGrid(StringGrid1, {u"項目名（半角28文字以内）"_s, u"URL（半角192文字以内）"_s}, {150, 224});
    resetGrid(StringGrid2, {u"項目名"_s, u"開始タグ"_s, u"終了タグ"_s}, {96, 145, 145});
    resetGrid(StringGrid3, {u"Project"_s, u"HTMLファイルパス"_s}, {50, 260});
    snippetsTouched_ = bookmarksTouched_ = projectsTouched_ = false;

    const QString folder = context_.programFolder;
    for (const listfile::Bookmark& bookmark : listfile::readBookmarks(folder + BookmarkFile)) {
        const int row = lastRow(StringGrid1);
        setCell(StringGrid1, row, 0, bookmark.name);
        setCell(StringGrid1, row, 1, bookmark.url);
        addEmptyRow(StringGrid1);
    }
    for (const listfile::Snippet& snippet : listfile::readSnippets(folder + SnippetFile)) {
        const int row = lastRow(StringGrid2);
        setCell(StringGrid2, row, 0, snippet.name);
        setCell(StringGrid2, row, 1, snippet.start);
        setCell(StringGrid2, row, 2, snippet.shownEnd());
        addEmptyRow(StringGrid2);
    }
    for (const QString& path : listfile::readProjectRows(folder + ProjectFile)) {
        const int row = lastRow(StringGrid3);
        setCell(StringGrid3, row, 0, msg::ProjectRowName);
        setCell(StringGrid3, row, 1, path);
        addEmptyRow(StringGrid3);
    }
    for (QTableWidget* grid : {StringGrid1, StringGrid2, StringGrid3})
        grid->setCurrentCell(0, 0);
}

// ---- Editing rules -------------------------------------------------------------------

void TAppSetForm::GridEvent(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::KeyPress)
        return;
    // The grid itself, or the in-place editor inside it.
    QTableWidget* grid = nullptr;
    for (QObject* object = watched; object && !grid; object = object->parent()) {
        if (object == StringGrid1 || object == StringGrid2 || object == StringGrid3)
            grid = static_cast<QTableWidget*>(object);
    }
    if (!grid)
        return;
    if (event->type() == QEvent::FocusIn) {
        (grid == StringGrid1   ? bookmarksTouched_
         : grid == StringGrid2 ? snippetsTouched_
                               : projectsTouched_) = true;
        // The current cell's editor opens as the grid is entered.
        if (watched == grid)
            openCellEditor(grid);
        return;
    }
    // Character keys only: moving around the grid changes nothing.
    if (!static_cast<QKeyEvent*>(event)->text().isEmpty())
        GridKeyPress(grid);
}

void TAppSetForm::GridKeyPress(QTableWidget* grid) {
    const int last = lastRow(grid);
    if (grid == StringGrid3) {
        if (!cell(grid, last, 1).isEmpty()) {
            setCell(grid, last, 0, msg::ProjectRowName);
            addEmptyRow(grid);
        }
        return;
    }
    (grid == StringGrid1 ? bookmarksTouched_ : snippetsTouched_) = true;
    if (!cell(grid, last, 0).isEmpty() || !cell(grid, last, 1).isEmpty())
        addEmptyRow(grid);
}

void TAppSetForm::BtnAddHtmlClick() {
    FileDialog& dialog = context_.openDialog;
    dialog.title = msg::ProjectBrowseTitle;
    dialog.filter = msg::ProjectBrowseFilter;
    dialog.filterIndex = 1;
    dialog.initialDir.clear();
    if (!dialog.execute())
        return;
    if (const char32_t c = listfile::unwritableCharacter(dialog.fileName)) {
        context_.messages.show(unwritableMessage(dialog.fileName, c), msg::InputErrorCaption,
                               MsgIcon::Warning);
        return;
    }
    const int last = lastRow(StringGrid3);
    setCell(StringGrid3, last, 0, msg::ProjectRowName);
    setCell(StringGrid3, last, 1, dialog.fileName);
    addEmptyRow(StringGrid3);
    projectsTouched_ = true;
}

void TAppSetForm::BtnDelHtmlClick() {
    deleteCurrentRow(StringGrid3);
    projectsTouched_ = true;
}

void TAppSetForm::BtnProjectHelpClick() {
    context_.messages.show(msg::ProjectHelp, msg::ProjectHelpCaption, MsgIcon::Information);
}

// ---- Writing -------------------------------------------------------------------------

bool TAppSetForm::ListsWritable() {
    // Per grid: the column that decides whether a row is written, and the
    // columns that must keep every character. Snippet texts go into pages,
    // where a numeric character reference stands for its character.
    struct Check {
        bool touched;
        QTableWidget* grid;
        QWidget* page;
        int keyColumn;
        QList<int> columns;
    };
    const Check checks[] = {
        {snippetsTouched_, StringGrid2, SentenceSheet, 1, {0}},
        {bookmarksTouched_, StringGrid1, BookmarkSheet, 1, {0, 1}},
        {projectsTouched_, StringGrid3, SameTimeRenewalSheet, 1, {1}},
    };
    for (const Check& check : checks) {
        if (!check.touched)
            continue;
        for (int row = 0; row < check.grid->rowCount(); ++row) {
            if (cell(check.grid, row, check.keyColumn).trimmed().isEmpty())
                continue;
            for (int column : check.columns) {
                const QString text = cell(check.grid, row, column);
                if (const char32_t c = listfile::unwritableCharacter(text)) {
                    check.grid->setCurrentCell(row, column);
                    ShowFailure(unwritableMessage(text, c), check.page, check.grid);
                    return false;
                }
            }
        }
    }
    return true;
}

void TAppSetForm::SaveSnippets() {
    putRows(StringGrid2, listfile::writeSnippets(context_.programFolder + SnippetFile, gridRows(StringGrid2),
                                                 context_.messages)
                             .rows);
}

void TAppSetForm::SaveBookmarks() {
    putRows(StringGrid1, listfile::writeBookmarks(context_.programFolder + BookmarkFile,
                                                  gridRows(StringGrid1), context_.messages)
                             .rows);
}

void TAppSetForm::SaveProjects() {
    // Every row with a path is written, the bottom one too: a path pasted
    // there without a key pressed after it is not lost.
    putRows(StringGrid3, listfile::writeProjects(context_.programFolder + ProjectFile, gridRows(StringGrid3),
                                                 context_.messages)
                             .rows);
}
