// A bank for writing questions: chapters 0 to 010203 with the codes between them,
// the catalogue of the knowledge tests, and three question types, one of them
// answered in words.
#pragma once

#include "knowledge/KnowledgeFixture.h"

#include "Globals.h"
#include "QuestionEdit.h"
#include "QuestionEntry.h"

class AuthoringTest : public KnowledgeTest {
  protected:
    void SetUp() override {
        KnowledgeTest::SetUp();
        for (const char* code : {"0", "01", "010", "0102", "01020", "010203"})
            addChapter(db(), QLatin1String(code), 1);
        db().execute(
            QStringLiteral("insert into tab_tx1 (A1,B1,time) values (61,'单项选择题',1),"
                           "(62,'多项选择题',1),(64,'案例分析题',1)"));
        qb::CurrentKind = 1;
        qb::ScreenMode = QStringLiteral("1024");
    }

    static authoring::QuestionDraft draft(const QStringList& ftids = {}) {
        authoring::QuestionDraft d;
        d.stem = QByteArray("CPU");
        d.stemText = QStringLiteral("CPU");
        d.choices = 4;
        d.answer = QStringLiteral(" A ");
        d.typeId = 61;
        d.ftids = ftids;
        return d;
    }

    QString bank(const QString& sql, const store::Params& params = {}) {
        return db().scalar(sql, params).toString();
    }

    // Every row of the tables a save writes, for comparing the whole bank.
    QStringList dump() {
        QStringList rows;
        for (const char* table :
             {"tab_answ", "tab_exer", "tab_title", "tab_kmmc", "tab_rule", "tab_fgmc"}) {
            db().query(QStringLiteral("select * from %1 order by rowid").arg(QLatin1String(table)),
                       {}, [&](store::Statement& row) {
                           QString line = QLatin1String(table);
                           for (int i = 0; i < row.columnCount(); ++i)
                               line += u'|' + row.value(i).toString();
                           rows << line;
                       });
        }
        return rows;
    }

    // The next update of a table fails as a full disk would.
    void failUpdatesOf(const QString& table) {
        db().execute(QStringLiteral("create trigger fail_%1 before update on %1 "
                                    "begin select raise(abort, 'database or disk is full'); end")
                         .arg(table));
    }
};
