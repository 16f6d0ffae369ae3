// What `qbank upgrade` refuses: anything that would collide with the bank it is made
// for, references the bank does not hold, and an upgrade without its identification.
// Each mistake is told as file:line.
#include "BankWriter.h"
#include "Engine.h"
#include "QtPrinters.h"
#include "SourceReader.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

qbank::UpgradeBase bankBase() {
    qbank::UpgradeBase base;
    base.known = true;
    base.chapters = {"01", "0101", "010101"};
    base.catalogue = {"01", "010101"};
    base.points = {"01010101"};
    // A question whose chapter row was lost still owns its id.
    base.ids = {"0101016100000001", "01010166G0000001", "0102016100000009"};
    base.types = {61, 62, 66};
    base.products = {"P1"};
    base.applied = {"P1-BASE"};
    return base;
}

const QString kProduct = QStringLiteral("[product]\ncpbs: P1\nsjbs: P1-UP1\n");

QStringList errorsOf(const QString& text, const QString& product = kProduct) {
    const auto r = qbank::ReadUpgradeSourceTexts(
        {{QStringLiteral("01-up.txt"), text}, {QStringLiteral("product.txt"), product}},
        bankBase());
    return r.errors;
}

const QString kQuestion = QStringLiteral("题干\nA. 甲\nB. 乙\nkey: A\n");

TEST(UpgradeSourceTest, CollisionsAndUnknownReferencesAreToldByFileAndLine) {
    const struct {
        const char* name;
        QString text;
        QString product;
        const char* error;
    } cases[] = {
        {"a chapter of the bank", "[chapter 0101] 又一章\n", kProduct,
         "01-up.txt:1: chapter 0101 is already in the bank"},
        {"a parent neither here nor in the bank", "[chapter 0201] 新章\n", kProduct,
         "01-up.txt:1: chapter 0201 comes before its parent 02"},
        {"a question id of the bank",
         "[chapter 0102] 新章\n[chapter 010201] 新节\n[question 61 0102016100000009]\n" + kQuestion,
         kProduct, "01-up.txt:3: id 0102016100000009 is already in the bank"},
        {"an id twice in the upgrade",
         "[chapter 0102] 新章\n[chapter 010201] 新节\n[question 61 0102016100000001]\n" +
             kQuestion + "[question 61 0102016100000001]\n" + kQuestion,
         kProduct, "01-up.txt:8: id 0102016100000001 is used twice"},
        {"a knowledge point of the bank", "[point 01010101] 重复\n", kProduct,
         "01-up.txt:1: point 01010101 is already in the bank"},
        {"a catalogue entry of the bank", "[entry 010101] 重复\n", kProduct,
         "01-up.txt:1: catalogue id 010101 is already in the bank"},
        {"a point nowhere",
         "[chapter 0102] 新章\n[question 61 0102006100000001]\n题干\nA. 甲\nB. 乙\nkey: A\n"
         "points: 01019999\n",
         kProduct, "01-up.txt:7: knowledge point 01019999 is not in the catalogue"},
        {"a type the bank does not have",
         "[chapter 0102] 新章\n[question 65 0102006500000001]\n对错\nkey: 对\n", kProduct,
         "01-up.txt:2: \"65\" is not a type of types.txt"},
        {"question types of its own", "[kind 1]\ntype: 61 单选 count=1 score=1 time=1\n", kProduct,
         "01-up.txt:1: an upgrade has no [kind] or [settings]"},
        {"another product", "", "[product]\ncpbs: P2\nsjbs: P1-UP1\n",
         "product.txt:2: cpbs P2 is not the product of the bank"},
        {"applied already", "", "[product]\ncpbs: P1\nsjbs: P1-BASE\n",
         "product.txt:3: sjbs P1-BASE is applied to the bank already"},
        {"no identification", "", "", "01-up.txt:1: an upgrade needs [product] with cpbs:"},
    };
    for (const auto& c : cases) {
        const QStringList errors = errorsOf(c.text, c.product);
        EXPECT_FALSE(errors.filter(QString::fromUtf8(c.error)).isEmpty())
            << c.name << ": " << errors.join(u'\n').toStdString();
    }
}

// Against the bank's own ids the compiler numbers new questions past them.
TEST(UpgradeSourceTest, ComputedIdsSkipTheBanksIds) {
    qbank::UpgradeBase base = bankBase();
    base.ids.insert(QStringLiteral("0102016100000001"));
    const auto r = qbank::ReadUpgradeSourceTexts(
        {{QStringLiteral("01-up.txt"),
          "[chapter 0102] 新章\n[chapter 010201] 新节\n[question 61]\n" + kQuestion},
         {QStringLiteral("product.txt"), kProduct}},
        base);
    ASSERT_TRUE(r.ok()) << r.errors.join(u'\n').toStdString();
    EXPECT_EQ(r.bank.questions.value(0).id, QStringLiteral("0102016100000002"));
}

// The command line: errors on stderr, exit code 1, no file.
TEST(UpgradeSourceTest, CommandWritesNothingWhenTheSourceHasMistakes) {
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("up.txt")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[chapter 0101] 章\n");
    f.close();
    QProcess p;
    p.start(QStringLiteral(QBANK_EXECUTABLE),
            {QStringLiteral("upgrade"), dir.path(), dir.filePath(QStringLiteral("out.db"))});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("up.txt:1: an upgrade needs [product]")))
        << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("out.db"))));
}

}  // namespace
