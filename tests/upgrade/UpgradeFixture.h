// A small bank of product "P1" with one applied upgrade, and upgrade files made in
// code beside it: a new chapter 0102 under subject 01 whose two questions link an
// existing knowledge point and a new one.
#pragma once

#include "store/BankFixture.h"

#include "Upgrade.h"

#include <QFile>

#include <functional>

class UpgradeTest : public BankTest {
  protected:
    void SetUp() override {
        BankTest::SetUp();
        {
            store::Database db;
            db.open(bankPath);
            fillBank(db);
        }
        dm = openModule();
    }

    store::Database& bank() { return dm->ADOCn1; }

    static void insert(store::Database& db, const QString& table, const QString& columns,
                       const QVariantList& values) {
        QStringList marks;
        store::Params params;
        for (const QVariant& v : values) {
            marks << QStringLiteral("?");
            params.push_back({QString(), v});
        }
        db.execute(
            QStringLiteral("insert into %1 (%2) values (%3)").arg(table, columns, marks.join(u',')),
            params);
    }

    static void fillBank(store::Database& db) {
        insert(db, "tab_sj", "sjbs,cpbs", {"P1-BASE", "P1"});
        insert(db, "tab_kmmc", "C1,C2,C3,bh", {"01", "科目一", 2, 1});
        insert(db, "tab_kmmc", "C1,C2,C3,bh", {"0101", "第一章", 2, 2});
        insert(db, "tab_kmmc", "C1,C2,C3,bh", {"010101", "第一节", 2, 3});
        insert(db, "tab_kmmc", "C1,C2,C3,bh", {"02", "科目二", 0, 4});
        insert(db, "tab_fgmc", "id,n,bh,q", {"01", "法规", 1, 2});
        insert(db, "tab_fgmc", "id,n,bh,q", {"010101", "条例", 2, 2});
        insert(db, "tab_rule", "id,ftid,sn,q", {"010101", "01010101", "要点", 2});
        for (const char* id : {"0101016100000001", "0101016100000002"}) {
            insert(db, "tab_answ", "A1,A2,A2_1,K3,A10,A13", {id, "A", 4, "01010101", "010101", 61});
            insert(db, "tab_exer", "A1,A15", {id, QByteArray("{\\rtf1 stem}")});
        }
    }

    // An upgrade file of product cpbs with identifier sjbs; `change` may spoil it.
    QString makeUpgrade(const QString& path, const QString& sjbs = QStringLiteral("P1-UP1"),
                        const QString& cpbs = QStringLiteral("P1"),
                        const std::function<void(store::Database&)>& change = {}) {
        store::createEmptyBank(path);
        store::Database db;
        db.open(path);
        insert(db, "tab_sj", "sjbs,cpbs", {sjbs, cpbs});
        insert(db, "tab_kmmc", "C1,C2,C3,bh", {"0102", "第二章", 2, 2.5});
        insert(db, "tab_kmmc", "C1,C2,C3,bh", {"010201", "第一节", 2, 2.6});
        insert(db, "tab_fgmc", "id,n,bh,q", {"010201", "新条例", 2.5, 1});
        insert(db, "tab_rule", "id,ftid,sn,q", {"010201", "01020101", "新要点", 1});
        insert(db, "tab_answ", "A1,A2,A2_1,K3,A10,A13", {kNew1, "B", 4, "01010101", "010201", 61});
        insert(db, "tab_answ", "A1,A2,A2_1,K3,K4,A10,A13",
               {kNew2, "C", 4, "01020101", "01010101", "010201", 61});
        for (const char* id : {kNew1, kNew2})
            insert(db, "tab_exer", "A1,A15", {id, QByteArray("{\\rtf1 new}")});
        if (change) change(db);
        db.execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        return path;
    }

    QString upgradePath(const QString& name = QStringLiteral("up.db")) const {
        return dir.path() + u'/' + name;
    }

    // Every row of every table of the bank, in file order.
    QStringList snapshot() {
        QStringList rows;
        for (const QString& table : bank().userTables()) {
            bank().query(
                QStringLiteral("select * from ") + table + QStringLiteral(" order by rowid"), {},
                [&](store::Statement& s) {
                    QStringList cells{table};
                    for (int i = 0; i < s.columnCount(); ++i)
                        cells << s.value(i).toString();
                    rows << cells.join(u'|');
                });
        }
        return rows;
    }

    qint64 count(const QString& sql) { return bank().scalar(sql).toLongLong(); }

    static constexpr const char* kNew1 = "0102016100000001";
    static constexpr const char* kNew2 = "0102016100000002";
    std::unique_ptr<store::TDM1> dm;
};
