#include "document/TagRuns.h"

namespace {

bool isLineBreak(char16_t c) {
    return c == u'\r' || c == u'\n' || c == u'\x2028' || c == u'\x2029';
}

} // namespace

std::span<const TagRun> TagRuns::block(int blockNumber) const {
    if (blockNumber < 0 || size_t(blockNumber) + 1 >= firstRun_.size())
        return {};
    const quint32 first = firstRun_[size_t(blockNumber)];
    return std::span<const TagRun>(runs_).subspan(first, firstRun_[size_t(blockNumber) + 1] - first);
}

void TagRunScanner::addRun(int block, int start, int length) {
    if (length <= 0)
        return;
    std::vector<TagRun>& runs = result_.runs_;
    std::vector<quint32>& firstRun = result_.firstRun_;
    // Parts come in block order: every block up to this one now knows where its runs begin.
    while (firstRun.size() <= size_t(block))
        firstRun.push_back(quint32(runs.size()));
    // A part that continues the block's last run joins it.
    if (firstRun[size_t(block)] < runs.size() && runs.back().start + runs.back().length == start)
        runs.back().length += length;
    else
        runs.push_back(TagRun{start, length});
}

void TagRunScanner::confirmPending() {
    for (const Pending& part : pending_)
        addRun(part.block, part.run.start, part.run.length);
    pending_.clear();
    lone_.clear();
}

void TagRunScanner::addBlock(QStringView text) {
    const int block = block_++;
    const int length = int(text.size());
    int runStart = 0;  // where the open run's part in this block begins
    int tagStart = -1; // the "<" of the open tag, when it lies in this block
    int i = 0;
    while (i < length) {
        switch (state_) {
        case State::Outside: {
            const qsizetype open = text.indexOf(u'<', i);
            if (open < 0) {
                i = length;
                break;
            }
            state_ = State::InTag;
            runStart = tagStart = int(open);
            i = tagStart + 1;
            break;
        }
        case State::InTag: {
            const qsizetype close = text.indexOf(u'>', i);
            if (close < 0) {
                // The tag goes on past this line; its further "<" matter only if it never ends.
                for (qsizetype open = text.indexOf(u'<', i); open >= 0; open = text.indexOf(u'<', open + 1))
                    lone_.push_back(Pending{block, TagRun{int(open), 1}});
                i = length;
                break;
            }
            confirmPending();
            state_ = State::AfterTag;
            tagStart = -1;
            i = int(close) + 1;
            break;
        }
        case State::AfterTag: {
            const char16_t c = text[i].unicode();
            if (isLineBreak(c)) {
                ++i;
            } else if (c == u'<') {
                state_ = State::InTag;
                tagStart = i++;
            } else {
                addRun(block, runStart, i - runStart);
                state_ = State::Outside;
            }
            break;
        }
        }
    }

    // The line break at the end of the block.
    switch (state_) {
    case State::Outside:
        break;
    case State::AfterTag:
        addRun(block, runStart, length - runStart);
        break;
    case State::InTag:
        // The run reaches at least through the tag's "<"; the rest waits for the ">".
        if (tagStart >= 0) {
            addRun(block, runStart, tagStart + 1 - runStart);
            runStart = tagStart + 1;
        }
        if (runStart < length)
            pending_.push_back(Pending{block, TagRun{runStart, length - runStart}});
        break;
    }
}

TagRuns TagRunScanner::finish() {
    if (state_ == State::InTag) {
        // No ">" came: the open tag's "<" was coloured alone, and so is every later "<".
        pending_.clear();
        for (const Pending& open : lone_)
            addRun(open.block, open.run.start, open.run.length);
    }
    TagRuns runs = std::move(result_);
    while (runs.firstRun_.size() <= size_t(block_))
        runs.firstRun_.push_back(quint32(runs.runs_.size()));
    runs.runs_.shrink_to_fit();
    runs.firstRun_.shrink_to_fit();
    runs.blockCount_ = block_;

    result_ = TagRuns();
    state_ = State::Outside;
    block_ = 0;
    pending_.clear();
    lone_.clear();
    return runs;
}

TagRuns ScanTagRuns(QStringView text) {
    TagRunScanner scanner;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\n' || c == u'\x2029') {
            scanner.addBlock(text.sliced(start, i - start));
            start = i + 1;
        }
    }
    scanner.addBlock(text.sliced(start));
    return scanner.finish();
}
