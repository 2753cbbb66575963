#pragma once
// The runs of text that tag highlighting colours, found in one pass over an
// editor's text, block by block (a block is one line, without its line break).
//
// A run starts at a "<" and ends after the next ">". Line breaks directly
// after that ">" belong to the run, and when the character after them is
// another "<" the run goes on through that tag as well. A "<" with no ">"
// anywhere after it is a run of its own, one character long.
//
// The editor's characters stand for the page's CP932 bytes one for one where
// it matters: "<", ">", CR and LF are never the second byte of a double-byte
// character, and a byte that is no character keeps a code point of its own.
// So runs found among the characters cover exactly the bytes of the runs.

#include <QStringView>
#include <span>
#include <vector>

// A run, or the part of a run that lies in one block, in that block's
// characters.
struct TagRun {
    int start = 0;
    int length = 0;

    friend bool operator==(const TagRun&, const TagRun&) = default;
};

// The runs of a whole text, by block. Eight bytes a run part and four a block.
class TagRuns {
public:
    int blockCount() const { return blockCount_; }
    // The runs of one block, left to right, neighbouring runs joined into
    // one; empty beyond the last block.
    std::span<const TagRun> block(int blockNumber) const;
    // The run parts of all blocks.
    qsizetype size() const { return qsizetype(runs_.size()); }
    // Adds the next block with its runs (left to right, neighbours joined).
    void appendBlock(std::span<const TagRun> runs);

private:
    friend class TagRunScanner;
    std::vector<TagRun> runs_;
    // firstRun_[b] is the index of block b's first run; firstRun_[b + 1] ends them.
    std::vector<quint32> firstRun_;
    int blockCount_ = 0;
};

// Takes the text in order, a block or any piece at a time, then gives the runs.
class TagRunScanner {
public:
    // The next block's text, without its line break.
    void addBlock(QStringView text);
    // The next piece of the text, which may end or begin anywhere: '\n' and
    // U+2029 end a block, and what follows the last of them is the start of
    // the next block (as in a text taken from an editor piece by piece).
    void addText(QStringView text);
    // Ends the text (and a block that addText() left open); the scanner is
    // empty afterwards.
    TagRuns finish();

private:
    enum class State {
        Outside,  // looking for a "<"
        InTag,    // inside a tag, looking for its ">"
        AfterTag, // after a ">", passing line breaks
    };
    struct Pending {
        int block;
        TagRun run;
    };

    // A piece of the current block, which goes on at blockLength_.
    void scanPiece(QStringView piece);
    void endBlock();
    void addRun(int block, int start, int length);
    void confirmPending();

    TagRuns result_;
    State state_ = State::Outside;
    int block_ = 0;          // the current block
    int blockLength_ = 0;    // its characters so far
    bool blockOpen_ = false; // addText() has begun it
    int runStart_ = 0;       // where the open run's part in the current block begins
    int tagStart_ = -1;      // the "<" of the open tag, when it lies in the current block
    // Parts of the open tag in earlier blocks, after its "<": coloured once its ">" comes.
    std::vector<Pending> pending_;
    // Every "<" inside the open tag after its first: runs of their own if no ">" comes.
    std::vector<Pending> lone_;
};

// The runs of a text whose blocks are separated by '\n' or U+2029 (the
// paragraph separator of an editor's raw text).
TagRuns ScanTagRuns(QStringView text);

// ---- Line by line, for colours that follow the typing ----
//
// Taken line by line, the runs of a text depend on one thing a line gets from
// the lines before it (whether it begins inside a tag) and one thing from the
// whole text (where its last ">" is). Every "<" before the last ">" opens a
// tag that some ">" closes; after the last ">" no tag closes, so there each
// "<" is a run of its own. So a line's runs are found taking every tag it
// leaves open to close later (ScanTagLine), and cut where the text's last ">"
// is (ShownTagRuns). An edit then scans its own lines again, and the lines
// after it only while what they begin with changes.

// One line (a block, without its line break) by itself; inTag: it begins
// inside a tag. Appends its runs, neighbours joined, and returns whether it
// ends inside a tag.
bool ScanTagLine(QStringView line, bool inTag, std::vector<TagRun>& runs);

// Every line of a text scanned as ScanTagLine does, one after the other; the
// lines are separated by '\n' or U+2029.
struct TagLines {
    TagRuns runs;
    std::vector<bool> endsInTag; // per line
    qsizetype lastClose = -1;    // the text's last ">" (-1: none)
};
TagLines ScanTagLines(QStringView text);

// The runs shown in a line, from its runs as ScanTagLine found them and the
// place of the text's last ">" in the line: lastClose < 0 when the line lies
// after it, at or beyond the line's end when the line lies before it. After
// it only each "<" is coloured.
std::vector<TagRun> ShownTagRuns(QStringView line, std::span<const TagRun> runs, qsizetype lastClose);
