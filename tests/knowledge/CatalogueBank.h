// The catalogue's bank: a group of three chapters with counters, knowledge points
// whose short names repeat or end in brackets, and questions linked to them.
//
//   01      计算机系统基础  q 14
//   010101  数据的表示      q 10: 进制转换 (5), 原码与补码 (3), 进制转换 (1), 补码(二) (1)
//   010102  中央处理器      q 3:  指令周期 (0)
//   010103  存储系统        q 0:  no knowledge points
//
// Questions: QB1 (single choice, key A) and QD (discarded, an unmapped type) list
// the second 进制转换 (01010103); QB2 lists the first one (01010101) in slot K5.
#pragma once

#include "KnowledgeFixture.h"

#include "FakePrompts.h"
#include "Globals.h"
#include "Pictures.h"
#include "ProgramEnd.h"
#include "QuestionCardWidget.h"

class CatalogueTest : public KnowledgeTest {
  protected:
    void SetUp() override {
        KnowledgeTest::SetUp();
        ASSERT_TRUE(picgen::writePictures(dir.path() + QStringLiteral("/pic")).isEmpty());
        addEntry(QStringLiteral("010103"), QStringLiteral("存储系统"));
        addPoint(QStringLiteral("010101"), QStringLiteral("01010103"),
                 QStringLiteral("进制转换    "), QStringLiteral("十六进制"));
        addPoint(QStringLiteral("010101"), QStringLiteral("01010104"), QStringLiteral("补码(二)"),
                 QStringLiteral("补码的补码"));
        const std::pair<const char*, int> counts[] = {
            {"01", 14},      {"010101", 10},  {"010102", 3},   {"01010101", 5},
            {"01010102", 3}, {"01010103", 1}, {"01010104", 1}, {"01010201", 0}};
        for (const auto& [id, q] : counts) {
            db().execute(QStringLiteral("update tab_fgmc set q=? where id=?"),
                         {{{}, q}, {{}, QLatin1String(id)}});
            db().execute(QStringLiteral("update tab_rule set q=? where ftid=?"),
                         {{{}, q}, {{}, QLatin1String(id)}});
        }
        for (const char* code : {"01", "0101", "010101"})
            addChapter(db(), QLatin1String(code), 1);
        db().execute(
            QStringLiteral("insert into tab_tx1 (A1,B1,time) values (61,'单项选择题',1),"
                           "(70,'论述题',1)"));
        addLinked(QStringLiteral("QB1"), 61, QStringLiteral("A"), 0, QStringLiteral("K3"),
                  QStringLiteral("01010103"));
        addLinked(QStringLiteral("QB2"), 61, QStringLiteral("A"), 0, QStringLiteral("K5"),
                  QStringLiteral("01010101"));
        addLinked(QStringLiteral("QD"), 70, QStringLiteral("1"), 1, QStringLiteral("K3"),
                  QStringLiteral("01010103"));
        qb::CurrentKind = 1;
        qb::ScreenMode = QStringLiteral("1024");
        qb::AnswerTimeTable = {};
        practice::StemArea::setSlideStepDelay(0);
        previousEnder_ = practice::setProgramEnder([this] { ++ended; });
    }
    void TearDown() override {
        practice::setProgramEnder(previousEnder_);
        qb::ScreenMode = QStringLiteral("1024");
    }

    void addLinked(const QString& a1, int type, const QString& key, int f1, const QString& slot,
                   const QString& ftid) {
        db().execute(QStringLiteral("insert into tab_answ (A1,A2,A2_1,A10,A13,E2,E2_1,E3,E4,F1,") +
                         slot + QStringLiteral(") values (?,?,4,'010101',?,'','',0,0,?,?)"),
                     {{{}, a1}, {{}, key}, {{}, type}, {{}, f1}, {{}, ftid}});
        db().execute(QStringLiteral("insert into tab_exer (A1,A15) values (?,?)"),
                     {{{}, a1}, {{}, (QStringLiteral("stem ") + a1).toUtf8()}});
    }
    QString bank(const QString& sql) { return db().scalar(sql).toString(); }

    FakePrompts prompts;
    int ended = 0;

  private:
    practice::ProgramEnder previousEnder_;
};
