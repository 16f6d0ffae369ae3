// What the bank compiler accepts, what it computes, and how it reports mistakes.
#include "BankModel.h"
#include "QtPrinters.h"
#include "SourceReader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kTypes = QStringLiteral(
    "[kind 1]\n"
    "type: 61 单项选择题 count=80 score=1 time=1.0\n"
    "type: 62 多项选择题 count=60 score=2 time=1.5\n"
    "type: 63 填空题 count=0 score=1 time=1.5\n"
    "type: 65 判断题 count=0 score=1 time=0.5\n"
    "type: 64 案例分析题 count=0 score=20 time=20\n"
    "type: 66 不定项选择题 count=0 score=2 time=2\n");

const QString kCatalogue = QStringLiteral(
    "[group 01] 基础\n"
    "[entry 010101] 数据表示\n"
    "[point 01010101] 进制\n"
    "二进制。\n"
    "[point 01010102] 编码\n");

qbank::ReadResult read(const QString& questions) {
    return qbank::ReadSourceTexts({{QStringLiteral("types.txt"), kTypes},
                                   {QStringLiteral("01-基础.txt"), kCatalogue + questions}});
}

const QString kChapters = QStringLiteral(
    "[chapter 01] 基础\n"
    "[chapter 0101] 第一章\n"
    "[chapter 010101] 第一节\n");

TEST(SourceReaderTest, ReadsQuestionsKeysAndGroups) {
    const auto r =
        read(kChapters + QStringLiteral("[question 62]\n"
                                        "下列**正确**的是（  ）。\n"
                                        "A. 甲\nB. 乙\nC. 丙\nD. 丁\n"
                                        "key: DCA\n"
                                        "points: 01010101, 01010102\n"
                                        "explain: 因为\n第二行\n"
                                        "[question 65]\n天是蓝的。\nkey: 对\n"
                                        "[question 64]\n案例……\n问题一。\nexplain:\n参考答案。\n"
                                        "[group 66]\n共用题干\n"
                                        "[question]\n问一\nA. x\nB. y\nkey: B\n"
                                        "[question]\n问二\nA. x\nB. y\nkey: AB\n"
                                        "[end group]\n"));
    ASSERT_TRUE(r.ok()) << r.errors.join(u'\n').toStdString();
    const auto& q = r.bank.questions;
    ASSERT_EQ(q.size(), 5);
    EXPECT_EQ(q[0].key, QStringLiteral("ACD"));  // stored in A-to-F order
    EXPECT_EQ(q[0].optionCount, 4);
    EXPECT_EQ(q[0].explain, QStringLiteral("因为\n第二行"));
    EXPECT_EQ(q[0].id, QStringLiteral("0101016200000001"));
    EXPECT_EQ(q[1].key, QStringLiteral("A"));
    EXPECT_EQ(q[2].key, QStringLiteral("1"));
    EXPECT_EQ(q[2].optionCount, 1);
    EXPECT_EQ(q[3].id, r.bank.groups[0].id + QStringLiteral("-1"));
    EXPECT_EQ(r.bank.groups[0].id.size(), 16);
    EXPECT_EQ(r.bank.groups[0].stem, QStringLiteral("共用题干"));
    EXPECT_EQ(q[4].type, 66);
}

TEST(SourceReaderTest, EveryMistakeNamesFileAndLine) {
    const auto r = read(kChapters + QStringLiteral("[question 61]\n"  // line 9
                                                   "题\nA. 甲\nB. 乙\n"
                                                   "key: C\n"         // no option C
                                                   "[question 61]\n"  // line 14
                                                   "题\nA. 甲\nC. 乙\nkey: A\n"
                                                   "[question 62]\n"  // line 19
                                                   "题\nA. 甲\nB. 乙\nkey: A\n"
                                                   "[question 65]\n"  // line 24
                                                   "判断\nkey: 是\n"
                                                   "[question 61]\n"  // line 27
                                                   "**未闭合\nA. 甲\nB. 乙\nkey: A\n"
                                                   "points: 01019999\n"     // line 32
                                                   "[question 99]\n"        // line 33
                                                   "[chapter 0203] 孤儿\n"  // line 34
                                                   "[group 66]\n"           // line 35
                                                   "干\n[question]\n问\nA. a\nB. b\nkey: A\n"));
    ASSERT_FALSE(r.ok());
    const QString all = r.errors.join(u'\n');
    for (const char* expected :
         {"01-基础.txt:9: key \"C\" names an option", "01-基础.txt:14: option C is out of order",
          "01-基础.txt:19: key \"A\"", "01-基础.txt:24: a true-or-false key is 对 or 错",
          "01-基础.txt:28: ** is not closed", "01-基础.txt:32: knowledge point 01019999",
          "01-基础.txt:33: \"99\" is not a type",
          "01-基础.txt:34: chapter 0203 comes before its parent",
          "01-基础.txt:35: a question needs a [chapter]"}) {
        EXPECT_TRUE(all.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                               << all.toStdString();
    }
}

TEST(SourceReaderTest, StructureMistakes) {
    const auto r =
        read(kChapters + QStringLiteral("[group 66]\n干\n[question]\n问\nA. a\nB. b\nkey: A\n"
                                        "[chapter 0102] 第二章\n"
                                        "[question 61 0102006100000001]\n题\nA. a\nB. b\nkey: A\n"
                                        "[question 61 0102006100000001]\n题\nA. a\nB. b\nkey: A\n"
                                        "[end group]\n"
                                        "[point 09090901] 无条目\n"));
    const QString all = r.errors.join(u'\n');
    EXPECT_TRUE(all.contains(QStringLiteral("[chapter] inside a [group]"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("id 0102006100000001 is used twice")))
        << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("[end group] without [group]"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("point 09090901 has no entry 090909")))
        << all.toStdString();
}

// A fill-in answer is trimmed and compared as typed, blanks separated by ",": a key
// that no typed right answer can equal is refused where it stands.
TEST(SourceReaderTest, FillInKeysAreWrittenAsACandidateTypesThem) {
    const struct {
        const char* key;
        bool taken;
    } cases[] = {
        {"172.16.45.143", true}, {"8,4", true},   {"Program Counter", true}, {"%", true},
        {"8, 4", false},         {"8 ,4", false}, {"8，4", false},           {"１２", false},
    };
    for (const auto& c : cases) {
        const auto r = read(kChapters + QStringLiteral("[question 63]\n填空____。\nkey: ") +
                            QString::fromUtf8(c.key) + u'\n');
        EXPECT_EQ(r.ok(), c.taken) << c.key << "\n" << r.errors.join(u'\n').toStdString();
        if (!c.taken) {
            EXPECT_TRUE(r.errors.value(0).startsWith(QStringLiteral("01-基础.txt:9: fill-in key")))
                << r.errors.join(u'\n').toStdString();
        }
    }
}

// A file that writes its ids and one that leaves them to the compiler make one bank.
TEST(SourceReaderTest, FilesWithAndWithoutIdsMakeOneBank) {
    const auto r = qbank::ReadSourceTexts(
        {{QStringLiteral("types.txt"), kTypes},
         {QStringLiteral("01-基础.txt"),
          kCatalogue + kChapters +
              QStringLiteral("[question 61 0101016100000001]\n题\nA. a\nB. b\nkey: A\n")},
         {QStringLiteral("02-新增.txt"),
          QStringLiteral("[chapter 010102] 第二节\n[question 61]\n题二\nA. a\nB. b\nkey: B\n")}});
    ASSERT_TRUE(r.ok()) << r.errors.join(u'\n').toStdString();
    EXPECT_EQ(r.bank.questions[0].id, QStringLiteral("0101016100000001"));
    EXPECT_EQ(r.bank.questions[1].id, QStringLiteral("0101026100000001"));
}

// A written id is unique, names the question's chapter and type, and a file gives ids to
// all its questions or to none; each mistake is reported where it stands.
TEST(SourceReaderTest, WrittenIdsAreChecked) {
    const QString q61 = QStringLiteral("\n题\nA. a\nB. b\nkey: A\n");  // 5 lines
    const QString member = QStringLiteral("\n问\nA. a\nB. b\nkey: B\n");
    const struct {
        const char* name;
        QString questions;  // from line 9, after the catalogue and the chapters
        const char* expected;
    } cases[] = {
        {"duplicate",
         QStringLiteral("[question 61 0101016100000001]") + q61 +
             QStringLiteral("[question 61 0101016100000001]") + q61,
         "01-基础.txt:14: id 0101016100000001 is used twice"},
        {"another chapter", QStringLiteral("[question 61 0101026100000001]") + q61,
         "01-基础.txt:9: id 0101026100000001 does not match chapter 010101 and type 61"},
        {"a chapter without sections",
         QStringLiteral("[chapter 0102] 第二章\n[question 61 "
                        "0102016100000001]") +
             q61,
         "01-基础.txt:10: id 0102016100000001 does not match chapter 0102 and type 61: it starts "
         "with 01020061"},
        {"another type", QStringLiteral("[question 62 0101016100000001]") + q61,
         "01-基础.txt:9: id 0101016100000001 does not match chapter 010101 and type 62"},
        {"group of another type",
         QStringLiteral("[group 66 0101016200000001]\n干\n[question 0101016200000001-1]") + member +
             QStringLiteral("[end group]\n"),
         "01-基础.txt:9: id 0101016200000001 does not match chapter 010101 and type 66"},
        {"an id after none",
         QStringLiteral("[question 61]") + q61 + QStringLiteral("[question 61 0101016100000009]") +
             q61,
         "01-基础.txt:14: an id here, but the question of line 9 has none"},
        {"none after an id",
         QStringLiteral("[question 61 0101016100000009]") + q61 + QStringLiteral("[question 61]") +
             q61,
         "01-基础.txt:14: no id here, but the question of line 9 has one"},
        {"a group member without its id",
         QStringLiteral("[group 66 0101016600000001]\n干\n[question]") + member +
             QStringLiteral("[end group]\n"),
         "01-基础.txt:11: no id here, but the question of line 9 has one"},
    };
    for (const auto& c : cases) {
        const auto r = read(kChapters + c.questions);
        const QString all = r.errors.join(u'\n');
        EXPECT_TRUE(all.contains(QString::fromUtf8(c.expected)))
            << c.name << ": " << c.expected << "\n"
            << all.toStdString();
    }
}

// A source in another encoding would be compiled into garbage: it is refused where it
// stops being UTF-8.
TEST(SourceReaderTest, TextThatIsNotUtf8IsRefusedWithItsLine) {
    const struct {
        QByteArray bytes;
        int line;
    } cases[] = {
        {QByteArray("[chapter 01] ok\n[chapter 0101] \xb5\xda\xd2\xbb\n"), 2},  // GBK
        {QByteArray("\xFF[chapter 01] x\n"), 1},
        {QByteArray("[chapter 01] x\n\n[chapter 0101] y\xFE\n"), 3},
        {QByteArray("[chapter 01] x\n[chapter 0101] y\0\n", 32), 2},
        {QByteArray("[chapter 01] \xED\xA0\x80\n"), 1},  // a surrogate
        {QByteArray("\xFF\xFE[\0c\0h\0", 8), 1},         // UTF-16
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        for (const auto& [name, bytes] :
             {std::pair{"types.txt", kTypes.toUtf8()}, std::pair{"01.txt", c.bytes}}) {
            QFile f(dir.filePath(QLatin1String(name)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        const auto r = qbank::ReadSource(dir.path());
        EXPECT_EQ(r.errors, QStringList{QStringLiteral("01.txt:%1: not UTF-8 text (GBK? convert "
                                                       "with iconv -f GBK -t UTF-8)")
                                            .arg(c.line)})
            << c.bytes.toHex().toStdString();
    }
}

// Every number of types.txt has its range: an unchecked one overflowed the full mark.
TEST(SourceReaderTest, TypeNumbersOutsideTheirRangeNameTheirLine) {
    const auto r = qbank::ReadSourceTexts(
        {{QStringLiteral("types.txt"), QStringLiteral("[kind 1]\n"
                                                      "type: 61 a count=140 score=1000 time=1\n"
                                                      "type: 62 b count=1 score=inf time=1\n"
                                                      "type: 62 b count=1000000000 score=1 time=1\n"
                                                      "type: 62 b count=141 score=1 time=1\n"
                                                      "type: 62 b count=1 score=0 time=1\n"
                                                      "type: 62 b count=1 score=nan time=1\n"
                                                      "type: 60 b count=1 score=1 time=1\n"
                                                      "[settings]\n"
                                                      "ExamTime: 0\n"
                                                      "ExamTime: 59\n"
                                                      "ExamTime: 60\n")}});
    QStringList lines;
    for (const QString& e : r.errors)
        lines << e.section(u':', 0, 1);
    EXPECT_EQ(lines.join(u' '), QStringLiteral("types.txt:3 types.txt:4 types.txt:5 types.txt:6 "
                                               "types.txt:7 types.txt:8 types.txt:10 types.txt:11"))
        << r.errors.join(u'\n').toStdString();
}

quint32 crc32(QByteArrayView bytes) {
    quint32 crc = 0xFFFFFFFF;
    for (char b : bytes) {
        crc ^= uchar(b);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

// A picture is taken from the source folder only, and decoded at the check, so that a bad
// one is reported with its line instead of failing the build later.
TEST(SourceReaderTest, PicturesOutsideTheFolderOrUndecodableNameTheirLine) {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("src"));
    ASSERT_TRUE(QDir().mkpath(source + QStringLiteral("/pictures")));
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG"));
    // The same picture claiming 100000 x 100000 pixels, its header's checksum made right.
    QByteArray huge = png;
    for (int i = 0; i < 4; ++i)
        huge[16 + i] = huge[20 + i] = char((100000 >> (24 - 8 * i)) & 0xFF);
    const quint32 crc = crc32(QByteArrayView(huge).sliced(12, 17));
    for (int i = 0; i < 4; ++i)
        huge[29 + i] = char((crc >> (24 - 8 * i)) & 0xFF);
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write(source + QStringLiteral("/pictures/good.png"), png);
    write(source + QStringLiteral("/pictures/cut.png"), png.left(png.size() - 20));
    write(source + QStringLiteral("/pictures/huge.png"), huge);
    write(dir.filePath(QStringLiteral("outside.png")), png);

    const auto r = qbank::ReadSourceTexts(
        {{QStringLiteral("types.txt"), kTypes},
         {QStringLiteral("01.txt"),
          QStringLiteral("[group 01] g\n[entry 010101] e\n[point 01010101] p\n"
                         "![](pictures/good.png)\n"
                         "![](../outside.png)\n"
                         "![](%1)\n"
                         "![](pictures/cut.png)\n"
                         "![](pictures/huge.png)\n"
                         "![](pictures/../../src/pictures/good.png)\n")
              .arg(dir.filePath(QStringLiteral("outside.png")))}},
        source);
    QStringList lines;
    for (const QString& e : r.errors)
        lines << e.section(u':', 0, 1);
    EXPECT_EQ(lines.join(u' '), QStringLiteral("01.txt:5 01.txt:6 01.txt:7 01.txt:8"))
        << r.errors.join(u'\n').toStdString();
}

}  // namespace
