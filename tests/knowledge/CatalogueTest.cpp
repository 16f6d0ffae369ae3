// The catalogue's rules without a window: the grid's rows, the search, the key
// threshold, the points of a chapter and the practice set of one point.
#include "CatalogueBank.h"

#include "Catalogue.h"

namespace {

using knowledge::ChapterPoints;

TEST_F(CatalogueTest, TheGridListsEveryEntryInOrderWithCountersInNineCharacters) {
    db().execute(QStringLiteral("update tab_fgmc set q2=123456789, q4=NULL where id='010101'"));
    const QVector<knowledge::CatalogueRow> rows = knowledge::LoadCatalogue(dm->m_query);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].id, QStringLiteral("01"));
    EXPECT_EQ(rows[1].cells, (QStringList{QStringLiteral("数据的表示"), QStringLiteral("       10"),
                                          QStringLiteral("        0"), QStringLiteral("123456789"),
                                          QStringLiteral("         ")}));
    EXPECT_EQ(rows[3].id, QStringLiteral("010103"));
    EXPECT_EQ(knowledge::CatalogueHeadings(false)[0],
              QString(29, u' ') + QStringLiteral("考 点 名 称"));
    EXPECT_EQ(knowledge::CatalogueHeadings(true)[0],
              QString(19, u' ') + QStringLiteral("考 点 名 称"));
}

TEST(CatalogueRulesTest, KeyThresholdIsTheAverageAndAtLeastOne) {
    const struct {
        const char* questions;
        int points;
        int threshold;
    } cases[] = {{"       10", 4, 2}, {"3", 5, 1},  {"12", 3, 4}, {"", 3, 1},
                 {"x", 3, 1},         {"10", 0, 1}, {"-8", 2, 1}, {"        ", 2, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(knowledge::KeyThreshold(QLatin1String(c.questions), c.points), c.threshold)
            << c.questions << " / " << c.points;
    }
}

TEST_F(CatalogueTest, TheThresholdCountsTheChaptersPointsAndAnErrorGivesOne) {
    EXPECT_EQ(knowledge::ReadKeyThreshold(dm->m_query, QStringLiteral("010101"),
                                          QStringLiteral("       10")),
              2);
    EXPECT_EQ(knowledge::ReadKeyThreshold(dm->m_query, QStringLiteral("0101' or '1'='1"),
                                          QStringLiteral("10")),
              1);
    db().execute(QStringLiteral("drop table tab_rule"));
    EXPECT_EQ(
        knowledge::ReadKeyThreshold(dm->m_query, QStringLiteral("010101"), QStringLiteral("10")),
        1);
}

TEST(CatalogueRulesTest, SearchFindsTheFirstNameContainingTheTrimmedText) {
    const QStringList names{QStringLiteral("计算机系统基础"), QStringLiteral("数据的表示"),
                            QStringLiteral("Data 表示")};
    const struct {
        const char* text;
        int row;
    } cases[] = {{"表示", 1}, {"  表示 ", 1}, {"data", -1}, {"Data", 2}, {"", -1}, {"10", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(knowledge::FindRow(names, QString::fromUtf8(c.text)), c.row) << c.text;
}

TEST(CatalogueRulesTest, AListItemCountsQuestionsOnlyWhenThereAreSome) {
    EXPECT_EQ(knowledge::PointItemText(QStringLiteral("进制转换    "), 12),
              QStringLiteral("进制转换(12)"));
    EXPECT_EQ(knowledge::PointItemText(QStringLiteral("补码(二)  "), 0),
              QStringLiteral("补码(二)"));
    EXPECT_EQ(knowledge::PointItemText(QStringLiteral(" 前导 "), -1), QStringLiteral(" 前导"));
    EXPECT_EQ(knowledge::PointStatus(5, 2, 7, 3),
              QStringLiteral("相关题数：5题  已做题数：2题  已做道次：7次  做错道次：3次"));
    EXPECT_EQ(knowledge::PointStatus(0, 2, 7, 3),
              QStringLiteral("虽然针对该内容的习题没有，您仍要仔细阅读！"));
}

// Each item keeps the point it stands for: equal names and names ending in
// brackets are told apart by the point's id, never by the text.
TEST_F(CatalogueTest, ItemsKeepTheirOwnPointsThroughTheKeyFilter) {
    ChapterPoints points(dm->m_queryDetail);
    ASSERT_TRUE(points.Open(QStringLiteral("010101")));
    QStringList texts, ids, names;
    for (const knowledge::PointItem& item : points.items()) {
        texts << item.text;
        ids << item.ftid;
        names << item.name;
    }
    EXPECT_EQ(texts, (QStringList{"进制转换(5)", "原码与补码(3)", "进制转换(1)", "补码(二)(1)"}));
    EXPECT_EQ(ids, (QStringList{"01010101", "01010102", "01010103", "01010104"}));
    EXPECT_EQ(names[3], QStringLiteral("补码(二)"));
    points.Select(2);
    EXPECT_EQ(plain(points.text()), QStringLiteral("十六进制"));
    EXPECT_EQ(points.status(),
              QStringLiteral("相关题数：1题  已做题数：0题  已做道次：0次  做错道次：0次"));

    // Threshold 2: the points with 2 questions or more, then all again.
    ASSERT_TRUE(points.ToggleKeyPoints(2));
    EXPECT_TRUE(points.keyShown());
    ASSERT_EQ(points.items().size(), 2);
    EXPECT_EQ(points.items()[1].ftid, QStringLiteral("01010102"));
    EXPECT_EQ(points.current(), 0);
    ASSERT_TRUE(points.ToggleKeyPoints(2));
    EXPECT_FALSE(points.keyShown());
    EXPECT_EQ(points.items().size(), 4);

    // No point reaches the threshold: the full list stays, and so does the state.
    EXPECT_FALSE(points.ToggleKeyPoints(6));
    EXPECT_FALSE(points.keyShown());
    EXPECT_EQ(points.items().size(), 4);
}

TEST_F(CatalogueTest, AChapterWithoutPointsOrWithAPointWithoutQuestions) {
    ChapterPoints points(dm->m_queryDetail);
    EXPECT_FALSE(points.Open(QStringLiteral("010103")));
    EXPECT_TRUE(points.items().isEmpty());
    EXPECT_EQ(points.current(), -1);
    EXPECT_FALSE(points.canPractise());
    EXPECT_FALSE(points.ToggleKeyPoints(1));
    EXPECT_FALSE(points.Open(QStringLiteral("0101' or '1'='1")));

    ASSERT_TRUE(points.Open(QStringLiteral("010102")));
    EXPECT_EQ(points.items()[0].text, QStringLiteral("指令周期"));
    EXPECT_FALSE(points.canPractise());
    EXPECT_EQ(points.status(), QStringLiteral("虽然针对该内容的习题没有，您仍要仔细阅读！"));
}

TEST_F(CatalogueTest, APointsSetHoldsEveryQuestionListingItDiscardedOnesIncluded) {
    addLinked(QStringLiteral("QK12"), 61, QStringLiteral("A"), 0, QStringLiteral("K12"),
              QStringLiteral("01010103"));
    addLinked(QStringLiteral("Q'"), 61, QStringLiteral("A"), 0, QStringLiteral("K4"),
              QStringLiteral("0101'03"));
    const auto setOf = [this](const QString& ftid) {
        store::Query q(&db());
        q.setSql(knowledge::PointSetSql(ftid));
        q.open();
        QStringList ids;
        for (q.first(); !q.eof(); q.next())
            ids << q.text(QStringLiteral("a1"));
        return ids;
    };
    EXPECT_EQ(setOf(QStringLiteral("01010103")), (QStringList{"QB1", "QD", "QK12"}));
    EXPECT_EQ(setOf(QStringLiteral("01010101")), QStringList{"QB2"});
    EXPECT_EQ(setOf(QStringLiteral("0101'03")), QStringList{"Q'"});
}

}  // namespace
