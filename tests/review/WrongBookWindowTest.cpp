// The wrong-question book window offscreen: its filters, a question opened from it,
// practice of the filtered list in the real chapter practice window, and the export.
#include "FakePrompts.h"
#include "Globals.h"
#include "PictureButtonGroup.h"
#include "Pictures.h"
#include "PracticeLauncher.h"
#include "QuestionCardWidget.h"
#include "ReviewBank.h"
#include "Uctb.h"
#include "Ulxxt.h"
#include "WindowDriver.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QTextBrowser>
#include <QTimer>

namespace {

class WrongBookWindowTest : public ReviewBankTest {
  protected:
    void SetUp() override {
        ReviewBankTest::SetUp();
        ASSERT_TRUE(picgen::writePictures(dir.path() + QStringLiteral("/pic")).isEmpty());
        qb::CurrentKind = 1;
        qb::ScreenMode = QStringLiteral("1024");
        qb::AnswerTimeTable = {};
        practice::StemArea::setSlideStepDelay(0);
        practice::InstallChapterPractice(*dm);
        review::setWrongBookExportHooks(
            {[this] { return dir.filePath(QStringLiteral("documents")); },
             [this](const QUrl& url) { opened << url.toLocalFile(); }});
        window = std::make_unique<review::TFrmCtb>(*dm);
        window->show();
    }
    void TearDown() override {
        window.reset();
        practice::setChapterPracticeRunner(nullptr);
    }
    void choose(const char* combo, const QString& value) {
        auto* c = FindControl<QComboBox>(window.get(), QLatin1String(combo));
        c->setCurrentIndex(c->findData(value));
    }
    QStringList listed() {
        QStringList ids;
        for (const review::WrongQuestion& q : window->model()->rows())
            ids << q.id;
        return ids;
    }
    QString bank(const QString& sql) { return db().scalar(sql).toString(); }

    FakePrompts prompts;
    std::unique_ptr<review::TFrmCtb> window;
    QStringList opened;
};

TEST_F(WrongBookWindowTest, PractisingTheFilteredListStoresAndCountsEveryAnswer) {
    choose("cbSubject", QStringLiteral("01"));
    choose("cbType", QStringLiteral("61"));
    ASSERT_EQ(listed(), QStringList({"w3"}));
    QString caption;
    int setSize = -1;
    QTimer::singleShot(0, [&] {
        practice::TFrmLxxt* practice = practice::FrmLxxt;
        ASSERT_NE(practice, nullptr);
        caption = practice->windowTitle();
        setSize = dm->Cn1Query_tm.recordCount();
        practice::AnswerArea* answers = practice->card()->answers();
        QTest::mouseClick(answers->optionBar(answers->kind())->buttonAt(0), Qt::LeftButton);
        ClickControl(practice, QStringLiteral("epEfTrBtn3"));  // 完成: right, A
        ClickControl(practice, QStringLiteral("epEfTrBtn99"));
    });
    ClickControl(window.get(), QStringLiteral("btnPractice"));
    EXPECT_EQ(caption, review::kWrongPracticeCaption);
    EXPECT_EQ(setSize, 1);
    // The progress rule and every counter, as in any chapter practice.
    EXPECT_EQ(bank(QStringLiteral("select E2||'/'||E3||'/'||E4 from tab_answ where A1='w3'")),
              QStringLiteral("A/2/-2"));
    EXPECT_EQ(bank(QStringLiteral("select A2||'/'||A3 from tab_rz where A1='2026-12-09'")),
              QStringLiteral("1/0"));
    EXPECT_EQ(bank(QStringLiteral("select group_concat(C1||':'||D1, ' ') from "
                                  "(select C1,D1 from tab_kmmc where D1>0 order by C1)")),
              QStringLiteral("01:1 0101:1 010101:1"));
    // Not yet mastered, it stays in the book, one right answer nearer to leaving it.
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(listed(), QStringList({"w3"}));
    EXPECT_EQ(window->model()->index(0, review::WrongBookModel::Wrong).data().toInt(), 2);
}

TEST_F(WrongBookWindowTest, ARowOpensTheQuestionWithAnswerKeyAndNote) {
    db().execute(QStringLiteral("update tab_answ set A14='记住：补码' where A1='l1'"));
    choose("cbChapter", QStringLiteral("010102"));
    ASSERT_EQ(listed(), QStringList({"l1"}));
    QStringList seen;
    QTimer::singleShot(0, [&] {
        QWidget* view = QApplication::activeModalWidget();
        ASSERT_NE(view, nullptr);
        for (const char* name : {"lbAnswer", "lbKey"})
            seen << FindControl<QLabel>(view, QLatin1String(name))->text();
        seen << view->findChild<QTextBrowser*>(QStringLiteral("txtNote"))->toPlainText();
        seen << view->findChild<QTextBrowser*>(QStringLiteral("txtStem"))->toPlainText();
        ClickControl(view, QStringLiteral("btnClose"));
    });
    ClickControl(window.get(), QStringLiteral("btnView"));
    EXPECT_EQ(seen,
              QStringList({"你的答案：错误", "正确答案：正确", "记住：补码", "中文 stem l1"}));
}

TEST_F(WrongBookWindowTest, ExportWritesTheFilteredListAndOpensIt) {
    choose("cbPoint", QStringLiteral("01010101"));
    ASSERT_EQ(listed(), QStringList({"w3", "r2"}));
    ClickControl(window.get(), QStringLiteral("btnExport"));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(QFileInfo(opened[0]).fileName(), QStringLiteral("错题本 2026年12月9日.odt"));
    EXPECT_TRUE(QFileInfo(opened[0]).size() > 0);
    // An empty list offers nothing to practise or export; the buttons stay in sight.
    choose("cbType", QStringLiteral("65"));
    EXPECT_TRUE(listed().isEmpty());
    for (const char* b : {"btnPractice", "btnExport", "btnView"}) {
        EXPECT_FALSE(FindControl(window.get(), QLatin1String(b))->isEnabled()) << b;
        EXPECT_TRUE(FindControl(window.get(), QLatin1String(b))->isVisible()) << b;
    }
}

}  // namespace
