// What every screenshot tool starts with: Chinese fonts, and a data module on a
// scratch copy of a bank, so that looking at windows never touches real progress.
#pragma once

#include "DataModule.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace screens {

// Maps the program's font names to the installed Chinese faces and makes 宋体 14px
// the application font, as the program does at start-up.
void UseProgramFonts();

class ScratchBank {
  public:
    // Copies `bank` into a temporary program folder and opens it.
    explicit ScratchBank(const QString& bank);
    // Empty when the copy is open; otherwise what went wrong.
    QString error() const { return error_; }
    QString folder() const { return dir_.path(); }
    store::TDM1& dm() { return *dm_; }

  private:
    QTemporaryDir dir_;
    std::unique_ptr<store::TDM1> dm_;
    QString error_;
};

// The start of a tool run as "TOOL OUTDIR BANK": the output folder made, a scratch
// copy of the bank open and the program's fonts in use. Null, after `usage` or the
// trouble is written to stderr, when that cannot be done.
std::unique_ptr<ScratchBank> StartBankTool(const char* usage, QString& outDir);

}  // namespace screens
