#include "Windows.h"

#include "DataModule.h"
#include "Globals.h"
#include "ULawsFaGui.h"
#include "Ucheck.h"
#include "Ueset.h"
#include "Uexam.h"
#include "Ukmmc.h"
#include "Ulxxt.h"
#include "Uprogress.h"
#include "Ustart.h"
#include "WindowPattern.h"

namespace app {

void RegisterWindows(TFrmStart& start, store::TDM1& dm) {
    // "lx" to "lx5": one browser whatever the subject; the main window has stored it.
    start.registerWindow(CommandAction::SubjectBrowser, [&dm](const Command& command) {
        OpenModal(practice::Frmkmmc, command.cursor, [&dm] { return new practice::TFrmkmmc(dm); });
    });
    // "ksdg" and "zsd": the knowledge-point catalogue.
    start.registerWindow(CommandAction::KnowledgeCatalogue, [&dm](const Command& command) {
        OpenModal(knowledge::frmLawsFaGui, command.cursor,
                  [&dm] { return new knowledge::TfrmLawsFaGui(dm); });
    });
    start.registerWindow(CommandAction::ExamSettings, [&dm](const Command& command) {
        OpenModal(exam::FrmEset, command.cursor, [&dm] { return new exam::TFrmEset(dm); });
    });
    start.registerWindow(CommandAction::PaperHistory, [&dm](const Command& command) {
        OpenModal(exam::FrmCheck, command.cursor, [&dm] { return new exam::TFrmCheck(dm); });
    });
    // "mnks" to "mnks5"; the kind is set again afterwards, whatever the exam left.
    start.setMockExamStarter([&dm](int kind) {
        exam::StartMockExam(dm, kind);
        qb::CurrentKind = kind;
    });
    // The exam knows nothing of the application; it reaches the progress window here.
    exam::setProgressHook({[](const QString& text) {
                               if (FrmProgress != nullptr) FrmProgress->ShowStep(text);
                           },
                           [] {
                               if (FrmProgress != nullptr) FrmProgress->HideProgress();
                           }});
    // A review from the paper history uses the same progress window.
    exam::setCheckProgressHook({[](const QString& text) {
                                    if (FrmProgress != nullptr) FrmProgress->ShowStep(text);
                                },
                                [] {
                                    if (FrmProgress != nullptr) FrmProgress->HideProgress();
                                }});
    // The browser (and later the knowledge-point catalogue) starts chapter practice
    // through the launcher, not knowing the practice window.
    practice::InstallChapterPractice(dm);
}

}  // namespace app
