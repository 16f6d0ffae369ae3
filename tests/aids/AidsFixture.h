// A tiny bank with three questions, a practice set over them and an exam paper
// holding a copy of the first, as the practice and exam windows leave them.
#pragma once

#include "store/BankFixture.h"

#include "Globals.h"

class AidsTest : public BankTest {
  protected:
    void SetUp() override {
        BankTest::SetUp();
        dm = openModule();
        addQuestion(QStringLiteral("Q1"), QVariant());
        addQuestion(QStringLiteral("Q2"), QStringLiteral("已有的笔记"));
        addQuestion(QStringLiteral("Q3"), QVariant());
        qb::NoteFilled = false;
    }

    store::Database& db() { return dm->ADOCn1; }

    void addQuestion(const QString& id, const QVariant& note) {
        db().execute(QStringLiteral("insert into tab_answ (A1,A2,A10,A13,A14) values (?,?,?,?,?)"),
                     {{{}, id},
                      {{}, QStringLiteral("A")},
                      {{}, QStringLiteral("010101")},
                      {{}, 61},
                      {{}, note}});
    }

    // The practice set standing on one of its rows (1-based, ordered by A1).
    store::Query& practiceSet(int recNo) {
        dm->Cn1Query_tm.setSql(QStringLiteral("select * from tab_answ order by A1"));
        dm->Cn1Query_tm.open();
        dm->Cn1Query_tm.setRecNo(recNo);
        return dm->Cn1Query_tm;
    }

    // A paper whose work table holds a copy of Q1 with an explanation.
    store::Query& examPaper(const QByteArray& jx = QByteArray()) {
        db().execute(store::examTableSql(QStringLiteral("tab_exam1")));
        db().execute(QStringLiteral("insert into tab_exam1 (A1,A2,A10,A13,A14,jx) "
                                    "select A1,A2,A10,A13,A14,? from tab_answ where A1='Q1'"),
                     {{{}, jx.isNull() ? QVariant() : QVariant(jx)}});
        dm->Cn1Query_exam.setSql(QStringLiteral("select * from tab_exam1"));
        dm->Cn1Query_exam.open();
        return dm->Cn1Query_exam;
    }

    QVariant storedNote(const QString& table, const QString& id) {
        return db().scalar(
            QStringLiteral("select A14 from ") + table + QStringLiteral(" where A1=?"), {{{}, id}});
    }

    // Makes every write of a question row fail, as a locked or damaged file would.
    void refuseWrites(const QString& table) {
        db().execute(QStringLiteral("create trigger refuse_note before update on ") + table +
                     QStringLiteral(" begin select raise(abort, 'disk is locked'); end"));
    }
    void allowWrites() { db().execute(QStringLiteral("drop trigger refuse_note")); }

    std::unique_ptr<store::TDM1> dm;
};
