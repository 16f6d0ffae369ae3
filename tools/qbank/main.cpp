// qbank: makes, dumps and inspects question-bank files.
#include "BankWriter.h"
#include "Engine.h"
#include "Schema.h"
#include "ShowQuestion.h"
#include "SourceReader.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

namespace {

const char* const kUsage =
    "usage:\n"
    "  qbank build SOURCE_DIR OUT.db     compile a text source into a new bank\n"
    "  qbank dump BANK OUT_DIR           write a bank back as text source\n"
    "  qbank show BANK QUESTION_ID       print one question as plain text\n"
    "  qbank ensure SOURCE_DIR OUT.db    build OUT.db only when it does not exist yet\n"
    "  qbank init OUT.db                 make an empty bank\n"
    "  qbank upgrade SOURCE_DIR OUT.db [--against BANK]\n"
    "                                    compile an upgrade source into an upgrade file,\n"
    "                                    checked against the bank it is made for\n";

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

void print(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
}

int build(const QString& source, const QString& out) {
    if (QFileInfo::exists(out)) {
        std::fprintf(stderr, "qbank: %s already exists; it is never overwritten\n",
                     qPrintable(out));
        return 1;
    }
    const qbank::ReadResult read = qbank::ReadSource(source);
    if (!read.ok()) {
        for (const QString& e : read.errors)
            std::fprintf(stderr, "%s\n", e.toUtf8().constData());
        std::fprintf(stderr, "qbank: %lld error(s); no bank written\n",
                     static_cast<long long>(read.errors.size()));
        return 1;
    }
    QDir().mkpath(QFileInfo(out).absolutePath());
    qbank::WriteBank(read.bank, source, out);
    print(QStringLiteral("%1: %2 chapters, %3 questions, %4 knowledge points\n")
              .arg(out)
              .arg(read.bank.chapters.size())
              .arg(read.bank.questions.size())
              .arg(read.bank.points.size()));
    return 0;
}

int makeUpgrade(const QString& source, const QString& out, const QString& against);

// show and dump only read: the file is checked and opened the way the program checks a
// bank before it touches it, and keeps every byte, whatever it turns out to be.
store::Database& openBankToRead(store::Database& db, const QString& path) {
    if (!QFileInfo(path).isFile())
        throw store::EngineError(QStringLiteral("%1 is not a file").arg(path));
    store::verifyBankFile(path);
    db.open(path, store::Database::OpenMode::ReadOnly);
    return db;
}

int makeUpgrade(const QString& source, const QString& out, const QString& against) {
    if (QFileInfo::exists(out)) {
        std::fprintf(stderr, "qbank: %s already exists; it is never overwritten\n",
                     qPrintable(out));
        return 1;
    }
    qbank::UpgradeBase base;
    if (!against.isEmpty()) {
        store::Database db;
        base = qbank::ReadUpgradeBase(openBankToRead(db, against));
    }
    const qbank::ReadResult read = qbank::ReadUpgradeSource(source, base);
    if (!read.ok()) {
        for (const QString& e : read.errors)
            std::fprintf(stderr, "%s\n", e.toUtf8().constData());
        std::fprintf(stderr, "qbank: %lld error(s); no upgrade written\n",
                     static_cast<long long>(read.errors.size()));
        return 1;
    }
    QDir().mkpath(QFileInfo(out).absolutePath());
    qbank::WriteUpgrade(read.bank, source, out, base);
    print(QStringLiteral("%1: upgrade %2 of %3: %4 chapters, %5 questions, %6 knowledge points\n")
              .arg(out, read.bank.sjbs, read.bank.cpbs)
              .arg(read.bank.chapters.size())
              .arg(read.bank.questions.size())
              .arg(read.bank.points.size()));
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Pictures in rich text need the GUI image classes, never a window.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) return usage();
    const QString& verb = args[0];
    try {
        if (verb == QLatin1String("build") && args.size() == 3) return build(args[1], args[2]);
        if (verb == QLatin1String("ensure") && args.size() == 3) {
            // A rebuild never touches a bank that holds someone's progress.
            return QFileInfo::exists(args[2]) ? 0 : build(args[1], args[2]);
        }
        if (verb == QLatin1String("upgrade") && args.size() == 3) {
            return makeUpgrade(args[1], args[2], QString());
        }
        if (verb == QLatin1String("upgrade") && args.size() == 5 &&
            args[3] == QLatin1String("--against")) {
            return makeUpgrade(args[1], args[2], args[4]);
        }
        if (verb == QLatin1String("init") && args.size() == 2) {
            QDir().mkpath(QFileInfo(args[1]).absolutePath());
            store::createEmptyBank(args[1]);
            return 0;
        }
        if (verb == QLatin1String("dump") && args.size() == 3) {
            store::Database db;
            const qbank::Bank bank = qbank::ReadBank(openBankToRead(db, args[1]), args[2]);
            const QStringList files = qbank::WriteSource(bank, args[2]);
            print(QStringLiteral("%1: %2\n").arg(args[2], files.join(QStringLiteral(", "))));
            return 0;
        }
        if (verb == QLatin1String("show") && args.size() == 3) {
            store::Database db;
            print(qbank::ShowQuestion(openBankToRead(db, args[1]), args[2]));
            return 0;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qbank: %s\n", e.what());
        return 1;
    }
    return usage();
}
