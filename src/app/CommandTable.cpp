#include "CommandTable.h"

#include <array>

namespace app {
namespace {

struct Entry {
    const char* text;
    Command command;
};

using A = CommandAction;
using C = CursorRule;

// Order matters only for readers: texts are distinct, and the first match wins.
const std::array<Entry, 28> kTable = {{
    {"ksdg", {A::KnowledgeCatalogue, C::Busy}},
    {"zsd", {A::KnowledgeCatalogue, C::Busy}},
    {"lx", {A::SubjectBrowser, C::Busy, 1}},
    {"lx2", {A::SubjectBrowser, C::Busy, 2}},
    {"lx3", {A::SubjectBrowser, C::Busy, 3}},
    {"lx4", {A::SubjectBrowser, C::Busy, 4}},
    {"lx5", {A::SubjectBrowser, C::Busy, 5}},
    {"szjh", {A::StudyPlan, C::Busy}},
    {"szks", {A::ExamSettings, C::Busy}},
    {"rz", {A::StudyLog, C::BusyOnCreation}},
    {"tj", {A::ScoreChart, C::Busy}},
    {"sj", {A::Upgrade, C::Normal}},
    {"music", {A::Settings, C::Normal, 0, 0, 0}},
    {"sztime", {A::Settings, C::Normal, 0, 0, 1}},
    {"fg", {A::OpenRegulations, C::Normal}},
    {"lxfs", {A::OpenContacts, C::Normal}},
    {"help", {A::OpenHelp, C::Normal}},
    {"about", {A::About, C::Normal}},
    {"quit", {A::Quit, C::Normal}},
    {"cj", {A::PaperHistory, C::Busy}},
    {"mnks", {A::MockExam, C::Normal, 0, 1}},
    {"mnks2", {A::MockExam, C::Normal, 0, 2}},
    {"mnks3", {A::MockExam, C::Normal, 0, 3}},
    {"mnks4", {A::MockExam, C::Normal, 0, 4}},
    {"mnks5", {A::MockExam, C::Normal, 0, 5}},
    {"ss", {A::Search, C::Busy}},
    {"ctb", {A::WrongBook, C::Busy}},
    {"rili", {A::StudyCalendar, C::Busy}},
}};

}  // namespace

Command LookupCommand(const QString& text) {
    for (const Entry& e : kTable) {
        if (text == QLatin1String(e.text)) return e.command;
    }
    return {};
}

QStringList AllCommandTexts() {
    QStringList texts;
    for (const Entry& e : kTable)
        texts << QLatin1String(e.text);
    return texts;
}

QString RegulationsPage() {
    return QStringLiteral("htm/法规汇编.htm");
}
QString ContactsPage() {
    return QStringLiteral("htm/发行站及专业书店联系方式.htm");
}
QString HelpPage() {
    return QStringLiteral("htm/help.htm");
}

}  // namespace app
