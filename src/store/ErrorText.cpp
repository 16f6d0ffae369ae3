#include "ErrorText.h"

#include "Engine.h"

#include <sqlite3.h>

namespace store {

QString GeneralErrorText() {
    return QStringLiteral(
        "操作没有完成，出现了意外错误。请再试一次；若仍然出错，请重新运行本软件！");
}

QString ErrorTextForCode(int code) {
    switch (code & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return QStringLiteral("题库正被另一个程序使用，暂时无法读写。请关闭那个程序后再试！");
        case SQLITE_READONLY:
            return QStringLiteral("题库文件是只读的，无法保存。请检查题库文件及其文件夹的权限！");
        case SQLITE_FULL:
            return QStringLiteral("磁盘已满，无法保存。请释放一些磁盘空间后再试！");
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return QStringLiteral("题库文件已损坏，无法读取。请恢复题库文件后重新运行本软件！");
        case SQLITE_IOERR:
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
            return QStringLiteral("无法读写题库文件。请检查磁盘和题库文件后再试！");
        default:
            return GeneralErrorText();
    }
}

QString UserErrorText(const std::exception& error) {
    if (const auto* engine = dynamic_cast<const EngineError*>(&error)) {
        return ErrorTextForCode(engine->code());
    }
    return GeneralErrorText();
}

}  // namespace store
