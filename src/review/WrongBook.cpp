#include "WrongBook.h"

#include "AnswerModel.h"
#include "PaperExport.h"

#include <QDir>
#include <QHash>
#include <QMap>

#include <stdexcept>

namespace review {
namespace {

const QString kWrongRule = QStringLiteral("(E4 < 0) and (f1<>1)");
// Deepest below zero first: the questions that went wrong most and were made good least.
const QString kOrder = QStringLiteral(" order by E4, E3 desc, A10, xx, A1");
const QString kPointColumns = QStringLiteral(
    "rtrim(K3),rtrim(K4),rtrim(K5),rtrim(K6),rtrim(K7),rtrim(K8),rtrim(K9),"
    "rtrim(K10),rtrim(K11),rtrim(K12)");

// The conditions of a filter, each value through `value`, which returns what stands
// in the statement for it (a bound mark or a quoted literal).
template <class Value>
QString conditions(const WrongFilter& filter, Value value) {
    QString where = kWrongRule;
    // Marks are taken one statement at a time: the order of the operands of "+" is
    // not fixed, and bound values must follow the marks' order.
    for (const QString* prefix : {&filter.subject, &filter.chapter}) {
        if (prefix->isEmpty()) continue;
        const QString length = value(QVariant(static_cast<int>(prefix->size())));
        const QString code = value(QVariant(*prefix));
        where += QStringLiteral(" and (substr(A10,1,") + length + QStringLiteral(") = ") + code +
                 QStringLiteral(")");
    }
    if (filter.type != 0) {
        const QString type = value(QVariant(filter.type));
        where += QStringLiteral(" and (A13 = ") + type + u')';
    }
    if (!filter.point.isEmpty()) {
        const QString point = value(QVariant(filter.point.trimmed()));
        where += QStringLiteral(" and (") + point + QStringLiteral(" in (") + kPointColumns +
                 QStringLiteral("))");
    }
    return where;
}

QString dayOf(const QVariant& v) {
    return v.toString().left(10);
}

QMap<QString, QString> namesOf(store::Database& db, const QString& sql) {
    QMap<QString, QString> names;
    db.query(sql, {}, [&names](store::Statement& s) {
        const QString key = s.value(0).toString().trimmed();
        if (!names.contains(key)) names.insert(key, s.value(1).toString().trimmed());
    });
    return names;
}

QVector<FilterOption> optionsFrom(const QMap<QString, int>& counts,
                                  const QMap<QString, QString>& names) {
    QVector<FilterOption> options;
    for (auto it = counts.begin(); it != counts.end(); ++it) {
        const QString name = names.value(it.key());
        options.push_back({it.key(), name.isEmpty() ? it.key() : name, it.value()});
    }
    return options;
}

}  // namespace

BoundSql WrongBookSql(const WrongFilter& filter) {
    BoundSql bound;
    const QString where = conditions(filter, [&bound](const QVariant& v) {
        bound.params.push_back({QString(), v});
        return QStringLiteral("?");
    });
    bound.sql = QStringLiteral(
                    "select A1,A10,A13,A2,E2,E1,E3,E4,K3,K4,K5,K6,K7,K8,K9,K10,K11,"
                    "K12 from tab_answ where ") +
                where + kOrder;
    return bound;
}

QString WrongPracticeSql(const WrongFilter& filter) {
    const QString where = conditions(filter, [](const QVariant& v) {
        return v.typeId() == QMetaType::QString ? store::quoted(v.toString()) : v.toString();
    });
    // The columns the practice window's question card works on, as every set has them.
    return QStringLiteral(
               "select a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,"
               "e2_1,e3,e4,f1,xx,csbs,ecount from tab_answ where ") +
           where + kOrder;
}

QVector<WrongQuestion> LoadWrongBook(store::Database& db, const WrongFilter& filter) {
    const BoundSql bound = WrongBookSql(filter);
    QVector<WrongQuestion> book;
    db.query(bound.sql, bound.params, [&book](store::Statement& s) {
        WrongQuestion q;
        q.id = s.value(0).toString();
        q.chapter = s.value(1).toString();
        q.type = s.value(2).toInt();
        q.key = s.value(3).toString();
        q.lastAnswer = s.value(4).toString();
        q.lastDate = dayOf(s.value(5));
        q.answers = s.value(6).toInt();
        q.mastery = s.value(7).toInt();
        for (int k = 8; k < 18; ++k) {
            const QString point = s.value(k).toString().trimmed();
            if (point.isEmpty()) break;
            q.points << point;
        }
        book.push_back(std::move(q));
    });
    return book;
}

WrongBookOptions ReadWrongBookOptions(store::Database& db, const QVector<WrongQuestion>& book) {
    QMap<QString, int> subjects, chapters, points;
    QMap<int, int> types;
    for (const WrongQuestion& q : book) {
        ++subjects[q.chapter.left(2)];
        ++chapters[q.chapter];
        for (const QString& p : q.points)
            ++points[p];
        ++types[q.type];
    }
    WrongBookOptions options;
    const QMap<QString, QString> chapterNames =
        namesOf(db, QStringLiteral("select C1,C2 from tab_kmmc"));
    options.subjects = optionsFrom(subjects, chapterNames);
    options.chapters = optionsFrom(chapters, chapterNames);
    if (!points.isEmpty()) {
        options.points =
            optionsFrom(points, namesOf(db, QStringLiteral("select ftid,sn from tab_rule")));
    }
    QMap<QString, QString> typeNames;
    for (int kind = 1; kind <= 5; ++kind) {
        const QMap<QString, QString> names =
            namesOf(db, QStringLiteral("select A1,B1 from tab_tx%1").arg(kind));
        for (auto it = names.begin(); it != names.end(); ++it) {
            if (!typeNames.contains(it.key()) && !it.value().isEmpty())
                typeNames.insert(it.key(), it.value());
        }
    }
    for (auto it = types.begin(); it != types.end(); ++it) {
        const QString name = typeNames.value(QString::number(it.key()));
        options.types.push_back({QString::number(it.key()),
                                 name.isEmpty() ? QString::number(it.key()) : name, it.value()});
    }
    return options;
}

QVector<FilterOption> ChaptersOf(const WrongBookOptions& options, const QString& subject) {
    QVector<FilterOption> chapters;
    for (const FilterOption& o : options.chapters) {
        if (o.value.startsWith(subject)) chapters.push_back(o);
    }
    return chapters;
}

QString AnswerText(int type, const QString& answer) {
    // "zero" is what a discarded question keeps as its last answer.
    if (answer.isEmpty() || answer == QLatin1String("zero")) return QStringLiteral("（未作答）");
    if (practice::TypeToAnswerKind(type) == practice::AnswerKind::TrueFalse) {
        if (answer == QLatin1String("A")) return QStringLiteral("正确");
        if (answer == QLatin1String("B")) return QStringLiteral("错误");
    }
    return answer;
}

WrongQuestionDetail ReadWrongQuestion(store::Database& db, const QString& id) {
    WrongQuestionDetail d;
    bool found = false;
    db.query(QStringLiteral("select A1,A10,A13,A2,E2,E1,E3,E4,A14 from tab_answ where A1=?"),
             {{{}, id}}, [&](store::Statement& s) {
                 if (found) return;
                 found = true;
                 d.question.id = s.value(0).toString();
                 d.question.chapter = s.value(1).toString();
                 d.question.type = s.value(2).toInt();
                 d.question.key = s.value(3).toString();
                 d.question.lastAnswer = s.value(4).toString();
                 d.question.lastDate = dayOf(s.value(5));
                 d.question.answers = s.value(6).toInt();
                 d.question.mastery = s.value(7).toInt();
                 d.note = s.value(8).toString();
             });
    if (!found) throw store::EngineError(QStringLiteral("the question is no longer in the bank"));
    db.query(QStringLiteral("select A15,jx from tab_exer where A1=?"), {{{}, id}},
             [&d](store::Statement& s) {
                 d.stem = s.value(0).toByteArray();
                 d.explanation = s.value(1).toByteArray();
             });
    if (exam::IsGroupedQuestion(id)) {
        d.sharedStem =
            db.scalar(QStringLiteral("select A15 from tab_title where A1=?"), {{{}, id.left(16)}})
                .toByteArray();
    }
    return d;
}

void BuildWrongBookDocument(store::Database& db, const QVector<WrongQuestion>& list,
                            const QString& title, exam::WordDocument& document) {
    document.TypeText(title);
    for (int i = 0; i < 2; ++i)
        document.TypeParagraph();
    int number = 0;
    for (const WrongQuestion& q : list) {
        const WrongQuestionDetail d = ReadWrongQuestion(db, q.id);
        if (!d.sharedStem.isEmpty()) {
            document.PasteRichText(d.sharedStem);
            document.TypeParagraph();
        }
        document.TypeText(QString::number(++number) + QStringLiteral("、"));
        document.PasteRichText(d.stem);
        document.TypeParagraph();
        document.TypeText(QStringLiteral("你的答案：") + AnswerText(q.type, d.question.lastAnswer));
        document.TypeParagraph();
        document.TypeText(QStringLiteral("正确答案：") + AnswerText(q.type, d.question.key));
        document.TypeParagraph();
        if (!d.explanation.isEmpty()) {
            document.TypeText(QStringLiteral("试题解析："));
            document.TypeParagraph();
            document.PasteRichText(d.explanation);
            document.TypeParagraph();
        }
        document.TypeParagraph();
    }
}

QString WriteWrongBookDocument(store::Database& db, const QVector<WrongQuestion>& list,
                               const QString& title, const QString& folder) {
    exam::WordDocument document;
    BuildWrongBookDocument(db, list, title, document);
    if (!QDir().mkpath(folder)) throw std::runtime_error("no folder for the document");
    QString path = exam::UniqueDocumentPath(folder, title);
    if (!document.SaveAs(path)) throw std::runtime_error("the document cannot be written");
    return path;
}

}  // namespace review
