// The guard that keeps window tests honest: a question nobody scripted must
// fail the test, and scripted answers must reach the questions they were
// meant for even when notices come between.

#include "support/FakeMessages.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
FakeMessages* shared = nullptr; // EXPECT_NONFATAL_FAILURE cannot see locals
}

TEST(FakeMessages, UnscriptedQuestionFailsTheTestAndTakesTheSafeWayOut) {
    FakeMessages messages;
    shared = &messages;
    EXPECT_NONFATAL_FAILURE(
        EXPECT_EQ(shared->show(u"保存しますか？"_s, u"確認"_s, MsgIcon::Question, MsgButtons::YesNoCancel),
                  MsgAnswer::Cancel),
        "保存しますか？");
    // A scripted answer the box does not offer is a scripting mistake.
    messages.answerNext(MsgAnswer::Cancel);
    EXPECT_NONFATAL_FAILURE(
        EXPECT_EQ(shared->show(u"削除しますか？"_s, u"確認"_s, MsgIcon::Question, MsgButtons::YesNo),
                  MsgAnswer::No),
        "削除しますか？");
    shared = nullptr;

    messages.setFailOnUnscriptedQuestion(false);
    messages.setUnscriptedQuestionAnswer(MsgAnswer::Yes);
    EXPECT_EQ(messages.show(u"q"_s, u"c"_s, MsgIcon::Question, MsgButtons::YesNo), MsgAnswer::Yes);
    EXPECT_EQ(messages.count(), 3);
}

TEST(FakeMessages, ScriptedAnswersSkipNoticesAndEverythingIsRecorded) {
    FakeMessages messages;
    messages.answerNext(MsgAnswer::No);
    EXPECT_EQ(messages.show(u"お知らせ"_s, u"情報"_s, MsgIcon::Information), MsgAnswer::Ok);
    EXPECT_EQ(messages.pendingAnswers(), 1);
    EXPECT_EQ(
        messages.show(u"上書きしますか？"_s, u"確認"_s, MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No),
        MsgAnswer::No);
    EXPECT_EQ(messages.pendingAnswers(), 0);

    EXPECT_EQ(messages.texts(), (QStringList{u"お知らせ"_s, u"上書きしますか？"_s}));
    EXPECT_TRUE(messages.containsText(u"上書き"_s));
    EXPECT_FALSE(messages.containsText(u"削除"_s));
    EXPECT_EQ(messages.last().caption, u"確認"_s);
    EXPECT_EQ(messages.last().buttons, MsgButtons::YesNo);
    EXPECT_EQ(messages.last().defaultButton, MsgAnswer::No);
}
