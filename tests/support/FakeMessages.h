#pragma once
// A MessageService for tests: records every box and answers from a script.
//
// Answers: each question (Yes/No, Yes/No/Cancel) takes the next scripted
// answer. With nothing scripted, an unexpected question fails the running
// test (naming its text) and is answered the way closing the box would
// (No, or Cancel), unless failOnUnscriptedQuestion is switched off; then it
// gets unscriptedQuestionAnswer. An OK box answers Ok; it takes a scripted
// answer only when the next one is Ok, so scripted answers stay lined up
// with the questions whatever notices come between them.
// A scripted answer that the box does not offer fails the test.

#include "platform/Messages.h"
#include "support/QtPrinters.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <ostream>

class FakeMessages : public MessageService {
public:
    using MessageService::show;
    MsgAnswer show(const MessageRequest& request) override;

    void answerNext(MsgAnswer answer) { script_.append(answer); }
    qsizetype pendingAnswers() const { return script_.size(); }

    void setFailOnUnscriptedQuestion(bool fail) { failOnUnscriptedQuestion_ = fail; }
    // Used for unscripted questions when they do not fail; an answer the box
    // does not offer becomes the close answer (No, or Cancel).
    void setUnscriptedQuestionAnswer(MsgAnswer answer) { unscriptedQuestionAnswer_ = answer; }

    const QList<MessageRequest>& requests() const { return requests_; }
    // The last box shown; fails the test and returns an empty request when none was.
    const MessageRequest& last() const;
    qsizetype count() const { return requests_.size(); }
    // The texts of all boxes, in order.
    QStringList texts() const;
    // Whether some box's text contains fragment.
    bool containsText(const QString& fragment) const;
    // Forgets the boxes shown and the answers still scripted.
    void clear();

private:
    QList<MessageRequest> requests_;
    QList<MsgAnswer> script_;
    bool failOnUnscriptedQuestion_ = true;
    MsgAnswer unscriptedQuestionAnswer_ = MsgAnswer::Cancel;
};

// Readable names in test failure output.
const char* toString(MsgAnswer answer);
const char* toString(MsgIcon icon);
const char* toString(MsgButtons buttons);
inline void PrintTo(MsgAnswer answer, std::ostream* os) {
    *os << toString(answer);
}
inline void PrintTo(MsgIcon icon, std::ostream* os) {
    *os << toString(icon);
}
inline void PrintTo(MsgButtons buttons, std::ostream* os) {
    *os << toString(buttons);
}
