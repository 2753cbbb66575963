#pragma once
// Message boxes as QMessageBox, with Japanese button texts.

#include "platform/Messages.h"

#include <QPointer>

class QWidget;

class QtMessageService : public MessageService {
public:
    // parent: the window that owns the boxes; none: the active window at the
    // moment each box is shown.
    explicit QtMessageService(QWidget* parent = nullptr);

    using MessageService::show;
    MsgAnswer show(const MessageRequest& request) override;

private:
    QPointer<QWidget> parent_;
    bool fixedParent_;
};
