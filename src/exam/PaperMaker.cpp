#include "PaperMaker.h"

#include "DataModule.h"
#include "Dataset.h"
#include "Engine.h"
#include "Globals.h"
#include "Schema.h"

#include <chrono>
#include <set>

namespace exam {

namespace {

const QString kNew = QStringLiteral("new");

// Table names reach SQL as identifiers, which cannot be bound: only the names
// the program gives its work tables are let through.
void requireExamTable(const QString& table) {
    if (!store::IsExamTableName(table)) {
        throw store::EngineError(QStringLiteral("not an exam work table: ") + table);
    }
}

bool validKind(int kind) {
    return kind >= kFirstKind && kind <= kLastKind;
}

void report(const PaperOptions& options, const QString& text) {
    if (options.progress) options.progress(text);
}

}  // namespace

QString KindTitle(int kind) {
    switch (kind) {
        case 1:
            return QStringLiteral("计算机系统基础模拟考试");
        case 2:
            return QStringLiteral("程序设计与数据结构模拟考试");
        case 3:
            return QStringLiteral("数据库技术模拟考试");
        case 4:
            return QStringLiteral("计算机网络模拟考试");
        case 5:
            return QStringLiteral("信息系统安全案例分析模拟考试");
        default:
            return {};
    }
}

QString KindCode(int kind) {
    return validKind(kind) ? QStringLiteral("0%1").arg(kind) : QString();
}

QString PaperTitle(const QDate& day, int kind, int number) {
    return day.toString(QStringLiteral("yyyy年MM月dd日")) + KindTitle(kind) +
           QStringLiteral("[%1]").arg(number);
}

int PaperQuota(int kind, int typeId) {
    if (kind == 1) {
        if (typeId == 61) return 80;
        if (typeId == 62) return 60;
    } else if (kind >= 2 && kind <= 4) {
        if (typeId == 61) return 50;
        if (typeId == 63) return 5;
        if (typeId == 65) return 30;
        if (typeId == 66) return 20;
    } else if (kind == 5) {
        if (typeId == 64) return 6;
    }
    return 0;
}

QString CandidateSql(int kind) {
    if (!validKind(kind)) return {};
    return QStringLiteral("select * from tab_answ where ") +
           QStringLiteral("(Left(A10,2) = '%1') and").arg(KindCode(kind)) +
           QStringLiteral(" (f1 <> 1) order by E3");
}

QString TypeFilter(int typeId, const QString& kindCode) {
    return QStringLiteral("A13=%1 and a10 like ").arg(typeId) + store::quoted(kindCode + u'*') +
           QStringLiteral(" and f1<>1");
}

PaperName NextPaperName(store::Database& db) {
    std::optional<int> lastNumber;
    QString lastTable;
    db.query(QStringLiteral("select * from tab_cj order by A3_1 desc"), {},
             [&](store::Statement& row) {
                 if (lastNumber) return;
                 int a1 = -1;
                 int a3_1 = -1;
                 for (int i = 0; i < row.columnCount(); ++i) {
                     const QString name = row.columnName(i).toLower();
                     if (name == u"a1") a1 = i;
                     if (name == u"a3_1") a3_1 = i;
                 }
                 lastNumber = a3_1 < 0 ? 0 : row.value(a3_1).toInt();
                 lastTable = a1 < 0 ? QString() : row.value(a1).toString();
             });
    PaperName next;
    if (!lastNumber) {
        next.table = QStringLiteral("tab_exam1");
        return next;
    }
    next.number = *lastNumber + 1;
    bool digits = false;
    const int tableNumber = lastTable.trimmed().mid(8).toInt(&digits);
    if (digits && tableNumber >= 0) {
        next.table = QStringLiteral("tab_exam%1").arg(tableNumber + 1);
        return next;
    }
    // A most recent row not named like a work table gives no number to follow;
    // a fresh one is taken so that no other paper's table is dropped for it.
    for (int n = next.number;; ++n) {
        const QString candidate = QStringLiteral("tab_exam%1").arg(n);
        const bool rowUsesIt =
            !db.scalar(QStringLiteral("select A1 from tab_cj where A1 = ?"), {{{}, candidate}})
                 .isNull();
        if (!db.hasTable(candidate) && !rowUsesIt) {
            next.table = candidate;
            return next;
        }
    }
}

QString PickRandomQuestions(store::Dataset& candidates, int typeId, int count,
                            const QString& kindCode, std::mt19937& random) {
    candidates.setFilter(TypeFilter(typeId, kindCode));
    candidates.setFiltered(true);
    const int n = candidates.recordCount();
    if (n == 0 || count <= 0) return {};
    // The last row, the most often answered, is never drawn, unless it is the only one.
    const int highest = n == 1 ? 1 : n - 1;
    const int wanted = std::min(count, highest);
    std::uniform_int_distribution<int> position(1, highest);
    std::set<int> drawn;
    QString built;
    while (static_cast<int>(drawn.size()) < wanted) {
        const int pos = position(random);
        if (!drawn.insert(pos).second) continue;
        candidates.setRecNo(pos);
        QString id = candidates.text(QStringLiteral("A1"));
        id.replace(u'\'', QStringLiteral("''"));
        built.prepend(QStringLiteral("' or a.A1='") + id);
    }
    return built.mid(4) + u'\'';
}

void AddQuestionsToPaper(store::Database& db, const QString& table, const QString& condition) {
    if (condition.isEmpty()) return;
    requireExamTable(table);
    db.execute(QStringLiteral("insert into ") + table +
               QStringLiteral("(a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,"
                              "e2_1,E3,E4,JX,CSBS,F1)") +
               QStringLiteral(" Select a.a1 as a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,"
                              "a13,a14,e1,e2,e2_1,e3,e4,b.jx as jx,a.csbs as csbs,a.f1 as f1 ") +
               QStringLiteral(" from tab_answ a,tab_exer b where a.a1=b.a1 and (") + condition +
               u')');
}

void FillPaper(store::TDM1& dm, int kind, const QString& table, std::mt19937& random) {
    store::Query& candidates = dm.Cn1Query_tm;
    candidates.close();
    candidates.setFilter(QString());
    if (!validKind(kind)) return;
    try {
        candidates.setSql(CandidateSql(kind));
        candidates.open();
    } catch (const store::EngineError&) {
        throw PaperError(kDrawFailed);
    }
    if (candidates.isEmpty()) throw PaperError(kNoQuestions);

    try {
        store::Table& types = dm.Cn1Table_tx;
        types.setTableName(QStringLiteral("tab_tx%1").arg(kind));
        types.open();
        const QString code = KindCode(kind);
        for (int n = 1; n <= types.recordCount(); ++n) {
            types.setRecNo(n);
            if (types.asDouble(QStringLiteral("B2")) <= 0) continue;
            const int typeId = types.asInt(QStringLiteral("A1"));
            const int quota = PaperQuota(kind, typeId);
            if (quota == 0) continue;
            AddQuestionsToPaper(dm.ADOCn1, table,
                                PickRandomQuestions(candidates, typeId, quota, code, random));
        }
    } catch (const store::EngineError&) {
        throw PaperError(kDrawFailed);
    }
    candidates.setFilter(QString());
    candidates.setFiltered(true);
}

void OpenPaper(store::TDM1& dm, const PaperState& paper) {
    store::Query& rows = dm.Cn1Query_exam;
    try {
        requireExamTable(paper.table);
        if (paper.mode == kNew) {
            dm.ADOCn1.execute(QStringLiteral("Update ") + paper.table +
                              QStringLiteral(" set E2_1= ''"));
        }
        rows.close();
        rows.setSql(QStringLiteral("select * from ") + paper.table +
                    QStringLiteral(" order by A13,A1"));
        rows.open();
    } catch (const store::EngineError&) {
        rows.close();
        throw PaperError(kOpenFailed);
    }
    if (rows.isEmpty()) {
        rows.close();
        throw PaperError(kOpenFailed);
    }
}

PaperResult MakePaper(store::TDM1& dm, int kind, const PaperOptions& options) {
    PaperResult result;
    store::Database& db = dm.ADOCn1;
    report(options, QStringLiteral("正在初始化数据..."));
    qb::CurrentKind = kind;
    try {
        // Everything up to the opened paper is one transaction, so that a failure
        // at any step leaves the bank as it was, stale table included.
        store::Transaction transaction(db);
        PaperName name;
        try {
            name = NextPaperName(db);
        } catch (const store::EngineError&) {
            throw PaperError(kTableFailed);
        }
        PaperState& paper = result.paper;
        paper.table = name.table;
        paper.title = PaperTitle(dm.today(), kind, name.number);
        paper.mode = kNew;
        result.number = name.number;

        try {
            if (db.hasTable(name.table)) dm.DropExamTable(name.table);
            store::Table& cj = dm.Cn1Table_cj;
            store::TDM1::ensureOpen(cj);
            cj.append();
            cj.setValue(QStringLiteral("A1"), name.table);
            cj.setValue(QStringLiteral("A3"), paper.title);
            cj.setValue(QStringLiteral("A3_1"), name.number);
            cj.setValue(QStringLiteral("D1"), dm.todayText());
            cj.post();

            report(options, QStringLiteral("正在建立数据表..."));
            db.execute(store::examTableSql(name.table));
            if (options.fixZeroLength) {
                options.fixZeroLength(name.table, db);
            } else {
                store::FixZeroLengthColumns(name.table, db);
            }
        } catch (const std::exception&) {
            throw PaperError(kTableFailed);
        }

        report(options, QStringLiteral("正在整理数据..."));
        const auto seed = options.seed.value_or(static_cast<std::mt19937::result_type>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count()));
        std::mt19937 random(seed);
        FillPaper(dm, kind, name.table, random);

        report(options, QStringLiteral("正在出卷..."));
        OpenPaper(dm, paper);
        transaction.commit();
        result.ok = true;
    } catch (const PaperError& error) {
        result.ok = false;
        result.error = error.message();
        dm.Cn1Query_exam.close();
    }
    return result;
}

}  // namespace exam
