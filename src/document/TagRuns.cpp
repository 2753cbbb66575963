#include "document/TagRuns.h"

#include <algorithm>

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
    scanPiece(text);
    endBlock();
}

void TagRunScanner::addText(QStringView text) {
    blockOpen_ = true;
    // The next line feed and the next paragraph separator (-1: none left),
    // each looked for again only once passed: two searches over the text.
    qsizetype lineFeed = text.indexOf(u'\n');
    qsizetype separator = text.indexOf(u'\x2029');
    for (qsizetype start = 0;;) {
        if (lineFeed >= 0 && lineFeed < start)
            lineFeed = text.indexOf(u'\n', start);
        if (separator >= 0 && separator < start)
            separator = text.indexOf(u'\x2029', start);
        const qsizetype end = lineFeed < 0    ? separator
                              : separator < 0 ? lineFeed
                                              : std::min(lineFeed, separator);
        if (end < 0) {
            scanPiece(text.sliced(start));
            return;
        }
        scanPiece(text.sliced(start, end - start));
        endBlock();
        blockOpen_ = true;
        start = end + 1;
    }
}

void TagRunScanner::scanPiece(QStringView piece) {
    const int block = block_;
    const int offset = blockLength_;
    const int length = int(piece.size());
    blockLength_ += length;
    int i = 0;
    while (i < length) {
        switch (state_) {
        case State::Outside: {
            const qsizetype open = piece.indexOf(u'<', i);
            if (open < 0) {
                i = length;
                break;
            }
            state_ = State::InTag;
            runStart_ = tagStart_ = offset + int(open);
            i = int(open) + 1;
            break;
        }
        case State::InTag: {
            const qsizetype close = piece.indexOf(u'>', i);
            if (close < 0) {
                // The tag goes on past this piece; its further "<" matter only if it never ends.
                for (qsizetype open = piece.indexOf(u'<', i); open >= 0; open = piece.indexOf(u'<', open + 1))
                    lone_.push_back(Pending{block, TagRun{offset + int(open), 1}});
                i = length;
                break;
            }
            confirmPending();
            state_ = State::AfterTag;
            tagStart_ = -1;
            i = int(close) + 1;
            break;
        }
        case State::AfterTag: {
            const char16_t c = piece[i].unicode();
            if (isLineBreak(c)) {
                ++i;
            } else if (c == u'<') {
                state_ = State::InTag;
                tagStart_ = offset + i++;
            } else {
                addRun(block, runStart_, offset + i - runStart_);
                state_ = State::Outside;
            }
            break;
        }
        }
    }
}

void TagRunScanner::endBlock() {
    const int block = block_++;
    const int length = blockLength_;
    blockLength_ = 0;
    blockOpen_ = false;
    // The line break at the end of the block.
    switch (state_) {
    case State::Outside:
        break;
    case State::AfterTag:
        addRun(block, runStart_, length - runStart_);
        break;
    case State::InTag:
        // The run reaches at least through the tag's "<"; the rest waits for the ">".
        if (tagStart_ >= 0) {
            addRun(block, runStart_, tagStart_ + 1 - runStart_);
            runStart_ = tagStart_ + 1;
        }
        if (runStart_ < length)
            pending_.push_back(Pending{block, TagRun{runStart_, length - runStart_}});
        break;
    }
    // The open run, if any, goes on from the start of the next block.
    runStart_ = 0;
    tagStart_ = -1;
}

TagRuns TagRunScanner::finish() {
    if (blockOpen_)
        endBlock();
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
    blockLength_ = 0;
    runStart_ = 0;
    tagStart_ = -1;
    pending_.clear();
    lone_.clear();
    return runs;
}

TagRuns ScanTagRuns(QStringView text) {
    TagRunScanner scanner;
    scanner.addText(text);
    return scanner.finish();
}

void TagRuns::appendBlock(std::span<const TagRun> runs) {
    if (firstRun_.empty())
        firstRun_.push_back(0);
    runs_.insert(runs_.end(), runs.begin(), runs.end());
    firstRun_.push_back(quint32(runs_.size()));
    ++blockCount_;
}

namespace {

void appendJoined(std::vector<TagRun>& runs, size_t lineStart, int start, int length) {
    if (length <= 0)
        return;
    if (runs.size() > lineStart && runs.back().start + runs.back().length == start)
        runs.back().length += length;
    else
        runs.push_back(TagRun{start, length});
}

} // namespace

bool ScanTagLine(QStringView line, bool inTag, std::vector<TagRun>& runs) {
    const size_t lineStart = runs.size();
    const qsizetype size = line.size();
    qsizetype at = 0;
    while (at < size) {
        if (inTag) {
            const qsizetype close = line.indexOf(u'>', at);
            if (close < 0) {
                appendJoined(runs, lineStart, int(at), int(size - at));
                return true;
            }
            appendJoined(runs, lineStart, int(at), int(close + 1 - at));
            at = close + 1;
            inTag = false;
        } else {
            const qsizetype open = line.indexOf(u'<', at);
            if (open < 0)
                break;
            at = open;
            inTag = true;
        }
    }
    return inTag;
}

TagLines ScanTagLines(QStringView text) {
    TagLines result;
    std::vector<TagRun> runs;
    bool inTag = false;
    for (qsizetype start = 0;;) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\x2029')
            ++end;
        runs.clear();
        inTag = ScanTagLine(text.sliced(start, end - start), inTag, runs);
        result.runs.appendBlock(runs);
        result.endsInTag.push_back(inTag);
        if (end >= text.size())
            break;
        start = end + 1;
    }
    result.lastClose = text.lastIndexOf(u'>');
    return result;
}

std::vector<TagRun> ShownTagRuns(QStringView line, std::span<const TagRun> runs, qsizetype lastClose) {
    if (lastClose >= line.size())
        return {runs.begin(), runs.end()};
    std::vector<TagRun> shown;
    const qsizetype cut = lastClose + 1; // 0 when the whole line lies after the last ">"
    for (const TagRun& run : runs) {
        if (run.start >= cut)
            break;
        shown.push_back(TagRun{run.start, int(std::min<qsizetype>(run.length, cut - run.start))});
    }
    for (qsizetype at = line.indexOf(u'<', cut); at >= 0; at = line.indexOf(u'<', at + 1))
        appendJoined(shown, 0, int(at), 1);
    return shown;
}
