// What the user reads when the bank fails: Chinese that says what happened and what
// to do, never the engine's English.
#include "BankFixture.h"
#include "ErrorText.h"

#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace {

QString textOf(const std::function<void()>& failing) {
    try {
        failing();
    } catch (const std::exception& e) {
        return store::UserErrorText(e);
    }
    return QStringLiteral("<no failure>");
}

bool hasLatinLetters(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 128 && c.isLetter(); });
}

TEST(ErrorTextTest, EachCauseHasItsOwnSentence) {
    const struct {
        int code;
        const char* says;
    } cases[] = {
        {SQLITE_BUSY, "另一个程序"},
        {SQLITE_BUSY_SNAPSHOT, "另一个程序"},
        {SQLITE_LOCKED, "另一个程序"},
        {SQLITE_READONLY, "只读"},
        {SQLITE_READONLY_DBMOVED, "只读"},
        {SQLITE_FULL, "磁盘已满"},
        {SQLITE_CORRUPT, "损坏"},
        {SQLITE_NOTADB, "损坏"},
        {SQLITE_IOERR_WRITE, "无法读写"},
        {SQLITE_ERROR, "意外错误"},
        {0, "意外错误"},
    };
    for (const auto& c : cases) {
        const QString text = store::ErrorTextForCode(c.code);
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.says)))
            << c.code << " " << text.toStdString();
        EXPECT_FALSE(hasLatinLetters(text)) << text.toStdString();
        EXPECT_TRUE(text.endsWith(u'！')) << text.toStdString();
    }
    EXPECT_EQ(store::UserErrorText(std::runtime_error("database is locked")),
              store::GeneralErrorText());
}

class EngineErrorTextTest : public BankTest {};

// The engine's own failures carry their code to the sentence.
TEST_F(EngineErrorTextTest, RealFailuresAreToldByTheirCause) {
    store::Database writer;
    writer.open(bankPath);
    store::Database other;
    other.open(bankPath);
    sqlite3_busy_timeout(other.handle(), 0);
    store::Transaction tx(writer);
    writer.execute(QStringLiteral("delete from tab_plan"));
    EXPECT_EQ(textOf([&] { other.execute(QStringLiteral("delete from tab_rz")); }),
              store::ErrorTextForCode(SQLITE_BUSY));
    tx.rollback();

    store::Database reader;
    reader.open(bankPath, store::Database::OpenMode::ReadOnly);
    EXPECT_EQ(textOf([&] { reader.execute(QStringLiteral("delete from tab_rz")); }),
              store::ErrorTextForCode(SQLITE_READONLY));
}

}  // namespace
