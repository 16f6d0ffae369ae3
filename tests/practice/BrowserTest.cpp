// The subject and chapter browser on a tiny bank, driven by its controls.
#include "BrowserBank.h"
#include "ErrorText.h"
#include "FlatButton.h"
#include "Globals.h"
#include "ModalForm.h"
#include "NumberDisplay.h"
#include "PracticeLauncher.h"
#include "Ukmmc.h"
#include "WindowHooks.h"
#include "app/FakePrompts.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <stdexcept>

using practice::ChapterSet;
using practice::TFrmkmmc;

namespace {

const QString kRefusal = QStringLiteral("message|提示|请选择具体章节目录！|0|0");

class BrowserTest : public BrowserBankTest {
  protected:
    void SetUp() override {
        BrowserBankTest::SetUp();
        qb::ScreenMode = QStringLiteral("1024");
        qb::PracticeSql.clear();
        qb::CurrentChapterTitle.clear();
    }
    void TearDown() override {
        browser.reset();
        dm.reset();
        practice::setChapterPracticeRunner(nullptr);
        practice::setQuestionEntryRunner(nullptr);
        widgets::setSystemSettingsRunner(nullptr);
        while (QApplication::overrideCursor() != nullptr)
            QApplication::restoreOverrideCursor();
        BrowserBankTest::TearDown();
    }

    // The browser on the bank as it is now, shown (which runs FormShow).
    void open(int screenWidth = 1024) {
        dm = openModule();
        browser = std::make_unique<TFrmkmmc>(*dm);
        browser->setScreenWidthProvider([screenWidth] { return screenWidth; });
        browser->show();
    }

    int rowOf(const QString& code) {
        const QStringList order{QStringLiteral("01"), QStringLiteral("0101"),
                                QStringLiteral("010101"), QStringLiteral("010102")};
        return static_cast<int>(order.indexOf(code));
    }
    void selectRow(const QString& code) {
        const QModelIndex index = browser->DBGrid1->model()->index(rowOf(code), 0);
        browser->DBGrid1->setCurrentIndex(index);
    }
    QString cell(int row, int column) {
        return browser->DBGrid1->model()->index(row, column).data().toString();
    }
    QString currentCode() { return dm->Cn1Table_kmmc.text(QStringLiteral("C1")); }
    static QString shown(const widgets::NumberDisplay* n) { return n->text().trimmed(); }
    void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    // QTest sends a double-click event alone; the grid wants the press before it.
    void doubleClickCell(int row, int column) {
        QWidget* viewport = browser->DBGrid1->viewport();
        const QPoint at =
            browser->DBGrid1->visualRect(browser->DBGrid1->model()->index(row, column)).center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    }

    FakePrompts prompts;
    std::unique_ptr<store::TDM1> dm;
    std::unique_ptr<TFrmkmmc> browser;
};

TEST_F(BrowserTest, ListsEveryRowButXxInCatalogueOrder) {
    open();
    QAbstractItemModel* m = browser->DBGrid1->model();
    ASSERT_EQ(m->rowCount(), 4);
    EXPECT_EQ(cell(0, 0), QStringLiteral("01"));
    EXPECT_EQ(cell(2, 0), QStringLiteral("数据的表示"));
    EXPECT_EQ(cell(3, 0), QStringLiteral("中央处理器"));
    QStringList titles;
    for (int c = 0; c < m->columnCount(); ++c)
        titles << m->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("章节名称"), QStringLiteral("习题数目"),
                                   QStringLiteral("已做题数"), QStringLiteral("已做道次"),
                                   QStringLiteral("做错道次"), QStringLiteral("综合成绩")}));
    EXPECT_TRUE(m->index(0, 5).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    EXPECT_EQ(browser->DBGrid1->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(browser->DBGrid1->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_FALSE(m->flags(m->index(1, 1)) & Qt::ItemIsEditable);
    EXPECT_EQ(browser->windowTitle(), QStringLiteral("科目名称"));
    EXPECT_TRUE(browser->windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(BrowserTest, GridAndCatalogueRowMoveTogether) {
    open();
    selectRow(QStringLiteral("010102"));
    EXPECT_EQ(currentCode(), QStringLiteral("010102"));
    // The data module follows the row, so practice shows the chapter's heading.
    EXPECT_EQ(qb::CurrentChapterTitle, QStringLiteral("组成与结构　中央处理器"));
    EXPECT_EQ(browser->DBGrid1->model()->headerData(3, Qt::Vertical).toString(),
              QStringLiteral("▶"));
    ASSERT_TRUE(dm->Cn1Table_kmmc.locate(QStringLiteral("C1"), QStringLiteral("0101")));
    EXPECT_EQ(browser->DBGrid1->currentIndex().row(), 1);
    EXPECT_TRUE(browser->DBGrid1->model()->headerData(3, Qt::Vertical).toString().isEmpty());
}

// Every control of a layout lies inside the window and clear of every other one.
void expectNothingOverlaps(const TFrmkmmc& w) {
    QList<QWidget*> controls;
    for (QWidget* c : w.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (c->isVisibleTo(&w)) controls << c;
    }
    ASSERT_GE(controls.size(), 15);
    for (int i = 0; i < controls.size(); ++i) {
        EXPECT_TRUE(w.rect().contains(controls[i]->geometry()))
            << controls[i]->objectName().toStdString();
        for (int j = i + 1; j < controls.size(); ++j) {
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << controls[i]->objectName().toStdString() << " and "
                << controls[j]->objectName().toStdString();
        }
    }
}

TEST_F(BrowserTest, LargeLayout) {
    open();
    EXPECT_EQ(browser->size(), QSize(935, 611));
    EXPECT_EQ(browser->DBGrid1->geometry(), QRect(33, 101, 733, 379));
    EXPECT_EQ(browser->epNum_ok->geometry(), QRect(811, 247, 88, 35));
    EXPECT_EQ(browser->Label4->geometry(), QRect(803, 372, 105, 17));
    EXPECT_EQ(browser->Lb_fs->geometry(), QRect(827, 405, 57, 23));
    EXPECT_EQ(browser->SpeedButton5->geometry(), QRect(401, 501, 84, 37));
    EXPECT_EQ(browser->SpeedButton6->geometry(), QRect(676, 494, 85, 35));
    EXPECT_EQ(browser->DBGrid1->font().pixelSize(), 16);
    EXPECT_EQ(browser->DBGrid1->columnWidth(0), 370);
    EXPECT_EQ(browser->DBGrid1->columnWidth(5), 65);
    expectNothingOverlaps(*browser);
}

TEST_F(BrowserTest, CompactLayoutAndColumnsByScreenWidth) {
    qb::ScreenMode = QStringLiteral("800");
    open(800);
    EXPECT_EQ(browser->size(), QSize(761, 480));
    EXPECT_EQ(browser->DBGrid1->geometry(), QRect(25, 136, 596, 176));
    EXPECT_EQ(browser->epNum_Err->geometry(), QRect(650, 253, 90, 30));
    EXPECT_EQ(browser->Label1->geometry(), QRect(644, 113, 102, 17));
    EXPECT_EQ(browser->Lb_fs->geometry(), QRect(672, 318, 57, 23));
    EXPECT_EQ(browser->SpeedButton2->geometry(), QRect(185, 393, 69, 31));
    EXPECT_EQ(browser->SpeedButton4->geometry(), QRect(475, 387, 68, 29));
    EXPECT_EQ(browser->DBGrid1->font().pointSize(), 11);
    EXPECT_EQ(browser->DBGrid1->columnWidth(0), 308);
    EXPECT_EQ(browser->DBGrid1->columnWidth(3), 50);
    expectNothingOverlaps(*browser);
}

TEST_F(BrowserTest, ColumnsFollowTheScreenNotTheLayout) {
    qb::ScreenMode = QStringLiteral("800");  // 1280 × 600: compact, yet wide
    open(1280);
    EXPECT_EQ(browser->DBGrid1->columnWidth(0), 370);
    EXPECT_EQ(browser->DBGrid1->columnWidth(1), 65);
}

TEST_F(BrowserTest, NoAnswersYetKeepsTheScoreLabel) {
    setCounters(QStringLiteral("010101"), 30, 0, 0);
    open();
    EXPECT_EQ(shown(browser->epNum_all), QStringLiteral("30"));
    EXPECT_EQ(shown(browser->epNum_ok), QStringLiteral("0"));
    EXPECT_EQ(shown(browser->epNum_Err), QStringLiteral("0"));
    EXPECT_EQ(browser->Lb_fs->text(), QStringLiteral("分数"));
}

TEST_F(BrowserTest, TotalsOverChaptersWithScoreAndCap) {
    setCounters(QStringLiteral("0101"), 9000, 900, 90);  // 4 characters: not counted
    setCounters(QStringLiteral("010101"), 7000, 30, 5);
    setCounters(QStringLiteral("010102"), 5000, 10, 1);
    open();
    EXPECT_EQ(shown(browser->epNum_all), QStringLiteral("10000"));
    EXPECT_EQ(shown(browser->epNum_ok), QStringLiteral("40"));
    EXPECT_EQ(shown(browser->epNum_Err), QStringLiteral("6"));
    EXPECT_EQ(browser->Lb_fs->text(), QStringLiteral("85.00"));

    // Shown again with no answers left: the last score stays.
    setCounters(QStringLiteral("010101"), 1, 0, 0);
    setCounters(QStringLiteral("010102"), 1, 0, 0);
    browser->hide();
    browser->show();
    EXPECT_EQ(shown(browser->epNum_all), QStringLiteral("2"));
    EXPECT_EQ(shown(browser->epNum_ok), QStringLiteral("0"));
    EXPECT_EQ(browser->Lb_fs->text(), QStringLiteral("85.00"));
}

TEST_F(BrowserTest, ShowingEndsWithTheNormalCursor) {
    dm = openModule();
    browser = std::make_unique<TFrmkmmc>(*dm);
    // The main window opens the browser with the hourglass on.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    browser->show();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(BrowserTest, SubjectAndGroupRowsAreRefused) {
    practice::setChapterPracticeRunner([](const QString&, const std::function<void()>&) {
        ADD_FAILURE() << "practice started for a subject row";
        return true;
    });
    bool entryRan = false;
    practice::setQuestionEntryRunner([&](const QString&, QWidget*, int&) { entryRan = true; });
    open();
    selectRow(QStringLiteral("01"));
    click(browser->SpeedButton1);
    click(browser->SpeedButton3);
    doubleClickCell(0, 0);
    click(browser->SpeedButton5);
    EXPECT_EQ(prompts.shown, (QStringList{kRefusal, kRefusal, kRefusal, kRefusal}));
    EXPECT_FALSE(entryRan);
    EXPECT_TRUE(qb::PracticeSql.isEmpty());
    // The refused row is still the row last acted on.
    EXPECT_EQ(browser->actedCode(), QStringLiteral("01"));
}

TEST_F(BrowserTest, EmptySetsSayWhyAndTheBrowserStays) {
    open();
    selectRow(QStringLiteral("0101"));  // 4 characters: a chapter that can be practised
    const struct {
        QAbstractButton* button;
        ChapterSet set;
        QString prompt;
    } cases[] = {
        {browser->SpeedButton1, ChapterSet::NewQuestions,
         QStringLiteral("prompt|提示|恭喜，习题已做完！|1|0")},
        {browser->SpeedButton2, ChapterSet::WrongQuestions,
         QStringLiteral("prompt|提示|本章节下没有错题！|1|1")},
        {browser->SpeedButton3, ChapterSet::DoneQuestions,
         QStringLiteral("prompt|提示|本章节习题还未曾做过！|1|1")},
    };
    for (const auto& c : cases) {
        prompts.shown.clear();
        click(c.button);
        EXPECT_EQ(prompts.shown, QStringList{c.prompt});
        EXPECT_EQ(qb::PracticeSql, practice::ChapterSetSql(c.set, QStringLiteral("0101")));
        EXPECT_TRUE(browser->isVisible());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(browser->actedCode(), QStringLiteral("0101"));
}

TEST_F(BrowserTest, PracticeHidesTheBrowserAndComesBackRefreshed) {
    setCounters(QStringLiteral("010101"), 20, 4, 1, 3);
    setCounters(QStringLiteral("010102"), 10, 0, 0);
    open();
    EXPECT_EQ(browser->Lb_fs->text(), QStringLiteral("75.00"));
    selectRow(QStringLiteral("010101"));
    QString caption;
    QString sql;
    bool hiddenDuringPractice = false;
    practice::setChapterPracticeRunner(
        [&](const QString& c, const std::function<void()>& beforeShow) {
            caption = c;
            sql = qb::PracticeSql;
            beforeShow();
            hiddenDuringPractice = !browser->isVisible();
            EXPECT_EQ(QApplication::overrideCursor(), nullptr);
            // Four answers, all wrong; counting them moves the catalogue's cursor.
            for (int i = 0; i < 4; ++i) {
                dm->RecordChapterAnswer(QStringLiteral("010101"), qb::kYes, qb::kYes);
            }
            return true;
        });
    click(browser->SpeedButton1);
    EXPECT_EQ(caption, QStringLiteral("练习新题"));
    EXPECT_EQ(sql, practice::ChapterSetSql(ChapterSet::NewQuestions, QStringLiteral("010101")));
    EXPECT_TRUE(hiddenDuringPractice);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Back on the chapter, with the new counters in the grid and the totals.
    EXPECT_EQ(currentCode(), QStringLiteral("010101"));
    EXPECT_EQ(browser->DBGrid1->currentIndex().row(), 2);
    EXPECT_EQ(qb::CurrentChapterTitle, QStringLiteral("组成与结构　数据的表示"));
    EXPECT_EQ(cell(2, 2), QStringLiteral("7"));
    EXPECT_EQ(cell(2, 3), QStringLiteral("8"));
    EXPECT_EQ(cell(2, 4), QStringLiteral("5"));
    EXPECT_EQ(shown(browser->epNum_ok), QStringLiteral("8"));
    EXPECT_EQ(shown(browser->epNum_Err), QStringLiteral("5"));
    EXPECT_EQ(browser->Lb_fs->text(), QStringLiteral("37.50"));
}

TEST_F(BrowserTest, DoubleClickStartsNewQuestionsUnderTheRowsName) {
    open();
    QString caption;
    practice::setChapterPracticeRunner(
        [&](const QString& c, const std::function<void()>& beforeShow) {
            caption = c;
            beforeShow();
            return true;
        });
    doubleClickCell(3, 2);
    EXPECT_EQ(caption, QStringLiteral("中央处理器"));
    EXPECT_EQ(qb::PracticeSql, practice::GridNewQuestionsSql(QStringLiteral("010102")));
    EXPECT_EQ(browser->actedCode(), QStringLiteral("010102"));
    EXPECT_TRUE(browser->isVisible());
}

TEST_F(BrowserTest, DoubleClickOnAnEmptySetSaysAllIsDone) {
    open();
    selectRow(QStringLiteral("010101"));
    browser->DBGrid1DblClick();
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("prompt|提示|恭喜，习题已做完！|1|0")});
}

TEST_F(BrowserTest, ShownAgainTheGridReturnsToTheRowLastActedOn) {
    open();
    selectRow(QStringLiteral("010102"));
    click(browser->SpeedButton2);  // an empty set; the row is remembered all the same
    selectRow(QStringLiteral("01"));
    browser->hide();
    browser->show();
    EXPECT_EQ(currentCode(), QStringLiteral("010102"));
    EXPECT_EQ(browser->DBGrid1->currentIndex().row(), 3);
}

TEST_F(BrowserTest, AnErrorInPracticeStillBringsTheBrowserBack) {
    open();
    selectRow(QStringLiteral("010101"));
    practice::setChapterPracticeRunner([](const QString&, const std::function<void()>& beforeShow) {
        beforeShow();
        throw std::runtime_error("the set cannot be read");
        return true;
    });
    EXPECT_THROW(browser->epEfButton1Click(browser->SpeedButton1), std::runtime_error);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // From the button, the error is shown instead of unwinding through the event loop,
    // in Chinese: the exception's own words go to the log.
    click(browser->SpeedButton1);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0],
              QStringLiteral("prompt|错误|%1|1|2").arg(store::GeneralErrorText()));
    EXPECT_TRUE(browser->isVisible());
}

TEST_F(BrowserTest, QuestionEntryAddsWhatWasSavedToTheShownTotal) {
    setCounters(QStringLiteral("010101"), 9000, 0, 0);
    setCounters(QStringLiteral("010102"), 999, 0, 0);
    QString enteredInto;
    QWidget* owner = nullptr;
    practice::setQuestionEntryRunner([&](const QString& code, QWidget* opener, int& saved) {
        enteredInto = code;
        owner = opener;
        setCounters(QStringLiteral("0101"), 5, 0, 0);
        saved = 3;
    });
    open();
    selectRow(QStringLiteral("0101"));
    click(browser->SpeedButton5);
    EXPECT_EQ(enteredInto, QStringLiteral("0101"));
    EXPECT_EQ(owner, browser.get());
    EXPECT_TRUE(prompts.shown.isEmpty());
    // Added to what was shown, without counting again and past the cap.
    EXPECT_EQ(shown(browser->epNum_all), QStringLiteral("10002"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("5"));
    EXPECT_EQ(currentCode(), QStringLiteral("0101"));
    EXPECT_EQ(browser->DBGrid1->currentIndex().row(), 1);
    // Question entry is not a practice: the row last acted on stays as it was.
    EXPECT_TRUE(browser->actedCode().isEmpty());
}

TEST_F(BrowserTest, AnErrorInQuestionEntryIsReportedAfterTheCatalogueIsRead) {
    practice::setQuestionEntryRunner([&](const QString&, QWidget*, int& saved) {
        saved = 2;
        setCounters(QStringLiteral("010102"), 2, 0, 0);
        throw std::runtime_error("disk full");
    });
    open();
    selectRow(QStringLiteral("010102"));
    click(browser->SpeedButton5);
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("message|提示|录入试题后出现异常!|1|0")});
    EXPECT_EQ(cell(3, 1), QStringLiteral("2"));
    EXPECT_EQ(shown(browser->epNum_all), QStringLiteral("2"));
    EXPECT_EQ(currentCode(), QStringLiteral("010102"));
}

// "试题录入" and "设置" are grey until their windows are installed in the program.
TEST_F(BrowserTest, WithoutTheirWindowsEntryAndSettingsAreGrey) {
    open();
    EXPECT_FALSE(browser->SpeedButton5->isEnabled());
    EXPECT_FALSE(browser->SpeedButton4->isEnabled());
    selectRow(QStringLiteral("010101"));
    click(browser->SpeedButton5);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_TRUE(browser->isVisible());
    browser.reset();
    practice::setQuestionEntryRunner([](const QString&, QWidget*, int&) {});
    widgets::setSystemSettingsRunner([](QWidget*) {});
    open();
    EXPECT_TRUE(browser->SpeedButton5->isEnabled());
    EXPECT_TRUE(browser->SpeedButton4->isEnabled());
}

TEST_F(BrowserTest, SettingsOpenInTheMusicLayout) {
    qb::ConfigMode = 1;
    QWidget* owner = nullptr;
    int modeSeen = -1;
    widgets::setSystemSettingsRunner([&](QWidget* opener) {
        owner = opener;
        modeSeen = qb::ConfigMode;
    });
    open();
    click(browser->SpeedButton4);
    EXPECT_EQ(modeSeen, 0);
    EXPECT_EQ(owner, browser.get());
}

// A subject's menu item opens the whole catalogue on that subject's first row, in view.
TEST_F(BrowserTest, ASubjectItemOpensOnItsSubjectsFirstRow) {
    {
        store::Database db;
        db.open(bankPath);
        for (int i = 0; i < 40; ++i)
            addChapter(db, QStringLiteral("0101%1").arg(i + 10), 10 + i);
        addChapter(db, QStringLiteral("02"), 60, QStringLiteral("网络基础"));
        addChapter(db, QStringLiteral("0201"), 61, QStringLiteral("网络协议"));
    }
    for (const auto& [subject, code] : {std::pair{2, "02"}, std::pair{1, "01"}}) {
        SCOPED_TRACE(subject);
        qb::CurrentSubject = subject;
        open();
        EXPECT_EQ(currentCode(), QLatin1String(code));
        const QModelIndex current = browser->DBGrid1->currentIndex();
        EXPECT_EQ(cell(current.row(), 0), QLatin1String(code));  // the grid shows C2
        EXPECT_TRUE(
            browser->DBGrid1->viewport()->rect().contains(browser->DBGrid1->visualRect(current)));
        EXPECT_EQ(browser->DBGrid1->model()->rowCount(), 46);
        browser.reset();
    }
}

TEST_F(BrowserTest, CloseButtonClosesTheWindowAndItsDatasets) {
    open();
    ASSERT_TRUE(dm->Cn1Table_kmmc.isActive());
    ASSERT_TRUE(dm->Cn1Query1.isActive());
    click(browser->SpeedButton6);
    EXPECT_FALSE(browser->isVisible());
    EXPECT_FALSE(dm->Cn1Table_kmmc.isActive());
    EXPECT_FALSE(dm->Cn1Query1.isActive());
}

// A form that steps aside for practice keeps its modal wait: only closing ends it.
TEST(ModalFormTest, HidingDoesNotEndTheModalWait) {
    widgets::ModalForm form;
    QStringList steps;
    QTimer::singleShot(0, &form, [&] {
        steps << QStringLiteral("running");
        form.hide();
        QTimer::singleShot(0, &form, [&] {
            steps << (form.isRunning() ? QStringLiteral("still running") : QStringLiteral("ended"));
            form.show();
            form.close();
        });
    });
    form.exec();
    steps << QStringLiteral("returned");
    EXPECT_EQ(steps, (QStringList{QStringLiteral("running"), QStringLiteral("still running"),
                                  QStringLiteral("returned")}));
    EXPECT_FALSE(form.isRunning());
}

}  // namespace
