// What opens as a bank and what does not.
#include "BankFixture.h"
#include "Globals.h"

#include <QFile>

#include <functional>

namespace {

class SchemaTest : public BankTest {};

bool opens(const QString& folder) {
    store::TDM1 dm;
    dm.DataModuleCreate(folder);
    return dm.DatabaseReady;
}

TEST_F(SchemaTest, MissingForeignOrIncompleteFilesAreNotBanks) {
    EXPECT_TRUE(opens(dir.path()));
    QFile::remove(bankPath);
    EXPECT_FALSE(opens(dir.path()));  // missing: and no empty file is left behind
    EXPECT_FALSE(QFile::exists(bankPath));

    QFile text(bankPath);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("Standard Jet DB\0\0 this is not a bank", 36);
    text.close();
    EXPECT_FALSE(opens(dir.path()));
    QFile::remove(bankPath);

    {
        store::Database other;
        other.open(bankPath, store::Database::OpenMode::Create);
        other.execute(QStringLiteral("create table notes (a text)"));
    }
    EXPECT_FALSE(opens(dir.path()));
    QFile::remove(bankPath);

    store::createEmptyBank(bankPath);
    {
        store::Database partial;
        partial.open(bankPath);
        partial.execute(QStringLiteral("alter table tab_answ drop column ecount"));
    }
    EXPECT_FALSE(opens(dir.path()));
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A SQLite file in rollback-journal mode, as other tools leave it, made by `build`.
void writeRollbackFile(const QString& path, const std::function<void(store::Database&)>& build) {
    store::Database db;
    db.open(path, store::Database::OpenMode::Create);
    db.execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
    build(db);
}

// The file is checked before anything is written to it: a refused file keeps every
// byte (no empty database made of a zero-byte file, no journal mode switched).
TEST_F(SchemaTest, ARefusedFileKeepsEveryByte) {
    const struct {
        const char* name;
        std::function<void(const QString&)> make;
    } cases[] = {
        {"zero bytes",
         [](const QString& path) {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         }},
        {"not SQLite",
         [](const QString& path) {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write(QByteArray("Standard Jet DB").repeated(300));
         }},
        {"no bank tables",
         [](const QString& path) {
             writeRollbackFile(path, [](store::Database& db) {
                 db.execute(QStringLiteral("create table notes (a text)"));
             });
         }},
        {"one column missing",
         [](const QString& path) {
             writeRollbackFile(path, [](store::Database& db) {
                 store::createBankTables(db);
                 db.execute(QStringLiteral("alter table tab_tx3 drop column time"));
             });
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(bankPath);
        c.make(bankPath);
        const QByteArray before = bytesOf(bankPath);
        EXPECT_FALSE(opens(dir.path()));
        EXPECT_EQ(bytesOf(bankPath), before);
        EXPECT_FALSE(QFile::exists(bankPath + QStringLiteral("-wal")));
    }
}

// A bank made by another tool: its own column types, no indexes, no settings row.
TEST_F(SchemaTest, ABankMadeElsewhereOpensAndKeepsItsRows) {
    QFile::remove(bankPath);
    {
        store::Database other;
        other.open(bankPath, store::Database::OpenMode::Create);
        const char* tables[] = {
            "tab_kmmc(C1,C1_1,C2,C3,C4,D1,D2,C6,C7,bh,jx)",
            "tab_answ(A1,A2,A2_1,K3,K4,K5,K6,K7,K8,K9,K10,K11,K12,A10,A13,A14,E1,E2,E2_1,E3,E4,"
            "F1,csbs,xx,ecount)",
            "tab_exer(A1,A15,jx)",
            "tab_title(A1,A15)",
            "tab_fgmc(id,n,bh,q,q1,q2,q4)",
            "tab_rule(id,ftid,sn,n,q,q1,q2,q4)",
            "tab_cj(A1,A3,A3_1,A6,D1,D2)",
            "tab_rz(A1,A2,A3,B1,B2,D1,A4)",
            "tab_plan(PlanMark,PlanAmount,PlanTime,ExamDate,ExamTime,LeastMark)",
            "tab_sj(sjbs,cpbs)",
            "tab_tx1(A1,B1,B2,B3,time)",
            "tab_tx2(A1,B1,B2,B3,time)",
            "tab_tx3(A1,B1,B2,B3,time)",
            "tab_tx4(A1,B1,B2,B3,time)",
            "tab_tx5(A1,B1,B2,B3,time)",
        };
        for (const char* t : tables)
            other.execute(QStringLiteral("create table ") + QLatin1String(t));
        other.execute(QStringLiteral("insert into tab_answ (A1,A2) values ('q1','A'),('q1','B')"));
        other.execute(
            QStringLiteral("insert into tab_rz (A1,A2,A3,B1,B2) values "
                           "('2026-12-09 00:00:00',1,0,1,0)"));
    }
    auto dm = openModule();
    ASSERT_TRUE(dm->DatabaseReady);
    store::Database& db = dm->ADOCn1;
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from tab_answ")).toInt(), 2);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from tab_plan")).toInt(), 1);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from sqlite_master where type='index' and "
                                       "name='ix_exer_a1'"))
                  .toInt(),
              1);
    // Today's row written with a time part is still today's row.
    dm->RecordDailyAnswer(qb::kNo, qb::kYes, qb::kNo);
    EXPECT_EQ(db.scalar(QStringLiteral("select A2||','||B2 from tab_rz")).toString(),
              QStringLiteral("2,1"));
    EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
}

TEST_F(SchemaTest, AnEmptyBankHasItsSettingsRowAndRefusesToBeOverwritten) {
    store::Database db;
    db.open(bankPath);
    EXPECT_EQ(db.scalar(QStringLiteral("select ExamTime from tab_plan")).toInt(), 7200);
    EXPECT_THROW(store::createEmptyBank(bankPath), store::EngineError);
    EXPECT_EQ(db.scalar(QStringLiteral("select count(*) from tab_answ")).toInt(), 0);
}

}  // namespace
