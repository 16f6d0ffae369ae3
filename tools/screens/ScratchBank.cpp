#include "ScratchBank.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>

#include <cstdio>

namespace screens {

void UseProgramFonts() {
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"));
    QFont::insertSubstitution(QStringLiteral("黑体"), QStringLiteral("WenQuanYi Zen Hei"));
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(14);
    QApplication::setFont(font);
}

ScratchBank::ScratchBank(const QString& bank) : dm_(std::make_unique<store::TDM1>()) {
    QDir().mkpath(dir_.path() + QStringLiteral("/data"));
    if (!QFile::copy(bank, dir_.path() + QStringLiteral("/data/QBDATA000001.db"))) {
        error_ = QStringLiteral("cannot copy the bank %1").arg(bank);
        return;
    }
    dm_->DataModuleCreate(dir_.path());
    if (!dm_->DatabaseReady) error_ = QStringLiteral("cannot open the copy of %1").arg(bank);
}

std::unique_ptr<ScratchBank> StartBankTool(const char* usage, QString& outDir) {
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        std::fputs(usage, stderr);
        return nullptr;
    }
    outDir = args[1];
    QDir().mkpath(outDir);
    auto scratch = std::make_unique<ScratchBank>(args[2]);
    if (!scratch->error().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(scratch->error()));
        return nullptr;
    }
    UseProgramFonts();
    return scratch;
}

}  // namespace screens
