// Importing upgrade files: refused files change nothing, an accepted one lands whole
// with the counters of the chapters and catalogue entries it grows, and never twice.
#include "UpgradeFixture.h"

#include <QDir>
#include <QFileInfo>

#include <csignal>

using upgrade::ImportUpgrade;
using upgrade::MessageFor;
using upgrade::Outcome;
using upgrade::StartUpgrade;

namespace {

QString backupFolder(const QString& dir) {
    return dir + QStringLiteral("/data/backup");
}

QStringList backups(const QString& dir) {
    return QDir(backupFolder(dir)).entryList(QDir::Files, QDir::Name);
}

}  // namespace

// Every file that is no fit upgrade is refused with its message, before anything is
// written: the bank keeps every row and no copy of it is taken.
TEST_F(UpgradeTest, RefusedFilesChangeNothing) {
    const auto writeBytes = [](const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    const auto truncated = [&](const QString& path) {
        makeUpgrade(path + QStringLiteral(".whole"));
        QFile whole(path + QStringLiteral(".whole"));
        ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
        writeBytes(path, whole.read(whole.size() / 2));
    };
    const struct {
        const char* name;
        std::function<void(const QString&)> make;
        const char* typed;  // "*" stands for the file's path
        const char* message;
    } cases[] = {
        {"empty path", {}, "   ", "请点击文件夹按钮选择升级文件！"},
        {"missing file", {}, "*", "无法打开升级文件！"},
        {"not a database", [&](const QString& p) { writeBytes(p, QByteArray(4096, 'x')); }, "*",
         "无法打开升级文件！"},
        {"truncated", truncated, "*", "无法打开升级文件！"},
        {"no tab_sj",
         [&](const QString& p) {
             makeUpgrade(p, "U", "P1", [](store::Database& db) { db.dropTable("tab_sj"); });
         },
         "*", "无法打开升级文件！"},
        {"tab_sj without a row",
         [&](const QString& p) {
             makeUpgrade(p, "U", "P1",
                         [](store::Database& db) { db.execute("delete from tab_sj"); });
         },
         "*", "无法打开升级文件！"},
        {"other product", [&](const QString& p) { makeUpgrade(p, "U", "P2"); }, "*",
         "升级文件不属于本软件！"},
        {"already applied", [&](const QString& p) { makeUpgrade(p, "P1-BASE", "P1"); }, "*",
         "您已升级过了！"},
        {"columns in another order",
         [&](const QString& p) {
             makeUpgrade(p, "U", "P1", [](store::Database& db) {
                 db.dropTable("tab_rule");
                 db.execute(
                     "create table tab_rule (ftid TEXT(12), id TEXT(6), sn TEXT(50), n "
                     "IMAGE, q INTEGER, q1 INTEGER, q2 INTEGER, q4 INTEGER)");
             });
         },
         "  * ", "升级失败！"},
        {"a column missing",
         [&](const QString& p) {
             makeUpgrade(p, "U", "P1", [](store::Database& db) {
                 db.execute("alter table tab_exer drop column jx");
             });
         },
         "*", "升级失败！"},
        {"an extra column",
         [&](const QString& p) {
             makeUpgrade(p, "U", "P1", [](store::Database& db) {
                 db.execute("alter table tab_fgmc add column extra TEXT");
             });
         },
         "*", "升级失败！"},
        {"a table missing",
         [&](const QString& p) {
             makeUpgrade(p, "U", "P1", [](store::Database& db) { db.dropTable("tab_answ"); });
         },
         "*", "升级失败！"},
    };
    const QStringList before = snapshot();
    int n = 0;
    for (const auto& c : cases) {
        const QString path = upgradePath(QStringLiteral("case%1.db").arg(++n));
        if (c.make) c.make(path);
        const QByteArray fileBefore = [&] {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        const upgrade::Result r = StartUpgrade(*dm, QString::fromUtf8(c.typed).replace(u'*', path));
        EXPECT_EQ(MessageFor(r.outcome).text, QString::fromUtf8(c.message)) << c.name;
        EXPECT_EQ(snapshot(), before) << c.name;
        EXPECT_TRUE(backups(dir.path()).isEmpty()) << c.name;
        QFile after(path);
        EXPECT_EQ(after.open(QIODevice::ReadOnly) ? after.readAll() : QByteArray(), fileBefore)
            << c.name << ": the upgrade file is only read";
    }
}

// The same file twice: the second time is refused and adds no row.
TEST_F(UpgradeTest, SameFileTwiceIsRefusedTheSecondTime) {
    const QString path = makeUpgrade(upgradePath());
    ASSERT_EQ(ImportUpgrade(*dm, path).outcome, Outcome::Succeeded);
    const QStringList once = snapshot();
    EXPECT_EQ(count("select count(*) from tab_answ"), 4);
    EXPECT_EQ(ImportUpgrade(*dm, path).outcome, Outcome::AlreadyApplied);
    EXPECT_EQ(snapshot(), once);
}

// The path reaches the engine as a bound value: quotes and Chinese characters in it
// are just characters.
TEST_F(UpgradeTest, PathsWithQuotesAndChineseCharacters) {
    const char* const folders[] = {"O'Brien's", "题库升级 文件", "升级' or '1'='1"};
    int n = 0;
    for (const char* folder : folders) {
        const QString where = dir.path() + u'/' + QString::fromUtf8(folder);
        ASSERT_TRUE(QDir().mkpath(where));
        const QString path = makeUpgrade(
            where + QStringLiteral("/升级'包.db"), QStringLiteral("P1-Q%1").arg(++n),
            QStringLiteral("P1"), [n](store::Database& db) {
                // Each file brings questions of its own.
                for (const char* t : {"tab_answ", "tab_exer"}) {
                    db.execute(
                        QStringLiteral("update %1 set A1=A1||'%2'").arg(QLatin1String(t)).arg(n));
                }
                db.execute("delete from tab_kmmc");
                db.execute("delete from tab_fgmc");
                db.execute("delete from tab_rule");
            });
        const upgrade::Result r = ImportUpgrade(*dm, path);
        EXPECT_EQ(r.outcome, Outcome::Succeeded) << folder << ": " << r.reason.toStdString();
        EXPECT_EQ(count("select count(*) from tab_answ"), 2 + 2 * n) << folder;
    }
}

// A key the bank holds already, met in the fourth copied table, takes back what the
// three before it copied and the counters raised before them.
TEST_F(UpgradeTest, DuplicateKeyInTheFourthTableRollsEverythingBack) {
    const QString path = makeUpgrade(upgradePath(), "P1-UP1", "P1", [](store::Database& db) {
        insert(db, "tab_rule", "id,ftid,sn,q", {"010101", "01010101", "重复", 0});
    });
    const QStringList before = snapshot();
    QVector<int> steps;
    const upgrade::Result r = ImportUpgrade(*dm, path, [&](int step, int) { steps << step; });
    EXPECT_EQ(MessageFor(r.outcome).text, QStringLiteral("升级失败！"));
    // counters, tab_kmmc, tab_exer, tab_answ ran; tab_rule failed.
    EXPECT_EQ(steps, QVector<int>({1, 2, 3, 4, 5}));
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(count("select count(*) from pragma_database_list"), 1) << "the file is let go";
}

// Every count column agrees with the rows after an upgrade: the chapters, catalogue
// entries and knowledge points the bank had count the upgrade's questions too.
TEST_F(UpgradeTest, CountersOfExistingAncestorsAgreeWithTheRows) {
    const QString path = makeUpgrade(upgradePath());
    ASSERT_EQ(ImportUpgrade(*dm, path).outcome, Outcome::Succeeded);
    const struct {
        const char* sql;
        qint64 expected;
    } checks[] = {
        {"select C3 from tab_kmmc where C1='01'", 4},
        {"select C3 from tab_kmmc where C1='0101'", 2},
        {"select C3 from tab_kmmc where C1='0102'", 2},
        {"select C3 from tab_kmmc where C1='02'", 0},
        {"select q from tab_fgmc where id='01'", 4},
        {"select q from tab_fgmc where id='010101'", 4},
        {"select q from tab_fgmc where id='010201'", 1},
        {"select q from tab_rule where ftid='01010101'", 4},
        {"select q from tab_rule where ftid='01020101'", 1},
        // No chapter and no catalogue row disagrees with the questions below it.
        {"select count(*) from tab_kmmc k where C3 <> (select count(*) from tab_answ a "
         "where substr(a.A10,1,length(k.C1))=k.C1)",
         0},
    };
    for (const auto& c : checks)
        EXPECT_EQ(count(QString::fromUtf8(c.sql)), c.expected) << c.sql;
}

// Before the first write the bank is copied aside with the online backup; the copy
// holds the bank as it was.
TEST_F(UpgradeTest, BankIsCopiedBeforeTheFirstWrite) {
    const QStringList before = snapshot();
    const upgrade::Result r = ImportUpgrade(*dm, makeUpgrade(upgradePath()));
    ASSERT_EQ(r.outcome, Outcome::Succeeded);
    EXPECT_EQ(QFileInfo(r.backup).absolutePath(), backupFolder(dir.path()));
    EXPECT_TRUE(QFileInfo(r.backup).fileName().startsWith(QStringLiteral("QBDATA000001-")));
    dm->ADOCn1.close();
    ASSERT_TRUE(QFile::remove(bankPath));
    QFile::remove(bankPath + QStringLiteral("-wal"));
    QFile::remove(bankPath + QStringLiteral("-shm"));
    ASSERT_TRUE(QFile::copy(r.backup, bankPath));
    dm->ADOCn1.open(bankPath);
    EXPECT_EQ(snapshot(), before);
}

// The newest five copies stay; two in the same second both stay.
TEST_F(UpgradeTest, BackupKeepsTheLastFive) {
    const QString folder = backupFolder(dir.path());
    const QDateTime start(QDate(2026, 12, 9), QTime(10, 0, 0));
    QStringList made;
    for (int i : {0, 1, 2, 3, 3, 4, 5})
        made << QFileInfo(upgrade::BackupBank(bank(), folder, start.addSecs(i))).fileName();
    EXPECT_EQ(made[4], QStringLiteral("QBDATA000001-20261209-100003-2.db"));
    QStringList newest = made.mid(2);
    newest.sort();
    EXPECT_EQ(backups(dir.path()), newest);
}

// Killed in the middle of an import, the program leaves the bank as it was.
TEST_F(UpgradeTest, KillInTheMiddleLeavesTheBankAsBefore) {
    // A fork that shares this test's bank (the threadsafe style would make a bank of its own).
    GTEST_FLAG_SET(death_test_style, "fast");
    const QString path = makeUpgrade(upgradePath());
    const QStringList before = snapshot();
    for (int killAt : {3, 5, 8}) {
        EXPECT_EXIT(
            {
                store::TDM1 child;
                child.DataModuleCreate(dir.path());
                ImportUpgrade(child, path, [killAt](int step, int) {
                    if (step == killAt) std::raise(SIGKILL);
                });
                std::_Exit(0);
            },
            ::testing::KilledBySignal(SIGKILL), "")
            << killAt;
        dm->ADOCn1.close();
        dm->ADOCn1.open(bankPath);
        EXPECT_EQ(snapshot(), before) << "killed at step " << killAt;
        EXPECT_EQ(bank().scalar("PRAGMA integrity_check").toString(), QStringLiteral("ok"));
    }
}
