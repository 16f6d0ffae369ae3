#include "Upgrade.h"

#include "BankFiles.h"

#include "DataModule.h"
#include "Engine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>

#include <sqlite3.h>

#include <algorithm>

namespace upgrade {
namespace {

using store::Database;
using store::EngineError;

struct CopiedTable {
    const char* name;
    const char* key;  // what one row is found by; a key the bank holds already is refused
    bool required;
};

// The order of the description's statements; tab_title last, for older files lack it.
const CopiedTable kCopied[] = {
    {"tab_kmmc", "C1", true},   {"tab_exer", "A1", true}, {"tab_answ", "A1", true},
    {"tab_rule", "ftid", true}, {"tab_fgmc", "id", true}, {"tab_title", "A1", false},
};

// The file cannot be taken for an upgrade at all.
class CannotOpen : public std::runtime_error {
  public:
    explicit CannotOpen(const QString& why) : std::runtime_error(why.toStdString()) {}
};

// The upgrade file is readable but does not fit this bank; nothing was written.
class Unfit : public std::runtime_error {
  public:
    explicit Unfit(const QString& why) : std::runtime_error(why.toStdString()) {}
};

QString tableName(const CopiedTable& t) {
    return QLatin1String(t.name);
}

// Reads the identification of the upgrade on the second connection, which only reads:
// a file that is refused keeps every byte.
void openUpgradeFile(store::TDM1& dm, const QString& path, Result& result) {
    dm.Cn2Query1.close();
    dm.ADOCn2.close();
    if (!QFileInfo(path).isFile()) throw CannotOpen(QStringLiteral("no such file: ") + path);
    try {
        dm.ADOCn2.open(path, Database::OpenMode::ReadOnly);
        // A file that is no database fails here too: its first page cannot be read.
        const QString check = dm.ADOCn2.scalar(QStringLiteral("PRAGMA quick_check")).toString();
        if (check != QLatin1String("ok")) throw CannotOpen(QStringLiteral("damaged: ") + check);
        dm.Cn2Query1.setSql(QStringLiteral("select * from tab_sj"));
        dm.Cn2Query1.open();
        dm.Cn2Query1.first();
        if (dm.Cn2Query1.eof()) throw CannotOpen(QStringLiteral("tab_sj has no row"));
        result.sjbs = dm.Cn2Query1.text(QStringLiteral("sjbs"));
        result.cpbs = dm.Cn2Query1.text(QStringLiteral("cpbs"));
        dm.Cn2Query1.close();
    } catch (const EngineError& e) {
        dm.Cn2Query1.close();
        dm.ADOCn2.close();
        throw CannotOpen(e.message());
    } catch (const CannotOpen&) {
        dm.Cn2Query1.close();
        dm.ADOCn2.close();
        throw;
    }
}

bool sameColumns(const QStringList& a, const QStringList& b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].compare(b[i], Qt::CaseInsensitive) != 0) return false;
    }
    return true;
}

// Rows are copied column for column ("select *"): a table whose columns differ in
// name or order from the bank's would land scrambled.
void checkColumns(store::TDM1& dm) {
    for (const CopiedTable& t : kCopied) {
        const QString name = tableName(t);
        if (!dm.ADOCn2.hasTable(name)) {
            if (!t.required) continue;
            throw Unfit(QStringLiteral("the upgrade has no table ") + name);
        }
        const QStringList theirs = dm.ADOCn2.columnNames(name);
        const QStringList ours = dm.ADOCn1.columnNames(name);
        if (!sameColumns(theirs, ours)) {
            throw Unfit(QStringLiteral("%1 has the columns (%2), the bank (%3)")
                            .arg(name, theirs.join(u','), ours.join(u',')));
        }
    }
}

// What the upgrade's questions add to chapters and knowledge points that the bank
// has already: every code a question's chapter starts with, every knowledge point it
// names and the catalogue entries and groups of those points (each question counted
// once per row, as when a question of the user's own is added).
struct Growth {
    QMap<QString, qint64> chapters;  // tab_kmmc.C1 -> questions
    QMap<QString, qint64> points;    // tab_rule.ftid -> questions
    QMap<QString, qint64> entries;   // tab_fgmc.id -> questions
};

Growth growthOf(Database& upgradeFile) {
    Growth g;
    QMap<QString, qint64> perChapter;
    QString columns = QStringLiteral("A10");
    for (int k = 3; k <= 12; ++k)
        columns += QStringLiteral(",K%1").arg(k);
    upgradeFile.query(QStringLiteral("select ") + columns + QStringLiteral(" from tab_answ"), {},
                      [&](store::Statement& s) {
                          ++perChapter[s.value(0).toString()];
                          QSet<QString> points;
                          QSet<QString> entries;
                          for (int k = 1; k <= 10; ++k) {
                              const QString id = s.value(k).toString();
                              if (id.trimmed().isEmpty()) break;
                              points.insert(id);
                              entries.insert(id.left(6));
                              entries.insert(id.left(2));
                          }
                          for (const QString& id : points)
                              ++g.points[id];
                          for (const QString& id : entries)
                              ++g.entries[id];
                      });
    for (auto it = perChapter.cbegin(); it != perChapter.cend(); ++it) {
        for (qsizetype length = it.key().size(); length >= 1; --length)
            g.chapters[it.key().left(length)] += it.value();
    }
    return g;
}

// Runs before the rows are copied, so that only the rows the bank had are raised;
// the upgrade's own rows bring their counts with them.
void raiseExistingCounters(Database& bank, const Growth& g) {
    const auto raise = [&bank](const QString& sql, const QMap<QString, qint64>& by) {
        for (auto it = by.cbegin(); it != by.cend(); ++it)
            bank.execute(sql, {{QString(), it.value()}, {QString(), it.key()}});
    };
    raise(QStringLiteral("update tab_kmmc set C3=C3+? where C1=?"), g.chapters);
    raise(QStringLiteral("update tab_rule set q=q+? where ftid=?"), g.points);
    raise(QStringLiteral("update tab_fgmc set q=q+? where id=?"), g.entries);
}

// A chapter, knowledge point, catalogue entry or question that the bank holds already
// (or that the upgrade holds twice) would be doubled, and the counters with it.
void refuseKnownKeys(Database& bank, const CopiedTable& t, const QString& fileClause) {
    const QString name = tableName(t);
    const QString key = QLatin1String(t.key);
    const qint64 known = bank.scalar(QStringLiteral("select count(*) from %1 %2 u where exists "
                                                    "(select 1 from %1 m where m.%3=u.%3)")
                                         .arg(name, fileClause, key))
                             .toLongLong();
    const qint64 twice =
        bank.scalar(QStringLiteral("select count(*) from (select %3 from %1 %2 where %3 is not "
                                   "null group by %3 having count(*)>1)")
                        .arg(name, fileClause, key))
            .toLongLong();
    if (known > 0 || twice > 0) {
        throw EngineError(QStringLiteral("%1: %2 key(s) %3 already in the bank, %4 twice in "
                                         "the upgrade")
                              .arg(name)
                              .arg(known)
                              .arg(key)
                              .arg(twice));
    }
}

void importRows(store::TDM1& dm, const QString& path, const Result& r, const Progress& progress) {
    Database& bank = dm.ADOCn1;
    // The engine's cross-file form: the path is attached as a bound value, never run as SQL.
    const QString fileClause = QStringLiteral("in ") + store::quoted(path);
    QVector<const CopiedTable*> tables;
    for (const CopiedTable& t : kCopied) {
        if (t.required || dm.ADOCn2.hasTable(tableName(t))) tables << &t;
    }
    const Growth growth = growthOf(dm.ADOCn2);
    const int total = static_cast<int>(tables.size()) + 2;
    int step = 0;
    const auto next = [&] {
        if (progress) progress(++step, total);
    };
    store::Transaction tx(bank);
    next();
    raiseExistingCounters(bank, growth);
    for (const CopiedTable* t : tables) {
        next();
        refuseKnownKeys(bank, *t, fileClause);
        bank.execute(QStringLiteral("insert into %1 select * from %1 ").arg(tableName(*t)) +
                     fileClause);
    }
    next();
    bank.execute(QStringLiteral("insert into tab_sj(sjbs,cpbs) values(:sjbs,:cpbs)"),
                 {{QStringLiteral(":sjbs"), r.sjbs}, {QStringLiteral(":cpbs"), r.cpbs}});
    tx.commit();
}

}  // namespace

OutcomeMessage MessageFor(Outcome outcome) {
    const QString notice = QStringLiteral("提示");
    switch (outcome) {
        case Outcome::NoPath:
            return {notice, QStringLiteral("请点击文件夹按钮选择升级文件！"), 1};
        case Outcome::CannotOpen:
            return {QStringLiteral("错误"), QStringLiteral("无法打开升级文件！"), 2};
        case Outcome::OtherProduct:
            return {notice, QStringLiteral("升级文件不属于本软件！"), 1};
        case Outcome::AlreadyApplied:
            return {notice, QStringLiteral("您已升级过了！"), 1};
        case Outcome::Succeeded:
            return {notice, QStringLiteral("升级成功！"), 0};
        case Outcome::Failed:
            break;
    }
    return {notice, QStringLiteral("升级失败！"), 2};
}

QStringList CopiedTables() {
    QStringList names;
    for (const CopiedTable& t : kCopied)
        names << tableName(t);
    return names;
}

QString BackupFolderOf(const QString& bankPath) {
    return QFileInfo(bankPath).absolutePath() + QStringLiteral("/backup");
}

QString BackupBank(Database& bank, const QString& folder, const QDateTime& when, int keep) {
    return store::BackupBank(bank, folder, QFileInfo(bank.path()).completeBaseName(), keep, when);
}

Result StartUpgrade(store::TDM1& dm, const QString& typedPath, const Progress& progress) {
    const QString path = typedPath.trimmed();
    if (path.isEmpty()) {
        Result r;
        r.outcome = Outcome::NoPath;
        return r;
    }
    return ImportUpgrade(dm, path, progress);
}

Result ImportUpgrade(store::TDM1& dm, const QString& path, const Progress& progress) {
    Result r;
    try {
        openUpgradeFile(dm, path, r);
    } catch (const CannotOpen& e) {
        r.outcome = Outcome::CannotOpen;
        r.reason = QString::fromUtf8(e.what());
        return r;
    }
    try {
        Database& bank = dm.ADOCn1;
        if (bank.scalar(QStringLiteral("select count(*) from tab_sj where cpbs=:cpbs"),
                        {{QStringLiteral(":cpbs"), r.cpbs}})
                .toLongLong() == 0) {
            r.outcome = Outcome::OtherProduct;
            return r;
        }
        if (bank.scalar(QStringLiteral("select count(*) from tab_sj where sjbs=:sjbs"),
                        {{QStringLiteral(":sjbs"), r.sjbs}})
                .toLongLong() > 0) {
            r.outcome = Outcome::AlreadyApplied;
            return r;
        }
        checkColumns(dm);
        r.backup = BackupBank(bank, BackupFolderOf(bank.path()), QDateTime::currentDateTime());
        importRows(dm, path, r, progress);
    } catch (const std::exception& e) {
        r.outcome = Outcome::Failed;
        r.reason = QString::fromUtf8(e.what());
        qWarning("upgrade %s from %s failed: %s", qUtf8Printable(r.sjbs), qUtf8Printable(path),
                 e.what());
        return r;
    }
    r.outcome = Outcome::Succeeded;
    dm.ADOCn1.textsChanged({{}, {}, {}, true});
    qInfo("upgrade %s applied from %s; the bank as it was before is kept in %s",
          qUtf8Printable(r.sjbs), qUtf8Printable(path), qUtf8Printable(r.backup));
    // The windows show what the file holds now.
    for (store::Dataset* shared : {static_cast<store::Dataset*>(&dm.Cn1Table_kmmc),
                                   static_cast<store::Dataset*>(&dm.Cn1Table_fgmc)}) {
        if (shared->isActive()) shared->requery();
    }
    return r;
}

}  // namespace upgrade
