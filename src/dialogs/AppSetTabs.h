#pragma once
// Tab rows for a page control whose captions do not fit in one row. The pages
// stay in their QTabWidget (whose own one-row bar is hidden); rows of tabs
// above it choose the page. As on a multi-line tab control, the row holding
// the shown page moves next to the page.

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

    QTabWidget* pages_;
    QVBoxLayout* layout_;
    QList<Row> rows_;
};
