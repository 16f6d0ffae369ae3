#include "QuestionCard.h"

#include "DataModule.h"
#include "Dataset.h"
#include "Globals.h"

namespace practice {
namespace {

QChar letter(int i) {
    return QChar(u'A' + i);
}

int buttonCount(int optionCount) {
    return std::clamp(optionCount, 0, 6);
}

bool isChoicePage(AnswerKind kind) {
    return kind == AnswerKind::SingleChoice || kind == AnswerKind::MultipleChoice ||
           kind == AnswerKind::Matching;
}

}  // namespace

QString CollectAnswer(AnswerKind kind, int optionCount, const AnswerControls& c) {
    const int count = buttonCount(optionCount);
    switch (kind) {
        case AnswerKind::SingleChoice:
            for (int i = 0; i < count; ++i) {
                if (c.visible[i] && c.pressed[i]) return QString(letter(i));
            }
            return {};
        case AnswerKind::MultipleChoice:
        case AnswerKind::Matching: {
            QString out;
            for (int i = 0; i < count; ++i) {
                if (c.visible[i] && c.pressed[i]) out += letter(i);
            }
            return out;
        }
        case AnswerKind::FillIn:
            return c.fillIn.trimmed().left(kAnswerColumnWidth);
        case AnswerKind::TrueFalse:
            if (c.truePressed) return QStringLiteral("A");
            if (c.falsePressed) return QStringLiteral("B");
            return {};
        case AnswerKind::SelfAssessed:
            return c.selfAssessedIndex >= 0 ? QString::number(c.selfAssessedIndex) : QString();
    }
    return {};
}

void ShowStoredAnswer(AnswerKind kind, int optionCount, const QString& stored, AnswerControls* c) {
    if (isChoicePage(kind)) {
        const int count = buttonCount(optionCount);
        for (int i = 0; i < 6; ++i) {
            c->visible[i] = i < count;
            const bool hit = kind == AnswerKind::SingleChoice ? stored == QString(letter(i))
                                                              : stored.contains(letter(i));
            c->pressed[i] = i < count && hit;
        }
        return;
    }
    switch (kind) {
        case AnswerKind::FillIn:
            c->fillIn = stored;
            return;
        case AnswerKind::TrueFalse:
            c->truePressed = stored == QLatin1String("A");
            c->falsePressed = stored == QLatin1String("B");
            return;
        case AnswerKind::SelfAssessed:
            c->selfAssessedIndex = stored == QLatin1String("0")   ? 0
                                   : stored == QLatin1String("1") ? 1
                                                                  : -1;
            return;
        default:
            return;
    }
}

bool IsSameDay(const QVariant& stored, const QDate& day) {
    if (stored.isNull()) return false;
    if (stored.typeId() == QMetaType::QDate) return stored.toDate() == day;
    return stored.toString().left(10) == day.toString(Qt::ISODate);
}

ProgressFlags FlagsFor(const ProgressRow& row, const QString& answer, const QDate& today) {
    ProgressFlags f;
    f.firstToday = IsSameDay(row.lastDate, today) ? qb::kNo : qb::kYes;
    f.wrong = IsRight(answer, row.key) ? qb::kNo : qb::kYes;
    f.wasWrong = IsRight(row.lastAnswer, row.key) ? qb::kNo : qb::kYes;
    f.newQuestion = row.lastAnswer.isEmpty() ? qb::kYes : qb::kNo;
    return f;
}

int NextMastery(const ProgressRow& row, const QString& answer) {
    const bool right = IsRight(answer, row.key);
    if (row.lastAnswer.isEmpty()) return right ? 0 : -3;
    if (!right) return row.mastery - 1;
    return row.mastery < 0 ? row.mastery + 1 : row.mastery;
}

namespace {

ProgressRow progressRowOf(store::Dataset& row) {
    return {row.text(QStringLiteral("A2")), row.text(QStringLiteral("E2")),
            row.value(QStringLiteral("E1")), row.asInt(QStringLiteral("E3")),
            row.asInt(QStringLiteral("E4"))};
}

// Today's log, the chapter and its prefixes, the knowledge points: the flags come
// from the row the answer was given on.
void countAnswer(store::TDM1& dm, store::Dataset& row, const QString& answer) {
    const ProgressFlags flags = FlagsFor(progressRowOf(row), answer, dm.today());
    const store::KnowledgePointLists points = store::KnowledgePointListsOf(row);
    dm.RecordDailyAnswer(flags.firstToday, flags.wrong, flags.wasWrong);
    dm.RecordChapterAnswer(row.text(QStringLiteral("A10")), flags.newQuestion, flags.wrong);
    if (!points.isEmpty()) dm.RecordKnowledgePointAnswer(points, flags.newQuestion, flags.wrong);
}

// E4 and E3 of the row, by its own key and last answer; left in edit state.
void advanceProgress(store::Dataset& row, const QString& answer) {
    const ProgressRow progress = progressRowOf(row);
    row.edit();
    row.setValue(QStringLiteral("E4"), NextMastery(progress, answer));
    row.setValue(QStringLiteral("E3"), progress.answers + 1);
}

// E2_1, E2 and E1 := today; left in edit state.
void setAnswered(store::TDM1& dm, store::Dataset& row, const QString& answer) {
    row.edit();
    row.setValue(QStringLiteral("E2_1"), answer);
    row.setValue(QStringLiteral("E2"), answer);
    row.setValue(QStringLiteral("E1"), dm.todayText());
}

// Whether the row already holds what storing the answer would write: leaving a
// question runs storing again, and a stored answer needs no second write.
bool holdsAnswer(store::TDM1& dm, store::Dataset& row, const QString& answer) {
    const QVariant given = row.value(QStringLiteral("E2_1"));
    if (answer.isEmpty()) return !given.isNull() && given.toString().isEmpty();
    return given.toString() == answer && row.text(QStringLiteral("E2")) == answer &&
           row.text(QStringLiteral("E1")) == dm.todayText();
}

}  // namespace

void ApplyProgressRule(store::TDM1& dm, store::Dataset& row, const QString& answer) {
    countAnswer(dm, row, answer);
    advanceProgress(row, answer);
}

StoreResult StoreAnswer(store::TDM1& dm, store::Dataset& row, const QString& answer,
                        store::Dataset* bank) {
    StoreResult result;
    if (holdsAnswer(dm, row, answer)) {
        result.answered = !answer.isEmpty();
        result.right = result.answered && IsRight(answer, row.text(QStringLiteral("A2")));
        return result;
    }
    store::Transaction tx(dm.ADOCn1);
    try {
        if (answer.isEmpty()) {
            row.edit();
            row.setValue(QStringLiteral("E2_1"), QStringLiteral(""));
            row.post();
            tx.commit();
            return result;
        }
        if (answer != row.text(QStringLiteral("E2_1"))) {
            if (bank == nullptr) {
                ApplyProgressRule(dm, row, answer);
            } else {
                countAnswer(dm, row, answer);
                if (bank->isActive() &&
                    bank->locate(QStringLiteral("A1"), row.value(QStringLiteral("A1")))) {
                    advanceProgress(*bank, answer);
                    setAnswered(dm, *bank, answer);
                    bank->post();
                }
            }
            result.counted = true;
        }
        result.answered = true;
        result.right = IsRight(answer, row.text(QStringLiteral("A2")));
        setAnswered(dm, row, answer);
        row.post();
        tx.commit();
    } catch (...) {
        // The counters roll back with the row: drop the half-made edits as well.
        row.cancel();
        if (bank != nullptr) bank->cancel();
        throw;
    }
    return result;
}

int AppearanceCount(int e3) {
    return e3 >= 1 ? e3 + 1 : 1;
}

QString DiscardMarker(int f1) {
    if (f1 == 1) return QStringLiteral("本题已被您作废！");
    if (f1 == 2) return QStringLiteral("本题是您加入的题目！");
    return {};
}

QString EditedMarker(int ecount) {
    return ecount != 0 ? QStringLiteral("本题被您修改过") : QString();
}

QString VerdictText(AnswerKind kind, const QString& answer) {
    if (kind != AnswerKind::TrueFalse) return answer;
    if (answer == QLatin1String("A")) return QStringLiteral("对");
    if (answer == QLatin1String("B")) return QStringLiteral("错");
    return answer;
}

QString AnswerHint(AnswerKind kind) {
    switch (kind) {
        case AnswerKind::SingleChoice:
            return QStringLiteral("选择一个选项作为正确答案");
        case AnswerKind::MultipleChoice:
            return QStringLiteral("选择两个或者多个选项作为正确答案");
        case AnswerKind::FillIn:
            return QStringLiteral("填写正确答案，答案间用“,”隔开");
        case AnswerKind::TrueFalse:
            return QStringLiteral("根据判断选择“正确”或者“错误”");
        case AnswerKind::SelfAssessed:
            return QStringLiteral("根据自己实际情况选择“会”或者“不会”");
        case AnswerKind::Matching:
            return QStringLiteral("选择若干个选项作为正确答案");
    }
    return {};
}

QString PageCaption(AnswerKind kind) {
    switch (kind) {
        case AnswerKind::SingleChoice:
            return QStringLiteral("单选");
        case AnswerKind::MultipleChoice:
            return QStringLiteral("多选");
        case AnswerKind::FillIn:
            return QStringLiteral("填空");
        case AnswerKind::TrueFalse:
            return QStringLiteral("判断");
        case AnswerKind::SelfAssessed:
            return QStringLiteral("主观");
        case AnswerKind::Matching:
            return QStringLiteral("配伍");
    }
    return {};
}

std::optional<QString> SharedStemId(const QString& questionId) {
    if (!questionId.contains(u'-')) return std::nullopt;
    return questionId.left(16);
}

}  // namespace practice
