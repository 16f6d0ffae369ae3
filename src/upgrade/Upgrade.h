// Importing a question-bank upgrade file: checked first without writing, the bank
// copied aside, then every row of the upgrade appended in one transaction together
// with the counters of the chapters and catalogue entries it grows, and the
// upgrade's identifier, so that it lands whole or not at all, and never twice.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

namespace store {
class Database;
class TDM1;
}  // namespace store

namespace upgrade {

enum class Outcome {
    NoPath,          // nothing chosen
    CannotOpen,      // not a readable, undamaged upgrade file with its identification
    OtherProduct,    // made for another product
    AlreadyApplied,  // this upgrade is in the bank already
    Succeeded,
    Failed,  // refused or rolled back; the bank is as before
};

// The prompt box that tells the user an outcome.
struct OutcomeMessage {
    QString caption;
    QString text;
    int picture = 0;  // widgets::PromptPicture
};
OutcomeMessage MessageFor(Outcome outcome);

struct Result {
    Outcome outcome = Outcome::Failed;
    QString sjbs;
    QString cpbs;
    QString backup;  // the copy of the bank taken before the first write
    QString reason;  // the engine's own words, for the log
};

// The import reports each of its steps (1..total) before running it.
using Progress = std::function<void(int step, int total)>;

// The tables copied from an upgrade file, in the order they are copied. tab_title,
// which holds the shared stems of grouped questions, comes along when the file has it.
QStringList CopiedTables();

// "开始升级": the path as typed, without surrounding blanks; empty means NoPath.
Result StartUpgrade(store::TDM1& dm, const QString& typedPath, const Progress& progress = {});

// Checks and imports the upgrade file at path into the data module's bank.
Result ImportUpgrade(store::TDM1& dm, const QString& path, const Progress& progress = {});

// Copies the open bank into folder with SQLite's online backup, as
// "<bank name>-yyyyMMdd-HHmmss.db", and keeps only the newest `keep` copies of that
// bank there. Returns the copy's path; throws store::EngineError.
QString BackupBank(store::Database& bank, const QString& folder, const QDateTime& when,
                   int keep = 5);

// Where the copies of a bank go: "backup" beside it (data/backup/).
QString BackupFolderOf(const QString& bankPath);

}  // namespace upgrade
