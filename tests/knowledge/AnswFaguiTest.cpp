// The related-knowledge-points window: its two layouts, a click on the list, and
// closing back to its opener.
#include "KnowledgeFixture.h"

#include "Globals.h"
#include "UAnswFagui.h"

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QSplitter>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {

class AnswFaguiTest : public KnowledgeTest {
  protected:
    void SetUp() override {
        KnowledgeTest::SetUp();
        addQuestion(QStringLiteral("Q1"),
                    {QStringLiteral("01010101"), QVariant(), QStringLiteral("01010201")});
        addQuestion(QStringLiteral("Q2"), {QVariant(), QString("")});
    }
    void TearDown() override { qb::ScreenMode = QStringLiteral("1024"); }

    template <class T>
    static T* child(QWidget& w, const char* name) {
        return w.findChild<T*>(QLatin1String(name));
    }
    // Geometry of a control in the window's client coordinates.
    static QRect placed(QWidget& window, const char* name) {
        QWidget* c = child<QWidget>(window, name);
        return QRect(c->mapTo(&window, QPoint(0, 0)), c->size());
    }
    static QString shownText(QWidget& w) { return child<QTextEdit>(w, "Re")->toPlainText(); }
};

TEST_F(AnswFaguiTest, LargeLayoutListsThePointsAndShowsTheFirst) {
    knowledge::TfrmAnswFagui window(*dm);
    ASSERT_TRUE(window.LoadQuestionPoints(QStringLiteral("Q1")));
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("相关考点"));
    EXPECT_EQ(window.size(), QSize(917, 585));
    EXPECT_EQ(placed(window, "epPanelTop"), QRect(0, 0, 917, 33));
    EXPECT_EQ(placed(window, "ListBox1"), QRect(0, 33, 401, 516));
    EXPECT_EQ(placed(window, "Re"), QRect(406, 33, 511, 516));
    EXPECT_EQ(placed(window, "epPanelBottom"), QRect(0, 549, 917, 36));
    EXPECT_EQ(child<QWidget>(window, "epEfTrBtn1")->geometry(), QRect(827, 7, 75, 25));

    auto* list = child<QListWidget>(window, "ListBox1");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("进制转换    "));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("指令周期    "));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(list->font().pixelSize(), 16);
    EXPECT_EQ(child<QLabel>(window, "epLabel1")->text(), QStringLiteral("数据的表示"));
    EXPECT_EQ(shownText(window), QStringLiteral("二进制与十进制"));
    EXPECT_TRUE(child<QTextEdit>(window, "Re")->isReadOnly());
}

TEST_F(AnswFaguiTest, CompactLayoutInScreenMode800) {
    qb::ScreenMode = QStringLiteral("800");
    knowledge::TfrmAnswFagui window(*dm);
    ASSERT_TRUE(window.LoadQuestionPoints(QStringLiteral("Q1")));
    window.show();
    EXPECT_EQ(window.size(), QSize(657, 421));
    EXPECT_EQ(placed(window, "epPanelTop"), QRect(0, 0, 657, 33));
    EXPECT_EQ(placed(window, "ListBox1"), QRect(0, 33, 185, 352));
    EXPECT_EQ(child<QSplitter>(window, "Splitter1")->handleWidth(), 3);
    EXPECT_EQ(placed(window, "Re"), QRect(188, 33, 469, 352));
    EXPECT_EQ(placed(window, "epPanelBottom"), QRect(0, 385, 657, 36));
    EXPECT_EQ(child<QWidget>(window, "epEfTrBtn1")->geometry(), QRect(567, 7, 75, 25));
}

TEST_F(AnswFaguiTest, ClickingAPointShowsItsTextAndChapter) {
    knowledge::TfrmAnswFagui window(*dm);
    ASSERT_TRUE(window.LoadQuestionPoints(QStringLiteral("Q1")));
    window.show();
    auto* list = child<QListWidget>(window, "ListBox1");
    const QRect second = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(shownText(window), QStringLiteral("取指、译码、执行"));
    EXPECT_EQ(child<QLabel>(window, "epLabel1")->text(), QStringLiteral("中央处理器"));
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(shownText(window), QStringLiteral("二进制与十进制"));
    EXPECT_EQ(child<QLabel>(window, "epLabel1")->text(), QStringLiteral("数据的表示"));
}

TEST_F(AnswFaguiTest, AQuestionWithoutPointsShowsNothing) {
    bool shown = false;
    QTimer::singleShot(0, [&shown] {
        if (knowledge::frmAnswFagui != nullptr && knowledge::frmAnswFagui->isVisible()) {
            shown = true;
            knowledge::frmAnswFagui->reject();
        }
    });
    EXPECT_FALSE(knowledge::TfrmAnswFagui::Open(*dm, QStringLiteral("Q2")));
    EXPECT_FALSE(knowledge::TfrmAnswFagui::Open(*dm, QStringLiteral("nobody")));
    QTest::qWait(10);
    EXPECT_FALSE(shown);
    EXPECT_EQ(knowledge::frmAnswFagui, nullptr);
}

TEST_F(AnswFaguiTest, CloseShowsAHiddenOpenerAgain) {
    QWidget opener;
    QTimer::singleShot(0, [] {
        ASSERT_NE(knowledge::frmAnswFagui, nullptr);
        QTest::mouseClick(child<QAbstractButton>(*knowledge::frmAnswFagui, "epEfTrBtn1"),
                          Qt::LeftButton);
    });
    EXPECT_TRUE(knowledge::TfrmAnswFagui::Open(*dm, QStringLiteral("Q1"), &opener));
    EXPECT_TRUE(opener.isVisible());
    EXPECT_EQ(knowledge::frmAnswFagui, nullptr);

    opener.hide();
    knowledge::TfrmAnswFagui window(*dm, &opener);
    ASSERT_TRUE(window.LoadQuestionPoints(QStringLiteral("Q1")));
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(opener.isVisible());
}

}  // namespace
