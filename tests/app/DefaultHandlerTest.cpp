// The default exception handler: what escapes the main window's steps, a command or
// any event handler is reported in the prompt box "错误" and the program goes on.
#include "DataModule.h"
#include "EmptyBank.h"
#include "Engine.h"
#include "ErrorText.h"
#include "FakePrompts.h"
#include "Globals.h"
#include "Schema.h"
#include "Ustart.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace {

QString errorPrompt(const QString& text) {
    return QStringLiteral("prompt|错误|%1|1|%2").arg(text).arg(widgets::kPictureError);
}

class DefaultHandlerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        OpenEmptyBank(dm, dir.path());
        if (HasFatalFailure()) return;
        qb::CurrentKind = 1;
        start = std::make_unique<app::TFrmStart>(dm);
        start->registerWindow(app::CommandAction::SubjectBrowser,
                              [this](const app::Command&) { opened << qb::CurrentSubject; });
    }
    QTemporaryDir dir;
    store::TDM1 dm;
    std::unique_ptr<app::TFrmStart> start;
    QList<int> opened;
    FakePrompts prompts;
};

// A damaged type table stops only the answer times: the failure is shown and the
// menu's commands still work.
TEST(DamagedBankTest, ADamagedTypeTableIsReportedAtShowAndTheProgramRunsOn) {
    const char* damages[] = {
        "drop table tab_tx1",
        "alter table tab_tx1 drop column time",
        "drop table tab_tx1; create view tab_tx1 as select A1, time from tab_gone",
    };
    for (const char* damage : damages) {
        SCOPED_TRACE(damage);
        QTemporaryDir dir;
        QDir().mkpath(dir.path() + QStringLiteral("/data"));
        store::createEmptyBank(dir.path() + QStringLiteral("/data/QBDATA000001.db"));
        store::TDM1 dm;
        dm.DataModuleCreate(dir.path());
        ASSERT_TRUE(dm.DatabaseReady);
        dm.ADOCn1.execute(QStringLiteral("insert into tab_tx1 (A1,time) values (1,2)"));
        ASSERT_EQ(sqlite3_exec(dm.ADOCn1.handle(), damage, nullptr, nullptr, nullptr), SQLITE_OK);
        app::TFrmStart start(dm);
        QList<int> opened;
        start.registerWindow(app::CommandAction::SubjectBrowser,
                             [&opened](const app::Command&) { opened << qb::CurrentSubject; });
        FakePrompts prompts;
        qb::CurrentKind = 1;
        EXPECT_NO_THROW(start.FormShow());
        EXPECT_EQ(prompts.shown, QStringList({errorPrompt(store::GeneralErrorText())}));
        start.ShockwaveFlash1FSCommand(QStringLiteral("lx2"), QString());
        EXPECT_EQ(opened, QList<int>({2}));
    }
}

// A command whose window fails, and a quit check on a bank without its settings row:
// each says what happened in Chinese and leaves the menu working.
TEST_F(DefaultHandlerTest, AFailingCommandIsReportedInChinese) {
    start->registerWindow(app::CommandAction::ExamSettings, [](const app::Command&) {
        throw store::EngineError(QStringLiteral("database is locked"), SQLITE_BUSY);
    });
    EXPECT_NO_THROW(start->ShockwaveFlash1FSCommand(QStringLiteral("szks"), QString()));
    dm.ADOCn1.execute(QStringLiteral("drop table tab_plan"));
    EXPECT_NO_THROW(start->ShockwaveFlash1FSCommand(QStringLiteral("quit"), QString()));
    EXPECT_EQ(prompts.shown, QStringList({errorPrompt(store::ErrorTextForCode(SQLITE_BUSY)),
                                          errorPrompt(store::GeneralErrorText())}));
    start->ShockwaveFlash1FSCommand(QStringLiteral("lx"), QString());
    EXPECT_EQ(opened, QList<int>({1}));
}

class ThrowingObject : public QObject {
  protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw std::runtime_error("handler failed");
        return QObject::event(e);
    }
};

// The last net: a handler that lets an error reach the event loop does not end the run.
TEST_F(DefaultHandlerTest, AnErrorReachingTheEventLoopIsReported) {
    ThrowingObject target;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&target, &event);
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&target);
    EXPECT_EQ(prompts.shown, QStringList(2, errorPrompt(store::GeneralErrorText())));
}

}  // namespace
