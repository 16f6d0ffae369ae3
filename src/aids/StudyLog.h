// The daily study log as the log window shows it: the columns of its grid and the
// totals over every day.
#pragma once

#include <QString>
#include <QVector>

namespace store {
class TDM1;
}

namespace aids {

struct LogColumn {
    QString field;
    QString title;
    int width = 0;
    bool rightAligned = false;
};

// The grid's columns in order, with their widths in the compact layout (800) or
// the large one.
QVector<LogColumn> LogColumns(bool compact);

struct LogTotals {
    qint64 attempts = 0;       // sum of A2
    qint64 wrongAttempts = 0;  // sum of A3
    QString rate;              // overall correct rate, "%2.2f", "0" with no attempt
};

// Sums the whole log through the data module's general query.
LogTotals ReadLogTotals(store::TDM1& dm);

}  // namespace aids
