#include "Prompt.h"

#include <QDir>

namespace widgets {
namespace {
PromptService* g_service = nullptr;
}

PromptService* promptService() {
    return g_service;
}

PromptService* setPromptService(PromptService* service) {
    PromptService* old = g_service;
    g_service = service;
    return old;
}

int ShowPromptBox(const QString& caption, const QString& text, int kind, const QString& mode,
                  int picture) {
    if (g_service == nullptr) return kind == 1 ? 3 : 1;
    return g_service->promptBox(caption, text, kind, mode, picture);
}

MessageResult ShowMessage(const QString& caption, const QString& text, MessageIcon icon,
                          MessageButtons buttons) {
    if (g_service == nullptr) return MessageResult::Ok;
    return g_service->messageBox(caption, text, icon, buttons);
}

void ShowDocumentSavedAt(const QString& path) {
    ShowMessage(QStringLiteral("提示"),
                QStringLiteral("文档已保存到：%1\n本机没有可以打开它的程序。")
                    .arg(QDir::toNativeSeparators(path)),
                MessageIcon::Information);
}

}  // namespace widgets
