// A tiny bank whose questions stand in every state the progress rule leaves them:
// never answered, wrong once, wrong and then right once, mastered, wrong again after
// mastering, discarded, and a user question; two subjects, three chapters, knowledge
// points and named types.
#pragma once

#include "BankFixture.h"

#include <QStringList>

class ReviewBankTest : public BankTest {
  protected:
    void SetUp() override {
        BankTest::SetUp();
        dm = openModule();
        store::Database& d = db();
        addChapter(d, QStringLiteral("01"), 1, QStringLiteral("计算机系统基础"));
        addChapter(d, QStringLiteral("0101"), 2, QStringLiteral("组成"));
        addChapter(d, QStringLiteral("010101"), 3, QStringLiteral("数据的表示"));
        addChapter(d, QStringLiteral("010102"), 4, QStringLiteral("存储系统"));
        addChapter(d, QStringLiteral("02"), 5, QStringLiteral("计算机网络"));
        addChapter(d, QStringLiteral("020101"), 6, QStringLiteral("传输层"));
        d.execute(QStringLiteral("update tab_kmmc set C2=C1_1"));
        d.execute(
            QStringLiteral("insert into tab_fgmc (id,n) values ('01','组成'),('010101','编码')"));
        d.execute(
            QStringLiteral("insert into tab_rule (id,ftid,sn) values "
                           "('010101','01010101','补码    '),('010101','01010102','浮点数  ')"));
        d.execute(
            QStringLiteral("insert into tab_tx1 (A1,B1,time) values (61,'单项选择题',1),"
                           "(62,'多项选择题',1),(65,'判断题',1)"));
        d.execute(QStringLiteral("insert into tab_tx4 (A1,B1,time) values (63,'填空题',1)"));
        // id, chapter, type, key, last answer, answers E3, mastery E4, F1, K3, K4, options
        add("n1", "010101", 61, "A", "", 0, 0, 0, "01010101", "");
        add("w3", "010101", 61, "A", "B", 1, -3, 0, "01010101", "");
        add("r2", "010101", 62, "AC", "AC", 2, -2, 0, "01010101", "01010102  ");
        add("m0", "010101", 61, "A", "A", 4, 0, 0, "", "");
        add("e0", "010101", 61, "A", "B", 2, 0, 0, "", "");  // key corrected after answers
        add("l1", "010102", 65, "A", "B", 5, -1, 0, "", "");
        add("d3", "010102", 61, "A", "C", 1, -3, 1, "", "");
        add("u1", "020101", 63, "TCP", "UDP", 3, -1, 2, "", "");
    }

    store::Database& db() { return dm->ADOCn1; }

    void add(const char* id, const char* chapter, int type, const char* key, const char* last,
             int answers, int mastery, int f1, const char* k3, const char* k4) {
        const auto text = [](const char* s) {
            return *s == 0 ? QVariant() : QVariant(QString::fromUtf8(s));
        };
        db().execute(
            QStringLiteral("insert into tab_answ (A1,A2,A2_1,K3,K4,A10,A13,E1,E2,E2_1,E3,E4,F1,xx,"
                           "ecount) values (?,?,4,?,?,?,?,?,?,'',?,?,?,?,0)"),
            {{{}, QString::fromUtf8(id)},
             {{}, QString::fromUtf8(key)},
             {{}, text(k3)},
             {{}, text(k4)},
             {{}, QString::fromUtf8(chapter)},
             {{}, type},
             {{}, answers > 0 ? QVariant(QStringLiteral("2026-12-0%1").arg(answers)) : QVariant()},
             {{}, QString::fromUtf8(last)},
             {{}, answers},
             {{}, mastery},
             {{}, f1},
             {{}, ++order_}});
        // Stems are RTF as the bank holds them; every other question has an explanation.
        const QByteArray stem =
            QByteArray("{\\rtf1\\ansi\\ansicpg936 \\u20013?\\u25991? stem ") + id + QByteArray("}");
        db().execute(QStringLiteral("insert into tab_exer (A1,A15,jx) values (?,?,?)"),
                     {{{}, QString::fromUtf8(id)},
                      {{}, stem},
                      {{}, order_ % 2 == 0 ? QVariant(QByteArray("解析 ") + id) : QVariant()}});
    }

    std::unique_ptr<store::TDM1> dm;

  private:
    int order_ = 0;
};
