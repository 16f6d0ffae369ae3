#include "WindowHooks.h"

#include <QApplication>
#include <QWidget>

namespace widgets {
namespace {
SystemSettingsRunner& settingsRunner() {
    static SystemSettingsRunner installed;
    return installed;
}
}  // namespace

void setSystemSettingsRunner(SystemSettingsRunner runner) {
    settingsRunner() = std::move(runner);
}

void RunSystemSettings(QWidget* owner) {
    if (const SystemSettingsRunner& run = settingsRunner()) run(owner);
}

bool HasSystemSettings() {
    return static_cast<bool>(settingsRunner());
}

void ShowDesktop() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) window->showMinimized();
    }
}

}  // namespace widgets
