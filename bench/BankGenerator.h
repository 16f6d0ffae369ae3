// Synthetic question banks for the benchmarks: a complete bank file with chapters,
// knowledge points and questions, written in one transaction.
#pragma once

#include <QString>
#include <QStringList>

namespace bench {

// How big a bank to make. Chapters come in three code levels: subjects ("01".."05"),
// sections (subject + 2 digits) and chapters (section + 2 digits); questions hang on
// the 6-character chapters. Knowledge points have 8-character ids whose first 6
// characters name a law (tab_fgmc) and whose first 2 name its group (tab_fgmc too).
struct BankShape {
    int questions = 1000;
    int subjects = 2;            // 2-character chapter codes
    int sectionsPerSubject = 3;  // 4-character chapter codes
    int chaptersPerSection = 2;  // 6-character chapter codes
    int groups = 2;              // 2-character tab_fgmc ids
    int lawsPerGroup = 5;        // 6-character tab_fgmc ids
    int pointsPerLaw = 5;        // 8-character tab_rule ids
    unsigned seed = 20240601;

    int chapterRows() const {
        return subjects * (1 + sectionsPerSubject * (1 + chaptersPerSection));
    }
    int knowledgePoints() const { return groups * lawsPerGroup * pointsPerLaw; }
};

// The bank of 100,000 questions: 2,000 chapter rows, 5,000 knowledge points.
BankShape bigBankShape();
// The bank of 1,000 questions: 20 chapter rows, 50 knowledge points.
BankShape smallBankShape();

struct GeneratedBank {
    QString path;              // the bank file
    QStringList leafChapters;  // every 6-character chapter code, in order
    int questions = 0;
    int chapterRows = 0;
    int knowledgePoints = 0;
};

// Creates a new bank at `path` (the file must not exist) and fills it.
// Throws store::EngineError on any engine failure.
GeneratedBank generateBank(const QString& path, const BankShape& shape);

}  // namespace bench
