// A bank whose chapter rows are charted (C7 = "0") or not.
#pragma once

#include "BankFixture.h"

struct ChapterRow {
    const char* code;
    const char* name;
    int c3, c4, d1, d2;
    const char* c7;
};

class ChartBankTest : public BankTest {
  protected:
    void SetUp() override {
        BankTest::SetUp();
        dm = openModule();
    }
    void addRows(const std::vector<ChapterRow>& rows) {
        for (const ChapterRow& r : rows)
            dm->ADOCn1.execute(
                QStringLiteral(
                    "insert into tab_kmmc (C1,C2,C3,C4,D1,D2,C7) values (?,?,?,?,?,?,?)"),
                {{{}, QString::fromUtf8(r.code)},
                 {{}, QString::fromUtf8(r.name)},
                 {{}, r.c3},
                 {{}, r.c4},
                 {{}, r.d1},
                 {{}, r.d2},
                 {{}, QString::fromUtf8(r.c7)}});
    }
    // Eleven charted chapters, one of them without questions, and a subject row
    // that is not charted.
    void addSmallBank() {
        addRows({{"01", "科目一", 90, 40, 200, 50, "1"},
                 {"0101", "第一章", 3, 1, 5, 2, "0"},
                 {"0102", "第二章", 0, 0, 1, 1, "0"},
                 {"0103", "第三章", 7, 7, 9, 0, "0"},
                 {"0104", "第四章", 6, 5, 8, 3, "0"}});
        for (int i = 5; i <= 11; ++i) {
            const QByteArray code = QStringLiteral("01%1").arg(i, 2, 10, QLatin1Char('0')).toUtf8();
            const QByteArray name = QStringLiteral("第%1章").arg(i).toUtf8();
            addRows({{code.constData(), name.constData(), i + 1, i, 2 * i, i / 2, "0"}});
        }
    }

    std::unique_ptr<store::TDM1> dm;
};
