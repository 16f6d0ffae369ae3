#include "InputMethods.h"

namespace aids {

QStringList InstalledInputMethods() {
    return {};
}

QString PreferredNoteInputMethod(const QStringList& installed) {
    for (const QString& name :
         {QStringLiteral("智能ABC输入法"), QStringLiteral("五笔字型输入法")}) {
        if (installed.contains(name)) return name;
    }
    return {};
}

}  // namespace aids
