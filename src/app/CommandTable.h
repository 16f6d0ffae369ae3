// The menu's command texts and what each one does. The table is matched exactly
// (case-sensitive) and in order; a text that matches nothing does nothing.
#pragma once

#include <QString>
#include <QStringList>

namespace app {

enum class CommandAction {
    None,
    KnowledgeCatalogue,  // the knowledge-point catalogue
    SubjectBrowser,      // subjects and chapters; `subject` 1..5
    StudyPlan,
    ExamSettings,
    StudyLog,
    ScoreChart,
    Upgrade,
    Settings,  // `configMode` 0 music, 1 answer times
    OpenRegulations,
    OpenContacts,
    OpenHelp,
    About,
    Quit,
    PaperHistory,
    MockExam,       // `kind` 1..5
    Search,         // full-text search over the bank's texts and the notes
    WrongBook,      // the wrong-question book
    StudyCalendar,  // the study calendar
};

enum class CursorRule {
    Normal,          // the cursor is left alone
    Busy,            // hourglass until the window closes
    BusyOnCreation,  // hourglass while the window is made, normal while it is shown
};

struct Command {
    CommandAction action = CommandAction::None;
    CursorRule cursor = CursorRule::Normal;
    int subject = 0;
    int kind = 0;
    int configMode = -1;
};

Command LookupCommand(const QString& text);

// Every command text the menu may send, in the table's order.
QStringList AllCommandTexts();

// Documents the shell opens, relative to the program folder.
QString RegulationsPage();
QString ContactsPage();
QString HelpPage();

}  // namespace app
