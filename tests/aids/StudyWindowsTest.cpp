// The plan, log and settings windows driven through their controls by name.
#include "AidsFixture.h"
#include "WindowDriver.h"

#include "app/FakePrompts.h"

#include "Uconfig.h"
#include "Uplan.h"
#include "Urz.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTableWidget>

namespace {

using StudyWindowsTest = AidsTest;

QString planRow(store::Database& db) {
    return db
        .scalar(QStringLiteral("select PlanMark||','||PlanAmount||','||PlanTime||','||"
                               "coalesce(ExamDate,'') from tab_plan"))
        .toString();
}

TEST_F(StudyWindowsTest, PlanShowsTheCountdownInItsColour) {
    const QDate today = dm->today();
    struct Case {
        int days;
        QColor colour;
    };
    for (const Case& c : {Case{7, QColor(255, 0, 0)}, Case{8, QColor(100, 203, 37)}}) {
        db().execute(QStringLiteral("update tab_plan set ExamDate=?"),
                     {{{}, today.addDays(c.days).toString(Qt::ISODate)}});
        aids::TFrmplan plan(*dm);
        plan.show();
        auto* days = FindControl<QLabel>(&plan, QStringLiteral("Label1"));
        EXPECT_TRUE(days->isVisible());
        EXPECT_EQ(days->text(), QString::number(c.days));
        EXPECT_EQ(days->palette().color(QPalette::WindowText), c.colour);
        plan.close();
    }
}

TEST_F(StudyWindowsTest, PlanSavesAllFourValuesAndAnInvalidDateWritesNothing) {
    FakePrompts prompts;
    const QString before = planRow(db());
    aids::TFrmplan plan(*dm);
    plan.show();
    auto* date = FindControl<QLineEdit>(&plan, QStringLiteral("DateEdit1"));
    EXPECT_FALSE(date->isEnabled());
    ClickControl(&plan, QStringLiteral("SpeedButton1"));
    EXPECT_TRUE(plan.isEditing());
    ClickControl(&plan, QStringLiteral("SeSkinRadioGroup1Item1"));
    FindControl<QLineEdit>(&plan, QStringLiteral("suiNumberEdit2"))->setText(QStringLiteral("45"));
    for (const char* bad : {"2027-02-30", "明年"}) {
        date->setText(QString::fromUtf8(bad));
        ClickControl(&plan, QStringLiteral("SpeedButton1"));
        EXPECT_TRUE(plan.isEditing()) << bad;
        EXPECT_EQ(planRow(db()), before) << bad;
    }
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_TRUE(prompts.shown[0].contains(QStringLiteral("请输入正确的日期！")));
    date->setText(QStringLiteral("2027/5/22"));
    ClickControl(&plan, QStringLiteral("SpeedButton1"));
    EXPECT_FALSE(plan.isEditing());
    EXPECT_FALSE(date->isEnabled());
    EXPECT_EQ(planRow(db()), QStringLiteral("1,50,45,2027-05-22"));
    plan.close();
}

TEST_F(StudyWindowsTest, ClosingThePlanInEditStatePostsNothing) {
    const QString before = planRow(db());
    {
        aids::TFrmplan plan(*dm);
        plan.show();
        ClickControl(&plan, QStringLiteral("SpeedButton1"));
        FindControl<QLineEdit>(&plan, QStringLiteral("suiNumberEdit1"))
            ->setText(QStringLiteral("999"));
        FindControl<QLineEdit>(&plan, QStringLiteral("DateEdit1"))
            ->setText(QStringLiteral("2027-01-01"));
        ClickControl(&plan, QStringLiteral("SpeedButton2"));
    }
    EXPECT_EQ(planRow(db()), before);
    EXPECT_FALSE(dm->Cn1Table_plan.isActive());
}

TEST_F(StudyWindowsTest, LogListsNewestFirstWithTotals) {
    {
        aids::TFrmRz empty(*dm);
        empty.show();
        EXPECT_EQ(FindControl<QTableWidget>(&empty, QStringLiteral("DBGrid1"))->rowCount(), 0);
        EXPECT_EQ(FindControl<QLabel>(&empty, QStringLiteral("LabelRate"))->text(),
                  QStringLiteral("0"));
    }
    db().execute(
        QStringLiteral("insert into tab_rz (A1,A2,A3) values ('2026-12-07',3,1),"
                       "('2026-12-09',4,1),('2026-12-08',0,0)"));
    for (const char* mode : {"800", "1024"}) {
        qb::ScreenMode = QLatin1String(mode);
        aids::TFrmRz log(*dm);
        log.show();
        auto* grid = FindControl<QTableWidget>(&log, QStringLiteral("DBGrid1"));
        ASSERT_EQ(grid->rowCount(), 3);
        EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("2026-12-09"));
        EXPECT_EQ(grid->item(2, 0)->text(), QStringLiteral("2026-12-07"));
        EXPECT_EQ(FindControl<QLabel>(&log, QStringLiteral("LabelD1"))->text(),
                  QStringLiteral("7"));
        EXPECT_EQ(FindControl<QLabel>(&log, QStringLiteral("LabelRate"))->text(),
                  QStringLiteral("71.43"));
        EXPECT_EQ(grid->columnWidth(0), qb::ScreenMode == QLatin1String("800") ? 198 : 252);
        EXPECT_TRUE(log.rect().contains(grid->geometry()));
        log.close();
        EXPECT_FALSE(dm->Cn1Table_rz.isActive());
    }
}

// Records what the window asks of the music instead of playing it.
struct MusicCalls {
    QString file;
    QStringList calls;
    aids::MusicControl control() {
        return {[this] { return file; }, [this](const QString& f) { file = f; },
                [this](const QString& f, bool on) {
                    calls << (on ? QStringLiteral("on ") : QStringLiteral("off ")) + f;
                }};
    }
};

TEST_F(StudyWindowsTest, MusicSwitchShownOnAndTheFirstPieceByDefault) {
    qb::ConfigMode = 0;
    qb::ProgramFolder = QStringLiteral("/prog/");
    MusicCalls music;
    aids::TFrmConfig config(*dm, music.control());
    config.show();
    EXPECT_EQ(config.height(), aids::TFrmConfig::kMusicHeight);
    auto* sw = FindControl<aids::OnOffSwitch>(&config, QStringLiteral("RxSwitch1"));
    EXPECT_TRUE(sw->isChecked());  // whether or not music plays
    EXPECT_TRUE(music.calls.isEmpty());
    ClickControl(&config, QStringLiteral("RxSwitch1"));
    ClickControl(&config, QStringLiteral("RxSwitch1"));
    EXPECT_EQ(music.calls,
              QStringList({QStringLiteral("off "), QStringLiteral("on /prog/sound/乐曲01.mid")}));
    ClickControl(&config, QStringLiteral("RxSwitch1"));
    FindControl<QComboBox>(&config, QStringLiteral("FlatComboBox1"))->setCurrentIndex(2);
    EXPECT_EQ(music.calls.last(), QStringLiteral("off /prog/sound/乐曲03.mid"));
    config.close();
}

TEST_F(StudyWindowsTest, AnswerTimesOfTheCurrentKindAreEditedAndSaved) {
    for (int id = 1; id <= 4; ++id)
        db().execute(QStringLiteral("insert into tab_tx3 (A1,B1,time) values (?,?,1)"),
                     {{{}, id}, {{}, QStringLiteral("题型%1").arg(id)}});
    qb::ConfigMode = 1;
    qb::CurrentKind = 3;
    MusicCalls music;
    FakePrompts prompts;
    for (bool fail : {true, false}) {
        if (fail) {
            db().execute(
                QStringLiteral("create trigger refuse_time before update on tab_tx3 "
                               "when new.A1=4 begin select raise(abort,'locked'); end"));
        }
        qb::AnswerTimeTable = {};
        aids::TFrmConfig config(*dm, music.control());
        config.ArrangeForAnswerTimes();
        config.show();
        EXPECT_EQ(config.height(), aids::TFrmConfig::kAnswerTimeHeight);
        EXPECT_FALSE(FindControl<QWidget>(&config, QStringLiteral("RxSwitch1"))->isVisible());
        EXPECT_TRUE(FindControl<QLabel>(&config, QStringLiteral("LabelKind"))
                        ->text()
                        .contains(QStringLiteral("数据库技术")));
        QList<int> tops;
        for (int i = 1; i <= 4; ++i)
            tops << FindControl<QDoubleSpinBox>(&config, QStringLiteral("Currencyedit%1").arg(i))
                        ->y();
        EXPECT_EQ(tops, QList<int>({5, 25, 45, 65}));
        auto* first = FindControl<QDoubleSpinBox>(&config, QStringLiteral("Currencyedit1"));
        EXPECT_TRUE(first->isVisible());
        EXPECT_DOUBLE_EQ(first->minimum(), 0.1);
        EXPECT_DOUBLE_EQ(first->maximum(), 30.0);
        first->setValue(2.5);
        FindControl<QDoubleSpinBox>(&config, QStringLiteral("Currencyedit4"))->setValue(3.0);
        ClickControl(&config, QStringLiteral("epFocusButton3"));
        EXPECT_FALSE(config.isVisible());
        const QVariant stored = db().scalar(QStringLiteral("select time from tab_tx3 where A1=1"));
        if (fail) {
            EXPECT_EQ(stored.toDouble(), 1.0);
            EXPECT_TRUE(qb::AnswerTimeTable.tenths.isEmpty());
            ASSERT_EQ(prompts.shown.size(), 1);
            EXPECT_TRUE(prompts.shown[0].contains(QStringLiteral("错误|保存设置失败！")));
            db().execute(QStringLiteral("drop trigger refuse_time"));
        } else {
            EXPECT_EQ(stored.toDouble(), 2.5);
            EXPECT_EQ(qb::AnswerTimeTable.tenths, QVector<int>({1500, 600, 600, 1800}));
        }
    }
    qb::ConfigMode = 0;
}

}  // namespace
