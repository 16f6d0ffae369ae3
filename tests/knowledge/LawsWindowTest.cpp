// The catalogue and the knowledge-point practice window driven by objectName, on
// the catalogue's bank, with prompts recorded instead of shown.
#include "CatalogueBank.h"

#include "EffectButton.h"
#include "PictureButtonGroup.h"
#include "ULawsFaGui.h"
#include "WindowDriver.h"
#include "uRulelxxt.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QTimer>

namespace {

using knowledge::TfrmLawsFaGui;
using knowledge::TFrmRuleLxxt;

// One window under test, freed before the bank.
template <class Window>
class WindowTest : public CatalogueTest {
  protected:
    void TearDown() override {
        window.reset();
        CatalogueTest::TearDown();
    }
    template <class T = QAbstractButton>
    T* find(const QString& name) {
        return FindControl<T>(window.get(), name);
    }
    void click(const QString& name) { ClickControl(window.get(), name); }

    std::unique_ptr<Window> window;
};

class LawsWindowTest : public WindowTest<TfrmLawsFaGui> {
  protected:
    void open() {
        window = std::make_unique<TfrmLawsFaGui>(*dm);
        window->show();
    }
    QString title() { return find<QLabel>(QStringLiteral("m_Ltiltle"))->text(); }
    QString status() { return find<QLabel>(QStringLiteral("m_pNote"))->text(); }
    QListWidget* list() { return find<QListWidget>(QStringLiteral("m_LBmenu")); }
    QStringList items() {
        QStringList texts;
        for (int i = 0; i < list()->count(); ++i)
            texts << list()->item(i)->text();
        return texts;
    }
    void choose(int row) {
        window->m_grid->setCurrentCell(row, 0);
        click(QStringLiteral("m_btnSelect"));
    }
    void search(const QString& text) {
        auto* edit = find<QLineEdit>(QStringLiteral("m_editFind"));
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
};

TEST_F(LawsWindowTest, BothLayoutsOfTheCatalogue) {
    for (const char* mode : {"1024", "800"}) {
        qb::ScreenMode = QLatin1String(mode);
        open();
        const bool compact = qb::ScreenMode == QLatin1String("800");
        EXPECT_EQ(window->size(),
                  compact ? TfrmLawsFaGui::kCompactSize : TfrmLawsFaGui::kLargeSize);
        EXPECT_EQ(title(), QStringLiteral("考点目录"));
        EXPECT_EQ(window->m_grid->rowCount(), 4);
        EXPECT_EQ(window->m_grid->columnWidth(0), compact ? 410 : 554);
        EXPECT_EQ(window->m_grid->horizontalHeader()->height(), compact ? 30 : 36);
        EXPECT_EQ(window->m_grid->horizontalHeaderItem(3)->text(), QStringLiteral(" 已做道次"));
        EXPECT_EQ(find(QStringLiteral("m_btnExit"))->geometry(),
                  QRect(652, compact ? 425 : 520, 75, 22));
        EXPECT_FALSE(find(QStringLiteral("m_btnMost"))->isEnabled());
        EXPECT_FALSE(find(QStringLiteral("m_btnQuestion"))->isEnabled());
        EXPECT_FALSE(find(QStringLiteral("m_btnBack"))->isVisible());
    }
}

TEST_F(LawsWindowTest, SearchLooksAtNamesOnlyAndStartsAgainAtTheTop) {
    open();
    window->m_grid->setCurrentCell(3, 0);
    search(QStringLiteral("10"));  // only a counter holds it
    EXPECT_EQ(window->m_grid->currentRow(), 3);
    search(QStringLiteral(" 中央 "));
    EXPECT_EQ(window->m_grid->currentRow(), 2);
    EXPECT_EQ(window->m_grid->toolTip(), QStringLiteral("中央处理器"));
    search(QStringLiteral("系统"));
    EXPECT_EQ(window->m_grid->currentRow(), 0);
}

TEST_F(LawsWindowTest, AGroupIsRefusedAndAChapterOpensOnItsFirstPoint) {
    open();
    choose(0);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("prompt|提示|请选择具体章节!|3|1")});
    EXPECT_EQ(window->detail(), nullptr);

    choose(1);
    EXPECT_EQ(window->threshold(), 2);
    EXPECT_EQ(title(), QStringLiteral("数据的表示"));
    EXPECT_FALSE(window->m_grid->isVisible());
    EXPECT_FALSE(find(QStringLiteral("m_btnSelect"))->isVisible());
    EXPECT_TRUE(find(QStringLiteral("m_btnBack"))->isVisible());
    EXPECT_EQ(items(), (QStringList{"进制转换(5)", "原码与补码(3)", "进制转换(1)", "补码(二)(1)"}));
    EXPECT_EQ(find<QTextEdit>(QStringLiteral("Re"))->toPlainText(),
              QStringLiteral("二进制与十进制"));
    EXPECT_EQ(status(),
              QStringLiteral("相关题数：5题  已做题数：0题  已做道次：0次  做错道次：0次"));
    EXPECT_EQ(list()->width(), 388);

    click(QStringLiteral("m_btnMost"));
    EXPECT_EQ(items(), (QStringList{"进制转换(5)", "原码与补码(3)"}));
    EXPECT_EQ(find(QStringLiteral("m_btnMost"))->text(), QStringLiteral("全部(&A)"));
    click(QStringLiteral("m_btnMost"));
    EXPECT_EQ(items().size(), 4);
    EXPECT_EQ(find(QStringLiteral("m_btnMost"))->text(), QStringLiteral("重点(&M)"));
}

TEST_F(LawsWindowTest, APointWithoutQuestionsIsReadNotPractisedAndHasNoKeyPoints) {
    open();
    choose(2);
    EXPECT_EQ(window->threshold(), 3);
    EXPECT_EQ(items(), QStringList{"指令周期"});
    EXPECT_EQ(status(), QStringLiteral("虽然针对该内容的习题没有，您仍要仔细阅读！"));
    EXPECT_FALSE(find(QStringLiteral("m_btnQuestion"))->isEnabled());
    click(QStringLiteral("m_btnMost"));
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("message|提示|此考点暂无重点内容！|0|0")});
    EXPECT_EQ(items(), QStringList{"指令周期"});
    EXPECT_EQ(find(QStringLiteral("m_btnMost"))->text(), QStringLiteral("重点(&M)"));
}

TEST_F(LawsWindowTest, AChapterWithoutPointsLeavesNothingToPractise) {
    open();
    choose(3);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("message|提示|找不到考点!|0|0")});
    EXPECT_EQ(list()->count(), 0);
    ASSERT_TRUE(find(QStringLiteral("m_btnQuestion"))->isEnabled());
    click(QStringLiteral("m_btnQuestion"));
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(qb::PracticeSql.isEmpty() || !qb::PracticeSql.contains(QStringLiteral("010103")));
    EXPECT_TRUE(window->isVisible());
}

// The second of two points with the same name is practised on its own questions;
// the answers reach every counter, which the detail shows after Back.
TEST_F(LawsWindowTest, PractisingAPointCountsItsAnswersEverywhere) {
    open();
    choose(1);
    list()->setCurrentRow(2);
    QStringList seen;
    QTimer::singleShot(0, [&] {
        TFrmRuleLxxt* w = knowledge::FrmRuleLxxt;
        ASSERT_NE(w, nullptr);
        seen << w->epLabel2->text() << w->lbGroups->text() << QString::number(window->isVisible());
        QTest::mouseClick(
            w->card()->answers()->optionBar(practice::AnswerKind::SingleChoice)->buttonAt(1),
            Qt::LeftButton);
        ClickControl(w, QStringLiteral("epEfTrBtn3"));
        ClickControl(w, QStringLiteral("epEfTrBtn7"));
    });
    click(QStringLiteral("m_btnQuestion"));
    EXPECT_EQ(seen, (QStringList{"进制转换", "共1组2道题", "0"}));
    EXPECT_EQ(knowledge::FrmRuleLxxt, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(bank("select q1||'/'||q2||'/'||q4 from tab_rule where ftid='01010103'"),
              QStringLiteral("1/1/1"));
    EXPECT_EQ(bank("select q1||'/'||q2||'/'||q4 from tab_rule where ftid='01010101'"),
              QStringLiteral("0/0/0"));
    for (const char* id : {"010101", "01"}) {
        EXPECT_EQ(bank(QStringLiteral("select q1||'/'||q2||'/'||q4 from tab_fgmc where id='%1'")
                           .arg(QLatin1String(id))),
                  QStringLiteral("1/1/1"));
    }
    EXPECT_EQ(bank("select C4||'/'||D1||'/'||D2 from tab_kmmc where C1='010101'"),
              QStringLiteral("1/1/1"));
    // The detail keeps the counters it read; Back and a new choice show the new ones.
    EXPECT_EQ(status(),
              QStringLiteral("相关题数：1题  已做题数：0题  已做道次：0次  做错道次：0次"));
    click(QStringLiteral("m_btnBack"));
    EXPECT_EQ(title(), QStringLiteral("考 点 目 录"));
    EXPECT_EQ(window->m_grid->currentRow(), 1);
    EXPECT_EQ(window->m_grid->item(1, 2)->text(), QStringLiteral("        1"));
    click(QStringLiteral("m_btnSelect"));
    list()->setCurrentRow(2);
    EXPECT_EQ(status(),
              QStringLiteral("相关题数：1题  已做题数：1题  已做道次：1次  做错道次：1次"));
}

TEST_F(LawsWindowTest, APointWhoseQuestionsAreGoneIsReportedDone) {
    db().execute(QStringLiteral("delete from tab_answ where A1='QB2'"));
    open();
    choose(1);
    click(QStringLiteral("m_btnQuestion"));
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("prompt|提示|恭喜你，习题已做完！|1|0")});
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// ------------------------------------------------------------------ the practice window

class RulePracticeTest : public WindowTest<TFrmRuleLxxt> {
  protected:
    void open() {
        qb::PracticeSql = knowledge::PointSetSql(QStringLiteral("01010103"));
        window = std::make_unique<TFrmRuleLxxt>(*dm);
        ASSERT_TRUE(window->LoadPracticeSet());
        window->show();
    }
    practice::AnswerArea* answers() { return window->card()->answers(); }
};

TEST_F(RulePracticeTest, BothLayoutsWithThreeButtonsToARow) {
    for (const char* mode : {"1024", "800"}) {
        qb::ScreenMode = QLatin1String(mode);
        open();
        const bool compact = qb::ScreenMode == QLatin1String("800");
        EXPECT_EQ(window->size(), compact ? TFrmRuleLxxt::kCompactSize : TFrmRuleLxxt::kLargeSize);
        EXPECT_EQ(find(QStringLiteral("epEfTrBtn7"))->text(), QStringLiteral("关闭"));
        EXPECT_EQ(find(QStringLiteral("epEfTrBtnwin"))->text(), QStringLiteral("桌面"));
        EXPECT_EQ(find(QStringLiteral("epEfTrBtn8"))->text(), QStringLiteral("设置"));
        EXPECT_FALSE(find(QStringLiteral("epEfTrBtn11"))->isVisible());
        EXPECT_FALSE(find(QStringLiteral("epEfTrBtn4"))->isVisible());
        EXPECT_EQ(window->clockCaption->text(), QStringLiteral("时 钟"));
        const QRect finish = find(QStringLiteral("epEfTrBtn3"))->geometry();
        const QRect note = find(QStringLiteral("epEfTrBtn5"))->geometry();
        const QRect close = find(QStringLiteral("epEfTrBtn7"))->geometry();
        EXPECT_EQ(note.top(), finish.top());
        EXPECT_GT(close.top(), finish.top());
        EXPECT_EQ(close.right(), note.right());
        // Everything stays inside the window.
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w->isVisible() && w->parentWidget() == window.get()) {
                EXPECT_TRUE(window->rect().contains(w->geometry())) << qPrintable(w->objectName());
            }
        }
        window.reset();
    }
}

TEST_F(RulePracticeTest, ADiscardedQuestionIsInTheSetAndThePageNamesAreFixed) {
    open();
    EXPECT_EQ(window->epLabel2->text(), QStringLiteral("提示板"));
    EXPECT_EQ(answers()->pageLabel(practice::AnswerKind::SelfAssessed), QStringLiteral("主\n观"));
    EXPECT_EQ(answers()->pageLabel(practice::AnswerKind::Matching), QStringLiteral("不\n定\n项"));
    EXPECT_EQ(find(QStringLiteral("epEfTrBtn10"))->text(), QStringLiteral("本题作废"));
    // The type bar leaves the "主观" page's name alone.
    QTest::mouseClick(window->fcBG_tx->buttonAt(2), Qt::LeftButton);
    EXPECT_EQ(window->CurrentQuestionNo, 1);
    EXPECT_EQ(answers()->pageLabel(practice::AnswerKind::SelfAssessed), QStringLiteral("主\n观"));
    EXPECT_EQ(window->card()->redMarker()->text(), QStringLiteral("本题已被您作废！"));
    EXPECT_EQ(find(QStringLiteral("epEfTrBtn10"))->text(), QStringLiteral("取消作废"));
    click(QStringLiteral("epEfTrBtn10"));
    EXPECT_EQ(find(QStringLiteral("epEfTrBtn10"))->text(), QStringLiteral("本题作废"));
    EXPECT_EQ(bank("select F1 from tab_answ where A1='QD'"), QStringLiteral("0"));
}

TEST_F(RulePracticeTest, AnUnmappedFirstQuestionIsAnsweredOnTheSelfAssessedPage) {
    db().execute(QStringLiteral("update tab_answ set K3=NULL where A1='QB1'"));
    open();
    EXPECT_EQ(window->CurrentQuestionNo, 1);
    EXPECT_EQ(answers()->kind(), practice::AnswerKind::SelfAssessed);
    answers()->selfAssessedBox()->setCurrentIndex(0);
    click(QStringLiteral("epEfTrBtn3"));
    EXPECT_EQ(bank("select E2_1 from tab_answ where A1='QD'"), QStringLiteral("0"));
}

TEST_F(RulePracticeTest, FinishingWithoutAnAnswerSaysTheQuestionIsNotDone) {
    open();
    click(QStringLiteral("epEfTrBtn3"));
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("prompt|提示|题还没做呢！|1|1")});
    EXPECT_TRUE(window->card()->boldMarker()->text().isEmpty());
}

TEST_F(RulePracticeTest, MissingTypePicturesCloseThePracticeNotTheProgram) {
    ASSERT_TRUE(QFile::remove(dir.path() + QStringLiteral("/pic/zemotxdw.bmp")));
    qb::PracticeSql = knowledge::PointSetSql(QStringLiteral("01010103"));
    bool hidden = false;
    const practice::PracticeRun run =
        knowledge::RunPointPractice(*dm, QStringLiteral("进制转换"), [&hidden] { hidden = true; });
    EXPECT_EQ(run, practice::PracticeRun::Failed);
    EXPECT_FALSE(hidden);
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("prompt|错误|无法提取资源文件！|1|2")});
    EXPECT_EQ(knowledge::FrmRuleLxxt, nullptr);
}

}  // namespace
