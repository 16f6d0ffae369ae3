#include "BankSafety.h"

#include "BankFiles.h"
#include "DataModule.h"
#include "ErrorText.h"
#include "Prompt.h"

#include <QDir>
#include <QFileInfo>

namespace app {

bool OfferRestore(const store::DataLocation& location) {
    const QStringList backups = store::AllBackups(location);
    const QString bank = QDir::toNativeSeparators(location.bankPath());
    if (backups.isEmpty()) {
        widgets::ShowMessage(QStringLiteral("错误"),
                             QStringLiteral("题库文件已损坏，无法打开，也没有找到可用的备份。\n"
                                            "损坏的文件原样保留在：%1")
                                 .arg(bank),
                             widgets::MessageIcon::Critical);
        return false;
    }
    const QString newest = QFileInfo(backups.first()).fileName();
    if (widgets::ShowMessage(
            QStringLiteral("提示"),
            QStringLiteral("题库文件已损坏，无法打开。\n是否用最近的备份“%1”恢复题库？\n"
                           "损坏的文件会改名保留，不会删除。")
                .arg(newest),
            widgets::MessageIcon::Question,
            widgets::MessageButtons::OkCancel) != widgets::MessageResult::Ok) {
        return false;
    }
    try {
        const QString aside = store::RestoreFromBackup(location, backups.first());
        widgets::ShowMessage(QStringLiteral("提示"),
                             QStringLiteral("题库已用备份“%1”恢复。\n损坏的文件保存为：%2")
                                 .arg(newest, QDir::toNativeSeparators(aside)),
                             widgets::MessageIcon::Information);
        return true;
    } catch (const std::exception& e) {
        qWarning("restore failed: %s", e.what());
        widgets::ShowMessage(
            QStringLiteral("错误"),
            QStringLiteral("无法用备份恢复题库，题库文件没有改动。\n") + store::UserErrorText(e),
            widgets::MessageIcon::Critical);
        return false;
    }
}

void BackUpToday(store::TDM1& dm) {
    try {
        if (const auto written = store::BackUpOncePerDay(dm.ADOCn1, dm.Location))
            qInfo("bank backed up to %s", qPrintable(*written));
    } catch (const std::exception& e) {
        qWarning("daily backup failed: %s", e.what());
        widgets::ShowMessage(
            QStringLiteral("提示"),
            QStringLiteral("今天的题库备份没有完成，程序照常运行。\n") + store::UserErrorText(e),
            widgets::MessageIcon::Warning);
    }
}

}  // namespace app
