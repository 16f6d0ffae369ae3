// A small bank with a text in every place the search looks: stems and explanations
// stored as RTF, a grouped question with its shared stem, a knowledge point and a
// note, and the index file beside the bank.
#pragma once

#include "store/BankFixture.h"

#include "RichText.h"
#include "SearchIndex.h"

#include <QTextDocument>

// Public, so that tables of cases can reach the bank and the index file.
class SearchTest : public BankTest {
  public:
    void SetUp() override {
        BankTest::SetUp();
        dm = openModule();
        db().execute(QStringLiteral("insert into tab_sj (sjbs,cpbs) values ('P1-BASE','P1')"));
        addQuestion(kCpu, QStringLiteral("计算机的中央处理器由运算器和控制器组成，俗称CPU。"),
                    QStringLiteral("补码是原码取反加一，符号位不变。"));
        addQuestion(kNoted, QStringLiteral("下列哪一项属于输入设备？"), QString(),
                    QStringLiteral("01010101"));
        db().execute(QStringLiteral("update tab_answ set A14=? where A1=?"),
                     {{{}, QStringLiteral("我的笔记：容易混淆的概念")}, {{}, kNoted}});
        addQuestion(kGrouped, QStringLiteral("本题问的是第一小题。"), QString());
        db().execute(QStringLiteral("insert into tab_title (A1,A15) values (?,?)"),
                     {{{}, kGroup}, {{}, rtf(QStringLiteral("阅读下面的材料，回答问题。"))}});
        db().execute(QStringLiteral("insert into tab_rule (id,ftid,sn,n) values (?,?,?,?)"),
                     {{{}, QStringLiteral("010101")},
                      {{}, QStringLiteral("01010101")},
                      {{}, QStringLiteral("进制")},
                      {{}, rtf(QStringLiteral("二进制与十进制的转换方法"))}});
        indexPath = search::IndexPathFor(bankPath);
    }

    store::Database& db() { return dm->ADOCn1; }

    static QByteArray rtf(const QString& text) {
        QTextDocument doc;
        doc.setPlainText(text);
        return richtext::writeRtf(doc);
    }

    void addQuestion(const QString& id, const QString& stem, const QString& explanation,
                     const QString& point = QString()) {
        db().execute(
            QStringLiteral(
                "insert into tab_answ (A1,A2,A2_1,A10,A13,K3,F1) values (?,'A',4,'010101',61,?,0)"),
            {{{}, id}, {{}, point.isEmpty() ? QVariant() : QVariant(point)}});
        db().execute(QStringLiteral("insert into tab_exer (A1,A15,jx) values (?,?,?)"),
                     {{{}, id},
                      {{}, rtf(stem)},
                      {{}, explanation.isEmpty() ? QVariant() : QVariant(rtf(explanation))}});
    }

    // The ids found, in listing order.
    static QStringList ids(const search::SearchResult& r) {
        QStringList out;
        for (const search::Found& f : r.questions)
            out << f.questionId;
        return out;
    }

    static constexpr const char* kCpu = "0101016100000001";
    static constexpr const char* kNoted = "0101016100000002";
    static constexpr const char* kGroup = "0101016200000001";
    static constexpr const char* kGrouped = "0101016200000001-1";

    std::unique_ptr<store::TDM1> dm;
    QString indexPath;
};
