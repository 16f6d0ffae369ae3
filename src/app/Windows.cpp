#include "Windows.h"

#include "DataModule.h"
#include "Ueset.h"
#include "Ukmmc.h"
#include "Ulxxt.h"
#include "Ustart.h"
#include "WindowPattern.h"

namespace app {

void RegisterWindows(TFrmStart& start, store::TDM1& dm) {
    // "lx" to "lx5": one browser whatever the subject; the main window has stored it.
    start.registerWindow(CommandAction::SubjectBrowser, [&dm](const Command& command) {
        OpenModal(practice::Frmkmmc, command.cursor, [&dm] { return new practice::TFrmkmmc(dm); });
    });
    start.registerWindow(CommandAction::ExamSettings, [&dm](const Command& command) {
        OpenModal(exam::FrmEset, command.cursor, [&dm] { return new exam::TFrmEset(dm); });
    });
    // The browser (and later the knowledge-point catalogue) starts chapter practice
    // through the launcher, not knowing the practice window.
    practice::InstallChapterPractice(dm);
}

}  // namespace app
