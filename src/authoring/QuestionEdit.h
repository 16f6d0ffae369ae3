// Changing a question of the bank, without windows: what the editor shows of it,
// and the one transaction that writes the change back and recounts the knowledge
// points it touches.
#pragma once

#include "QuestionEntry.h"

namespace store {
class TDM1;
}

namespace authoring {

inline constexpr int kPointSlots = 10;  // K3..K12

// A question as the editor holds it. A grouped question (an id with "-") also
// carries the stem its group shares, kept under the first 16 characters of the id.
struct EditedQuestion {
    QString id;
    QuestionDraft draft;
    QByteArray sharedStem;
    QStringList pointLabels;  // item for item with draft.ftids

    bool isGrouped() const { return id.contains(u'-'); }
    QString groupId() const { return id.left(16); }
};

// The question with this id as the bank holds it, with its knowledge points labelled
// catalogue chapter + short name. Throws when no question has the id.
EditedQuestion LoadQuestionForEdit(store::TDM1& dm, const QString& id);

// Writes the edit back in one transaction: stem, explanation, shared stem, choices,
// key, type and knowledge points (K3 onward, the other slots emptied), counts the
// edit in ecount, and recounts q of every knowledge point the question listed before
// or lists now. A failing statement throws with nothing written. The draft's type
// must be set.
void SaveQuestionEdit(store::TDM1& dm, const EditedQuestion& edited);

// Sets q of each knowledge point to the number of questions listing it, in one pass
// over the questions.
void RecountPoints(store::TDM1& dm, const QStringList& ftids);

}  // namespace authoring
