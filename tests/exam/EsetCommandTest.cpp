// The menu's "szks" command opens a fresh settings window modally, under the busy
// cursor, and frees it when it closes.
#include "EffectButton.h"
#include "EsetBank.h"
#include "Ueset.h"
#include "Ustart.h"
#include "Windows.h"
#include "app/FakePrompts.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

using EsetCommandTest = EsetBankTest;

TEST_F(EsetCommandTest, SzksOpensTheSettingsWindowAndItsCloseButtonSaves) {
    FakePrompts prompts;
    setTotal(140);
    auto dm = openModule();
    app::TFrmStart start(*dm);
    app::RegisterWindows(start, *dm);

    QPointer<exam::TFrmEset> opened;
    QString seen;
    QTimer::singleShot(0, [&] {
        exam::TFrmEset* window = exam::FrmEset;
        ASSERT_NE(window, nullptr);
        opened = window;
        seen = QStringLiteral("visible %1 modal %2 cursor %3")
                   .arg(window->isVisible())
                   .arg(window->isModal())
                   .arg(QApplication::overrideCursor() == nullptr ? "normal" : "busy");
        window->Edit2->setText(QStringLiteral("45"));
        QTest::mouseClick(window->Button2, Qt::LeftButton);
    });
    start.ShockwaveFlash1FSCommand(QStringLiteral("szks"), QString());

    EXPECT_EQ(seen, QStringLiteral("visible 1 modal 1 cursor busy"));
    EXPECT_EQ(exam::FrmEset, nullptr);
    EXPECT_TRUE(opened.isNull());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(planInFile(), QStringLiteral("1|2700|60"));
    EXPECT_TRUE(prompts.shown.isEmpty());
}

}  // namespace
