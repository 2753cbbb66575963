#pragma once
// Controls and small helpers shared by the tag builder's pages.

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

// A field is grey when its attribute is off (or it only shows a value) and
// white when the user's input in it counts. A grey field stays editable.
void SetFieldGrey(QLineEdit* field, bool grey);

// A label whose mnemonic moves the focus to buddy.
QLabel* BuddyLabel(const QString& caption, QWidget* buddy, QWidget* parent);

// A captioned group of radio buttons of which one item is chosen; the items
// are numbered from 0 in the order given.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent);

    int itemIndex() const;
    void setItemIndex(int index);
    QRadioButton* item(int index) const { return items_.value(index); }
    // Puts the focus on the chosen item (on the first when none is chosen).
    void focusChosenItem();

Q_SIGNALS:
    // An item was chosen, by the user or by setItemIndex().
    void itemIndexChanged(int index);

private:
    QButtonGroup* buttons_;
    QList<QRadioButton*> items_;
};
