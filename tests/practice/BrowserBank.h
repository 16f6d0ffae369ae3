// A tiny catalogue for the browser: a subject, a group of 4 characters, two
// chapters, and the row "xx" the browser never lists; questions are added per test.
#pragma once

#include "BankFixture.h"

#include <QVariant>

class BrowserBankTest : public BankTest {
  protected:
    void SetUp() override {
        BankTest::SetUp();
        store::Database db;
        db.open(bankPath);
        addChapter(db, QStringLiteral("01"), 1, QStringLiteral("计算机系统"));
        addChapter(db, QStringLiteral("0101"), 2, QStringLiteral("组成与结构"));
        addChapter(db, QStringLiteral("010101"), 3, QStringLiteral("组成与结构　数据的表示"));
        addChapter(db, QStringLiteral("010102"), 4, QStringLiteral("组成与结构　中央处理器"));
        addChapter(db, QStringLiteral("xx"), 5, QStringLiteral("不显示"));
        db.execute(QStringLiteral("update tab_kmmc set C2=? where C1='010101'"),
                   {{{}, QStringLiteral("数据的表示")}});
        db.execute(QStringLiteral("update tab_kmmc set C2=? where C1='010102'"),
                   {{{}, QStringLiteral("中央处理器")}});
    }

    // Sets a catalogue row's counters in the file.
    void setCounters(const QString& code, int c3, int d1, int d2, int c4 = 0) {
        store::Database db;
        db.open(bankPath);
        db.execute(QStringLiteral("update tab_kmmc set C3=?,C4=?,D1=?,D2=? where C1=?"),
                   {{{}, c3}, {{}, c4}, {{}, d1}, {{}, d2}, {{}, code}});
    }

    // One question: e2 and f1 may be null (an invalid QVariant).
    static void addQuestion(store::Database& db, const QString& id, const QString& chapter,
                            int type, const QVariant& e2, int e4, const QVariant& f1, int xx = 0) {
        db.execute(QStringLiteral("insert into tab_answ (A1,A2,A10,A13,E2,E4,F1,xx) values "
                                  "(?,'A',?,?,?,?,?,?)"),
                   {{{}, id}, {{}, chapter}, {{}, type}, {{}, e2}, {{}, e4}, {{}, f1}, {{}, xx}});
    }
};
