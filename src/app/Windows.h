// Which window each menu command opens. Every window that a command opens is
// registered here, so that the main window knows none of them by name.
#pragma once

namespace store {
class TDM1;
}

namespace app {

class TFrmStart;

void RegisterWindows(TFrmStart& start, store::TDM1& dm);

}  // namespace app
