// The menu's commands: the table, the dispatch, and how windows are opened.
#include "CommandTable.h"
#include "DataModule.h"
#include "FakePrompts.h"
#include "Globals.h"
#include "MenuPlayer.h"
#include "PracticeLauncher.h"
#include "QtPrinters.h"
#include "Ustart.h"
#include "WindowPattern.h"
#include "Windows.h"

#include <QDialog>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using app::CommandAction;
using app::CursorRule;

namespace {

TEST(CommandTableTest, TextsMatchExactlyAndCaseSensitively) {
    EXPECT_EQ(app::LookupCommand(QStringLiteral("lx")).action, CommandAction::SubjectBrowser);
    EXPECT_EQ(app::LookupCommand(QStringLiteral("lx4")).subject, 4);
    for (const char* nothing : {"LX", "lx ", "Quit", "mnks6", "", "lx1", "sztime2"}) {
        EXPECT_EQ(app::LookupCommand(QLatin1String(nothing)).action, CommandAction::None)
            << nothing;
    }
    EXPECT_EQ(app::LookupCommand(QStringLiteral("zsd")).action, CommandAction::KnowledgeCatalogue);
    EXPECT_EQ(app::LookupCommand(QStringLiteral("rz")).cursor, CursorRule::BusyOnCreation);
    EXPECT_EQ(app::LookupCommand(QStringLiteral("sj")).cursor, CursorRule::Normal);
    EXPECT_EQ(app::LookupCommand(QStringLiteral("about")).cursor, CursorRule::Normal);
    EXPECT_EQ(app::LookupCommand(QStringLiteral("music")).cursor, CursorRule::Normal);
    EXPECT_EQ(app::LookupCommand(QStringLiteral("cj")).cursor, CursorRule::Busy);
    EXPECT_EQ(app::LookupCommand(QStringLiteral("sztime")).configMode, 1);
    EXPECT_EQ(app::LookupCommand(QStringLiteral("mnks5")).kind, 5);
    EXPECT_EQ(app::LookupCommand(QStringLiteral("ss")).action, CommandAction::Search);
    EXPECT_EQ(app::LookupCommand(QStringLiteral("ctb")).action, CommandAction::WrongBook);
    EXPECT_EQ(app::LookupCommand(QStringLiteral("rili")).action, CommandAction::StudyCalendar);
    EXPECT_EQ(app::AllCommandTexts().size(), 28);
}

// The menu sends the table's texts and nothing else, and reaches every one of them.
TEST(CommandTableTest, TheMenuOffersEveryCommandAndNoOther) {
    app::MenuDescription menu;
    QString error;
    ASSERT_TRUE(app::LoadMenuDescription(QStringLiteral(MENU_FILE), &menu, &error))
        << error.toStdString();
    QSet<QString> sent;
    for (const app::MenuSection& s : menu.sections) {
        for (const app::MenuItem& item : s.items)
            sent.insert(item.command);
    }
    const QStringList table = app::AllCommandTexts();
    EXPECT_EQ(sent, QSet<QString>(table.begin(), table.end()));
}

class DispatchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dm.setTodayProvider([] { return QDate(2026, 12, 9); });
        start = std::make_unique<app::TFrmStart>(dm);
        start->setDocumentOpener([this](const QUrl& url) { opened << url.toLocalFile(); });
        start->setMockExamStarter([this](int kind) {
            calls << QStringLiteral("exam %1 (kind before: %2)").arg(kind).arg(qb::CurrentKind);
        });
        for (CommandAction a : {CommandAction::SubjectBrowser, CommandAction::Settings,
                                CommandAction::KnowledgeCatalogue}) {
            start->registerWindow(a, [this, a](const app::Command&) {
                calls << QStringLiteral("window %1 subject %2 mode %3")
                             .arg(static_cast<int>(a))
                             .arg(qb::CurrentSubject)
                             .arg(qb::ConfigMode);
            });
        }
        qb::ProgramFolder = QStringLiteral("/prog/");
        qb::CurrentKind = 1;
    }
    store::TDM1 dm;
    std::unique_ptr<app::TFrmStart> start;
    QStringList opened;
    QStringList calls;
};

TEST_F(DispatchTest, CommandsSetTheirValuesThenOpenTheirWindow) {
    start->ShockwaveFlash1FSCommand(QStringLiteral("lx3"), QString());
    start->ShockwaveFlash1FSCommand(QStringLiteral("sztime"), QString());
    start->ShockwaveFlash1FSCommand(QStringLiteral("music"), QString());
    start->ShockwaveFlash1FSCommand(QStringLiteral("LX"), QString());
    start->ShockwaveFlash1FSCommand(QStringLiteral("tj"), QString());  // no window yet
    start->ShockwaveFlash1FSCommand(QStringLiteral("mnks4"), QString());
    start->ShockwaveFlash1FSCommand(QStringLiteral("zsd"), QString());
    EXPECT_EQ(calls, QStringList({QStringLiteral("window 2 subject 3 mode 0"),
                                  QStringLiteral("window 8 subject 3 mode 1"),
                                  QStringLiteral("window 8 subject 3 mode 0"),
                                  QStringLiteral("exam 4 (kind before: 1)"),
                                  QStringLiteral("window 1 subject 3 mode 0")}));
    EXPECT_EQ(qb::CurrentKind, 4);
}

// A command whose window is not registered is grey in the menu and does nothing;
// registering the window brings it to life.
TEST_F(DispatchTest, CommandsWithoutAWindowAreGreyAndSendNothing) {
    QStringList grey;
    for (const QString& c : app::AllCommandTexts()) {
        if (!start->IsCommandAvailable(c)) grey << c;
    }
    EXPECT_EQ(grey, QStringList({"szjh", "szks", "rz", "tj", "sj", "about", "cj", "ss", "ctb", "rili"}));
    app::MenuPlayer& player = *start->ShockwaveFlash1;
    ASSERT_TRUE(player.setMovie(QStringLiteral(MENU_FILE)));
    QStringList sent;
    QObject::connect(&player, &app::MenuPlayer::FSCommand,
                     [&](const QString& c, const QString&) { sent << c; });
    for (int s = 0; s < player.menu().sections.size(); ++s) {
        for (int i = 0; i < player.menu().sections[s].items.size(); ++i) {
            const QString command = player.menu().sections[s].items[i].command;
            EXPECT_EQ(player.isAvailable(s, i), !grey.contains(command)) << command.toStdString();
            player.activate(s, i);
        }
    }
    for (const QString& c : grey)
        EXPECT_FALSE(sent.contains(c)) << c.toStdString();
    start->ShockwaveFlash1FSCommand(QStringLiteral("tj"), QString());
    EXPECT_TRUE(calls.filter(QStringLiteral("window 6")).isEmpty());
    start->registerWindow(CommandAction::ScoreChart,
                          [this](const app::Command&) { calls << QStringLiteral("chart"); });
    EXPECT_TRUE(start->IsCommandAvailable(QStringLiteral("tj")));
    start->ShockwaveFlash1FSCommand(QStringLiteral("tj"), QString());
    EXPECT_TRUE(calls.contains(QStringLiteral("chart")));
}

// The windows of this program: those not built yet are grey in the menu.
TEST(ProgramCommandsTest, OnlyCommandsWithAWindowAreAlive) {
    store::TDM1 dm;
    app::TFrmStart start(dm);
    app::RegisterWindows(start, dm);
    QStringList grey;
    for (const QString& c : app::AllCommandTexts()) {
        if (!start.IsCommandAvailable(c)) grey << c;
    }
    practice::setChapterPracticeRunner(nullptr);
    EXPECT_EQ(grey, QStringList());
}

TEST_F(DispatchTest, ShellCommandsOpenTheBundledDocuments) {
    for (const char* c : {"fg", "lxfs", "help"}) {
        start->ShockwaveFlash1FSCommand(QLatin1String(c), QString());
    }
    EXPECT_EQ(opened, QStringList({QStringLiteral("/prog/htm/法规汇编.htm"),
                                   QStringLiteral("/prog/htm/发行站及专业书店联系方式.htm"),
                                   QStringLiteral("/prog/htm/help.htm")}));
}

class ClosingDialog : public QDialog {
  public:
    explicit ClosingDialog(bool* shownBusy) {
        QTimer::singleShot(0, this, [this, shownBusy] {
            *shownBusy = QApplication::overrideCursor() != nullptr;
            accept();
        });
    }
};

TEST(WindowPatternTest, TheWindowIsFreedAndTheCursorResetWhateverHappens) {
    ClosingDialog* reference = nullptr;
    bool busyWhileShown = false;
    app::OpenModal(reference, CursorRule::Busy, [&] {
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
        return new ClosingDialog(&busyWhileShown);
    });
    EXPECT_TRUE(busyWhileShown);
    EXPECT_EQ(reference, nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    app::OpenModal(reference, CursorRule::BusyOnCreation,
                   [&] { return new ClosingDialog(&busyWhileShown); });
    EXPECT_FALSE(busyWhileShown);  // the log shows with the normal cursor

    EXPECT_THROW(app::OpenModal(reference, CursorRule::Busy,
                                [&]() -> ClosingDialog* { throw std::runtime_error("no bank"); }),
                 std::runtime_error);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(reference, nullptr);
}

TEST(MenuPlayerTest, AClickOnAnItemSendsItsCommandAndADragAwayDoesNot) {
    app::MenuPlayer player;
    ASSERT_TRUE(player.setMovie(QStringLiteral(MENU_FILE)));
    EXPECT_FALSE(player.setMovie(QStringLiteral("/nonexistent/main.menu")));
    player.resize(1024, 768);
    QStringList sent;
    QObject::connect(&player, &app::MenuPlayer::FSCommand,
                     [&](const QString& c, const QString& a) { sent << c + u'|' + a; });
    const QPoint first = player.itemRect(0, 0).center().toPoint();
    const QPoint second = player.itemRect(0, 1).center().toPoint();
    QTest::mouseClick(&player, Qt::LeftButton, {}, first);
    QTest::mousePress(&player, Qt::LeftButton, {}, first);
    QTest::mouseRelease(&player, Qt::LeftButton, {}, second);
    QTest::mouseClick(&player, Qt::LeftButton, {}, QPoint(2, 2));  // the background
    EXPECT_EQ(sent, QStringList({QStringLiteral("lx|")}));
    // Items never overlap, at either screen size.
    for (QSize size : {QSize(1024, 768), QSize(800, 600)}) {
        player.resize(size);
        QVector<QRectF> rects;
        for (int s = 0; s < player.menu().sections.size(); ++s) {
            for (int i = 0; i < player.menu().sections[s].items.size(); ++i) {
                const QRectF r = player.itemRect(s, i);
                for (const QRectF& other : rects)
                    EXPECT_FALSE(r.intersects(other));
                EXPECT_TRUE(QRectF(0, 0, size.width(), size.height()).contains(r));
                rects << r;
            }
        }
    }
}

}  // namespace
