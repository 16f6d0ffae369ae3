#include "QuestionEntry.h"

#include "DataModule.h"
#include "Globals.h"

namespace authoring {

QVector<QuestionType> LoadQuestionTypes(store::TDM1& dm) {
    if (qb::CurrentKind == 0) qb::CurrentKind = 1;
    QVector<QuestionType> types;
    dm.ADOCn1.query(QStringLiteral("select A1, B1 from tab_tx%1 order by A1").arg(qb::CurrentKind),
                    {}, [&](store::Statement& row) {
                        types.push_back({row.value(0).toInt(), row.value(1).toString()});
                    });
    return types;
}

std::optional<int> TypeIdByName(const QVector<QuestionType>& types, const QString& name) {
    for (const QuestionType& type : types) {
        if (type.name == name) return type.id;
    }
    return std::nullopt;
}

bool IsSubjectiveTypeName(const QString& name) {
    static const QStringList names{QStringLiteral("简答"),     QStringLiteral("主观"),
                                   QStringLiteral("论述"),     QStringLiteral("案例分析"),
                                   QStringLiteral("名词解释"), QStringLiteral("查找错误"),
                                   QStringLiteral("综合"),     QStringLiteral("计算")};
    // Banks name their types "论述题", "案例分析题": the word with or without 题.
    return names.contains(name) || (name.endsWith(u'题') && names.contains(name.chopped(1)));
}

std::optional<DraftRefusal> CheckDraft(const QuestionDraft& draft) {
    if (draft.stemText.trimmed().isEmpty())
        return DraftRefusal{QStringLiteral("请填写试题内容！"), DraftField::Stem};
    if (draft.answer.trimmed().isEmpty())
        return DraftRefusal{QStringLiteral("请填写试题答案！"), DraftField::Answer};
    if (!draft.typeId) return DraftRefusal{QStringLiteral("请选择题型！"), DraftField::Type};
    return std::nullopt;
}

int NextUserNumber(store::Database& db) {
    const QVariant highest = db.scalar(QStringLiteral(
        "select MAX(CINT(Right(A1,4))) as r4m from tab_answ where Left(A1,1) = 'U'"));
    return highest.toInt() + 1;
}

QString UserNumberText(int number) {
    const QString digits = QString::number(number);
    return digits.size() < 4 ? digits.rightJustified(5, u'0') : digits;
}

QString UserQuestionId(const QString& chapter, int typeId, int choices, int number) {
    return QStringLiteral("US") + chapter + QString::number(typeId) + QString::number(choices) +
           UserNumberText(number);
}

namespace {

// The chapter and the parents whose totals include it: 010203, 0102, 01 and 0.
QStringList ChapterAndParents(const QString& chapter) {
    QStringList codes;
    for (const int length : {6, 4, 2, 1}) {
        const QString code = chapter.left(length);
        if (!codes.contains(code)) codes << code;
    }
    return codes;
}

// The catalogue chapters and groups of a question's knowledge points, as practice
// counts them.
QStringList CatalogueIdsOf(const QStringList& ftids) {
    const store::KnowledgePointLists lists = store::KnowledgePointListsOf(ftids);
    return lists.fgmc6 + lists.fgmc2;
}

void insertQuestion(store::Database& db, const QString& id, const QString& chapter,
                    const QuestionDraft& draft) {
    QString columns = QStringLiteral("a1,a2,a2_1,a10,a13");
    store::Params params{{{}, id},
                         {{}, draft.answer.trimmed()},
                         {{}, draft.choices},
                         {{}, chapter},
                         {{}, *draft.typeId}};
    for (int i = 0; i < draft.ftids.size(); ++i)
        columns += QStringLiteral(",k%1").arg(i + 3);
    store::appendBound(params, draft.ftids);
    db.execute(QStringLiteral("insert into tab_answ (") + columns + QStringLiteral(",f1) values ") +
                   store::boundList(params.size()).chopped(1) + QStringLiteral(",2)"),
               params);

    const bool explained = !draft.explanationText.trimmed().isEmpty();
    store::Params texts{{{}, id}, {{}, draft.stem}};
    if (explained) texts.push_back({{}, draft.explanation});
    db.execute(explained ? QStringLiteral("insert into tab_exer (a1,a15,jx) values (?,?,?)")
                         : QStringLiteral("insert into tab_exer (a1,a15) values (?,?)"),
               texts);
}

void raiseCounters(store::Database& db, const QString& chapter, const QStringList& ftids) {
    const QStringList codes = ChapterAndParents(chapter);
    store::Params params;
    store::appendBound(params, codes);
    db.execute(QStringLiteral("update tab_kmmc set c3=coalesce(c3,0)+1 where C1 in ") +
                   store::boundList(codes.size()),
               params);
    if (ftids.isEmpty()) return;
    params.clear();
    store::appendBound(params, ftids);
    db.execute(QStringLiteral("update tab_rule set q=coalesce(q,0)+1 where ftid in ") +
                   store::boundList(ftids.size()),
               params);
    // A catalogue chapter and its group count the question once however many of
    // its points the question lists.
    const QStringList catalogue = CatalogueIdsOf(ftids);
    params.clear();
    store::appendBound(params, catalogue);
    db.execute(QStringLiteral("update tab_fgmc set q=coalesce(q,0)+1 where id in ") +
                   store::boundList(catalogue.size()),
               params);
}

}  // namespace

std::optional<QString> SaveNewQuestion(store::TDM1& dm, const QString& chapter,
                                       const QuestionDraft& draft) {
    store::Database& db = dm.ADOCn1;
    store::Transaction tx(db);
    const int number = NextUserNumber(db);
    if (number > kMaxUserQuestions) return std::nullopt;
    const QString id = UserQuestionId(chapter, *draft.typeId, draft.choices, number);
    insertQuestion(db, id, chapter, draft);
    raiseCounters(db, chapter, draft.ftids);
    tx.commit();
    dm.Cn1Table_kmmc.reloadRows(QStringLiteral("C1"), ChapterAndParents(chapter));
    dm.Cn1Table_fgmc.reloadRows(QStringLiteral("id"), CatalogueIdsOf(draft.ftids));
    db.textsChanged({{id}, {}, {}, false});
    return id;
}

}  // namespace authoring
