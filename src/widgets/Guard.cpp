#include "Guard.h"

#include "ErrorText.h"
#include "Prompt.h"

#include <QApplication>

namespace widgets {

void RestoreNormalCursor() {
    while (QApplication::overrideCursor() != nullptr)
        QApplication::restoreOverrideCursor();
}

void ReportFailure(const std::exception* error) {
    RestoreNormalCursor();
    if (error != nullptr) {
        qCritical("failure reported to the user: %s", error->what());
    } else {
        qCritical("failure of an unknown kind reported to the user");
    }
    const QString text =
        error != nullptr ? store::UserErrorText(*error) : store::GeneralErrorText();
    ShowPromptBox(QStringLiteral("错误"), text, 1, QStringLiteral("NO"), kPictureError);
}

void RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        ReportFailure(&e);
    } catch (...) {
        ReportFailure(nullptr);
    }
}

}  // namespace widgets
