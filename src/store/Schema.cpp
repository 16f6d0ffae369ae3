#include "Schema.h"

#include "BankFiles.h"
#include "Engine.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace store {
namespace {

struct TableSpec {
    const char* name;
    const char* columns;  // column definitions in the program's dialect
};

// The question-progress columns are those of the exam work tables, so that rows
// copy between them column for column.
const TableSpec kTables[] = {
    {"tab_kmmc",
     "C1 TEXT(6), C1_1 TEXT(255), C2 TEXT(255), C3 INTEGER DEFAULT 0, C4 INTEGER DEFAULT 0,"
     " D1 INTEGER DEFAULT 0, D2 INTEGER DEFAULT 0, C6 TEXT(10) DEFAULT '0', C7 TEXT(2),"
     " bh INTEGER, jx IMAGE"},
    {"tab_answ",
     "A1 TEXT(20) NOT NULL PRIMARY KEY, A2 TEXT(100), A2_1 SMALLINT,"
     " K3 TEXT(12), K4 TEXT(12), K5 TEXT(12), K6 TEXT(12), K7 TEXT(12), K8 TEXT(12),"
     " K9 TEXT(12), K10 TEXT(12), K11 TEXT(12), K12 TEXT(12), A10 TEXT(6), A13 SMALLINT,"
     " A14 MEMO, E1 DATETIME, E2 TEXT(100), E2_1 TEXT(100), E3 SMALLINT DEFAULT 0,"
     " E4 SMALLINT DEFAULT 0, F1 SMALLINT DEFAULT 0, csbs TEXT(2), xx INTEGER,"
     " ecount INTEGER DEFAULT 0"},
    {"tab_exer", "A1 TEXT(20) NOT NULL, A15 IMAGE, jx IMAGE"},
    {"tab_title", "A1 TEXT(20) NOT NULL, A15 IMAGE"},
    {"tab_fgmc",
     "id TEXT(6), n TEXT(255), bh INTEGER, q INTEGER DEFAULT 0, q1 INTEGER DEFAULT 0,"
     " q2 INTEGER DEFAULT 0, q4 INTEGER DEFAULT 0"},
    {"tab_rule",
     "id TEXT(6), ftid TEXT(12), sn TEXT(50), n IMAGE, q INTEGER DEFAULT 0,"
     " q1 INTEGER DEFAULT 0, q2 INTEGER DEFAULT 0, q4 INTEGER DEFAULT 0"},
    {"tab_cj", "A1 TEXT(20), A3 TEXT(100), A3_1 INTEGER, A6 DOUBLE, D1 DATETIME, D2 TEXT(20)"},
    {"tab_rz",
     "A1 DATETIME, A2 INTEGER DEFAULT 0, A3 INTEGER DEFAULT 0, B1 INTEGER DEFAULT 0,"
     " B2 INTEGER DEFAULT 0, D1 TEXT(20) DEFAULT '00:00:00', A4 TEXT(10) DEFAULT '0'"},
    {"tab_plan",
     "PlanMark INTEGER DEFAULT 0, PlanAmount INTEGER DEFAULT 50, PlanTime INTEGER DEFAULT 60,"
     " ExamDate DATETIME, ExamTime INTEGER DEFAULT 7200, LeastMark INTEGER DEFAULT 60"},
    {"tab_sj", "sjbs TEXT(50), cpbs TEXT(50)"},
};

const char* const kTypeColumns =
    "A1 SMALLINT, B1 TEXT(50), B2 INTEGER DEFAULT 0, B3 DOUBLE DEFAULT 0, time DOUBLE DEFAULT 1";

// Columns that the program reads or writes by name in every table of a bank.
const char* const kRequiredColumns[][2] = {
    {"tab_kmmc", "C1,C1_1,C2,C3,C4,D1,D2,C6,C7,bh,jx"},
    {"tab_answ",
     "A1,A2,A2_1,K3,K4,K5,K6,K7,K8,K9,K10,K11,K12,A10,A13,A14,E1,E2,E2_1,E3,E4,F1,csbs,xx,ecount"},
    {"tab_exer", "A1,A15,jx"},
    {"tab_title", "A1,A15"},
    {"tab_fgmc", "id,n,bh,q,q1,q2,q4"},
    {"tab_rule", "id,ftid,sn,n,q,q1,q2,q4"},
    {"tab_cj", "A1,A3,A3_1,A6,D1,D2"},
    {"tab_rz", "A1,A2,A3,B1,B2,D1,A4"},
    {"tab_plan", "PlanMark,PlanAmount,PlanTime,ExamDate,ExamTime,LeastMark"},
    {"tab_sj", "sjbs,cpbs"},
    {"tab_tx1", "A1,B1,B2,B3,time"},
    {"tab_tx2", "A1,B1,B2,B3,time"},
    {"tab_tx3", "A1,B1,B2,B3,time"},
    {"tab_tx4", "A1,B1,B2,B3,time"},
    {"tab_tx5", "A1,B1,B2,B3,time"},
};

// Lookups and counters search these keys on every answer.
const char* const kIndexes[][3] = {
    {"ix_kmmc_c1", "tab_kmmc", "C1"},   {"ix_exer_a1", "tab_exer", "A1"},
    {"ix_title_a1", "tab_title", "A1"}, {"ix_rule_ftid", "tab_rule", "ftid"},
    {"ix_rule_id", "tab_rule", "id"},   {"ix_fgmc_id", "tab_fgmc", "id"},
    {"ix_rz_a1", "tab_rz", "A1"},       {"ix_answ_a10", "tab_answ", "A10"},
    {"ix_cj_a1", "tab_cj", "A1"},
};

void createIndexes(Database& db) {
    for (const auto& ix : kIndexes) {
        db.execute(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2(%3)")
                       .arg(QLatin1String(ix[0]), QLatin1String(ix[1]), QLatin1String(ix[2])));
    }
    // tab_answ.A1 is the key of every question; a bank made elsewhere may lack it.
    const QVariant keyed = db.scalar(QStringLiteral(
        "SELECT count(*) FROM pragma_index_list('tab_answ') il, pragma_index_info(il.name) ii "
        "WHERE il.\"unique\"=1 AND lower(ii.name)='a1'"));
    if (keyed.toInt() == 0) {
        try {
            db.execute(QStringLiteral("CREATE UNIQUE INDEX ix_answ_a1 ON tab_answ(A1)"));
        } catch (const EngineError&) {
            // Duplicate ids in a foreign bank: keep them all, index without uniqueness.
            db.execute(QStringLiteral("CREATE INDEX IF NOT EXISTS ix_answ_a1 ON tab_answ(A1)"));
        }
    }
}

void ensureSettingsRow(Database& db) {
    if (db.scalar(QStringLiteral("select count(*) from tab_plan")).toInt() == 0) {
        db.execute(
            QStringLiteral("insert into tab_plan (PlanMark,PlanAmount,PlanTime,ExamTime,"
                           "LeastMark) values (0,50,60,7200,60)"));
    }
}

}  // namespace

QString examTableSql(const QString& name) {
    return QStringLiteral("CREATE TABLE ") + name +
           QStringLiteral(
               " (A1 TEXT(20) NOT NULL PRIMARY KEY,A2 TEXT(100),A2_1 SMALLINT,"
               "K3 TEXT(12),K4 TEXT(12),K5 TEXT(12),K6 TEXT(12),K7 TEXT(12),K8 TEXT(12),"
               "K9 TEXT(12),K10 TEXT(12),K11 TEXT(12),K12 TEXT(12)"
               ",A10 TEXT(6),A13 SMALLINT,A14 MEMO,E1 DATETIME,E2 TEXT(100),"
               "E2_1 TEXT(100),E3 SMALLINT,E4 SMALLINT,jx IMAGE,csbs TEXT(2),"
               "F1 SMALLINT)");
}

void FixZeroLengthColumns(const QString& tableName, Database& connection) {
    for (const char* column : {"A2", "A14", "E2", "E2_1", "csbs"}) {
        connection.setAllowZeroLength(tableName, QLatin1String(column));
    }
}

void createBankTables(Database& db) {
    Transaction tx(db);
    for (const TableSpec& t : kTables) {
        db.execute(QStringLiteral("CREATE TABLE %1 (%2)")
                       .arg(QLatin1String(t.name), QLatin1String(t.columns)));
    }
    for (int kind = 1; kind <= 5; ++kind) {
        db.execute(QStringLiteral("CREATE TABLE tab_tx%1 (%2)")
                       .arg(kind)
                       .arg(QLatin1String(kTypeColumns)));
    }
    createIndexes(db);
    ensureSettingsRow(db);
    tx.commit();
}

void createEmptyBank(const QString& path) {
    if (QFileInfo::exists(path)) throw EngineError(QStringLiteral("file already exists: ") + path);
    Database db;
    db.open(path, Database::OpenMode::Create);
    createBankTables(db);
}

void verifyBankFile(const QString& path) {
    // A connection of its own that cannot write: a file that is refused keeps every byte.
    Database check;
    check.open(path, Database::OpenMode::ReadOnly);
    QStringList tables;
    try {
        tables = check.userTables();
    } catch (const EngineError& e) {
        if (e.code() == SQLITE_CORRUPT || e.code() == SQLITE_NOTADB)
            throw BankDamaged(e.message(), e.code());
        throw;
    }
    for (const auto& [table, columns] : kRequiredColumns) {
        const QString name = QLatin1String(table);
        if (!tables.contains(name, Qt::CaseInsensitive)) {
            throw EngineError(QStringLiteral("not a question bank: table %1 is missing").arg(name));
        }
        const QStringList have = check.columnNames(name);
        for (const QString& column : QString::fromLatin1(columns).split(u',')) {
            if (!have.contains(column, Qt::CaseInsensitive)) {
                throw EngineError(QStringLiteral("not a question bank: column %1.%2 is missing")
                                      .arg(name, column));
            }
        }
    }
    CheckBankIntegrity(check);
}

void prepareBank(Database& db) {
    verifyBankFile(db.path());
    // A bank that cannot be written is read as it is.
    if (db.isReadOnly()) return;
    db.useWriteAheadLog();
    Transaction tx(db);
    createIndexes(db);
    ensureSettingsRow(db);
    tx.commit();
}

}  // namespace store
