#include "BankFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace store {
namespace {

QString withSlash(QString folder) {
    if (!folder.endsWith(u'/')) folder += u'/';
    return folder;
}

const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");
// The whole of an open database written into a new file through the engine's online
// backup: a consistent copy even while the program holds the bank open. The file is
// new and named only once complete, so it needs no journal, and one sync after the
// copy stands for one per step of it.
void copyInto(Database& source, const QString& target) {
    sqlite3* out = nullptr;
    const QByteArray path = QFile::encodeName(target);
    int rc = sqlite3_open_v2(path.constData(), &out, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_exec(out, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr,
                          nullptr);
    }
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
    const QString message =
        QString::fromUtf8(out != nullptr ? sqlite3_errmsg(out) : sqlite3_errstr(rc));
    sqlite3_close_v2(out);
    QFile written(target);
    if (rc == SQLITE_OK && (!written.open(QIODevice::ReadWrite) || ::fsync(written.handle()) != 0))
        rc = SQLITE_IOERR;
    if (rc != SQLITE_OK) {
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
    const QString bank = location.bankPath();
    if (QFileInfo::exists(bank)) return;
    makeFolder(location.dataFolder);
    // The shipped file is copied byte for byte, never opened: opening it would leave
    // journal files in the program folder, or fail where that folder is read-only.
    const QString part = bank + QStringLiteral(".part");
    QFile::remove(part);
    try {
        if (!QFile::copy(location.shippedBankPath(), part))
            throw EngineError(QStringLiteral("cannot copy the shipped bank ") +
                              location.shippedBankPath());
        QFile copy(part);
        if (!copy.open(QIODevice::ReadWrite) || ::fsync(copy.handle()) != 0)
            throw EngineError(QStringLiteral("cannot store the copy ") + part, SQLITE_IOERR);
        copy.close();
        Database check;
        check.open(part);
        CheckBankIntegrity(check);
    } catch (...) {
        QFile::remove(part);
        for (const char* side : {"-wal", "-shm", "-journal"})
            QFile::remove(part + QLatin1String(side));
        throw;
    }
    if (!QFile::rename(part, bank)) {
        QFile::remove(part);
        throw EngineError(QStringLiteral("cannot name the copy ") + bank);
    }
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
    const QString name =
        prefix == QLatin1String("*") ? QStringLiteral(".+") : QRegularExpression::escape(prefix);
    const QRegularExpression pattern(u'^' + name +
                                     QStringLiteral("-(\\d{8}-\\d{6})(?:-(\\d+))?\\.db$"));
    struct Found {
        QString stamp;
        int serial;
        QString path;
    };
    std::vector<Found> found;
    for (const QString& file : QDir(folder).entryList(QDir::Files)) {
        const QRegularExpressionMatch m = pattern.match(file);
        if (m.hasMatch())
            found.push_back({m.captured(1), m.captured(2).toInt(), withSlash(folder) + file});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.stamp != b.stamp ? a.stamp > b.stamp : a.serial > b.serial;
    });
    QStringList newestFirst;
    for (const Found& f : found)
        newestFirst << f.path;
    return newestFirst;
}

QString BackupBank(Database& db, const QString& folder, const QString& prefix, int keep,
                   const QDateTime& now) {
    makeFolder(folder);
    const QString stamped = withSlash(folder) + prefix + u'-' + now.toString(kStampFormat);
    QString target = stamped + QStringLiteral(".db");
    // Two copies in one second both stay.
    for (int serial = 2; QFileInfo::exists(target); ++serial)
        target = stamped + QStringLiteral("-%1.db").arg(serial);
    copyWhole(db, target);
    const QStringList all = BackupsIn(folder, prefix);
    for (qsizetype i = keep; i < all.size(); ++i)
        QFile::remove(all[i]);
    return target;
}

std::optional<QString> BackUpOncePerDay(Database& db, const DataLocation& location,
                                        const QDateTime& now) {
    const QString today =
        kDailyBackupPrefix + u'-' + now.date().toString(QStringLiteral("yyyyMMdd"));
    for (const QString& file : BackupsIn(location.backupFolder(), kDailyBackupPrefix)) {
        if (QFileInfo(file).fileName().startsWith(today)) return std::nullopt;
    }
    return BackupBank(db, location.backupFolder(), kDailyBackupPrefix, kDailyBackupsKept, now);
}

QStringList AllBackups(const DataLocation& location) {
    return BackupsIn(location.backupFolder(), QStringLiteral("*"));
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
    QString damaged = location.dataFolder + QStringLiteral("QBDATA000001.damaged-") +
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
