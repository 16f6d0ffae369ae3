// Importing an upgrade of 10,000 questions into the bank of 100,000, through the
// upgrade import (checks, the copy of the bank, counters, keys, rows) and against the
// floor: the same cross-file inserts run bare in one transaction. Prints
//   ratio upgrade/floor X
//   upgrade ms Y
// Each figure is the median of three runs, each on a fresh copy of the bank.
#include "BankGenerator.h"
#include "Timing.h"
#include "DataModule.h"
#include "Engine.h"
#include "Upgrade.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A bank of 10,000 questions turned into an upgrade: its sections move to new codes
// under the big bank's subjects, its questions take new ids and link the big bank's
// knowledge points, whose catalogue it leaves to the bank.
void makeUpgradeFile(const QString& path) {
    bench::BankShape shape = bench::smallBankShape();
    shape.questions = 10000;
    shape.seed = 7;
    bench::generateBank(path, shape);
    store::Database db;
    db.open(path);
    store::Transaction tx(db);
    db.execute(QStringLiteral("delete from tab_kmmc where length(C1)<=2"));
    db.execute(QStringLiteral("update tab_kmmc set C1=substr(C1,1,2)||'X'||substr(C1,4)"));
    db.execute(
        QStringLiteral("update tab_answ set A1='U'||A1, A10=substr(A10,1,2)||'X'||substr(A10,4)"));
    db.execute(QStringLiteral("update tab_exer set A1='U'||A1"));
    db.execute(QStringLiteral("delete from tab_fgmc"));
    db.execute(QStringLiteral("delete from tab_rule"));
    db.execute(QStringLiteral("insert into tab_sj (sjbs,cpbs) values ('BENCH-UP','BENCH')"));
    tx.commit();
    db.execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    db.execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
}

void freshCopy(const QString& bank, const QString& folder) {
    QDir(folder).removeRecursively();
    QDir().mkpath(folder + QStringLiteral("/data"));
    QFile::copy(bank, folder + QStringLiteral("/data/QBDATA000001.db"));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString bank = dir.filePath(QStringLiteral("big.db"));
    const QString upgradeFile = dir.filePath(QStringLiteral("up.db"));
    std::fprintf(stderr, "generating the bank of 100,000 questions and the upgrade...\n");
    bench::generateBank(bank, bench::bigBankShape());
    {
        store::Database db;
        db.open(bank);
        db.execute(QStringLiteral("insert into tab_sj (sjbs,cpbs) values ('BENCH-BASE','BENCH')"));
        db.execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    makeUpgradeFile(upgradeFile);

    std::vector<double> through;
    std::vector<double> floor;
    std::vector<double> copies;
    for (int run = 0; run < 3; ++run) {
        const QString a = dir.filePath(QStringLiteral("a"));
        freshCopy(bank, a);
        {
            store::TDM1 dm;
            dm.DataModuleCreate(a);
            QElapsedTimer t;
            t.start();
            QStringList marks;
            const upgrade::Result r = upgrade::ImportUpgrade(dm, upgradeFile, [&](int step, int) {
                marks << QStringLiteral("%1@%2").arg(step).arg(double(t.nsecsElapsed()) / 1e6, 0,
                                                               'f', 0);
            });
            if (qEnvironmentVariableIsSet("UPGRADE_BENCH_STEPS"))
                std::fprintf(stderr, "steps (step@ms): %s\n", qPrintable(marks.join(u' ')));
            through.push_back(double(t.nsecsElapsed()) / 1e6);
            if (r.outcome != upgrade::Outcome::Succeeded) {
                std::fprintf(stderr, "upgrade failed: %s\n", qPrintable(r.reason));
                return 1;
            }
        }
        {
            store::Database db;
            db.open(bank);
            QElapsedTimer t;
            t.start();
            upgrade::BackupBank(db, dir.filePath(QStringLiteral("copies")),
                                QDateTime::currentDateTime());
            copies.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        const QString b = dir.filePath(QStringLiteral("b"));
        freshCopy(bank, b);
        {
            store::Database db;
            db.open(b + QStringLiteral("/data/QBDATA000001.db"));
            db.useWriteAheadLog();
            QElapsedTimer t;
            t.start();
            store::Transaction tx(db);
            for (const char* table : {"tab_kmmc", "tab_exer", "tab_answ", "tab_rule", "tab_fgmc"}) {
                db.execute(QStringLiteral("insert into %1 select * from %1 in ")
                               .arg(QLatin1String(table)) +
                           store::quoted(upgradeFile));
            }
            db.execute(QStringLiteral("insert into tab_sj(sjbs,cpbs) values('BENCH-UP','BENCH')"));
            tx.commit();
            floor.push_back(double(t.nsecsElapsed()) / 1e6);
        }
    }
    const double up = bench::MedianMs(through);
    const double bare = bench::MedianMs(floor);
    std::printf("ratio upgrade/floor %.2f\n", up / bare);
    std::printf("upgrade ms %.0f\n", up);
    std::printf("(floor ms %.0f, of the upgrade the copy of the bank ms %.0f)\n", bare,
                bench::MedianMs(copies));
    return 0;
}
