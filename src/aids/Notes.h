// The user's note on a question: the A14 column of the row the practice or exam
// window stands on, edited in place and written back when the note window closes.
#pragma once

#include <QString>
#include <QVariant>

namespace store {
class Dataset;
}

namespace aids {

// A note counts as written when it holds something besides blanks.
bool NoteHasContent(const QString& text);

// What the opener's note button reads after the note window closed: "有内容"
// (has content) when qb::NoteFilled is set, else "笔记".
QString NoteButtonCaption(bool noteFilled);

// Ties the note window to one column of the current row of a caller's dataset.
// The dataset stays the caller's: nothing here runs a query of its own, and the
// row is written through the dataset, so a practice set writes tab_answ and an
// exam paper writes its work table. The row is remembered by its question id
// (A1), not by its position: the opener may move the cursor or reopen the set
// while the note is written (an exam timing out and being marked).
class NoteBinding {
  public:
    // Puts the dataset into edit state on its current row. False, leaving nothing
    // bound, when the dataset is closed, has no current row or lacks the column.
    bool Bind(store::Dataset& dataset, const QString& column);
    bool isBound() const { return dataset_ != nullptr; }

    // The note as the row holds it now (a NULL note reads as "").
    QString text() const;

    // Stores the note as typed on the question it was bound to, blanks included,
    // then posts the row and sets
    // qb::NoteFilled. A note equal to the stored one is not written again, so a
    // note the user never touched keeps its NULL. Unbound, nothing is saved and
    // NoteFilled becomes false.
    // Throws store::EngineError when the row cannot be written; the dataset then
    // stays in edit state holding the text, and NoteFilled keeps its value.
    void Save(const QString& text);

  private:
    store::Dataset* dataset_ = nullptr;
    QString column_;
    QVariant id_;  // A1 of the bound row; null when the dataset has no A1
};

}  // namespace aids
