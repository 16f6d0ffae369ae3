// Reads a bank's text source folder into a Bank, checking everything a bank file
// relies on. Every problem is reported as "file:line: what is wrong".
#pragma once

#include "BankModel.h"

#include <QMap>
#include <QSet>
#include <QStringList>

namespace qbank {

struct ReadResult {
    Bank bank;
    QStringList errors;
    bool ok() const { return errors.isEmpty(); }
};

ReadResult ReadSource(const QString& sourceDir);

// The bank an upgrade is made for, as far as the upgrade's source may refer to it or
// must not collide with it. Without a bank (`known` false) references to chapters and
// knowledge points outside the source are taken on trust.
struct UpgradeBase {
    bool known = false;
    QMap<QString, double> chapterOrder;    // tab_kmmc C1 -> bh
    QMap<QString, double> catalogueOrder;  // tab_fgmc id -> bh
    QSet<QString> chapters;                // tab_kmmc.C1
    QSet<QString> catalogue;               // tab_fgmc.id
    QSet<QString> points;                  // tab_rule.ftid
    QSet<QString> ids;                     // tab_answ.A1 and tab_title.A1
    QSet<int> types;                       // tab_tx1..5.A1
    QSet<QString> products;                // tab_sj.cpbs
    QSet<QString> applied;                 // tab_sj.sjbs
};

// Reads the source of an upgrade: new chapters, catalogue entries, knowledge points
// and questions, and its [product] (cpbs and sjbs, both required). Chapters, catalogue
// entries and points may hang on those of the bank; none may be one of the bank's.
ReadResult ReadUpgradeSource(const QString& sourceDir, const UpgradeBase& base);
ReadResult ReadUpgradeSourceTexts(const QVector<QPair<QString, QString>>& files,
                                  const UpgradeBase& base, const QString& baseDir = QString());

// Reads source files given as (file name, text) pairs, in that order; pictures are
// found relative to baseDir.
ReadResult ReadSourceTexts(const QVector<QPair<QString, QString>>& files,
                           const QString& baseDir = QString());

}  // namespace qbank
