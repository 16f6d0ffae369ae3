// The wrong-question book on crafted rows: which questions it holds and in what
// order, its filters with their values bound, the practice set that matches the list,
// and the document the list is exported as.
#include "PaperExport.h"
#include "ReviewBank.h"
#include "WrongBook.h"

#include <QFileInfo>

using review::WrongFilter;

namespace {

using WrongBookTest = ReviewBankTest;

QStringList idsOf(const QVector<review::WrongQuestion>& book) {
    QStringList ids;
    for (const review::WrongQuestion& q : book)
        ids << q.id;
    return ids;
}

// Wrong means answered wrongly and not yet made good (E4 < 0), whatever the last
// answer was; a discarded question stays out. Deepest E4 first, then most answered.
TEST_F(WrongBookTest, HoldsTheQuestionsBelowMasteryDeepestFirst) {
    EXPECT_EQ(idsOf(review::LoadWrongBook(db())), QStringList({"w3", "r2", "l1", "u1"}));
}

TEST_F(WrongBookTest, FiltersNarrowTheListWithEveryValueBound) {
    struct Case {
        WrongFilter filter;
        QStringList ids;
    };
    const QString quote = QStringLiteral("01' or '1'='1");
    const Case cases[] = {
        {{QStringLiteral("01"), {}, {}, 0}, {"w3", "r2", "l1"}},
        {{{}, QStringLiteral("0101"), {}, 0}, {"w3", "r2", "l1"}},
        {{QStringLiteral("01"), QStringLiteral("010102"), {}, 0}, {"l1"}},
        {{{}, {}, {}, 62}, {"r2"}},
        {{{}, {}, QStringLiteral("01010102"), 0}, {"r2"}},  // stored with trailing blanks
        {{{}, {}, QStringLiteral("01010101"), 61}, {"w3"}},
        {{QStringLiteral("02"), {}, {}, 63}, {"u1"}},
        {{QStringLiteral("02"), {}, {}, 61}, {}},
        {{quote, {}, {}, 0}, {}},
        {{{}, quote, quote, 0}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.filter.subject + u'|' + c.filter.chapter + u'|' + c.filter.point +
                                u'|' + QString::number(c.filter.type)));
        const review::BoundSql bound = review::WrongBookSql(c.filter);
        for (const QString& value : {c.filter.subject, c.filter.chapter, c.filter.point}) {
            if (!value.isEmpty()) {
                EXPECT_FALSE(bound.sql.contains(value));
            }
        }
        EXPECT_EQ(idsOf(review::LoadWrongBook(db(), c.filter)), c.ids);
        // The practice window gets the same questions in the same order.
        QStringList practised;
        db().query(review::WrongPracticeSql(c.filter), {},
                   [&practised](store::Statement& s) { practised << s.value(0).toString(); });
        EXPECT_EQ(practised, c.ids);
    }
}

TEST_F(WrongBookTest, FilterChoicesAreNamedAndCounted) {
    const review::WrongBookOptions o =
        review::ReadWrongBookOptions(db(), review::LoadWrongBook(db()));
    const auto texts = [](const QVector<review::FilterOption>& options) {
        QStringList t;
        for (const review::FilterOption& option : options)
            t << QStringLiteral("%1=%2:%3").arg(option.value, option.caption).arg(option.count);
        return t;
    };
    EXPECT_EQ(texts(o.subjects), QStringList({"01=计算机系统基础:3", "02=计算机网络:1"}));
    EXPECT_EQ(texts(review::ChaptersOf(o, QStringLiteral("01"))),
              QStringList({"010101=数据的表示:2", "010102=存储系统:1"}));
    EXPECT_EQ(texts(o.points), QStringList({"01010101=补码:2", "01010102=浮点数:1"}));
    EXPECT_EQ(texts(o.types),
              QStringList({"61=单项选择题:1", "62=多项选择题:1", "63=填空题:1", "65=判断题:1"}));
}

TEST_F(WrongBookTest, TheExportedDocumentHoldsStemAnswerKeyAndExplanation) {
    const QVector<review::WrongQuestion> list =
        review::LoadWrongBook(db(), {QStringLiteral("01"), {}, {}, 0});
    exam::WordDocument document;
    review::BuildWrongBookDocument(db(), list, QStringLiteral("错题本"), document);
    EXPECT_EQ(document.document().toPlainText().split(u'\n'),
              QStringList({"错题本", "", "1、中文 stem w3", "你的答案：B", "正确答案：A",
                           "试题解析：", "解析 w3", "", "2、中文 stem r2", "你的答案：AC",
                           "正确答案：AC", "", "3、中文 stem l1", "你的答案：错误",
                           "正确答案：正确", "试题解析：", "解析 l1", "", ""}));
    // Written twice, the second document does not replace the first.
    const QString folder = dir.filePath(QStringLiteral("documents"));
    const QString first =
        review::WriteWrongBookDocument(db(), list, QStringLiteral("错题本"), folder);
    const QString second =
        review::WriteWrongBookDocument(db(), list, QStringLiteral("错题本"), folder);
    EXPECT_NE(first, second);
    EXPECT_TRUE(QFileInfo(first).size() > 0 && QFileInfo(second).size() > 0);
}

}  // namespace
