#include "document/TagsControls.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

void SetFieldGrey(QLineEdit* field, bool grey) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, grey ? palette.color(QPalette::Window) : QColor(Qt::white));
    field->setPalette(palette);
}

QLabel* BuddyLabel(const QString& caption, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    for (const QString& text : items) {
        auto* radio = new QRadioButton(text, this);
        buttons_->addButton(radio, int(items_.size()));
        items_.append(radio);
        layout->addWidget(radio);
    }
    connect(buttons_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            Q_EMIT itemIndexChanged(id);
    });
}

int TRadioGroup::itemIndex() const {
    return buttons_->checkedId();
}

void TRadioGroup::setItemIndex(int index) {
    if (QRadioButton* radio = item(index))
        radio->setChecked(true);
}

void TRadioGroup::focusChosenItem() {
    QAbstractButton* chosen = buttons_->checkedButton();
    if (!chosen && !items_.isEmpty())
        chosen = items_.first();
    if (chosen)
        chosen->setFocus();
}
