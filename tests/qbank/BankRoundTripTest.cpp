// build -> dump -> build gives the same bank, and the counters are computed.
#include "AnswerModel.h"
#include "BankWriter.h"
#include "Engine.h"
#include "PaperMaker.h"
#include "QtPrinters.h"
#include "SourceReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Every row of every table, in key order, as text: equal banks give equal text.
QString contentOf(const QString& path) {
    store::Database db;
    db.open(path);
    QString out;
    for (const QString& table : db.userTables()) {
        out += QStringLiteral("== ") + table + u'\n';
        QStringList rows;
        db.query(QStringLiteral("select * from ") + table, {}, [&](store::Statement& s) {
            QStringList cells;
            for (int i = 0; i < s.columnCount(); ++i) {
                const QVariant v = s.value(i);
                cells << (v.isNull() ? QStringLiteral("<null>")
                          : v.typeId() == QMetaType::QByteArray
                              ? QString::fromLatin1(v.toByteArray().toHex())
                              : v.toString());
            }
            rows << cells.join(u'|');
        });
        rows.sort();
        out += rows.join(u'\n') + u'\n';
    }
    return out;
}

class BankRoundTripTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "qbank_tests";
        static char* argv[] = {name, nullptr};
        if (QGuiApplication::instance() == nullptr) new QGuiApplication(argc, argv);
    }
    QTemporaryDir dir;
};

TEST_F(BankRoundTripTest, SampleBankBuildsDumpsAndBuildsTheSame) {
    const QString first = dir.filePath(QStringLiteral("first.db"));
    const qbank::ReadResult source = qbank::ReadSource(QStringLiteral(SAMPLE_BANK_SOURCE));
    ASSERT_TRUE(source.ok()) << source.errors.join(u'\n').toStdString();
    qbank::WriteBank(source.bank, QStringLiteral(SAMPLE_BANK_SOURCE), first);

    const QString dumped = dir.filePath(QStringLiteral("dumped"));
    {
        store::Database db;
        db.open(first);
        qbank::WriteSource(qbank::ReadBank(db, dumped), dumped);
    }
    const qbank::ReadResult again = qbank::ReadSource(dumped);
    ASSERT_TRUE(again.ok()) << again.errors.join(u'\n').toStdString();
    const QString second = dir.filePath(QStringLiteral("second.db"));
    qbank::WriteBank(again.bank, dumped, second);
    EXPECT_EQ(contentOf(first), contentOf(second));
    EXPECT_THROW(qbank::WriteBank(again.bank, dumped, second), store::EngineError);
}

// A question inserted in the middle of a section takes a new number; the written ids
// keep every other question, and the users' progress on it, where it was. The dump writes
// the ids as the source has them, so that a dumped bank builds into the same bank.
TEST_F(BankRoundTripTest, WrittenIdsSurviveDumpAndBuild) {
    const QString types = QStringLiteral(
        "[kind 1]\ntype: 61 单选 count=1 score=1 time=1\n"
        "type: 66 不定项 count=1 score=1 time=1\n");
    const QString source = QStringLiteral(
        "[chapter 01] 科目\n[chapter 0101] 章\n[chapter 010101] 节\n"
        "[question 61 0101016100000001]\n一\nA. a\nB. b\nkey: A\n"
        "[question 61 0101016100000003]\n新插入\nA. a\nB. b\nkey: B\n"
        "[question 61 0101016100000002]\n二\nA. a\nB. b\nkey: A\n"
        "[group 66 01010166G0000001]\n干\n"
        "[question 01010166G0000001-2]\n问二\nA. a\nB. b\nkey: AB\n"
        "[question 01010166G0000001-1]\n问一\nA. a\nB. b\nkey: B\n"
        "[end group]\n");
    const auto dumpOf = [&](const qbank::Bank& bank, const QString& name) {
        const QString db = dir.filePath(name + QStringLiteral(".db"));
        qbank::WriteBank(bank, dir.path(), db);
        store::Database opened;
        opened.open(db);
        const QString out = dir.filePath(name);
        qbank::WriteSource(qbank::ReadBank(opened, out), out);
        return out;
    };
    const auto r = qbank::ReadSourceTexts(
        {{QStringLiteral("types.txt"), types}, {QStringLiteral("01-科目.txt"), source}});
    ASSERT_TRUE(r.ok()) << r.errors.join(u'\n').toStdString();
    const QString first = dumpOf(r.bank, QStringLiteral("first"));
    const auto again = qbank::ReadSource(first);
    ASSERT_TRUE(again.ok()) << again.errors.join(u'\n').toStdString();
    QStringList ids;
    QStringList stems;
    for (const qbank::Question& q : again.bank.questions) {
        ids << q.id;
        stems << q.stem.section(u'\n', 0, 0);
    }
    EXPECT_EQ(ids.join(u' '), QStringLiteral("0101016100000001 0101016100000003 0101016100000002 "
                                             "01010166G0000001-2 01010166G0000001-1"));
    EXPECT_EQ(stems.join(u' '), QStringLiteral("一 新插入 二 问二 问一"));
    const QString second = dumpOf(again.bank, QStringLiteral("second"));
    for (const QString& name : QDir(first).entryList(QDir::Files)) {
        QFile a(QDir(first).filePath(name));
        QFile b(QDir(second).filePath(name));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly))
            << name.toStdString();
        EXPECT_EQ(a.readAll(), b.readAll()) << name.toStdString();
    }
}

// A file without ids would renumber its questions when one is inserted: the bundled
// bank writes every id.
TEST_F(BankRoundTripTest, SampleBankWritesEveryId) {
    const QRegularExpression withoutId(QStringLiteral("^\\[(question( [0-9]+)?|group [0-9]+)\\]$"),
                                       QRegularExpression::MultilineOption);
    const QDir source(QStringLiteral(SAMPLE_BANK_SOURCE));
    for (const QString& name : source.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        QFile f(source.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const auto m = withoutId.match(QString::fromUtf8(f.readAll()));
        EXPECT_FALSE(m.hasMatch()) << name.toStdString() << ": " << m.captured().toStdString();
    }
}

// A newcomer meets every answer page in the bundled bank, and a paper draws what its
// headings and full mark count.
TEST_F(BankRoundTripTest, SampleBankHoldsEveryTypeAndDrawsWhatItCounts) {
    const qbank::ReadResult source = qbank::ReadSource(QStringLiteral(SAMPLE_BANK_SOURCE));
    ASSERT_TRUE(source.ok()) << source.errors.join(u'\n').toStdString();
    QSet<int> types;
    for (const qbank::Question& q : source.bank.questions)
        types.insert(q.type);
    for (const practice::TypePage& page : practice::kTypePages)
        EXPECT_TRUE(types.contains(page.typeId)) << "no question of type " << page.typeId;
    for (const qbank::Kind& kind : source.bank.kinds) {
        for (const qbank::TypeRow& row : kind.types) {
            EXPECT_EQ(row.count, exam::PaperQuota(kind.number, row.id))
                << "kind " << kind.number << ", type " << row.id;
        }
    }
}

TEST_F(BankRoundTripTest, CountersAreComputedAndAFailedBuildLeavesNoFile) {
    const auto r = qbank::ReadSourceTexts(
        {{QStringLiteral("types.txt"),
          QStringLiteral("[kind 1]\ntype: 61 单选 count=2 score=1.5 time=1\n"
                         "type: 62 多选 count=3 score=2.5 time=1\n")},
         {QStringLiteral("a.txt"),
          QStringLiteral("[group 01] 组\n[entry 010101] 条目\n[point 01010101] 点一\n"
                         "[point 01010102] 点二\n"
                         "[chapter 01] 科目\n[chapter 0101] 章\n[chapter 010101] 节一\n"
                         "[question 61]\n题\nA. a\nB. b\nkey: A\npoints: 01010101 01010102\n"
                         "[chapter 010102] 节二\n"
                         "[question 61]\n题\nA. a\nB. b\nkey: A\npoints: 01010102\n"
                         "[question 61]\n题\nA. a\nB. b\nkey: B\n")}});
    ASSERT_TRUE(r.ok()) << r.errors.join(u'\n').toStdString();
    const QString path = dir.filePath(QStringLiteral("c.db"));
    qbank::WriteBank(r.bank, dir.path(), path);
    store::Database db;
    db.open(path);
    const auto text = [&](const char* sql) { return db.scalar(QLatin1String(sql)).toString(); };
    EXPECT_EQ(text("select group_concat(C1||'='||C3) from (select * from tab_kmmc order by bh)"),
              QStringLiteral("01=3,0101=3,010101=1,010102=2"));
    EXPECT_EQ(text("select group_concat(ftid||'='||q) from (select * from tab_rule order by ftid)"),
              QStringLiteral("01010101=1,01010102=2"));
    EXPECT_EQ(text("select group_concat(id||'='||q) from (select * from tab_fgmc order by bh)"),
              QStringLiteral("01=2,010101=2"));
    // 2 x 2 (1.5 rounds to even 2) + 3 x 2 (2.5 rounds to even 2) = 10, half of it kept.
    EXPECT_EQ(text("select LeastMark from tab_plan"), QStringLiteral("5"));
    EXPECT_EQ(text("select group_concat(xx) from (select xx from tab_answ order by A1)"),
              QStringLiteral("1,1,2"));

    qbank::Bank broken = r.bank;
    broken.questions[0].stem = QStringLiteral("![](pictures/missing.png)");
    const QString failed = dir.filePath(QStringLiteral("failed.db"));
    EXPECT_THROW(qbank::WriteBank(broken, dir.path(), failed), store::EngineError);
    EXPECT_FALSE(QFile::exists(failed));
    EXPECT_FALSE(QFile::exists(failed + QStringLiteral(".part")));
}

// Lines that look like blocks, comments or fields survive a dump as text.
TEST_F(BankRoundTripTest, TextThatLooksLikeSyntaxSurvivesADump) {
    const QString stem = QStringLiteral(
        "#include <stdio.h>\n[chapter 09] 不是章节\nkey: 不是答案\n\\路径\nA. 是\nB. 否");
    const auto r = qbank::ReadSourceTexts(
        {{QStringLiteral("types.txt"),
          QStringLiteral("[kind 1]\ntype: 61 单选 count=1 score=1 time=1\n")},
         {QStringLiteral("a.txt"),
          QStringLiteral("[chapter 01] 科目\n[chapter 0101] 章\n[question 61]\n"
                         "\\#include <stdio.h>\n\\[chapter 09] 不是章节\n\\key: 不是答案\n"
                         "\\\\路径\nA. 是\nB. 否\nkey: A\n")}});
    ASSERT_TRUE(r.ok()) << r.errors.join(u'\n').toStdString();
    ASSERT_EQ(r.bank.questions.size(), 1);
    EXPECT_EQ(r.bank.questions[0].stem, stem);
    const QString path = dir.filePath(QStringLiteral("e.db"));
    qbank::WriteBank(r.bank, dir.path(), path);
    store::Database db;
    db.open(path);
    const QString out = dir.filePath(QStringLiteral("dump"));
    qbank::WriteSource(qbank::ReadBank(db, out), out);
    const auto again = qbank::ReadSource(out);
    ASSERT_TRUE(again.ok()) << again.errors.join(u'\n').toStdString();
    EXPECT_EQ(again.bank.questions.value(0).stem, stem);
    EXPECT_EQ(again.bank.questions.value(0).key, QStringLiteral("A"));
}

// A dumped bank may be hostile: names taken from it never lead out of the dump's folder.
TEST_F(BankRoundTripTest, DumpWritesOnlyInsideItsFolder) {
    const QString tag = QFileInfo(dir.path()).fileName();
    const struct {
        const char* code;
        QString name;
    } subjects[] = {
        {"/q", tag},
        {"_q", tag},
        {"..", QStringLiteral("../../") + tag},
        {".h", QString()},
        {"a\\", QStringLiteral("x/../y")},
    };
    qbank::Bank bank;
    for (const auto& s : subjects) {
        qbank::Chapter c;
        c.code = QString::fromUtf8(s.code);
        c.name = s.name;
        bank.chapters << c;
    }
    const QString out = dir.filePath(QStringLiteral("out"));
    const QStringList files = qbank::WriteSource(bank, out);
    EXPECT_EQ(files.size(), 2 + std::size(subjects)) << files.join(u' ').toStdString();
    for (const QString& f : files) {
        const QFileInfo written(QDir(out).filePath(f));
        EXPECT_EQ(written.absolutePath(), QDir(out).absolutePath()) << f.toStdString();
        EXPECT_FALSE(written.fileName().startsWith(u'.')) << f.toStdString();
    }
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), files.size());
    // Where the unchecked name would have put it: removed, so that a failure leaves nothing.
    EXPECT_FALSE(QFile::remove(QStringLiteral("/q-") + tag + QStringLiteral(".txt")));
}

}  // namespace
