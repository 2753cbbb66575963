#include "support/FakeMessages.h"

#include <gtest/gtest.h>

namespace {

QList<MsgAnswer> offered(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::YesNo:
        return {MsgAnswer::Yes, MsgAnswer::No};
    case MsgButtons::YesNoCancel:
        return {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel};
    case MsgButtons::OkCancel:
        return {MsgAnswer::Ok, MsgAnswer::Cancel};
    case MsgButtons::Ok:
        break;
    }
    return {MsgAnswer::Ok};
}

MsgAnswer closeAnswer(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::YesNo:
        return MsgAnswer::No;
    case MsgButtons::YesNoCancel:
    case MsgButtons::OkCancel:
        return MsgAnswer::Cancel;
    case MsgButtons::Ok:
        break;
    }
    return MsgAnswer::Ok;
}

} // namespace

MsgAnswer FakeMessages::show(const MessageRequest& request) {
    requests_.append(request);
    if (request.buttons == MsgButtons::Ok) {
        if (!script_.isEmpty() && script_.first() == MsgAnswer::Ok)
            script_.removeFirst();
        return MsgAnswer::Ok;
    }
    if (script_.isEmpty()) {
        if (failOnUnscriptedQuestion_) {
            ADD_FAILURE() << "Unexpected question: " << request.text.toStdString();
            return closeAnswer(request.buttons);
        }
        return offered(request.buttons).contains(unscriptedQuestionAnswer_) ? unscriptedQuestionAnswer_
                                                                            : closeAnswer(request.buttons);
    }
    const MsgAnswer answer = script_.takeFirst();
    if (!offered(request.buttons).contains(answer)) {
        ADD_FAILURE() << "Scripted answer " << toString(answer) << " is not offered by the "
                      << toString(request.buttons) << " box: " << request.text.toStdString();
        return closeAnswer(request.buttons);
    }
    return answer;
}

const MessageRequest& FakeMessages::last() const {
    static const MessageRequest none;
    if (requests_.isEmpty()) {
        ADD_FAILURE() << "No message box was shown";
        return none;
    }
    return requests_.last();
}

QStringList FakeMessages::texts() const {
    QStringList result;
    for (const MessageRequest& request : requests_)
        result << request.text;
    return result;
}

bool FakeMessages::containsText(const QString& fragment) const {
    for (const MessageRequest& request : requests_) {
        if (request.text.contains(fragment))
            return true;
    }
    return false;
}

void FakeMessages::clear() {
    requests_.clear();
    script_.clear();
}

const char* toString(MsgAnswer answer) {
    switch (answer) {
    case MsgAnswer::Ok:
        return "Ok";
    case MsgAnswer::Yes:
        return "Yes";
    case MsgAnswer::No:
        return "No";
    case MsgAnswer::Cancel:
        return "Cancel";
    }
    return "?";
}

const char* toString(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::None:
        return "None";
    case MsgIcon::Information:
        return "Information";
    case MsgIcon::Exclamation:
        return "Exclamation";
    case MsgIcon::Question:
        return "Question";
    case MsgIcon::Error:
        return "Error";
    case MsgIcon::Warning:
        return "Warning";
    }
    return "?";
}

const char* toString(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::Ok:
        return "Ok";
    case MsgButtons::YesNo:
        return "YesNo";
    case MsgButtons::YesNoCancel:
        return "YesNoCancel";
    case MsgButtons::OkCancel:
        return "OkCancel";
    }
    return "?";
}
