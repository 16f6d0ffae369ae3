#include "Guard.h"

#include "ErrorText.h"
#include "ModalForm.h"
#include "Prompt.h"

namespace widgets {

void ReportFailure(const std::exception* error) {
    SetNormalCursor();
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
