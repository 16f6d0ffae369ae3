// One question as the search shows it when a result is opened: its texts, its key,
// the candidate's last answer and note, and the names of its knowledge points.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace store {
class Database;
}

namespace search {

struct QuestionView {
    QString id;
    QString chapter;         // the chapter's name, or its code when the catalogue lacks it
    QByteArray sharedStem;   // RTF; empty unless the question belongs to a group
    QByteArray stem;         // RTF
    QByteArray explanation;  // RTF; empty when there is none
    QString key;
    QString lastAnswer;  // empty when never answered; "zero" for a discarded question
    QString note;
    QStringList points;  // short names of the knowledge points, K3 onward
    bool discarded = false;
};

// Nothing when no question has this id.
std::optional<QuestionView> LoadQuestionView(store::Database& bank, const QString& id);

}  // namespace search
