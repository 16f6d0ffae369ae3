// The sample upgrade of the program folder applied to the bundled bank: every total
// the browser and the catalogue show agrees with the rows afterwards.
#include "store/BankFixture.h"

#include "Upgrade.h"

#include <QFile>

namespace {

class SampleUpgradeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QDir().mkpath(dir.path() + QStringLiteral("/data"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(SAMPLE_UPGRADE_BASE),
                                dir.path() + QStringLiteral("/data/QBDATA000001.db")));
        dm.DataModuleCreate(dir.path());
        ASSERT_TRUE(dm.DatabaseReady);
    }
    qint64 count(const char* sql) { return dm.ADOCn1.scalar(QString::fromUtf8(sql)).toLongLong(); }

    QTemporaryDir dir;
    store::TDM1 dm;
};

TEST_F(SampleUpgradeTest, CountersAgreeWithTheRowsAfterTheSampleUpgrade) {
    const qint64 questionsBefore = count("select count(*) from tab_answ");
    const upgrade::Result r = upgrade::ImportUpgrade(dm, QStringLiteral(SAMPLE_UPGRADE));
    ASSERT_EQ(r.outcome, upgrade::Outcome::Succeeded) << r.reason.toStdString();
    const struct {
        const char* what;
        const char* sql;
    } disagreements[] = {
        {"chapters whose C3 is not the questions below them",
         "select count(*) from tab_kmmc k where C3 <> (select count(*) from tab_answ a "
         "where substr(a.A10,1,length(k.C1))=k.C1)"},
        {"knowledge points whose q is not their questions",
         "select count(*) from tab_rule r where q <> (select count(*) from tab_answ a where "
         "r.ftid in (K3,K4,K5,K6,K7,K8,K9,K10,K11,K12))"},
        {"catalogue rows whose q is not the questions of their points",
         "select count(*) from tab_fgmc f where q <> (select count(*) from tab_answ a where "
         "exists (select 1 from tab_rule r where substr(r.ftid,1,length(f.id))=f.id and "
         "r.ftid in (K3,K4,K5,K6,K7,K8,K9,K10,K11,K12)))"},
        {"the browser's total is not the number of questions",
         "select (select sum(C3) from tab_kmmc where len(C1)=6) - count(*) from tab_answ"},
        {"grouped questions without their shared stem",
         "select count(*) from tab_answ a where A1 like '%-%' and not exists "
         "(select 1 from tab_title t where t.A1=substr(a.A1,1,16))"},
    };
    for (const auto& d : disagreements)
        EXPECT_EQ(count(d.sql), 0) << d.what;
    EXPECT_GT(count("select count(*) from tab_answ"), questionsBefore + 25);
    EXPECT_EQ(upgrade::ImportUpgrade(dm, QStringLiteral(SAMPLE_UPGRADE)).outcome,
              upgrade::Outcome::AlreadyApplied);
}

}  // namespace
