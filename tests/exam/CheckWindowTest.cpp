// The paper history window on a tiny bank, driven by its click areas offscreen.
#include "BankFixture.h"
#include "DataModule.h"
#include "FakePrompts.h"
#include "FlatButton.h"
#include "Globals.h"
#include "NumberDisplay.h"
#include "PaperMaker.h"
#include "Ucheck.h"
#include "Ueset.h"
#include "Uexam.h"
#include "Ustart.h"
#include "WindowHooks.h"
#include "Windows.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <memory>

using exam::TFrmCheck;

namespace {

const QString kAskDelete = QStringLiteral("message|提示|即将删除试卷，要继续么？|3|1");

class CheckWindowTest : public BankTest {
  protected:
    void SetUp() override {
        BankTest::SetUp();
        dm = openModule();
        qb::ProgramFolder = QStringLiteral(EXAMSTUDY_APP_DIR "/");
        qb::ScreenMode = QStringLiteral("1024");
        // A full mark of 140: passing takes 84.
        addType(1, 61, 80, 1);
        addType(1, 62, 30, 2);
        db().execute(QStringLiteral("update tab_plan set LeastMark=?"), {{{}, 60}});
    }
    void TearDown() override {
        window.reset();
        dm.reset();
    }
    store::Database& db() { return dm->ADOCn1; }
    void addType(int kind, int id, int b2, double b3) {
        db().execute(
            QStringLiteral("insert into tab_tx%1 (A1,B1,B2,B3) values (?,?,?,?)").arg(kind),
            {{{}, id}, {{}, QStringLiteral("t%1").arg(id)}, {{}, b2}, {{}, b3}});
    }
    // A paper row with its own (empty) work table; a null score is an unmarked paper.
    void addPaper(int number, const QVariant& score,
                  const QString& used = QStringLiteral("0:10:00")) {
        const QString table = QStringLiteral("tab_exam%1").arg(number);
        db().execute(QStringLiteral("create table %1 (A1 TEXT(20))").arg(table));
        db().execute(QStringLiteral("insert into tab_cj (A1,A3,A3_1,A6,D2) values (?,?,?,?,?)"),
                     {{{}, table},
                      {{}, QStringLiteral("试卷%1").arg(number)},
                      {{}, number},
                      {{}, score},
                      {{}, used}});
    }
    int rowsFor(const QString& table) {
        return db()
            .scalar(QStringLiteral("select count(*) from tab_cj where A1=?"), {{{}, table}})
            .toInt();
    }
    void open() {
        window = std::make_unique<TFrmCheck>(*dm);
        window->show();
    }
    QString cell(int row, int column) {
        auto* item = window->DBGrid1->item(row, column);
        return item == nullptr ? QString() : item->text();
    }
    static QString figure(widgets::NumberDisplay* d) { return d->text().trimmed(); }
    static void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

    FakePrompts prompts;
    std::unique_ptr<store::TDM1> dm;
    std::unique_ptr<TFrmCheck> window;
};

TEST(CheckAverage, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(exam::AverageScore(QVariant(84.5)), 84);
    EXPECT_EQ(exam::AverageScore(QVariant(85.5)), 86);
    EXPECT_EQ(exam::AverageScore(QVariant(70.4)), 70);
    EXPECT_EQ(exam::AverageScore(QVariant()), 0);
}

TEST_F(CheckWindowTest, FiguresLeaveUnmarkedPapersOutOfThePassesAndTheAverage) {
    addPaper(1, 84);
    addPaper(2, 83);
    addPaper(3, QVariant());
    addPaper(4, 96);
    open();
    EXPECT_EQ(window->size(), TFrmCheck::kLargeSize);
    EXPECT_EQ(figure(window->LEDTimes), QStringLiteral("4"));
    EXPECT_EQ(figure(window->LEDPassed), QStringLiteral("2"));
    // (84 + 83 + 96) / 3 = 87.67
    EXPECT_EQ(figure(window->LEDAverage), QStringLiteral("88"));
    EXPECT_EQ(window->LabelTip->text(), QStringLiteral("[提示]：成绩少于 60 分的试卷，不被保留。"));
    EXPECT_EQ(cell(1, 1), QString());
    EXPECT_TRUE(window->ReviewButton->isEnabled());
}

TEST_F(CheckWindowTest, ListsTheNewestPaperFirstWithItsColumns) {
    addPaper(2, 70, QStringLiteral("0:20:00"));
    addPaper(5, 90.5, QStringLiteral("1:02:03"));
    addPaper(3, 60);
    open();
    ASSERT_EQ(window->DBGrid1->rowCount(), 3);
    EXPECT_EQ(cell(0, 0), QStringLiteral("试卷5"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("90.5"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("1:02:03"));
    EXPECT_EQ(cell(1, 0), QStringLiteral("试卷3"));
    EXPECT_EQ(cell(2, 0), QStringLiteral("试卷2"));
    EXPECT_EQ(window->DBGrid1->columnWidth(0), 388);
    EXPECT_EQ(window->DBGrid1->columnWidth(1), 80);
    EXPECT_EQ(window->DBGrid1->columnWidth(2), 80);
}

TEST_F(CheckWindowTest, CompactScreenModeUsesTheSmallLayout) {
    qb::ScreenMode = QStringLiteral("800");
    addPaper(1, 70);
    open();
    EXPECT_EQ(window->size(), TFrmCheck::kCompactSize);
    EXPECT_EQ(window->DBGrid1->columnWidth(0), 310);
    EXPECT_EQ(window->DBGrid1->columnWidth(1), 65);
    EXPECT_EQ(window->DBGrid1->columnWidth(2), 65);
    qb::ScreenMode = QStringLiteral("1024");
}

TEST_F(CheckWindowTest, ConfirmedDeleteDropsTheTableAndTheRow) {
    addPaper(1, 70);
    addPaper(2, 90);
    open();
    window->DBGrid1->selectRow(0);
    prompts.messageAnswer = widgets::MessageResult::Ok;
    click(window->DeleteButton);
    EXPECT_EQ(prompts.shown, QStringList{kAskDelete});
    EXPECT_FALSE(db().hasTable(QStringLiteral("tab_exam2")));
    EXPECT_EQ(rowsFor(QStringLiteral("tab_exam2")), 0);
    EXPECT_EQ(rowsFor(QStringLiteral("tab_exam1")), 1);
    ASSERT_EQ(window->DBGrid1->rowCount(), 1);
    EXPECT_EQ(cell(0, 0), QStringLiteral("试卷1"));
    // The figures wait for the next show.
    EXPECT_EQ(figure(window->LEDTimes), QStringLiteral("2"));
}

TEST_F(CheckWindowTest, ConfirmedDeleteRemovesARowWhoseTableIsGone) {
    addPaper(1, 70);
    db().execute(QStringLiteral("drop table tab_exam1"));
    open();
    click(window->DeleteButton);
    EXPECT_EQ(rowsFor(QStringLiteral("tab_exam1")), 0);
    EXPECT_EQ(window->DBGrid1->rowCount(), 0);
}

TEST_F(CheckWindowTest, CancelledDeleteKeepsTableAndRow) {
    addPaper(1, 70);
    open();
    prompts.messageAnswer = widgets::MessageResult::Cancel;
    click(window->DeleteButton);
    EXPECT_EQ(prompts.shown, QStringList{kAskDelete});
    EXPECT_TRUE(db().hasTable(QStringLiteral("tab_exam1")));
    EXPECT_EQ(rowsFor(QStringLiteral("tab_exam1")), 1);
    EXPECT_EQ(window->DBGrid1->rowCount(), 1);
}

TEST_F(CheckWindowTest, EmptyHistoryShowsZerosAndReviewDoesNothing) {
    open();
    EXPECT_EQ(window->DBGrid1->rowCount(), 0);
    EXPECT_EQ(figure(window->LEDTimes), QStringLiteral("0"));
    EXPECT_EQ(figure(window->LEDPassed), QStringLiteral("0"));
    EXPECT_EQ(figure(window->LEDAverage), QStringLiteral("0"));
    EXPECT_FALSE(window->ReviewButton->isEnabled());
    window->ReviewClick();
    window->DeleteClick();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST_F(CheckWindowTest, SettingsAreaOpensTheSystemSettingsInTheirMusicLayout) {
    open();
    EXPECT_FALSE(window->SettingsButton->isEnabled());  // grey until settings exist
    window.reset();
    QWidget* owner = nullptr;
    int mode = -1;
    qb::ConfigMode = 1;
    widgets::setSystemSettingsRunner([&](QWidget* w) {
        owner = w;
        mode = qb::ConfigMode;
    });
    open();
    click(window->SettingsButton);
    widgets::setSystemSettingsRunner({});
    EXPECT_EQ(owner, window.get());
    EXPECT_EQ(mode, 0);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(CheckWindowTest, CloseClosesTheHistoryDataset) {
    addPaper(1, 70);
    open();
    click(window->CloseButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(dm->Cn1Table_cj.isActive());
}

TEST_F(CheckWindowTest, ReviewOpensTheStoredPaperInTheOldMode) {
    // A real paper: made, then marked with a score and a time.
    const QString chapter = QStringLiteral("010101");
    {
        store::Transaction tx(db());
        for (int i = 0; i < 4; ++i) {
            const QString id = QStringLiteral("q%1").arg(i);
            db().execute(QStringLiteral("insert into tab_answ (A1,A2,A2_1,A10,A13,E2,E3,E4,F1) "
                                        "values (?,'A',4,?,?,'',?,0,0)"),
                         {{{}, id}, {{}, chapter}, {{}, 61}, {{}, i}});
            db().execute(QStringLiteral("insert into tab_exer (A1,A15,jx) values (?,'stem','j')"),
                         {{{}, id}});
        }
        tx.commit();
    }
    exam::PaperOptions options;
    options.seed = 3;
    const exam::PaperResult made = exam::MakePaper(*dm, 1, options);
    ASSERT_TRUE(made.ok) << made.error.toStdString();
    db().execute(QStringLiteral("update tab_cj set A6=?, D2=? where A1=?"),
                 {{{}, 77}, {{}, QStringLiteral("0:33:10")}, {{}, made.paper.table}});
    open();
    ASSERT_EQ(window->DBGrid1->rowCount(), 1);

    exam::PaperState seen;
    bool historyHidden = false;
    bool stillModal = false;
    // The history runs modally, as from the menu; the review must not end its wait.
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            if (exam::FrmExam != nullptr) {
                seen = exam::FrmExam->paper();
                historyHidden = !window->isVisible();
                exam::FrmExam->close();
            }
        });
        click(window->ReviewButton);
        stillModal = window->isRunning() && window->isVisible();
        // Reviewing never drops the paper.
        EXPECT_TRUE(db().hasTable(made.paper.table));
        EXPECT_EQ(rowsFor(made.paper.table), 1);
        EXPECT_EQ(figure(window->LEDAverage), QStringLiteral("77"));
        window->close();
    });
    window->exec();
    EXPECT_TRUE(stillModal);
    EXPECT_EQ(seen.mode, QStringLiteral("old"));
    EXPECT_EQ(seen.table, made.paper.table);
    EXPECT_EQ(seen.title, made.paper.title);
    EXPECT_DOUBLE_EQ(seen.score, 77);
    EXPECT_EQ(seen.timeUsed, QStringLiteral("0:33:10"));
    EXPECT_TRUE(historyHidden);
}

}  // namespace

namespace {

// The menu's "cj" opens a fresh history window modally, ready for use with the
// normal cursor, and frees it when it closes.
TEST_F(CheckWindowTest, CjOpensTheHistoryWindowModally) {
    addPaper(1, 70);
    app::TFrmStart start(*dm);
    app::RegisterWindows(start, *dm);
    QPointer<TFrmCheck> opened;
    QString seen;
    QTimer::singleShot(0, [&] {
        TFrmCheck* shown = exam::FrmCheck;
        ASSERT_NE(shown, nullptr);
        opened = shown;
        seen = QStringLiteral("visible %1 modal %2 cursor %3 rows %4")
                   .arg(shown->isVisible())
                   .arg(shown->isModal())
                   .arg(QApplication::overrideCursor() == nullptr ? "normal" : "busy")
                   .arg(shown->DBGrid1->rowCount());
        QTest::mouseClick(shown->CloseButton, Qt::LeftButton);
    });
    start.ShockwaveFlash1FSCommand(QStringLiteral("cj"), QString());
    EXPECT_EQ(seen, QStringLiteral("visible 1 modal 1 cursor normal rows 1"));
    EXPECT_EQ(exam::FrmCheck, nullptr);
    EXPECT_TRUE(opened.isNull());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
