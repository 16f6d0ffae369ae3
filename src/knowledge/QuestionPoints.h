// The knowledge points of one question: the ids in its slots K3..K12, the
// tab_rule rows they name, and the catalogue chapter shown above them. The
// related-knowledge-points window shows what this holds; nothing here is written.
#pragma once

#include "Dataset.h"

#include <QByteArray>
#include <QStringList>

namespace store {
class TDM1;
}

namespace knowledge {

class QuestionPoints {
  public:
    // The queries run on the data module's connection.
    explicit QuestionPoints(store::TDM1& dm);

    // Collects the non-empty slots K3..K12 of the question, in slot order (null and
    // empty slots are skipped, later ones still count). True when there is at
    // least one; false too when no question has the id.
    bool LoadQuestionPoints(const QString& questionId);
    // The ids collected by the last load.
    const QStringList& ids() const { return m_listbox; }

    // Opens the knowledge points the ids name (ids without a tab_rule row are
    // absent), lists their short names in the order the bank returns them, shows
    // the chapter of the first and stands on the first. With none, the list and
    // the chapter are empty.
    void Open();
    bool isOpen() const { return ADOQuery1.isActive(); }

    // The list as shown: each short name as stored, trailing blanks included.
    const QStringList& names() const { return names_; }
    // Name of the catalogue chapter (tab_fgmc.n) shown above the list.
    const QString& chapterName() const { return chapterName_; }
    // 0-based position of the knowledge point shown, -1 when none.
    int current() const { return current_; }
    // The rich text (tab_rule.n) of the knowledge point shown; empty when none.
    QByteArray text();

    // A click on list item `index`: shows that knowledge point's text and its
    // chapter. Nothing happens before Open() or for an index outside the list.
    void Select(int index);

  private:
    QString chapterNameOf(const QString& chapterId);

    QStringList m_listbox;
    QStringList names_;
    QString chapterName_;
    int current_ = -1;
    store::Query ADOQuery1;  // the question's slots, then its knowledge points
    store::Query ADOQuery2;  // the catalogue chapter
};

}  // namespace knowledge
