#include "widgets/UpDown.h"

#include "settings/IntText.h"
#include "widgets/NumberField.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

TUpDown::TUpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), edit_(associate), min_(minimum), max_(maximum), up_(new QToolButton(this)),
      down_(new QToolButton(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* button : {up_, down_}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(16, 11);
        layout->addWidget(button);
    }
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    connect(up_, &QToolButton::clicked, this, &TUpDown::stepUp);
    connect(down_, &QToolButton::clicked, this, &TUpDown::stepDown);
    edit_->installEventFilter(this);
    makeNumberField(edit_);
}

void TUpDown::step(int delta) {
    const int current = intOr(edit_->text().trimmed(), delta > 0 ? min_ - 1 : max_ + 1);
    const int next = qBound(min_, current + delta, max_);
    const QString text = QString::number(next);
    if (text != edit_->text())
        edit_->setText(text);
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Up) {
            stepUp();
            return true;
        }
        if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Down) {
            stepDown();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
