#pragma once
// TUpDown: a pair of arrow buttons attached to a line edit that step the edit's
// number between a minimum and a maximum, without wrapping around. The edit
// itself accepts any text; the arrows (and the Up/Down keys in the edit) start
// from the edit's number, or from the nearest bound when it holds none.
// The edit becomes a number field (NumberField.h).

#include <QWidget>

class QLineEdit;
class QToolButton;

class TUpDown : public QWidget {
    Q_OBJECT
public:
    TUpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent = nullptr);

    int minimum() const { return min_; }
    int maximum() const { return max_; }
    void stepUp() { step(+1); }
    void stepDown() { step(-1); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void step(int delta);

    QLineEdit* edit_;
    int min_;
    int max_;
    QToolButton* up_;
    QToolButton* down_;
};
