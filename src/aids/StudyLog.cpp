#include "StudyLog.h"

#include "DataModule.h"

namespace aids {

QVector<LogColumn> LogColumns(bool compact) {
    QVector<LogColumn> columns = {
        {QStringLiteral("A1"), QStringLiteral("日期"), 198, false},
        {QStringLiteral("B1"), QStringLiteral("做过题数"), 60, false},
        {QStringLiteral("B2"), QStringLiteral("做错题数"), 60, false},
        {QStringLiteral("A2"), QStringLiteral("做过道次"), 60, false},
        {QStringLiteral("A3"), QStringLiteral("做错道次"), 60, false},
        {QStringLiteral("D1"), QStringLiteral("总用时"), 80, true},
        {QStringLiteral("A4"), QStringLiteral("平均成绩"), 71, true},
    };
    if (!compact) {
        columns[0].width = 252;
        for (int i = 1; i < columns.size(); ++i)
            columns[i].width = 80;
    }
    return columns;
}

LogTotals ReadLogTotals(store::TDM1& dm) {
    store::Query& q = dm.Cn1Query1;
    q.close();
    q.setSql(QStringLiteral("select sum(A2) as count_d1,sum(A3) as count_d2 from tab_rz "));
    q.open();
    LogTotals totals;
    q.first();
    // An empty log sums to NULL, which reads as 0.
    totals.attempts = q.asInt(QStringLiteral("count_d1"));
    totals.wrongAttempts = q.asInt(QStringLiteral("count_d2"));
    q.close();
    totals.rate = store::CorrectRate(totals.attempts, totals.wrongAttempts);
    return totals;
}

}  // namespace aids
