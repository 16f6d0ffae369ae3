// The prompt box's kinds, modes and answers, and the progress window.
#include "QtPrinters.h"
#include "Udlg.h"
#include "Uprogress.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QString visibleButtons(app::TFrmDlg& dlg) {
    QString out;
    for (const char* name : {"fcShapeBtn1", "fcShapeBtn3", "fcShapeBtn2"}) {
        auto* b = dlg.findChild<QAbstractButton*>(QLatin1String(name));
        if (b->isVisibleTo(&dlg)) out += b->text() + u' ';
    }
    return out.trimmed();
}

// Shows the box modally and presses one of its buttons from inside the loop.
int answer(app::TFrmDlg& dlg, int kind, const QString& mode, const char* button) {
    QTimer::singleShot(0, &dlg, [&dlg, button] {
        QTest::mouseClick(dlg.findChild<QAbstractButton*>(QLatin1String(button)), Qt::LeftButton);
    });
    return dlg.ShowPromptBox(QStringLiteral("提示"), QStringLiteral("要交卷吗？"), kind, mode, 0);
}

TEST(PromptBoxTest, KindsChooseTheButtonsAndKindThreeNarrowsOnce) {
    app::TFrmDlg dlg;
    dlg.Prepare(QStringLiteral("提示"), QStringLiteral("保存吗？"), 0, QStringLiteral("NO"), 0);
    EXPECT_EQ(visibleButtons(dlg), QStringLiteral("确定 取消"));
    dlg.Prepare(QStringLiteral("错误"), QStringLiteral("无法打开试题！"), 1, QString(), 2);
    EXPECT_EQ(visibleButtons(dlg), QStringLiteral("确定"));
    EXPECT_EQ(dlg.findChild<QStackedWidget*>(QStringLiteral("epNoteBook1"))->currentIndex(), 2);
    dlg.Prepare(QStringLiteral("提示"), QStringLiteral("交卷？"), 2, QStringLiteral("Exam"), 1);
    EXPECT_EQ(visibleButtons(dlg), QStringLiteral("确定 取消 作废"));
    dlg.Prepare(QStringLiteral("提示"), QStringLiteral("已选定"), 3, QStringLiteral("No"), 0);
    EXPECT_EQ(dlg.width(), 200);
    EXPECT_EQ(visibleButtons(dlg), QStringLiteral("确定"));
    dlg.Prepare(QStringLiteral("提示"), QStringLiteral("好"), 1, QStringLiteral("No"), 0);
    EXPECT_EQ(dlg.width(), app::TFrmDlg::kDesignedWidth);
    EXPECT_EQ(visibleButtons(dlg), QStringLiteral("确定"));
    dlg.Prepare(QStringLiteral("提示"), QStringLiteral("好"), 9, QStringLiteral("No"), 0);
    EXPECT_EQ(visibleButtons(dlg), QStringLiteral("确定"));  // an unknown kind keeps them
    EXPECT_EQ(dlg.height(), app::TFrmDlg::kHeight);
}

TEST(PromptBoxTest, EachButtonAnswersWithItsResult) {
    app::TFrmDlg dlg;
    EXPECT_EQ(answer(dlg, 1, QStringLiteral("NO"), "fcShapeBtn3"), 3);
    EXPECT_EQ(answer(dlg, 0, QStringLiteral("NO"), "fcShapeBtn2"), 2);
    EXPECT_EQ(answer(dlg, 2, QStringLiteral("Exam"), "fcShapeBtn1"), 1);
    EXPECT_EQ(answer(dlg, 2, QStringLiteral("Exam"), "fcShapeBtn2"), 2);
}

TEST(PromptBoxTest, EnterPressesTheFirstVisibleButton) {
    app::TFrmDlg dlg;
    QTimer::singleShot(0, &dlg, [&dlg] { QTest::keyClick(&dlg, Qt::Key_Return); });
    EXPECT_EQ(dlg.ShowPromptBox(QStringLiteral("提示"), QStringLiteral("好"), 1, QString(), 0), 3);
    QTimer::singleShot(0, &dlg, [&dlg] { QTest::keyClick(&dlg, Qt::Key_Enter); });
    EXPECT_EQ(dlg.ShowPromptBox(QStringLiteral("提示"), QStringLiteral("好"), 0, QString(), 0), 1);
}

TEST(PromptBoxTest, EscapeAndCloseDoNotDismissIt) {
    app::TFrmDlg dlg;
    QTimer::singleShot(0, &dlg, [&dlg] {
        QTest::keyClick(&dlg, Qt::Key_Escape);
        dlg.close();
        EXPECT_TRUE(dlg.isVisible());
        QTest::mouseClick(dlg.findChild<QAbstractButton*>(QStringLiteral("fcShapeBtn3")),
                          Qt::LeftButton);
    });
    EXPECT_EQ(dlg.ShowPromptBox(QStringLiteral("提示"), QStringLiteral("注意"), 1, QString(), 1),
              3);
    EXPECT_TRUE(dlg.windowFlags().testFlag(Qt::FramelessWindowHint));
}

// A prompt asked from a timer while another is up shows its own box; each caller
// gets a button of its own set, and the first box keeps its text.
TEST(PromptBoxTest, APromptWhileOneIsUpGetsABoxOfItsOwn) {
    app::TFrmDlg dlg;
    app::WindowPromptService service(&dlg);
    widgets::PromptService* previous = widgets::setPromptService(&service);
    auto* firstText = dlg.findChild<QLabel*>(QStringLiteral("fcLabel1"));
    int nested = -99;
    QString secondButtons;
    QTimer::singleShot(0, &dlg, [&] {
        QTimer::singleShot(0, &dlg, [&] {
            auto* second = qobject_cast<app::TFrmDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(second, nullptr);
            ASSERT_NE(second, &dlg);
            secondButtons = visibleButtons(*second);
            QTest::mouseClick(second->findChild<QAbstractButton*>(QStringLiteral("fcShapeBtn2")),
                              Qt::LeftButton);
        });
        nested =
            widgets::ShowPromptBox(QStringLiteral("提示"), QStringLiteral("时间到，要继续吗？"), 0,
                                   QStringLiteral("NO"), 0);
        EXPECT_EQ(visibleButtons(dlg), QStringLiteral("确定"));
        EXPECT_EQ(firstText->text(), QStringLiteral("请先做出答案！"));
        QTest::mouseClick(dlg.findChild<QAbstractButton*>(QStringLiteral("fcShapeBtn3")),
                          Qt::LeftButton);
    });
    const int first = widgets::ShowPromptBox(
        QStringLiteral("提示"), QStringLiteral("请先做出答案！"), 1, QStringLiteral("NO"), 1);
    widgets::setPromptService(previous);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(nested, 2);
    EXPECT_EQ(secondButtons, QStringLiteral("确定 取消"));
}

TEST(ProgressTest, ShowsEachStepUntilHidden) {
    app::TFrmProgress progress;
    EXPECT_EQ(progress.text(), QStringLiteral("请等待..."));
    progress.ShowStep(QStringLiteral("正在初始化数据..."));
    EXPECT_TRUE(progress.isVisible());
    progress.ShowStep(QStringLiteral("正在建立数据表..."));
    EXPECT_EQ(progress.text(), QStringLiteral("正在建立数据表..."));
    progress.HideProgress();
    EXPECT_FALSE(progress.isVisible());
    EXPECT_EQ(progress.size(), QSize(358, 63));
}

}  // namespace
