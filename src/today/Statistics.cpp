#include "today/Statistics.h"

#include "resources/Messages.h"

#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Counters stop at the largest 32-bit value instead of turning negative.
qint32 saturatingAdd(qint32 counter, qint64 amount) {
    const qint64 sum = qint64(counter) + amount;
    if (sum > std::numeric_limits<qint32>::max())
        return std::numeric_limits<qint32>::max();
    if (sum < std::numeric_limits<qint32>::min())
        return std::numeric_limits<qint32>::min();
    return qint32(sum);
}

// Truncating division that yields 0 instead of dividing by zero. 64-bit, so
// that neither a product of counters nor INT_MIN / -1 overflows.
qint64 divideOrZero(qint64 dividend, qint64 divisor) {
    return divisor == 0 ? 0 : dividend / divisor;
}

} // namespace

void CountInsertion(AppSet& app, int lineCount) {
    app.InsertDiaryTime = saturatingAdd(app.InsertDiaryTime, 1);
    app.WriteDiaryTime = saturatingAdd(app.WriteDiaryTime, 1);
    app.WriteDiaryLines = saturatingAdd(app.WriteDiaryLines, lineCount);
}

bool MonthlyStatisticsCheck(AppSet& app, const QDate& today) {
    if (app.WriteDiaryFrequency <= 0)
        app.WriteDiaryFrequency = 1;

    bool thank = false;
    if (app.InsertDiaryTime > 60 / app.WriteDiaryFrequency) {
        app.InsertDiaryTime = 0;
        thank = true;
    }

    if (MonthStamp(today) > app.WriteLastMonth) {
        app.WriteDiaryTimeL = app.WriteDiaryTime;
        app.WriteDiaryLinesL = app.WriteDiaryLines;
        app.WriteDiaryTime = 0;
        app.WriteDiaryLines = 0;
    }
    return thank;
}

QString TodayStatusText(const AppSet& app, int todayLineCount) {
    if (app.WriteDiaryTime == 0)
        return msg::StatusFirstEntryOfMonth;
    // An average of 0 lines (only from values edited outside the program)
    // shows 0 instead of dividing by zero.
    const qint64 average = divideOrZero(app.WriteDiaryLines, app.WriteDiaryTime);
    const qint64 percent = divideOrZero(qint64(todayLineCount) * 100, average);
    return msg::StatusShareOfAverageBefore + QString::number(percent) + msg::StatusShareOfAverageAfter;
}

QString CaretPanelText(int line, int column) {
    return QString::number(line) + u"行 "_s + QString::number(column) + u"桁"_s;
}

QString TotalsPanelText(int lines, qint64 bytes) {
    return u"全"_s + QString::number(lines) + u"行 "_s + QString::number(bytes) + u"文字"_s;
}

AboutFigures ComputeAboutFigures(const AppSet& app) {
    const qint64 average = app.WriteDiaryTime > 0 ? divideOrZero(app.WriteDiaryLines, app.WriteDiaryTime) : 0;
    const qint64 averageL =
        app.WriteDiaryTimeL > 0 ? divideOrZero(app.WriteDiaryLinesL, app.WriteDiaryTimeL) : 0;
    // A previous month with entries but 0 lines (only from values edited
    // outside the program) shows 0 instead of dividing by zero.
    const qint64 percent =
        app.WriteDiaryTimeL > 0 ? divideOrZero(qint64(app.WriteDiaryLines) * 100, app.WriteDiaryLinesL) : 0;

    AboutFigures figures;
    figures.diaryTime =
        msg::AboutDiaryTimeBefore + QString::number(app.WriteDiaryTime) + msg::AboutDiaryTimeAfter;
    figures.diaryLines = msg::AboutDiaryLinesBefore + QString::number(app.WriteDiaryLines) +
                         msg::AboutDiaryLinesMiddle + QString::number(average) + msg::AboutDiaryLinesAfter;
    figures.diaryTimeL =
        msg::AboutDiaryTimeLBefore + QString::number(app.WriteDiaryTimeL) + msg::AboutDiaryTimeAfter;
    figures.diaryLinesL = msg::AboutDiaryLinesLBefore + QString::number(app.WriteDiaryLinesL) +
                          msg::AboutDiaryLinesMiddle + QString::number(averageL) + msg::AboutDiaryLinesAfter;
    figures.percent = msg::AboutPercentBefore + QString::number(percent) + msg::AboutPercentAfter;
    return figures;
}
