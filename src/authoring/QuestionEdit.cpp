#include "QuestionEdit.h"

#include "DataModule.h"

#include <QHash>
#include <QSet>

namespace authoring {
namespace {

QString SlotColumns() {
    QStringList columns;
    for (int i = 0; i < kPointSlots; ++i)
        columns << QStringLiteral("k%1").arg(i + 3);
    return columns.join(u',');
}

// The non-empty slots of a question, in slot order.
QStringList PointsOfRow(store::Statement& row, int firstSlot) {
    QStringList ftids;
    for (int i = 0; i < kPointSlots; ++i) {
        const QString ftid = row.value(firstSlot + i).toString();
        if (!ftid.isEmpty()) ftids << ftid;
    }
    return ftids;
}

QStringList StoredPoints(store::Database& db, const QString& id) {
    QStringList ftids;
    db.query(
        QStringLiteral("select ") + SlotColumns() + QStringLiteral(" from tab_answ where a1=?"),
        {{{}, id}}, [&](store::Statement& row) { ftids = PointsOfRow(row, 0); });
    return ftids;
}

// The label the editor gives a point it opens with: chapter name and short name run
// together; a point the catalogue lacks shows its id.
QString PointLabel(store::Database& db, const QString& ftid) {
    QString label = ftid;
    db.query(QStringLiteral("select f.n, r.sn from tab_rule r left join tab_fgmc f on f.id = r.id "
                            "where r.ftid=?"),
             {{{}, ftid}}, [&](store::Statement& row) {
                 if (label == ftid) label = row.value(0).toString() + row.value(1).toString();
             });
    return label;
}

QByteArray TextColumn(store::Database& db, const QString& sql, const QString& id) {
    return db.scalar(sql, {{{}, id}}).toByteArray();
}

// Writes a rich-text column of the row keyed by A1, making the row when there is none.
void WriteText(store::Database& db, const QString& table, const QString& column, const QString& id,
               const QVariant& value) {
    const QString name = store::quotedIdentifier(table);
    const QString col = store::quotedIdentifier(column);
    const int changed = db.execute(QStringLiteral("update %1 set %2=? where A1=?").arg(name, col),
                                   {{{}, value}, {{}, id}});
    if (changed == 0) {
        db.execute(QStringLiteral("insert into %1 (A1,%2) values (?,?)").arg(name, col),
                   {{{}, id}, {{}, value}});
    }
}

// An explanation with no text is stored as none, as entry stores it.
QVariant ExplanationValue(const QuestionDraft& draft) {
    if (draft.explanationText.trimmed().isEmpty()) return {};
    return draft.explanation;
}

}  // namespace

EditedQuestion LoadQuestionForEdit(store::TDM1& dm, const QString& id) {
    store::Database& db = dm.ADOCn1;
    EditedQuestion q;
    bool found = false;
    db.query(QStringLiteral("select a2, a2_1, a13, ") + SlotColumns() +
                 QStringLiteral(" from tab_answ where a1=?"),
             {{{}, id}}, [&](store::Statement& row) {
                 found = true;
                 q.draft.answer = row.value(0).toString();
                 q.draft.choices = row.value(1).toInt();
                 q.draft.typeId = row.value(2).toInt();
                 q.draft.ftids = PointsOfRow(row, 3);
             });
    if (!found) throw store::EngineError(QStringLiteral("no question ") + id);
    q.id = id;
    q.draft.stem = TextColumn(db, QStringLiteral("select a15 from tab_exer where a1=?"), id);
    q.draft.explanation = TextColumn(db, QStringLiteral("select jx from tab_exer where a1=?"), id);
    if (q.isGrouped()) {
        q.sharedStem =
            TextColumn(db, QStringLiteral("select A15 from tab_title where A1=?"), q.groupId());
    }
    for (const QString& ftid : q.draft.ftids)
        q.pointLabels << PointLabel(db, ftid);
    return q;
}

void RecountPoints(store::TDM1& dm, const QStringList& ftids) {
    QHash<QString, int> counts;
    for (const QString& ftid : ftids)
        counts.insert(ftid, 0);
    if (counts.isEmpty()) return;
    const QStringList points = counts.keys();
    // One scan: the rows naming any of the points in any slot, counted here, each
    // question once per point however many slots repeat it.
    QStringList conditions;
    store::Params params;
    for (int i = 0; i < kPointSlots; ++i) {
        conditions << QStringLiteral("k%1 in ").arg(i + 3) + store::boundList(points.size());
        store::appendBound(params, points);
    }
    store::Database& db = dm.ADOCn1;
    db.query(QStringLiteral("select ") + SlotColumns() + QStringLiteral(" from tab_answ where ") +
                 conditions.join(QStringLiteral(" or ")),
             params, [&](store::Statement& row) {
                 const QStringList listed = PointsOfRow(row, 0);
                 for (const QString& ftid : QSet<QString>(listed.begin(), listed.end())) {
                     auto it = counts.find(ftid);
                     if (it != counts.end()) ++*it;
                 }
             });
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        db.execute(QStringLiteral("update tab_rule set q=? where ftid=?"),
                   {{{}, it.value()}, {{}, it.key()}});
    }
}

void SaveQuestionEdit(store::TDM1& dm, const EditedQuestion& edited) {
    store::Database& db = dm.ADOCn1;
    const QuestionDraft& d = edited.draft;
    store::Transaction tx(db);
    const QStringList before = StoredPoints(db, edited.id);

    WriteText(db, QStringLiteral("tab_exer"), QStringLiteral("A15"), edited.id, d.stem);
    WriteText(db, QStringLiteral("tab_exer"), QStringLiteral("jx"), edited.id, ExplanationValue(d));
    if (edited.isGrouped()) {
        WriteText(db, QStringLiteral("tab_title"), QStringLiteral("A15"), edited.groupId(),
                  edited.sharedStem);
    }

    QStringList assignments{QStringLiteral("a2=?"), QStringLiteral("a2_1=?"),
                            QStringLiteral("a13=?")};
    store::Params params{{{}, d.answer.trimmed()}, {{}, d.choices}, {{}, d.typeId.value_or(0)}};
    for (int i = 0; i < kPointSlots; ++i) {
        assignments << QStringLiteral("k%1=?").arg(i + 3);
        params.push_back({{}, i < d.ftids.size() ? d.ftids[i] : QStringLiteral("")});
    }
    params.push_back({{}, edited.id});
    db.execute(QStringLiteral("update tab_answ set ") + assignments.join(u',') +
                   QStringLiteral(", ecount=coalesce(ecount,0)+1 where a1=?"),
               params);

    RecountPoints(dm, before + d.ftids);
    tx.commit();
    db.textsChanged({{edited.id},
                     edited.isGrouped() ? QStringList{edited.groupId()} : QStringList{},
                     {},
                     false});
}

}  // namespace authoring
