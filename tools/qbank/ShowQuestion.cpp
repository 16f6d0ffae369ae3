#include "ShowQuestion.h"

#include "AnswerModel.h"
#include "Engine.h"
#include "Markup.h"

namespace qbank {
namespace {

QString plain(const QVariant& v) {
    return v.isNull() ? QString() : RtfToPlainText(v.toByteArray());
}

QString displayKey(int type, const QString& key) {
    const auto kind = practice::TypeToAnswerKind(type);
    if (kind == practice::AnswerKind::TrueFalse) {
        if (key == QLatin1String("A")) return QStringLiteral("对");
        if (key == QLatin1String("B")) return QStringLiteral("错");
    }
    if (kind == practice::AnswerKind::SelfAssessed) return QStringLiteral("（自评，见解析）");
    return key;
}

}  // namespace

QString ShowQuestion(store::Database& db, const QString& questionId) {
    QString out;
    bool found = false;
    QStringList points;
    int type = 0;
    QString key;
    QString chapter;
    db.query(QStringLiteral("select A2,A13,A10,K3,K4,K5,K6,K7,K8,K9,K10,K11,K12 from tab_answ "
                            "where A1=?"),
             {{QString(), questionId}}, [&](store::Statement& s) {
                 found = true;
                 key = s.value(0).toString();
                 type = s.value(1).toInt();
                 chapter = s.value(2).toString();
                 for (int i = 3; i <= 12; ++i) {
                     if (s.value(i).toString().trimmed().isEmpty()) break;
                     points << s.value(i).toString();
                 }
             });
    if (!found)
        throw store::EngineError(QStringLiteral("no question %1 in the bank").arg(questionId));

    const QString chapterName =
        db.scalar(QStringLiteral("select C2 from tab_kmmc where C1=?"), {{QString(), chapter}})
            .toString();
    const QString typeName =
        db.scalar(QStringLiteral("select B1 from tab_tx%1 where A1=?")
                      .arg(chapter.left(2).toInt() > 0 && chapter.left(2).toInt() <= 5
                               ? chapter.left(2).toInt()
                               : 1),
                  {{QString(), type}})
            .toString();
    out += QStringLiteral("题号：%1　　章节：%2 %3　　题型：%4 %5\n")
               .arg(questionId, chapter, chapterName)
               .arg(type)
               .arg(typeName);
    if (questionId.contains(u'-')) {
        const QVariant shared = db.scalar(QStringLiteral("select A15 from tab_title where A1=?"),
                                          {{QString(), questionId.left(16)}});
        out += QStringLiteral("\n【共用题干】\n") + plain(shared) + u'\n';
    }
    QVariant stem;
    QVariant explain;
    db.query(QStringLiteral("select A15,jx from tab_exer where A1=?"), {{QString(), questionId}},
             [&](store::Statement& s) {
                 stem = s.value(0);
                 explain = s.value(1);
             });
    out += QStringLiteral("\n【题目】\n") + plain(stem) + u'\n';
    out += QStringLiteral("\n【答案】") + displayKey(type, key) + u'\n';
    if (!explain.isNull()) out += QStringLiteral("\n【解析】\n") + plain(explain) + u'\n';
    if (!points.isEmpty()) {
        out += QStringLiteral("\n【考点】\n");
        for (const QString& p : points) {
            QString sn;
            QVariant text;
            db.query(QStringLiteral("select sn,n from tab_rule where ftid=?"), {{QString(), p}},
                     [&](store::Statement& s) {
                         sn = s.value(0).toString().trimmed();
                         text = s.value(1);
                     });
            out += QStringLiteral("%1 %2\n").arg(p, sn);
            const QString body = plain(text).trimmed();
            if (!body.isEmpty())
                out += QStringLiteral("    ") + body.split(u'\n').join(QStringLiteral("\n    ")) +
                       u'\n';
        }
    }
    return out;
}

}  // namespace qbank
