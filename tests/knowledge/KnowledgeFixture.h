// A tiny catalogue: two chapters of knowledge points and questions linked to them
// through K3..K12 in various ways.
#pragma once

#include "store/BankFixture.h"

#include "RichText.h"

#include <QTextDocument>

class KnowledgeTest : public BankTest {
  protected:
    void SetUp() override {
        BankTest::SetUp();
        dm = openModule();
        addEntry(QStringLiteral("01"), QStringLiteral("计算机系统基础"));
        addEntry(QStringLiteral("010101"), QStringLiteral("数据的表示"));
        addEntry(QStringLiteral("010102"), QStringLiteral("中央处理器"));
        // Short names are stored with trailing blanks.
        addPoint(QStringLiteral("010101"), QStringLiteral("01010101"),
                 QStringLiteral("进制转换    "), QStringLiteral("二进制与十进制"));
        addPoint(QStringLiteral("010101"), QStringLiteral("01010102"),
                 QStringLiteral("原码与补码  "), QStringLiteral("补码是原码取反加一"));
        addPoint(QStringLiteral("010102"), QStringLiteral("01010201"),
                 QStringLiteral("指令周期    "), QStringLiteral("取指、译码、执行"));
    }

    store::Database& db() { return dm->ADOCn1; }

    void addEntry(const QString& id, const QString& name) {
        db().execute(QStringLiteral("insert into tab_fgmc (id,n,bh) values (?,?,?)"),
                     {{{}, id}, {{}, name}, {{}, id}});
    }

    // The point's text goes in as RTF, as the bank holds it.
    void addPoint(const QString& chapter, const QString& ftid, const QString& sn,
                  const QString& text) {
        QTextDocument doc;
        doc.setPlainText(text);
        db().execute(QStringLiteral("insert into tab_rule (id,ftid,sn,n) values (?,?,?,?)"),
                     {{{}, chapter}, {{}, ftid}, {{}, sn}, {{}, richtext::writeRtf(doc)}});
    }

    // A question with the given slot values from K3 on; a null QVariant leaves a slot NULL.
    void addQuestion(const QString& id, const QVector<QVariant>& values) {
        QString columns = QStringLiteral("A1");
        QString marks = QStringLiteral("?");
        store::Params params{{{}, id}};
        for (int i = 0; i < values.size(); ++i) {
            columns += QStringLiteral(",K%1").arg(i + 3);
            marks += QStringLiteral(",?");
            params.push_back({{}, values[i]});
        }
        db().execute(QStringLiteral("insert into tab_answ (") + columns +
                         QStringLiteral(") values (") + marks + u')',
                     params);
    }

    static QString plain(const QByteArray& rtf) { return richtext::plainTextOfRtf(rtf); }

    std::unique_ptr<store::TDM1> dm;
};
