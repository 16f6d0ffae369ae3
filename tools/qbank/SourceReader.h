// Reads a bank's text source folder into a Bank, checking everything a bank file
// relies on. Every problem is reported as "file:line: what is wrong".
#pragma once

#include "BankModel.h"

#include <QStringList>

namespace qbank {

struct ReadResult {
    Bank bank;
    QStringList errors;
    bool ok() const { return errors.isEmpty(); }
};

ReadResult ReadSource(const QString& sourceDir);

// Reads source files given as (file name, text) pairs, in that order; pictures are
// found relative to baseDir.
ReadResult ReadSourceTexts(const QVector<QPair<QString, QString>>& files,
                           const QString& baseDir = QString());

}  // namespace qbank
