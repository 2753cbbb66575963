// Writes a generated diary page to a file, for measuring the real window:
//   make_page cp932|utf8|line MEGABYTES PATH
// cp932: the page in CP932 with CR LF lines; utf8: the same text in UTF-8;
// line: MEGABYTES of CP932 without a line break.

#include "DiaryPage.h"

#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 4 || std::atoi(argv[2]) <= 0) {
        std::fprintf(stderr, "usage: make_page cp932|utf8|line MEGABYTES PATH\n");
        return 2;
    }
    const qsizetype bytes = qsizetype(std::atoi(argv[2])) * 1024 * 1024;
    QByteArray page;
    if (std::strcmp(argv[1], "cp932") == 0)
        page = bench::diaryPage(bytes);
    else if (std::strcmp(argv[1], "utf8") == 0)
        page = bench::utf8DiaryPage(bytes);
    else if (std::strcmp(argv[1], "line") == 0)
        page = bench::singleLineDiaryPage(bytes);
    else {
        std::fprintf(stderr, "unknown page form: %s\n", argv[1]);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[3]));
    if (!file.open(QIODevice::WriteOnly) || file.write(page) != page.size() || !file.flush()) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
