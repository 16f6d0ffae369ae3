#include "Windows.h"

#include "DataModule.h"
#include "Globals.h"
#include "Sound.h"
#include "UInPut.h"
#include "ULawsFaGui.h"
#include "Uabout.h"
#include "Uchart.h"
#include "Ucheck.h"
#include "Uconfig.h"
#include "Uctb.h"
#include "Ueset.h"
#include "Uexam.h"
#include "Ukmmc.h"
#include "Ulxxt.h"
#include "Uplan.h"
#include "Uprogress.h"
#include "Urili.h"
#include "Urz.h"
#include "Usearch.h"
#include "Ustart.h"
#include "Ustxz.h"
#include "Utedit.h"
#include "WindowHooks.h"
#include "WindowPattern.h"

#include <QScopedValueRollback>

#include <memory>

namespace app {
namespace {

// The settings window plays through the application's sound routines.
aids::MusicControl musicControl() {
    return {[] { return MusicFile; }, [](const QString& file) { MusicFile = file; },
            [](const QString& file, bool on) { PlayBackgroundMusic(file, on); }};
}

}  // namespace

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
    start.registerWindow(CommandAction::StudyPlan, [&dm](const Command& command) {
        OpenModal(aids::Frmplan, command.cursor, [&dm] { return new aids::TFrmplan(dm); });
    });
    start.registerWindow(CommandAction::StudyLog, [&dm](const Command& command) {
        OpenModal(aids::FrmRz, command.cursor, [&dm] { return new aids::TFrmRz(dm); });
    });
    // "music" and "sztime"; the main window has set ConfigMode.
    start.registerWindow(CommandAction::Settings, [&dm](const Command& command) {
        OpenModal(aids::FrmConfig, command.cursor, [&dm, &command] {
            auto* window = new aids::TFrmConfig(dm, musicControl());
            if (command.configMode == 1) window->ArrangeForAnswerTimes();
            return window;
        });
    });
    // "sj": opened without the busy cursor, like the settings and about windows.
    start.registerWindow(CommandAction::Upgrade, [&dm](const Command& command) {
        OpenModal(upgrade::frmstxz, command.cursor, [&dm] { return new upgrade::Tfrmstxz(dm); });
    });
    start.registerWindow(CommandAction::About, [](const Command& command) {
        OpenModal(aids::FrmAbout, command.cursor, [] { return new aids::TFrmAbout; });
    });
    // Every other window's "设置" opens the music settings, owned by that window.
    widgets::setSystemSettingsRunner([&dm](QWidget* owner) {
        qb::ConfigMode = 0;
        aids::TFrmConfig window(dm, musicControl(), owner);
        window.exec();
    });
    start.registerWindow(CommandAction::ExamSettings, [&dm](const Command& command) {
        OpenModal(exam::FrmEset, command.cursor, [&dm] { return new exam::TFrmEset(dm); });
    });
    start.registerWindow(CommandAction::ScoreChart, [&dm](const Command& command) {
        OpenModal(chart::frmchart, command.cursor, [&dm] { return new chart::Tfrmchart(dm); });
    });
    start.registerWindow(CommandAction::WrongBook, [&dm](const Command& command) {
        OpenModal(review::FrmCtb, command.cursor, [&dm] { return new review::TFrmCtb(dm); });
    });
    start.registerWindow(CommandAction::StudyCalendar, [&dm](const Command& command) {
        OpenModal(review::FrmCalendar, command.cursor,
                  [&dm] { return new review::TFrmCalendar(dm); });
    });
    start.registerWindow(CommandAction::PaperHistory, [&dm](const Command& command) {
        OpenModal(exam::FrmCheck, command.cursor, [&dm] { return new exam::TFrmCheck(dm); });
    });
    // "ss": the full-text search. Its index follows every write that changes a text.
    start.registerWindow(CommandAction::Search, [&dm](const Command& command) {
        OpenModal(search::FrmSearch, command.cursor, [&dm] { return new search::TFrmSearch(dm); });
    });
    search::KeepIndexCurrent(dm.ADOCn1);
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
    // The browser's "试题录入" and the practice window's "修改本题".
    practice::setQuestionEntryRunner([&dm](const QString& chapter, QWidget* opener, int& saved) {
        authoring::TFrmInPut window(dm, chapter, opener);
        QObject::connect(&window, &authoring::TFrmInPut::questionSaved, [&saved] { ++saved; });
        const QScopedValueRollback<authoring::TFrmInPut*> current(authoring::FrmInPut, &window);
        window.exec();
    });
    practice::setQuestionEditorRunner([&dm](const QString& questionId, QWidget* opener) {
        authoring::TfrmTedit window(dm, questionId, opener);
        return window.exec() == QDialog::Accepted;
    });
}

}  // namespace app
