// The search window: results listed with their places, practice over all of them in
// the chapter practice window, and the read-only view of one question. With
// SEARCH_SCREENS naming a folder, the windows are also saved there as pictures.
#include "SearchFixture.h"

#include "EffectButton.h"
#include "Globals.h"
#include "Notes.h"
#include "PracticeLauncher.h"
#include "Usearch.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>

namespace {

class SearchWindowTest : public SearchTest {
  protected:
    void SetUp() override {
        SearchTest::SetUp();
        qb::ScreenMode = QStringLiteral("1024");
        search::KeepIndexCurrent(db());
    }
    void TearDown() override { practice::setChapterPracticeRunner(nullptr); }

    static void find(search::TFrmSearch& w, const QString& text) {
        w.edFind->setText(text);
        QTest::mouseClick(w.btnFind, Qt::LeftButton);
    }

    static void saveScreen(QWidget& w, const char* name) {
        const QString folder = qEnvironmentVariable("SEARCH_SCREENS");
        if (!folder.isEmpty()) w.grab().save(folder + u'/' + QLatin1String(name));
    }
};

TEST_F(SearchWindowTest, ListsThePlacesAndPractisesEveryQuestionFound) {
    search::TFrmSearch w(*dm);
    w.show();
    find(w, QStringLiteral("题"));
    ASSERT_EQ(w.grdResult->rowCount(), 1);
    EXPECT_EQ(w.grdResult->item(0, 0)->text(), QString::fromUtf8(kGrouped));
    EXPECT_EQ(w.grdResult->item(0, 1)->text(), QStringLiteral("题干、共用题干"));
    EXPECT_TRUE(w.lblStatus->text().contains(QStringLiteral("逐条比对")));

    // The practice writes a note with the word searched for: back from it, the search
    // has run again and finds that note too.
    find(w, QStringLiteral("运算器"));
    ASSERT_EQ(w.grdResult->rowCount(), 1);
    QString practised;
    bool hiddenMeanwhile = false;
    practice::setChapterPracticeRunner(
        [&](const QString& caption, const std::function<void()>& beforeShow) {
            practised = caption + u'|' + qb::PracticeSql;
            beforeShow();
            hiddenMeanwhile = !w.isVisible();
            store::Query& set = dm->Cn1Query_tm;
            set.setSql(QStringLiteral("select * from tab_answ where A1=") + store::quoted(kNoted));
            set.open();
            aids::NoteBinding note;
            EXPECT_TRUE(note.Bind(set, QStringLiteral("A14")));
            note.Save(QStringLiteral("运算器和控制器要分清"));
            return true;
        });
    QTest::mouseClick(w.btnPractice, Qt::LeftButton);
    EXPECT_EQ(practised, QStringLiteral("搜索结果练习|") + search::PracticeSqlFor({kCpu}));
    EXPECT_TRUE(hiddenMeanwhile);
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(w.grdResult->rowCount(), 2);
    EXPECT_EQ(w.grdResult->item(1, 0)->text(), QString::fromUtf8(kNoted));
    EXPECT_EQ(w.grdResult->item(1, 1)->text(), QStringLiteral("笔记"));
    saveScreen(w, "search-1024.png");

    qb::ScreenMode = QStringLiteral("800");
    w.hide();
    w.show();
    EXPECT_EQ(w.size(), search::TFrmSearch::kCompactSize);
    saveScreen(w, "search-800.png");
}

TEST_F(SearchWindowTest, TheViewShowsTheQuestionWithTheWordMarked) {
    db().execute(QStringLiteral("update tab_answ set E2='B', A14='小心材料题' where A1=?"),
                 {{{}, kGrouped}});
    const std::optional<search::QuestionView> q = search::LoadQuestionView(db(), kGrouped);
    ASSERT_TRUE(q);
    search::TFrmSearchView view(*q, QStringLiteral("材料"));
    view.show();
    EXPECT_TRUE(view.Re1->isVisible());
    EXPECT_EQ(view.Re1->toPlainText(), QStringLiteral("阅读下面的材料，回答问题。"));
    EXPECT_EQ(view.Re2->toPlainText(), QStringLiteral("本题问的是第一小题。"));
    EXPECT_TRUE(view.lblAnswer->text().contains(QStringLiteral("上次的答案：B")));
    EXPECT_EQ(view.Re4->toPlainText(), QStringLiteral("小心材料题"));
    saveScreen(view, "search-view.png");
}

}  // namespace
