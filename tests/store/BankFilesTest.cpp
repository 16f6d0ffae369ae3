// Where the bank lives, its first copy, its backups and the restore of a damaged one.
#include "BankFiles.h"
#include "BankFixture.h"

#include <QFile>
#include <QFileInfo>

namespace {

class BankFilesTest : public BankTest {
  protected:
    void TearDown() override { qunsetenv("XDG_DATA_HOME"); }

    static QByteArray bytesOf(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void overwrite(const QString& path, qint64 offset, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(offset);
        f.write(bytes);
    }
    QStringList filesIn(const QString& folder) {
        return QDir(folder).entryList(QDir::Files, QDir::Name);
    }
};

TEST_F(BankFilesTest, TheDataFolderIsTheProgramsOwnOnlyWhenItHoldsData) {
    const QString home = QDir::homePath() + QStringLiteral("/.local/share/examstudy/");
    const QString program = dir.filePath(QStringLiteral("program"));
    QDir().mkpath(program);
    struct Case {
        bool dataFolder;
        QString xdg;
        QString expected;
    } cases[] = {
        {true, QStringLiteral("/x"), program + QStringLiteral("/data/")},
        {false, dir.filePath(QStringLiteral("xdg")),
         dir.filePath(QStringLiteral("xdg/examstudy/"))},
        {false, QString(), home},
        {false, QStringLiteral("relative/path"), home},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        if (c.dataFolder) {
            QDir().mkpath(program + QStringLiteral("/data"));
        } else {
            QDir(program + QStringLiteral("/data")).removeRecursively();
        }
        qputenv("XDG_DATA_HOME", c.xdg.toUtf8());
        const store::DataLocation l = store::ResolveDataLocation(program);
        EXPECT_EQ(l.dataFolder, c.expected);
        EXPECT_EQ(l.portable, c.dataFolder);
        EXPECT_EQ(l.programFolder, program + u'/');
    }
}

// A new user's bank is the shipped one, copied whole; a copy that fails leaves no
// file that could be taken for a bank.
TEST_F(BankFilesTest, TheFirstStartSeedsTheBankWholeOrNotAtAll) {
    const QString program = dir.filePath(QStringLiteral("installed"));
    QDir().mkpath(program);
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("user")).toUtf8());
    store::DataLocation l = store::ResolveDataLocation(program);
    ASSERT_FALSE(l.portable);

    // The shipped bank is not a database: nothing is left behind.
    QDir().mkpath(QFileInfo(l.shippedBankPath()).path());
    overwrite(l.shippedBankPath(), 0, QByteArray(8192, 'x'));
    EXPECT_THROW(store::SeedBank(l), store::EngineError);
    EXPECT_TRUE(filesIn(l.dataFolder).isEmpty());

    QFile::remove(l.shippedBankPath());
    ASSERT_TRUE(QFile::copy(bankPath, l.shippedBankPath()));
    store::SeedBank(l);
    EXPECT_EQ(filesIn(l.dataFolder), QStringList{store::kBankFileName});
    store::Database seeded;
    seeded.open(l.bankPath());
    EXPECT_TRUE(seeded.hasTable(QStringLiteral("tab_answ")));
}

TEST_F(BankFilesTest, ADamagedBankIsRefusedUntouchedAndRestoredFromTheNewestBackup) {
    auto dm = openModule();
    dm->ADOCn1.execute(QStringLiteral("update tab_plan set PlanMark=77"));
    const QDateTime day(QDate(2026, 12, 9), QTime(8, 0));
    store::BackupBank(dm->ADOCn1, dm->Location.backupFolder(), QStringLiteral("daily"), 7,
                      day.addDays(-1));
    const QString newest = store::BackupBank(dm->ADOCn1, dm->Location.backupFolder(),
                                             QStringLiteral("upgrade"), 5, day);
    dm.reset();

    overwrite(bankPath, 4096 * 2, QByteArray(4096, '\xff'));
    const QByteArray damaged = bytesOf(bankPath);
    dm = std::make_unique<store::TDM1>();
    dm->DataModuleCreate(dir.path());
    EXPECT_FALSE(dm->DatabaseReady);
    EXPECT_TRUE(dm->BankIsDamaged);
    EXPECT_EQ(bytesOf(bankPath), damaged);

    const QStringList backups = store::AllBackups(dm->Location);
    ASSERT_EQ(backups.value(0), newest);
    const QString aside = store::RestoreFromBackup(dm->Location, backups.first(), day);
    EXPECT_EQ(bytesOf(aside), damaged);
    dm->DataModuleCreate(dir.path());
    ASSERT_TRUE(dm->DatabaseReady);
    EXPECT_EQ(dm->ADOCn1.scalar(QStringLiteral("select PlanMark from tab_plan")).toInt(), 77);
}

TEST_F(BankFilesTest, DailyBackupsComeOncePerDayAndTheLastSevenStay) {
    auto dm = openModule();
    const QDateTime start(QDate(2026, 12, 1), QTime(9, 0));
    for (int day = 0; day < 9; ++day) {
        EXPECT_TRUE(store::BackUpOncePerDay(dm->ADOCn1, dm->Location, start.addDays(day)));
        EXPECT_FALSE(
            store::BackUpOncePerDay(dm->ADOCn1, dm->Location, start.addDays(day).addSecs(3600)));
    }
    const QStringList kept = filesIn(dm->Location.backupFolder());
    ASSERT_EQ(kept.size(), 7);
    EXPECT_EQ(kept.first(), QStringLiteral("daily-20261203-090000.db"));
    EXPECT_EQ(kept.last(), QStringLiteral("daily-20261209-090000.db"));
}

}  // namespace
