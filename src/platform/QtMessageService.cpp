#include "platform/QtMessageService.h"

#include "resources/Messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMap>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace {

QMessageBox::Icon toQtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Exclamation:
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton toQtButton(MsgAnswer answer) {
    switch (answer) {
    case MsgAnswer::Ok:
        return QMessageBox::Ok;
    case MsgAnswer::Yes:
        return QMessageBox::Yes;
    case MsgAnswer::No:
        return QMessageBox::No;
    case MsgAnswer::Cancel:
        return QMessageBox::Cancel;
    }
    return QMessageBox::NoButton;
}

struct ButtonSet {
    QList<MsgAnswer> answers; // in the order they are shown
    MsgAnswer escape;         // what closing the box answers
};

ButtonSet buttonSet(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::YesNo:
        return {{MsgAnswer::Yes, MsgAnswer::No}, MsgAnswer::No};
    case MsgButtons::YesNoCancel:
        return {{MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel}, MsgAnswer::Cancel};
    case MsgButtons::OkCancel:
        return {{MsgAnswer::Ok, MsgAnswer::Cancel}, MsgAnswer::Cancel};
    case MsgButtons::Ok:
        break;
    }
    return {{MsgAnswer::Ok}, MsgAnswer::Ok};
}

QString buttonText(MsgAnswer answer) {
    switch (answer) {
    case MsgAnswer::Ok:
        return msg::ButtonOk;
    case MsgAnswer::Yes:
        return msg::ButtonYes;
    case MsgAnswer::No:
        return msg::ButtonNo;
    case MsgAnswer::Cancel:
        return msg::ButtonCancel;
    }
    return {};
}

} // namespace

QtMessageService::QtMessageService(QWidget* parent) : parent_(parent), fixedParent_(parent != nullptr) {}

MsgAnswer QtMessageService::show(const MessageRequest& request) {
    QWidget* parent = fixedParent_ ? parent_.data() : QApplication::activeWindow();
    // The active window may be one that goes away while the box is open (the
    // splash window closes itself): the box then goes with it, so it cannot
    // live on this function's stack.
    QPointer<QMessageBox> owned = new QMessageBox(parent);
    QMessageBox& box = *owned;
    box.setWindowTitle(request.caption);
    // Messages quote file names and tags; they are never markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(request.text);
    box.setIcon(toQtIcon(request.icon));

    const ButtonSet set = buttonSet(request.buttons);
    QMap<QAbstractButton*, MsgAnswer> answerOf;
    for (MsgAnswer answer : set.answers) {
        QAbstractButton* button = box.addButton(toQtButton(answer));
        button->setText(buttonText(answer));
        answerOf.insert(button, answer);
    }
    const MsgAnswer defaultAnswer = request.defaultButton && set.answers.contains(*request.defaultButton)
                                        ? *request.defaultButton
                                        : set.answers.first();
    box.setDefaultButton(toQtButton(defaultAnswer));
    box.setEscapeButton(box.button(toQtButton(set.escape)));

    box.exec();
    if (!owned)
        return set.escape;
    const MsgAnswer answer = answerOf.value(box.clickedButton(), set.escape);
    delete owned;
    return answer;
}
