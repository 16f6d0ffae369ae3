// What several windows share but none of them owns.
#pragma once

#include <functional>

class QWidget;

namespace widgets {

// The system settings window (music and answer times) is opened from the browser,
// the practice window, the exam window and the paper history; it installs itself
// here once. Without it the callers' "设置" does nothing.
using SystemSettingsRunner = std::function<void(QWidget* owner)>;
void setSystemSettingsRunner(SystemSettingsRunner runner);
void RunSystemSettings(QWidget* owner);
// Whether the settings window is installed; the callers' "设置" is grey until it is.
bool HasSystemSettings();

// "桌面": every visible window of the program goes to the task bar.
void ShowDesktop();

}  // namespace widgets
