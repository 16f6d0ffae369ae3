// Where the bank lives and how it is kept safe: the one rule that says which folder
// holds the bank and everything the program writes, the first-start copy of the
// shipped bank, the daily backups and the restore of a damaged bank.
#pragma once

#include "Engine.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace store {

inline const QString kBankFileName = QStringLiteral("QBDATA000001.db");

struct DataLocation {
    QString programFolder;  // resources; ends with '/'
    QString dataFolder;     // the bank, its backups; ends with '/'
    // The program folder keeps its own data (a build folder, a copy on a stick).
    bool portable = false;

    QString bankPath() const { return dataFolder + kBankFileName; }
    QString backupFolder() const { return dataFolder + QStringLiteral("backup/"); }
    // The bank that comes with the program, copied for a new user. It is not in
    // data/, so that an installed program folder is never taken for one that keeps
    // its own data, even by a user who may write there.
    QString shippedBankPath() const {
        return programFolder + QStringLiteral("shipped/") + kBankFileName;
    }
};

// A program folder that can be written and holds data/ keeps its data there;
// otherwise the data live in the user's folder: $XDG_DATA_HOME/examstudy/, or
// ~/.local/share/examstudy/ when XDG_DATA_HOME is unset or not absolute.
DataLocation ResolveDataLocation(const QString& programFolder);

// Copies the shipped bank into the data folder when the folder has none. The copy
// is made under another name and renamed when complete, so that an interrupted
// copy never leaves a half bank. Throws EngineError when it cannot be done.
void SeedBank(const DataLocation& location);

// A bank whose pages are damaged (the engine's quick check fails, or the file is
// not a database at all).
class BankDamaged : public EngineError {
  public:
    using EngineError::EngineError;
};
// Throws BankDamaged unless the engine's quick check of the open file passes.
void CheckBankIntegrity(Database& db);

// An online backup of the open bank into `folder` as "<prefix>-yyyyMMdd-HHmmss.db"
// ("-2.db", "-3.db" for more in the same second), complete or not there at all;
// afterwards only the newest `keep` backups with that prefix stay. Returns the file
// written. Throws EngineError.
QString BackupBank(Database& db, const QString& folder, const QString& prefix, int keep,
                   const QDateTime& now = QDateTime::currentDateTime());
// The backups with that prefix ("*" for any) in the folder, newest first.
QStringList BackupsIn(const QString& folder, const QString& prefix);

inline const QString kDailyBackupPrefix = QStringLiteral("daily");
inline constexpr int kDailyBackupsKept = 7;
// The first start of a day backs the bank up. Returns the file written, or nothing
// when today's backup exists already. Throws EngineError when the backup fails.
std::optional<QString> BackUpOncePerDay(Database& db, const DataLocation& location,
                                        const QDateTime& now = QDateTime::currentDateTime());

// Every backup the data folder holds, of any kind, newest first.
QStringList AllBackups(const DataLocation& location);
// Puts the damaged bank aside as "QBDATA000001.damaged-yyyyMMdd-HHmmss.db" (with its
// journal files) and a copy of `backup` in its place. Returns the name the damaged
// file now has. Nothing is deleted. Throws EngineError with the bank left as it was
// when a step fails.
QString RestoreFromBackup(const DataLocation& location, const QString& backup,
                          const QDateTime& now = QDateTime::currentDateTime());

}  // namespace store
