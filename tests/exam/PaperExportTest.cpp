#include "BankFixture.h"
#include "DataModule.h"
#include "Globals.h"
#include "PaperExport.h"
#include "RichText.h"
#include "Schema.h"
#include "ZipEntries.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// A stem with a picture after its text, as RTF.
QByteArray stemWithPicture(const QString& text) {
    QTextDocument doc;
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::blue);
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("p")), image);
    QTextCursor c(&doc);
    c.insertText(text);
    QTextImageFormat picture;
    picture.setName(QStringLiteral("p"));
    c.insertImage(picture);
    return richtext::writeRtf(doc);
}

class PaperExportTest : public BankTest {
  protected:
    void SetUp() override {
        BankTest::SetUp();
        dm = openModule();
        qb::CurrentKind = 1;
        store::Database& db = dm->ADOCn1;
        db.execute(QStringLiteral("delete from tab_tx1"));
        for (const auto& [id, name, count, points] :
             {std::tuple{61, "单项选择题", 80, 1.0}, std::tuple{62, "多项选择题", 60, 2.0},
              std::tuple{65, "判断题", 30, 0.5}})
            db.execute(QStringLiteral("insert into tab_tx1 (A1,B1,B2,B3) values (?,?,?,?)"),
                       {{{}, id}, {{}, QString::fromUtf8(name)}, {{}, count}, {{}, points}});
        db.execute(store::examTableSql(QStringLiteral("tab_exam1")));
    }

    void addQuestion(const QString& id, int type, const QString& key, const QVariant& stem,
                     const QVariant& jx = {}, const QStringList& points = {}) {
        store::Database& db = dm->ADOCn1;
        store::Params values{{{}, id}, {{}, key}, {{}, type}, {{}, jx}};
        for (int k = 0; k < 4; ++k)
            values.push_back({{}, k < points.size() ? QVariant(points[k]) : QVariant()});
        db.execute(QStringLiteral("insert into tab_exam1 (A1,A2,A13,jx,K3,K4,K5,K6) "
                                  "values (?,?,?,?,?,?,?,?)"),
                   values);
        db.execute(QStringLiteral("insert into tab_exer (A1,A15,jx) values (?,?,?)"),
                   {{{}, id}, {{}, stem}, {{}, jx}});
    }

    // The paper the window shows: open on the data module's paper query.
    void openPaper() {
        dm->Cn1Query_exam.setSql(QStringLiteral("select * from tab_exam1 order by A13,A1"));
        dm->Cn1Query_exam.open();
    }

    // A kind-1 paper with a grouped pair, a question of the user's own, choices
    // with an explanation, knowledge points and a picture, and true/false questions,
    // one without a stem.
    void addPaper() {
        store::Database& db = dm->ADOCn1;
        const QString group = QStringLiteral("G000000000000001");
        db.execute(QStringLiteral("insert into tab_title (A1,A15) values (?,?)"),
                   {{{}, group}, {{}, QStringLiteral("共享题干")}});
        db.execute(QStringLiteral("insert into tab_rule (id,ftid,sn,n) values (?,?,?,?)"),
                   {{{}, QStringLiteral("010101")},
                    {{}, QStringLiteral("0101010001")},
                    {{}, QStringLiteral("进程  ")},
                    {{}, QStringLiteral("知识点正文")}});
        db.execute(QStringLiteral("insert into tab_rule (id,ftid,sn,n) values (?,?,?,?)"),
                   {{{}, QStringLiteral("010199")},
                    {{}, QStringLiteral("0101010002")},
                    {{}, QStringLiteral("要点二")},
                    {{}, QStringLiteral("正文二")}});
        // The chapter of the point is its own id; "0101" only shares the first four
        // characters of the point's id.
        db.execute(QStringLiteral("insert into tab_fgmc (id,n) values ('010101','第一章 概论')"));
        db.execute(QStringLiteral("insert into tab_fgmc (id,n) values ('0101','错误章名')"));

        addQuestion(QStringLiteral("010101000001"), 61, QStringLiteral("C"),
                    QStringLiteral("题干一"));
        addQuestion(group + QStringLiteral("-1"), 61, QStringLiteral("A"),
                    QStringLiteral("小题一"));
        addQuestion(group + QStringLiteral("-2"), 61, QStringLiteral("B"),
                    QStringLiteral("小题二"));
        addQuestion(QStringLiteral("US01010100000001"), 61, QStringLiteral("D"),
                    QStringLiteral("用户题"));
        addQuestion(QStringLiteral("010101000004"), 62, QStringLiteral("ABD"),
                    stemWithPicture(QStringLiteral("多选题干")), QStringLiteral("解析文字"),
                    {QStringLiteral("0101010001"), QStringLiteral("9999999999"),
                     QStringLiteral(" "), QStringLiteral("0101010002")});
        addQuestion(QStringLiteral("010101000005"), 65, QStringLiteral("B"),
                    QStringLiteral("判断题干"));
        addQuestion(QStringLiteral("010101000006"), 65, QStringLiteral("A"), QVariant());
        openPaper();
    }

    static inline const QString kTitle = QStringLiteral("2026年12月09日模拟考试[1]");
    std::unique_ptr<store::TDM1> dm;
};

const QStringList kExpectedLines{
    "2026年12月09日模拟考试[1]",
    "",
    "",
    "一、单项选择题[共80题，每题1分，总计80分]",
    "1、题干一",
    "共享题干",
    "2、小题一",
    "共享题干",
    "3、小题二",
    "4、用户题",
    "二、多项选择题[共60题，每题2分，总计120分]",
    QStringLiteral("5、多选题干") + QChar(QChar::ObjectReplacementCharacter),
    "三、判断题[共30题，每题0.5分，总计15分]",
    "6、判断题干",
    "7、",
    "",
    "答案：",
    "",
    "",
    "第1题",
    "试题答案：C",
    "第2题",
    "试题答案：A",
    "第3题",
    "试题答案：B",
    "第4题",
    "试题答案：D",
    "第5题",
    "试题答案：ABD",
    "试题解析：",
    "解析文字",
    "考点：",
    "第一章 概论 进程；",
    "知识点正文",
    "；",
    "",
    "要点二；",
    "正文二",
    "第6题",
    "试题答案：错误",
    "第7题",
    "试题答案：正确",
    "",
};

TEST_F(PaperExportTest, DocumentHoldsThePaperInOrder) {
    addPaper();
    exam::WordDocument document;
    exam::BuildPaperDocument(*dm, kTitle, document);
    EXPECT_EQ(document.document().toPlainText().split(QLatin1Char('\n')), kExpectedLines);
    // The answers begin on a page of their own.
    const QTextBlock answers =
        document.document().findBlockByNumber(kExpectedLines.indexOf("答案："));
    EXPECT_EQ(answers.text(), QStringLiteral("答案："));
    EXPECT_EQ(answers.blockFormat().pageBreakPolicy(), QTextFormat::PageBreak_AlwaysBefore);
    // The exam window keeps its place.
    EXPECT_EQ(dm->Cn1Query_exam.recNo(), 1);
}

TEST_F(PaperExportTest, WrittenFileHoldsTextPageBreakAndPicture) {
    addPaper();
    dm->Cn1Query_exam.setRecNo(3);
    const QString path = exam::WritePaperDocument(*dm, kTitle, dir.path());
    EXPECT_EQ(path, dir.path() + QStringLiteral("/") + kTitle + QStringLiteral(".odt"));
    const QMap<QString, QByteArray> entries = ReadZipEntries(path);
    const QString content = QString::fromUtf8(entries.value(QStringLiteral("content.xml")));
    ASSERT_FALSE(content.isEmpty());
    // Each in order, once read back.
    qsizetype at = 0;
    for (const QString& text :
         {kTitle, QStringLiteral("一、单项选择题"), QStringLiteral("共享题干"),
          QStringLiteral("2、小题一"), QStringLiteral("共享题干"), QStringLiteral("4、用户题"),
          QStringLiteral("二、多项选择题"), QStringLiteral("Pictures/"), QStringLiteral("7、"),
          QStringLiteral("答案："), QStringLiteral("第一章 概论 进程；"),
          QStringLiteral("试题答案：错误"), QStringLiteral("试题答案：正确")}) {
        const qsizetype found = content.indexOf(text, at);
        EXPECT_GE(found, 0) << text.toStdString();
        if (found >= 0) at = found + text.size();
    }
    EXPECT_TRUE(content.contains(QStringLiteral("fo:break-before=\"page\"")));
    bool picture = false;
    for (auto it = entries.begin(); it != entries.end(); ++it)
        if (it.key().startsWith(QStringLiteral("Pictures/")) && !it.value().isEmpty())
            picture = QImage::fromData(it.value()).size() == QSize(8, 6);
    EXPECT_TRUE(picture);
    EXPECT_EQ(dm->Cn1Query_exam.recNo(), 3);
}

TEST(AnswerLineTest, KeysOfChoicesAndTrueFalse) {
    const struct {
        int type;
        const char* key;
        const char* line;
    } cases[] = {
        {61, "C", "试题答案：C"},
        {62, "ABD", "试题答案：ABD"},
        {65, "A", "试题答案：正确"},
        {65, "B", "试题答案：错误"},
        {71, "B", "试题答案：错误"},
        {65, "", "试题答案："},
        {63, "x", ""},
        {64, "1", ""},
        {66, "AB", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(exam::AnswerLine(c.type, QString::fromUtf8(c.key)), QString::fromUtf8(c.line))
            << c.type << c.key;
}

TEST(GroupedQuestionTest, IdHoldingADash) {
    const struct {
        const char* id;
        bool grouped;
    } cases[] = {{"G000000000000001-1", true},
                 {"0101010000010001-12", true},
                 {"US01010100000001", false},
                 {"US0101010000001", false},
                 {"010101000001", false}};
    for (const auto& c : cases)
        EXPECT_EQ(exam::IsGroupedQuestion(QString::fromUtf8(c.id)), c.grouped) << c.id;
}

TEST(DocumentPathTest, NeverNamesAnExistingFile) {
    const struct {
        const char* title;
        QStringList existing;
        const char* name;
    } cases[] = {
        {"试卷[1]", {}, "试卷[1].odt"},
        {"试卷[1]", {"试卷[1].odt"}, "试卷[1] (2).odt"},
        {"试卷[1]", {"试卷[1].odt", "试卷[1] (2).odt"}, "试卷[1] (3).odt"},
        {"a/b:c", {}, "a_b_c.odt"},
        {"", {}, "试卷.odt"},
    };
    for (const auto& c : cases) {
        QTemporaryDir folder;
        for (const QString& name : c.existing) {
            QFile f(folder.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        EXPECT_EQ(exam::UniqueDocumentPath(folder.path(), QString::fromUtf8(c.title)),
                  folder.filePath(QString::fromUtf8(c.name)))
            << c.title;
    }
}

TEST_F(PaperExportTest, SecondExportKeepsTheFirst) {
    addPaper();
    const QString first = exam::WritePaperDocument(*dm, kTitle, dir.path());
    QFile mark(first);
    ASSERT_TRUE(mark.open(QIODevice::Append));
    mark.write("kept");
    mark.close();
    const qint64 size = QFileInfo(first).size();
    const QString second = exam::WritePaperDocument(*dm, kTitle, dir.path());
    EXPECT_EQ(second, dir.path() + QStringLiteral("/") + kTitle + QStringLiteral(" (2).odt"));
    EXPECT_EQ(QFileInfo(first).size(), size);
}

TEST_F(PaperExportTest, NoOpenPaperIsAnError) {
    EXPECT_ANY_THROW(exam::WritePaperDocument(*dm, kTitle, dir.path()));
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.odt")}).isEmpty());
}

}  // namespace
