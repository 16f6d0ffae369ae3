// Screen checks, answer times, and one running copy per user.
#include "DataModule.h"
#include "EmptyBank.h"
#include "FakePrompts.h"
#include "Globals.h"
#include "QuitCheck.h"
#include "Schema.h"
#include "Startup.h"
#include "Ustart.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(StartupTest, ScreenModeAndDpi) {
    EXPECT_EQ(app::ScreenModeFor(QSize(1280, 1024)), QStringLiteral("1024"));
    EXPECT_EQ(app::ScreenModeFor(QSize(1024, 768)), QStringLiteral("1024"));
    EXPECT_EQ(app::ScreenModeFor(QSize(800, 600)), QStringLiteral("800"));
    EXPECT_EQ(app::ScreenModeFor(QSize(800, 1200)), QStringLiteral("800"));
    EXPECT_EQ(app::ScreenModeFor(QSize(1920, 600)), QStringLiteral("800"));
    EXPECT_TRUE(app::IsNormalDpi(96.0));
    EXPECT_FALSE(app::IsNormalDpi(120.0));
    EXPECT_FALSE(app::IsNormalDpi(96.5));
}

class BankStartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        OpenEmptyBank(dm, dir.path());
        if (HasFatalFailure()) return;
    }
    QTemporaryDir dir;
    store::TDM1 dm;
};

TEST_F(BankStartupTest, AnswerTimesAreTruncatedTenthsOfTheKindInUse) {
    qb::AnswerTimeTable = {{99}, {1}};
    qb::CurrentKind = 1;
    app::LoadAnswerTimeTable(dm);  // empty tab_tx1 leaves the table alone
    EXPECT_EQ(qb::AnswerTimeTable.typeIds, QVector<int>({99}));
    dm.ADOCn1.execute(
        QStringLiteral("insert into tab_tx2 (A1,time) values (61,2.5),(62,0.5),"
                       "(65,0.1234)"));
    qb::CurrentKind = 2;
    app::LoadAnswerTimeTable(dm);
    EXPECT_EQ(qb::AnswerTimeTable.typeIds, QVector<int>({61, 62, 65}));
    EXPECT_EQ(qb::AnswerTimeTable.tenths, QVector<int>({1500, 300, 74}));
}

TEST_F(BankStartupTest, ANewExamTableAcceptsEmptyTexts) {
    dm.ADOCn1.execute(store::examTableSql(QStringLiteral("tab_exam3")));
    EXPECT_NO_THROW(app::FixZeroLengthColumns(QStringLiteral("tab_exam3"), dm.ADOCn1));
    EXPECT_THROW(app::FixZeroLengthColumns(QStringLiteral("tab_exam4"), dm.ADOCn1),
                 store::EngineError);
}

TEST_F(BankStartupTest, TooManyDotsPerInchEndsTheProgram) {
    app::TFrmStart start(dm);
    EXPECT_FALSE(start.FormCreate(QSize(1024, 768), 120.0));
    ASSERT_TRUE(start.FormCreate(QSize(800, 600), 96.0));
    EXPECT_EQ(qb::ScreenMode, QStringLiteral("800"));
    EXPECT_EQ(start.size(), QSize(800, 600));
}

// A bank that cannot be written is said so once, at start-up; a writable one is not.
TEST_F(BankStartupTest, AReadOnlyBankIsToldAtStartUp) {
    FakePrompts prompts;
    EXPECT_FALSE(app::NoticeReadOnlyBank(dm.ADOCn1));
    store::Database readOnly;
    readOnly.open(dir.path() + QStringLiteral("/data/QBDATA000001.db"),
                  store::Database::OpenMode::ReadOnly);
    EXPECT_TRUE(app::NoticeReadOnlyBank(readOnly));
    EXPECT_EQ(prompts.shown,
              QStringList({QStringLiteral("prompt|提示|%1|1|1").arg(app::kReadOnlyBankNotice)}));
    EXPECT_THROW(readOnly.execute(QStringLiteral("delete from tab_plan")), store::EngineError);
}

// After start-up's translation step the system's standard buttons speak Chinese.
TEST(TranslationTest, StandardButtonsAreChinese) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFileInfo::exists(folder + QStringLiteral("/qtbase_zh_CN.qm"))) {
        GTEST_SKIP() << "qt6-translations-l10n is not installed";
    }
    ASSERT_TRUE(app::LoadQtTranslations());
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
    QMessageBox box(QMessageBox::Question, QStringLiteral("提示"), app::kBelowPlanQuestion,
                    QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
}

// A second copy of the real program asks this one (standing in for the first copy)
// to bring its window back, and ends at once without showing anything.
TEST(SingleInstanceTest, ASecondCopyRaisesTheFirstAndEnds) {
    qputenv("USER",
            QByteArray("instance-test-") + QByteArray::number(QCoreApplication::applicationPid()));
    const QString key = app::InstanceKey(app::kProductTitle);
    app::InstanceServer server;
    ASSERT_TRUE(server.listen(key));
    QWidget window;
    window.showMinimized();
    server.setMainWindow(&window);
    QSignalSpy raised(&server, &app::InstanceServer::raised);

    QProcess second;
    second.setProgram(QStringLiteral(APP_BINARY));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(env);
    QEventLoop loop;
    QObject::connect(&second, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(15000, &loop, &QEventLoop::quit);
    second.start();
    loop.exec();
    if (second.state() != QProcess::NotRunning) {
        second.kill();
        second.waitForFinished();
        FAIL() << "the second copy kept running";
    }
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(raised.count(), 1);
    EXPECT_FALSE(window.isMinimized());
    // Without a first copy, nobody answers.
    EXPECT_FALSE(app::IsOtherInstanceRunning(key + QStringLiteral("-nobody")));
}

}  // namespace
