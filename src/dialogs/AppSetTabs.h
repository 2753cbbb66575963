#pragma once
// Tab rows for a page control whose captions do not fit in one row. The pages
// stay in their QTabWidget (whose own one-row bar is hidden); rows of tabs
// above it choose the page. As on a multi-line tab control, the row holding
// the shown page moves next to the page. The usual keys change the page from
// anywhere in the window (Ctrl+Tab and Ctrl+PgDn forward, Ctrl+Shift+Tab and
// Ctrl+PgUp back, round the end), and Tab reaches the shown page's tab.

#include <QList>
#include <QWidget>

class QTabBar;
class QTabWidget;
class QVBoxLayout;

class MultiRowTabs : public QWidget {
    Q_OBJECT
public:
    // rowStarts: the index of the first page of each row after the first
    // (e.g. {4} puts pages 0..3 in one row and the rest in another).
    MultiRowTabs(QTabWidget* pages, const QList<int>& rowStarts, QWidget* parent = nullptr);

    int rowCount() const { return int(rows_.size()); }
    QTabBar* row(int index) const { return rows_.value(index).bar; }

private:
    struct Row {
        QTabBar* bar = nullptr;
        int firstPage = 0; // the page of the row's tab 1 (tab 0 is a hidden placeholder)
        int pageCount = 0;
    };
    void showPage(int page);
    // The page step pages after (or before, when negative) the shown one, round the end.
    void stepPage(int step);

    QTabWidget* pages_;
    QVBoxLayout* layout_;
    QList<Row> rows_;
};
