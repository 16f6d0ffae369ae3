// The search index: what it finds where, how it stays current with the program's
// writes, how a stale or missing index is made again, and queries that look like
// FTS syntax.
#include "SearchFixture.h"

#include "DataModule.h"
#include "Notes.h"
#include "QuestionEdit.h"
#include "QuestionEntry.h"
#include "Upgrade.h"

#include <QFile>

namespace {

using search::Source;

struct FindCase {
    const char* query;
    QStringList ids;
    Source source;  // of the first question found
    bool scanned;
};

TEST_F(SearchTest, FindsAChineseSubstringInEveryPlaceAndOnlyInThePlainText) {
    search::SearchIndex index(db(), indexPath);
    index.Open();
    const FindCase cases[] = {
        {"中央处理", {kCpu}, Source::Stem, false},
        {"cpu", {kCpu}, Source::Stem, false},              // case ignored
        {"原码取反", {kCpu}, Source::Explanation, false},  // RTF explanation
        {"容易混淆", {kNoted}, Source::Note, false},
        {"阅读下面的材料", {kGrouped}, Source::SharedStem, false},
        {"十进制的转", {kNoted}, Source::KnowledgePoint, false},
        {"补码", {kCpu}, Source::Explanation, true},  // two characters: scanned
        {"题", {kGrouped}, Source::Stem, true},
        {"ansicpg", {}, Source::Stem, false},  // the RTF's own words are no text
        {"fonttbl", {}, Source::Stem, false},
        {"不存在的词", {}, Source::Stem, false},
    };
    for (const FindCase& c : cases) {
        const QString query = QString::fromUtf8(c.query);
        const search::SearchResult r = index.Search(query);
        EXPECT_EQ(ids(r), c.ids) << c.query;
        EXPECT_EQ(r.total, c.ids.size()) << c.query;
        EXPECT_EQ(r.scanned, c.scanned) << c.query;
        if (r.questions.isEmpty()) continue;
        const search::Found& first = r.questions.first();
        EXPECT_EQ(first.source, c.source) << c.query;
        ASSERT_FALSE(first.snippet.marks.isEmpty()) << c.query;
        const auto [at, length] = first.snippet.marks.first();
        EXPECT_EQ(first.snippet.text.mid(at, length).compare(query, Qt::CaseInsensitive), 0)
            << c.query;
    }
}

TEST_F(SearchTest, QuotesAndFtsSyntaxAreSearchedAsText) {
    addQuestion(QStringLiteral("0101016100000009"),
                QStringLiteral("公式 a*b 与\"引号\"，NEAR(x y) AND NOT col:umn ^start -minus"),
                QString());
    search::SearchIndex index(db(), indexPath);
    index.Open();
    const QStringList hit{QStringLiteral("0101016100000009")};
    const std::pair<const char*, QStringList> cases[] = {
        {"\"引号\"", hit}, {"a*b", hit},    {"NEAR(x y)", hit}, {"AND NOT", hit}, {"col:umn", hit},
        {"^start", hit},   {"-minus", hit}, {"\"", hit},        {"\"\"", {}},     {"%", {}},
        {"_", {}},         {"a\"b", {}},    {"NOT", hit},       {"OR 中央", {}},
    };
    for (const auto& [query, expected] : cases) {
        search::SearchResult r;
        EXPECT_NO_THROW(r = index.Search(QString::fromUtf8(query))) << query;
        EXPECT_EQ(ids(r), expected) << query;
    }
}

// Each write the program makes is in the index at once, without opening it again.
TEST_F(SearchTest, ProgramWritesKeepTheIndexCurrent) {
    search::KeepIndexCurrent(db());
    search::SearchIndex index(db(), indexPath);
    index.Open();

    // The editor: same length as before, so only the write's own notice can tell.
    authoring::EditedQuestion edited = authoring::LoadQuestionForEdit(*dm, kCpu);
    edited.draft.stem = rtf(QStringLiteral("计算机的甲乙丙丁由运算器和控制器组成，俗称CPU。"));
    authoring::SaveQuestionEdit(*dm, edited);
    EXPECT_EQ(ids(index.Search(QStringLiteral("甲乙丙丁"))), QStringList{kCpu});
    EXPECT_EQ(ids(index.Search(QStringLiteral("中央处理"))), QStringList());

    // A shared stem changed in the editor of one of its questions.
    edited = authoring::LoadQuestionForEdit(*dm, kGrouped);
    edited.sharedStem = rtf(QStringLiteral("阅读上面的材料，回答问题。"));
    authoring::SaveQuestionEdit(*dm, edited);
    EXPECT_EQ(ids(index.Search(QStringLiteral("阅读上面"))), QStringList{kGrouped});

    // The note window, through the practice set it writes.
    store::Query& set = dm->Cn1Query_tm;
    set.setSql(QStringLiteral("select * from tab_answ where A1=") + store::quoted(kCpu));
    set.open();
    aids::NoteBinding note;
    ASSERT_TRUE(note.Bind(set, QStringLiteral("A14")));
    note.Save(QStringLiteral("只在笔记里的词"));
    EXPECT_EQ(ids(index.Search(QStringLiteral("只在笔记"))), QStringList{kCpu});

    // A question of one's own.
    authoring::QuestionDraft draft;
    draft.stem = rtf(QStringLiteral("自己录入的一道题"));
    draft.stemText = QStringLiteral("自己录入的一道题");
    draft.answer = QStringLiteral("A");
    draft.typeId = 61;
    const std::optional<QString> id =
        authoring::SaveNewQuestion(*dm, QStringLiteral("010101"), draft);
    ASSERT_TRUE(id);
    EXPECT_EQ(ids(index.Search(QStringLiteral("自己录入"))), QStringList{*id});

    // An upgrade: new questions, a new shared stem and a new knowledge point.
    const QString upgradeFile = dir.path() + QStringLiteral("/up.db");
    {
        store::createEmptyBank(upgradeFile);
        store::Database up;
        up.open(upgradeFile);
        up.execute(QStringLiteral("insert into tab_sj (sjbs,cpbs) values ('P1-UP1','P1')"));
        up.execute(
            QStringLiteral("insert into tab_answ (A1,A2,A2_1,A10,A13,K3,F1) values "
                           "('0102016100000001-1','B',4,'010201',61,'01020101',0)"));
        up.execute(QStringLiteral("insert into tab_exer (A1,A15) values (?,?)"),
                   {{{}, QStringLiteral("0102016100000001-1")},
                    {{}, rtf(QStringLiteral("升级带来的新题"))}});
        up.execute(QStringLiteral("insert into tab_title (A1,A15) values (?,?)"),
                   {{{}, QStringLiteral("0102016100000001")},
                    {{}, rtf(QStringLiteral("升级的共用题干"))}});
        up.execute(QStringLiteral("insert into tab_rule (id,ftid,sn,n) values (?,?,?,?)"),
                   {{{}, QStringLiteral("010201")},
                    {{}, QStringLiteral("01020101")},
                    {{}, QStringLiteral("新")},
                    {{}, rtf(QStringLiteral("升级的新考点"))}});
        up.execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    ASSERT_EQ(upgrade::ImportUpgrade(*dm, upgradeFile).outcome, upgrade::Outcome::Succeeded);
    const QStringList upgraded{QStringLiteral("0102016100000001-1")};
    for (const char* query : {"升级带来", "升级的共用", "升级的新考点"})
        EXPECT_EQ(ids(index.Search(QString::fromUtf8(query))), upgraded) << query;

    EXPECT_EQ(index.StaleSources(), QVector<Source>());
}

// What the bank or the file went through while the program was not looking.
struct StaleCase {
    const char* what;
    std::function<void(SearchTest&)> spoil;
    QVector<Source> rebuilt;
    const char* query;  // found after opening
};

TEST_F(SearchTest, AStaleOrMissingIndexIsMadeAgainOnOpening) {
    const QVector<Source> all{Source::Stem, Source::SharedStem, Source::Explanation,
                              Source::KnowledgePoint, Source::Note};
    const StaleCase cases[] = {
        {"nothing changed", [](SearchTest&) {}, {}, "中央处理"},
        {"index missing", [](SearchTest& t) { QFile::remove(t.indexPath); }, all, "中央处理"},
        {"index not a database",
         [](SearchTest& t) {
             QFile f(t.indexPath);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
             f.write(QByteArray(4096, 'x'));
         },
         all, "中央处理"},
        {"index of another format",
         [](SearchTest& t) {
             store::Database index;
             index.open(t.indexPath);
             index.execute(QStringLiteral("update meta set value=0 where name='format'"));
         },
         all, "中央处理"},
        {"note changed behind the index",
         [](SearchTest& t) {
             t.db().execute(QStringLiteral("update tab_answ set A14='悄悄改过的笔记' where A1=?"),
                            {{{}, kCpu}});
         },
         {Source::Note},
         "悄悄改过"},
        {"question added behind the index",
         [](SearchTest& t) {
             t.addQuestion(QStringLiteral("0101016100000007"), QStringLiteral("后来加进来的题"),
                           QStringLiteral("后来的解析"));
         },
         {Source::Stem, Source::Explanation, Source::Note},
         "后来加进"},
        {"knowledge point removed behind the index",
         [](SearchTest& t) { t.db().execute(QStringLiteral("delete from tab_rule")); },
         {Source::KnowledgePoint},
         "中央处理"},
    };
    for (const StaleCase& c : cases) {
        {
            search::SearchIndex first(db(), indexPath);
            first.Open();
        }
        c.spoil(*this);
        search::SearchIndex index(db(), indexPath);
        EXPECT_EQ(index.Open(), c.rebuilt) << c.what;
        EXPECT_FALSE(index.Search(QString::fromUtf8(c.query)).questions.isEmpty()) << c.what;
        EXPECT_EQ(index.StaleSources(), QVector<Source>()) << c.what;
    }
}

TEST_F(SearchTest, PractisingTheResultsTakesEveryQuestionButDiscardedOnes) {
    db().execute(QStringLiteral("update tab_answ set F1=1 where A1=?"), {{{}, kNoted}});
    const QString sql =
        search::PracticeSqlFor({kCpu, kNoted, kGrouped, QStringLiteral("x' or '1'='1")});
    QStringList practised;
    db().query(sql, {}, [&](store::Statement& row) { practised << row.value(0).toString(); });
    EXPECT_EQ(practised, QStringList({kCpu, kGrouped}));
}

}  // namespace
