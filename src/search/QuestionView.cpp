#include "QuestionView.h"

#include "Engine.h"

namespace search {
namespace {

QByteArray bytesOf(const QVariant& v) {
    if (v.isNull()) return {};
    return v.typeId() == QMetaType::QByteArray ? v.toByteArray() : v.toString().toUtf8();
}

}  // namespace

std::optional<QuestionView> LoadQuestionView(store::Database& bank, const QString& id) {
    std::optional<QuestionView> view;
    QStringList ftids;
    bank.query(QStringLiteral("select a2, e2, a14, f1, a10, k3,k4,k5,k6,k7,k8,k9,k10,k11,k12 "
                              "from tab_answ where a1=?"),
               {{{}, id}}, [&](store::Statement& row) {
                   if (view) return;
                   view.emplace();
                   view->id = id;
                   view->key = row.value(0).toString();
                   view->lastAnswer = row.value(1).toString();
                   view->note = row.value(2).toString();
                   view->discarded = row.value(3).toInt() == 1;
                   view->chapter = row.value(4).toString();
                   // The slots count up to the first empty one, as the counters take them.
                   for (int i = 5; i < 15; ++i) {
                       const QString ftid = row.value(i).toString().trimmed();
                       if (ftid.isEmpty()) break;
                       ftids << ftid;
                   }
               });
    if (!view) return view;
    const QVariant chapter =
        bank.scalar(QStringLiteral("select C2 from tab_kmmc where C1=?"), {{{}, view->chapter}});
    if (!chapter.toString().trimmed().isEmpty()) view->chapter = chapter.toString().trimmed();
    bank.query(QStringLiteral("select a15, jx from tab_exer where a1=?"), {{{}, id}},
               [&](store::Statement& row) {
                   if (!view->stem.isEmpty()) return;
                   view->stem = bytesOf(row.value(0));
                   view->explanation = bytesOf(row.value(1));
               });
    if (id.contains(u'-')) {
        view->sharedStem = bytesOf(bank.scalar(
            QStringLiteral("select A15 from tab_title where A1=?"), {{{}, id.left(16)}}));
    }
    for (const QString& ftid : ftids) {
        const QString sn =
            bank.scalar(QStringLiteral("select sn from tab_rule where ftid=?"), {{{}, ftid}})
                .toString()
                .trimmed();
        view->points << (sn.isEmpty() ? ftid : sn);
    }
    return view;
}

}  // namespace search
