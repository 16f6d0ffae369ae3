// Picking knowledge points for a question being written, without windows: the
// chapters and their points offered, the ticks, the limit on a question's points,
// and the caller's two parallel lists of labels and ids.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace store {
class Query;
}

namespace knowledge {

// A question carries at most this many knowledge points through the picker.
inline constexpr int kPickerLimit = 7;
// A caller's list this long opens no picker at all.
inline constexpr int kQuestionPointSlots = 10;

// The picker's choices: catalogue chapters (ids of 6 or 2 characters) with their
// points, each visible list with its hidden list of ids at the same index.
class PointPicker {
  public:
    explicit PointPicker(store::Query& query) : query_(query) {}

    // Loads the chapters and the first chapter's points, nothing ticked.
    void Open();
    // Another chapter: its points, with those the question already has ticked.
    void ChooseChapter(int index, const QStringList& questionFtids);

    const QStringList& chapterNames() const { return chapterNames_; }
    const QStringList& chapterIds() const { return chapterIds_; }
    int chapter() const { return chapter_; }
    const QStringList& pointNames() const { return pointNames_; }  // sn as stored
    const QStringList& pointIds() const { return pointIds_; }
    const QVector<bool>& ticks() const { return ticks_; }
    void setTick(int index, bool ticked);
    int tickedCount() const;

    // Why "确定" must not close yet: nothing ticked, or too many for a question
    // that already has `stored` points; nothing when it may close.
    std::optional<QString> Refusal(int stored) const;

  private:
    void loadPoints(const QString& chapterId);

    store::Query& query_;
    QStringList chapterNames_;
    QStringList chapterIds_;
    int chapter_ = -1;
    QStringList pointNames_;
    QStringList pointIds_;
    QVector<bool> ticks_;
};

// The knowledge points of the question in an entry or editor window: the labels
// shown (ListBox1) and the ids (ListBox2), item for item.
class QuestionPointLinks {
  public:
    QStringList labels;
    QStringList ftids;

    int count() const { return static_cast<int>(labels.size()); }
    bool isFull() const { return count() >= kQuestionPointSlots; }
    // Appends each ticked point not there yet, labelled chapter + "[" + sn + "]",
    // in the picker's order. Returns how many were added.
    int AddPicked(const PointPicker& picker);
    // Removes item `index` of both lists; false when there is no such item.
    bool Remove(int index);
};

}  // namespace knowledge
