#pragma once
// What the fuzz targets share: a check that names the condition that failed
// and ends the run (libFuzzer keeps the input; the replay names it), and a
// message service that counts what would have been shown.

#include "platform/Messages.h"

#include <cstdio>
#include <cstdlib>

#define CHECK(condition)                                                                                     \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "check failed: %s (line %d)\n", #condition, __LINE__);                      \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

namespace fuzz {

// Counts the messages. Questions get questionAnswer when they offer Yes,
// everything else OK.
class CountingMessages : public MessageService {
public:
    explicit CountingMessages(MsgAnswer questionAnswer = MsgAnswer::Ok) : questionAnswer_(questionAnswer) {}
    using MessageService::show;
    MsgAnswer show(const MessageRequest& request) override {
        ++shown;
        switch (request.buttons) {
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel:
            return questionAnswer_;
        case MsgButtons::Ok:
        case MsgButtons::OkCancel:
            break;
        }
        return MsgAnswer::Ok;
    }
    int shown = 0;

private:
    MsgAnswer questionAnswer_;
};

} // namespace fuzz
