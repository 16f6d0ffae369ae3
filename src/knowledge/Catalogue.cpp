#include "Catalogue.h"

#include "Dataset.h"
#include "Engine.h"

namespace knowledge {
namespace {

constexpr int kCounterWidth = 9;
const char* const kCounters[] = {"q", "q1", "q2", "q4"};

}  // namespace

QStringList CatalogueHeadings(bool compact) {
    return {QString(compact ? 19 : 29, u' ') + QStringLiteral("考 点 名 称"),
            QStringLiteral("  题  数"), QStringLiteral(" 已做题数"), QStringLiteral(" 已做道次"),
            QStringLiteral(" 做错道次")};
}

QString CounterCell(const QVariant& value) {
    const QString text = value.isNull() ? QString() : value.toString();
    return text.rightJustified(kCounterWidth, u' ');
}

QVector<CatalogueRow> LoadCatalogue(store::Query& query) {
    query.close();
    query.setFilter(QString());
    query.setSql(QStringLiteral("select * from tab_fgmc order by bh"));
    query.open();
    QVector<CatalogueRow> rows;
    for (query.first(); !query.eof(); query.next()) {
        CatalogueRow row{query.text(QStringLiteral("id")), {query.text(QStringLiteral("n"))}};
        for (const char* counter : kCounters)
            row.cells << CounterCell(query.value(QLatin1String(counter)));
        rows << row;
    }
    query.close();
    return rows;
}

bool IsGroupId(const QString& id) {
    const qsizetype size = id.trimmed().size();
    return size == 1 || size == 2;
}

int FindRow(const QStringList& names, const QString& text) {
    const QString wanted = text.trimmed();
    if (text.isEmpty()) return -1;
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].contains(wanted)) return i;
    }
    return -1;
}

int KeyThreshold(const QString& questionsCell, int pointCount) {
    bool ok = false;
    const int questions = questionsCell.trimmed().toInt(&ok);
    if (!ok || pointCount <= 0) return 1;
    return std::max(questions / pointCount, 1);
}

int ReadKeyThreshold(store::Query& query, const QString& chapterId, const QString& questionsCell) {
    try {
        query.close();
        query.setSql(QStringLiteral("select count(*) as icou1 from tab_rule where (id = :ID)"));
        query.setParam(QStringLiteral("ID"), chapterId);
        query.open();
        const int points = query.asInt(QStringLiteral("icou1"));
        query.close();
        return KeyThreshold(questionsCell, points);
    } catch (const std::exception&) {
        return 1;
    }
}

QString TrimmedName(const QString& sn) {
    qsizetype end = sn.size();
    while (end > 0 && sn.at(end - 1).isSpace())
        --end;
    return sn.left(end);
}

QString PointItemText(const QString& sn, int q) {
    const QString name = TrimmedName(sn);
    return q > 0 ? name + QStringLiteral("(%1)").arg(q) : name;
}

QString PointStatus(int q, int q1, int q2, int q4) {
    if (q <= 0) return QStringLiteral("虽然针对该内容的习题没有，您仍要仔细阅读！");
    return QStringLiteral("相关题数：%1题  已做题数：%2题  已做道次：%3次  做错道次：%4次")
        .arg(q)
        .arg(q1)
        .arg(q2)
        .arg(q4);
}

QString PointSetSql(const QString& ftid) {
    return QStringLiteral(
               "select a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,"
               "f1, csbs from tab_answ where ") +
           store::quoted(ftid) + QStringLiteral(" in (k3,k4,k5,k6,k7,k8,k9,k10,k11,k12)");
}

// ------------------------------------------------------------------ one chapter

bool ChapterPoints::Open(const QString& chapterId) {
    detail_.close();
    detail_.setFilter(QString());
    detail_.setFiltered(false);
    detail_.setSql(QStringLiteral("select * from tab_rule where id=:ID order by ftid"));
    detail_.setParam(QStringLiteral("ID"), chapterId);
    detail_.open();
    keyShown_ = false;
    refill();
    return !items_.isEmpty();
}

void ChapterPoints::refill() {
    items_.clear();
    current_ = -1;
    for (detail_.first(); !detail_.eof(); detail_.next()) {
        const QString sn = detail_.text(QStringLiteral("sn"));
        items_ << PointItem{detail_.text(QStringLiteral("ftid")), TrimmedName(sn),
                            PointItemText(sn, detail_.asInt(QStringLiteral("q")))};
    }
    Select(0);
}

void ChapterPoints::Select(int index) {
    if (!detail_.isActive() || index < 0 || index >= items_.size()) return;
    detail_.setRecNo(index + 1);
    current_ = index;
}

QByteArray ChapterPoints::text() {
    if (current_ < 0) return {};
    return detail_.value(QStringLiteral("n")).toByteArray();
}

QString ChapterPoints::status() {
    if (current_ < 0) return {};
    return PointStatus(detail_.asInt(QStringLiteral("q")), detail_.asInt(QStringLiteral("q1")),
                       detail_.asInt(QStringLiteral("q2")), detail_.asInt(QStringLiteral("q4")));
}

bool ChapterPoints::canPractise() {
    return current_ >= 0 && detail_.asInt(QStringLiteral("q")) > 0;
}

bool ChapterPoints::ToggleKeyPoints(int threshold) {
    if (!detail_.isActive()) return false;
    detail_.setFilter(keyShown_ ? QString() : QStringLiteral("q >=") + QString::number(threshold));
    detail_.setFiltered(true);
    if (detail_.recordCount() > 0) {
        keyShown_ = !keyShown_;
        refill();
        return true;
    }
    if (!keyShown_) {
        detail_.setFilter(QString());
        refill();
    }
    return false;
}

}  // namespace knowledge
