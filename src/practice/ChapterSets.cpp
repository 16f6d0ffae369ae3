#include "ChapterSets.h"

#include "DataModule.h"
#include "Dataset.h"
#include "Engine.h"

#include <algorithm>

namespace practice {
namespace {

// The head of every set up to the chapter literal. The texts are kept piece for
// piece as the practice window has always received them, odd spaces included.
QString chapterCondition(const QString& head, const QString& chapterCode) {
    return head + QString::number(chapterCode.size()) + QStringLiteral(") = ") +
           store::quoted(chapterCode);
}

const QString kNewHead = QStringLiteral(
    "select a1 ,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,f1,xx,"
    "csbs,ecount from tab_answ where (left(A10,");
const QString kNewCondition =
    QStringLiteral(") and (E2 = '' or E2 is null) ") + QStringLiteral(" and (f1<>1) ");

}  // namespace

bool IsPractisableCode(const QString& chapterCode) {
    return chapterCode.size() != 1 && chapterCode.size() != 2;
}

QString ChapterSetSql(ChapterSet set, const QString& chapterCode) {
    switch (set) {
        case ChapterSet::NewQuestions:
            return chapterCondition(kNewHead, chapterCode) + kNewCondition +
                   QStringLiteral(" order by a13,a10,xx,a1");
        case ChapterSet::WrongQuestions:
            return chapterCondition(
                       QStringLiteral("select a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,"
                                      "a14,e1,e2,e2_1,e3,e4,f1,xx,csbs,ecount from tab_answ  where "
                                      "(left(A10,"),
                       chapterCode) +
                   QStringLiteral(") and (E4 < 0) ") + QStringLiteral(" and (f1<>1)") +
                   QStringLiteral(" order by a13,e3,e4,e1,xx,a1");
        case ChapterSet::DoneQuestions:
            return chapterCondition(
                       QStringLiteral("select a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,"
                                      "a14,e1,e2,e2_1,e3,e4,f1,xx,csbs,ecount from tab_answ where "
                                      "(left(A10,"),
                       chapterCode) +
                   QStringLiteral(") and (E2 <> '' and E2 is not null) ") +
                   QStringLiteral("order by a13,e3,e4,e1,xx,a1");
    }
    return {};
}

QString GridNewQuestionsSql(const QString& chapterCode) {
    return chapterCondition(kNewHead, chapterCode) + kNewCondition +
           QStringLiteral(" order by a13,a10,xx");
}

QString EmptySetText(ChapterSet set) {
    switch (set) {
        case ChapterSet::NewQuestions:
            return QStringLiteral("恭喜，习题已做完！");
        case ChapterSet::WrongQuestions:
            return QStringLiteral("本章节下没有错题！");
        case ChapterSet::DoneQuestions:
            return QStringLiteral("本章节习题还未曾做过！");
    }
    return {};
}

int EmptySetPicture(ChapterSet set) {
    // Having done every new question is good news; the other two are warnings.
    return set == ChapterSet::NewQuestions ? 0 : 1;
}

QString ChapterTotalsSql() {
    return QStringLiteral(
        "select sum(C3) as count_c3,sum(D1) as count_d1,sum(D2) as count_d2 from tab_kmmc "
        "where len(c1)=6");
}

ChapterTotals ReadChapterTotals(store::Query& query) {
    query.close();
    query.setSql(ChapterTotalsSql());
    query.open();
    ChapterTotals totals;
    if (query.isEmpty()) return totals;
    // toLongLong reads a null sum (no chapter rows) as 0.
    totals.questions = query.value(QStringLiteral("count_c3")).toLongLong();
    totals.answers = query.value(QStringLiteral("count_d1")).toLongLong();
    totals.wrong = query.value(QStringLiteral("count_d2")).toLongLong();
    return totals;
}

qint64 ShownQuestionTotal(qint64 questions) {
    return std::min(questions, kShownQuestionLimit);
}

std::optional<QString> OverallScore(qint64 answers, qint64 wrong) {
    if (answers <= 0) return std::nullopt;
    return store::CorrectRate(answers, wrong);
}

}  // namespace practice
