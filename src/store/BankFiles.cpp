#include "BankFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>

namespace store {
namespace {

QString withSlash(QString folder) {
    if (!folder.endsWith(u'/')) folder += u'/';
    return folder;
}

const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");
// "<prefix>-yyyyMMdd-HHmmss.db": the stamp is the last 18 characters before ".db".
constexpr qsizetype kStampedTail = 18;

QString stampOf(const QString& fileName) {
    return fileName.chopped(3).right(kStampedTail - 3);
}

// The whole of an open database written into a new file through the engine's online
// backup: a consistent copy even while the program holds the bank open.
void copyInto(Database& source, const QString& target) {
    sqlite3* out = nullptr;
    const QByteArray path = QFile::encodeName(target);
    int rc = sqlite3_open_v2(path.constData(), &out, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_backup* backup = sqlite3_backup_init(out, "main", source.handle(), "main");
        if (backup == nullptr) {
            rc = sqlite3_errcode(out);
        } else {
            rc = sqlite3_backup_step(backup, -1);
            const int finish = sqlite3_backup_finish(backup);
            if (rc == SQLITE_DONE) rc = finish;
        }
    }
    const QString message = QString::fromUtf8(sqlite3_errmsg(out));
    sqlite3_close(out);
    if (rc != SQLITE_OK && rc != SQLITE_DONE) {
        QFile::remove(target);
        throw EngineError(QStringLiteral("copy to %1 failed: %2").arg(target, message), rc);
    }
}

// Copies under a working name and renames into place, so that `target` is either
// the whole copy or not there.
void copyWhole(Database& source, const QString& target) {
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    copyInto(source, part);
    if (!QFile::rename(part, target)) {
        QFile::remove(part);
        throw EngineError(QStringLiteral("cannot name the copy ") + target);
    }
}

void makeFolder(const QString& folder) {
    if (!QDir().mkpath(folder)) throw EngineError(QStringLiteral("cannot create ") + folder);
}

}  // namespace

DataLocation ResolveDataLocation(const QString& programFolder) {
    DataLocation location;
    location.programFolder = withSlash(programFolder);
    const QFileInfo data(location.programFolder + QStringLiteral("data"));
    if (data.isDir() && data.isWritable() && QFileInfo(location.programFolder).isWritable()) {
        location.portable = true;
        location.dataFolder = location.programFolder + QStringLiteral("data/");
        return location;
    }
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    location.dataFolder = withSlash(base) + QStringLiteral("examstudy/");
    return location;
}

void SeedBank(const DataLocation& location) {
    if (QFileInfo::exists(location.bankPath())) return;
    makeFolder(location.dataFolder);
    Database shipped;
    shipped.open(location.shippedBankPath(), Database::OpenMode::ReadOnly);
    copyWhole(shipped, location.bankPath());
}

void CheckBankIntegrity(Database& db) {
    QString verdict;
    try {
        verdict = db.scalar(QStringLiteral("pragma quick_check")).toString();
    } catch (const EngineError& e) {
        throw BankDamaged(e.message(), e.code());
    }
    if (verdict != QLatin1String("ok"))
        throw BankDamaged(QStringLiteral("quick check: ") + verdict, SQLITE_CORRUPT);
}

QStringList BackupsIn(const QString& folder, const QString& prefix) {
    QStringList names = QDir(folder).entryList(
        {prefix + QStringLiteral("-\?\?\?\?\?\?\?\?-\?\?\?\?\?\?.db")}, QDir::Files, QDir::Name);
    std::reverse(names.begin(), names.end());
    for (QString& name : names)
        name = withSlash(folder) + name;
    return names;
}

QString BackupBank(Database& db, const QString& folder, const QString& prefix, int keep,
                   const QDateTime& now) {
    makeFolder(folder);
    const QString target =
        withSlash(folder) + prefix + u'-' + now.toString(kStampFormat) + QStringLiteral(".db");
    copyWhole(db, target);
    const QStringList all = BackupsIn(folder, prefix);
    for (qsizetype i = keep; i < all.size(); ++i)
        QFile::remove(all[i]);
    return target;
}

std::optional<QString> BackUpOncePerDay(Database& db, const DataLocation& location,
                                        const QDateTime& now) {
    const QString today = now.date().toString(QStringLiteral("yyyyMMdd"));
    for (const QString& file : BackupsIn(location.backupFolder(), kDailyBackupPrefix)) {
        if (stampOf(file).startsWith(today)) return std::nullopt;
    }
    return BackupBank(db, location.backupFolder(), kDailyBackupPrefix, kDailyBackupsKept, now);
}

QStringList AllBackups(const DataLocation& location) {
    QStringList all = BackupsIn(location.backupFolder(), QStringLiteral("*"));
    std::sort(all.begin(), all.end(),
              [](const QString& a, const QString& b) { return stampOf(a) > stampOf(b); });
    return all;
}

QString RestoreFromBackup(const DataLocation& location, const QString& backup,
                          const QDateTime& now) {
    const QString bank = location.bankPath();
    const QString restoring = bank + QStringLiteral(".restoring");
    {
        Database source;
        source.open(backup, Database::OpenMode::ReadOnly);
        CheckBankIntegrity(source);
        QFile::remove(restoring);
        copyInto(source, restoring);
    }
    const QString damaged = location.dataFolder + QStringLiteral("QBDATA000001.damaged-") +
                            now.toString(kStampFormat) + QStringLiteral(".db");
    if (!QFile::rename(bank, damaged)) {
        QFile::remove(restoring);
        throw EngineError(QStringLiteral("cannot put the damaged bank aside"));
    }
    // The journal of the damaged file goes with it: it must never be applied to the
    // restored one.
    for (const char* side : {"-wal", "-shm"}) {
        const QString journal = bank + QLatin1String(side);
        if (QFileInfo::exists(journal) && !QFile::rename(journal, damaged + QLatin1String(side))) {
            QFile::rename(damaged, bank);
            QFile::remove(restoring);
            throw EngineError(QStringLiteral("cannot put the damaged bank's journal aside"));
        }
    }
    if (!QFile::rename(restoring, bank)) {
        QFile::rename(damaged, bank);
        throw EngineError(QStringLiteral("cannot put the backup in place"));
    }
    return damaged;
}

}  // namespace store
