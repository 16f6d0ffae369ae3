// A bank whose question types add up to a chosen full mark, with the settings row
// read straight from the file.
#pragma once

#include "BankFixture.h"

#include <QVariant>

class EsetBankTest : public BankTest {
  protected:
    // Types worth total points: 80 single choices at 1 and the rest at 2 (and one
    // more at 1 when the rest is odd).
    void setTotal(int total) {
        store::Database db;
        db.open(bankPath);
        db.execute(QStringLiteral("delete from tab_tx1"));
        const int rest = total - 80;
        addType(db, 1, QStringLiteral("单项选择题"), 80, 1.0);
        addType(db, 2, QStringLiteral("多项选择题"), rest / 2, 2.0);
        addType(db, 3, QStringLiteral("判断题"), rest % 2, 1.0);
    }
    void setPlan(const QVariant& examTime, const QVariant& leastMark) {
        store::Database db;
        db.open(bankPath);
        db.execute(QStringLiteral("update tab_plan set ExamTime=?, LeastMark=?"),
                   {{{}, examTime}, {{}, leastMark}});
    }
    // "rows|ExamTime|LeastMark" of tab_plan as the file holds it.
    QString planInFile() {
        store::Database db;
        db.open(bankPath);
        const int rows = db.scalar(QStringLiteral("select count(*) from tab_plan")).toInt();
        const QVariant time = db.scalar(QStringLiteral("select ExamTime from tab_plan"));
        const QVariant least = db.scalar(QStringLiteral("select LeastMark from tab_plan"));
        return QStringLiteral("%1|%2|%3").arg(rows).arg(time.toString(), least.toString());
    }

  private:
    static void addType(store::Database& db, int id, const QString& name, int count,
                        double points) {
        db.execute(QStringLiteral("insert into tab_tx1 (A1,B1,B2,B3) values (?,?,?,?)"),
                   {{{}, id}, {{}, name}, {{}, count}, {{}, points}});
    }
};
