#include "BankGenerator.h"

#include "Engine.h"
#include "Schema.h"

#include <QByteArray>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

namespace bench {
namespace {

QString digits(int n, int width) {
    return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
}

// A small rich-text body like the ones the question editor stores.
QByteArray rtfBody(const QString& text) {
    return QByteArrayLiteral(
               "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil SimSun;}}"
               "\\viewkind4\\uc1\\pard\\lang2052\\f0\\fs21 ") +
           text.toUtf8() +
           QByteArrayLiteral(
               "\\par A. first\\par B. second\\par C. third\\par "
               "D. fourth\\par}");
}

// Runs a prepared statement once with the given values, then makes it ready again.
void run(store::Statement& s, std::initializer_list<QVariant> values) {
    int i = 0;
    for (const QVariant& v : values)
        s.bind(++i, v);
    s.step();
    s.reset();
}

}  // namespace

BankShape bigBankShape() {
    BankShape s;
    s.questions = 100000;
    s.subjects = 5;             // "01".."05"
    s.sectionsPerSubject = 19;  // 5 + 95 + 1,900 = 2,000 chapter rows
    s.chaptersPerSection = 20;
    s.groups = 10;  // 10 × 25 × 20 = 5,000 knowledge points
    s.lawsPerGroup = 25;
    s.pointsPerLaw = 20;
    return s;
}

BankShape smallBankShape() {
    BankShape s;
    s.questions = 1000;
    s.subjects = 2;  // 2 + 6 + 12 = 20 chapter rows
    s.sectionsPerSubject = 3;
    s.chaptersPerSection = 2;
    s.groups = 2;  // 2 × 5 × 5 = 50 knowledge points
    s.lawsPerGroup = 5;
    s.pointsPerLaw = 5;
    return s;
}

GeneratedBank generateBank(const QString& path, const BankShape& shape) {
    store::createEmptyBank(path);
    store::Database db;
    db.open(path);

    GeneratedBank bank;
    bank.path = path;
    bank.questions = shape.questions;
    bank.chapterRows = shape.chapterRows();
    bank.knowledgePoints = shape.knowledgePoints();

    std::mt19937 random(shape.seed);
    store::Transaction tx(db);

    // Chapters, parents before children, numbered in that order.
    const int leafCount = shape.subjects * shape.sectionsPerSubject * shape.chaptersPerSection;
    const int perLeaf = shape.questions / std::max(1, leafCount);
    const int leftover = shape.questions - perLeaf * leafCount;
    {
        store::Statement chapter(
            db, QStringLiteral("INSERT INTO tab_kmmc (C1,C1_1,C2,C3,C4,D1,D2,C6,C7,bh) "
                               "VALUES (?1,?2,?3,?4,0,0,0,'0',?5,?6)"));
        int bh = 0;
        int leaf = 0;
        const auto questionsIn = [&](int firstLeaf, int leaves) {
            int total = 0;
            for (int l = firstLeaf; l < firstLeaf + leaves; ++l) {
                total += perLeaf + (l < leftover ? 1 : 0);
            }
            return total;
        };
        for (int s = 1; s <= shape.subjects; ++s) {
            const QString subject = digits(s, 2);
            const int subjectLeaves = shape.sectionsPerSubject * shape.chaptersPerSection;
            run(chapter, {subject, QStringLiteral("Subject %1").arg(subject), QVariant(),
                          questionsIn(leaf, subjectLeaves), subject, ++bh});
            for (int c = 1; c <= shape.sectionsPerSubject; ++c) {
                const QString section = subject + digits(c, 2);
                run(chapter, {section, QStringLiteral("Section %1").arg(section), subject,
                              questionsIn(leaf, shape.chaptersPerSection), subject, ++bh});
                for (int k = 1; k <= shape.chaptersPerSection; ++k) {
                    const QString code = section + digits(k, 2);
                    run(chapter, {code, QStringLiteral("Chapter %1").arg(code), section,
                                  questionsIn(leaf, 1), subject, ++bh});
                    bank.leafChapters << code;
                    ++leaf;
                }
            }
        }
    }

    // Laws (tab_fgmc, 2- and 6-character ids) and their knowledge points (tab_rule).
    QStringList points;
    {
        store::Statement law(
            db,
            QStringLiteral("INSERT INTO tab_fgmc (id,n,bh,q,q1,q2,q4) VALUES (?1,?2,?3,0,0,0,0)"));
        store::Statement rule(db, QStringLiteral("INSERT INTO tab_rule (id,ftid,sn,n,q,q1,q2,q4) "
                                                 "VALUES (?1,?2,?3,?4,0,0,0,0)"));
        int bh = 0;
        for (int g = 1; g <= shape.groups; ++g) {
            const QString group = digits(g, 2);
            run(law, {group, QStringLiteral("Law group %1").arg(group), ++bh});
            for (int l = 1; l <= shape.lawsPerGroup; ++l) {
                const QString lawId = group + digits(l, 4);
                run(law, {lawId, QStringLiteral("Law %1").arg(lawId), ++bh});
                for (int p = 1; p <= shape.pointsPerLaw; ++p) {
                    const QString ftid = lawId + digits(p, 2);
                    run(rule, {lawId, ftid, QStringLiteral("Article %1").arg(ftid),
                               rtfBody(QStringLiteral("Knowledge point %1").arg(ftid))});
                    points << ftid;
                }
            }
        }
    }

    // Questions, chapter by chapter, each with three different knowledge points.
    {
        static const std::array<const char*, 10> kKeys = {"A",  "B",   "C",   "D",  "AB",
                                                          "CD", "ACD", "ABD", "BC", "ABCD"};
        store::Statement answ(
            db, QStringLiteral("INSERT INTO tab_answ (A1,A2,A2_1,K3,K4,K5,A10,A13,A14,E3,E4,F1,"
                               "xx,ecount) VALUES (?1,?2,4,?3,?4,?5,?6,?7,?8,0,0,0,?9,0)"));
        store::Statement exer(db, QStringLiteral("INSERT INTO tab_exer (A1,A15) VALUES (?1,?2)"));
        std::uniform_int_distribution<int> keyPick(0, static_cast<int>(kKeys.size()) - 1);
        std::uniform_int_distribution<int> pointPick(0, static_cast<int>(points.size()) - 1);
        int number = 0;
        for (int leaf = 0; leaf < leafCount; ++leaf) {
            const int count = perLeaf + (leaf < leftover ? 1 : 0);
            for (int q = 0; q < count; ++q) {
                ++number;
                const QString id = QStringLiteral("Q%1").arg(number, 7, 10, QLatin1Char('0'));
                const QString key = QLatin1String(kKeys[static_cast<size_t>(keyPick(random))]);
                std::array<int, 3> k{};
                for (int j = 0; j < 3; ++j) {
                    do {
                        k[static_cast<size_t>(j)] = pointPick(random);
                    } while (points.size() >= 3 &&
                             std::find(k.begin(), k.begin() + j, k[static_cast<size_t>(j)]) !=
                                 k.begin() + j);
                }
                run(answ, {id, key, points[k[0]], points[k[1]], points[k[2]],
                           bank.leafChapters[leaf], key.size() == 1 ? 61 : 62,
                           QStringLiteral("Explanation of question %1.").arg(number), number});
                run(exer,
                    {id, rtfBody(QStringLiteral("Question %1: which is right?").arg(number))});
            }
        }
    }

    tx.commit();
    db.close();
    return bank;
}

}  // namespace bench
