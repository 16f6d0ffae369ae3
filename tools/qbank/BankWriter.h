// Writes a checked Bank into a new bank file, and reads a bank file back into a Bank.
#pragma once

#include "BankModel.h"
#include "SourceReader.h"

#include <QStringList>

namespace store {
class Database;
}

namespace qbank {

// Makes OUT from the bank: written beside it under a temporary name and moved into
// place only when complete, so a failure leaves no file. Refuses an existing OUT.
// Pictures named in texts are read relative to sourceDir.
void WriteBank(const Bank& bank, const QString& sourceDir, const QString& out);

// Makes the upgrade file OUT from an upgrade's bank: the tables of a bank holding the
// upgrade's rows and its tab_sj row, counters counting the upgrade's questions, in one
// file without a journal beside it. New chapters and catalogue entries are ordered
// (bh) right after the rows of the bank they hang on; without a known bank, last.
void WriteUpgrade(const Bank& bank, const QString& sourceDir, const QString& out,
                  const UpgradeBase& base);

// What an upgrade source may refer to in a bank, and must not collide with.
UpgradeBase ReadUpgradeBase(store::Database& db);

// Fills an open, empty bank (tables made) with the bank's rows.
void FillBank(const Bank& bank, const QString& sourceDir, store::Database& db);

// Reads a bank file. Pictures in texts are written under pictureDir/pictures/ and
// named in the markup as "pictures/<file>".
Bank ReadBank(store::Database& db, const QString& pictureDir);

// Writes the bank as source files into dir: types.txt, catalogue.txt and one file
// per subject. Returns the files written.
QStringList WriteSource(const Bank& bank, const QString& dir);

// The full mark of a kind, each factor rounded half to even first.
int FullMark(const Kind& kind);

}  // namespace qbank
