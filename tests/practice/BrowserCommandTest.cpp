// The menu's "lx" commands open a fresh browser modally and free it when it closes.
#include "BrowserBank.h"
#include "FlatButton.h"
#include "Globals.h"
#include "Ukmmc.h"
#include "Ustart.h"
#include "Windows.h"
#include "app/FakePrompts.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

using BrowserCommandTest = BrowserBankTest;

TEST_F(BrowserCommandTest, EachLxCommandOpensItsOwnBrowserUntilItCloses) {
    FakePrompts prompts;
    qb::ScreenMode = QStringLiteral("1024");
    auto dm = openModule();
    app::TFrmStart start(*dm);
    app::RegisterWindows(start, *dm);

    QList<QPointer<practice::TFrmkmmc>> opened;
    QStringList seen;
    for (const char* command : {"lx", "lx4"}) {
        QTimer::singleShot(0, [&] {
            practice::TFrmkmmc* browser = practice::Frmkmmc;
            ASSERT_NE(browser, nullptr);
            opened << browser;
            seen << QStringLiteral("subject %1 visible %2 modal %3 cursor %4")
                        .arg(qb::CurrentSubject)
                        .arg(browser->isVisible())
                        .arg(browser->isModal())
                        .arg(QApplication::overrideCursor() == nullptr ? "normal" : "busy");
            QTest::mouseClick(browser->SpeedButton6, Qt::LeftButton);
        });
        start.ShockwaveFlash1FSCommand(QString::fromLatin1(command), QString());
        EXPECT_EQ(practice::Frmkmmc, nullptr);
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("subject 1 visible 1 modal 1 cursor normal"),
                                 QStringLiteral("subject 4 visible 1 modal 1 cursor normal")}));
    // Each command made its own window and freed it.
    ASSERT_EQ(opened.size(), 2);
    EXPECT_TRUE(opened[0].isNull());
    EXPECT_TRUE(opened[1].isNull());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(prompts.shown.isEmpty());
}

}  // namespace
