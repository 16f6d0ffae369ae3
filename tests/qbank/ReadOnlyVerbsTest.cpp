// show and dump only read: whatever file they are given keeps every byte, and nothing
// appears beside it.
#include "BankWriter.h"
#include "Engine.h"
#include "QtPrinters.h"
#include "SourceReader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

int qbank(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(QBANK_EXECUTABLE), args);
    if (!p.waitForFinished(60000)) return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// A rollback-journal file, as other tools leave it.
void rollbackFile(const QString& path, const std::function<void(store::Database&)>& fill) {
    store::Database db;
    db.open(path, store::Database::OpenMode::Create);
    db.execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
    fill(db);
}

// A bank made by an older tool: rollback journal, no settings row, an index missing.
void olderBank(const QString& path) {
    const auto r = qbank::ReadSourceTexts(
        {{QStringLiteral("types.txt"),
          QStringLiteral("[kind 1]\ntype: 61 单选 count=1 score=1 time=1\n")},
         {QStringLiteral("a.txt"),
          QStringLiteral("[chapter 01] 科目\n[chapter 0101] 章\n"
                         "[question 61 0101006100000001]\n题\nA. a\nB. b\nkey: A\n")}});
    ASSERT_TRUE(r.ok()) << r.errors.join(u'\n').toStdString();
    qbank::WriteBank(r.bank, QString(), path);
    store::Database db;
    db.open(path);
    db.execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
    db.execute(QStringLiteral("DROP INDEX ix_answ_a10"));
    db.execute(QStringLiteral("DELETE FROM tab_plan"));
}

TEST(ReadOnlyVerbsTest, ShowAndDumpChangeNothing) {
    const struct {
        const char* name;
        std::function<void(const QString&)> make;
        int exitCode;
    } cases[] = {
        {"zero bytes",
         [](const QString& path) {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         },
         1},
        {"another program's SQLite file",
         [](const QString& path) {
             rollbackFile(path, [](store::Database& db) {
                 db.execute(QStringLiteral("create table notes (id integer, body text)"));
             });
         },
         1},
        {"a bank of an older tool", olderBank, 0},
    };
    for (const auto& c : cases) {
        for (const char* verb : {"show", "dump"}) {
            QTemporaryDir folder;
            QTemporaryDir out;
            const QString path = folder.filePath(QStringLiteral("file.db"));
            c.make(path);
            const QByteArray before = bytesOf(path);
            const QStringList files = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
            const QString last = QLatin1String(verb) == QLatin1String("show")
                                     ? QStringLiteral("0101006100000001")
                                     : out.filePath(QStringLiteral("dump"));
            EXPECT_EQ(qbank({QLatin1String(verb), path, last}), c.exitCode)
                << c.name << " " << verb;
            EXPECT_TRUE(bytesOf(path) == before) << c.name << " " << verb;
            EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), files)
                << c.name << " " << verb;
        }
    }
}

}  // namespace
