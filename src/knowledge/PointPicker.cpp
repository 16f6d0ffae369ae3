#include "PointPicker.h"

#include "Dataset.h"

namespace knowledge {

void PointPicker::Open() {
    chapterNames_.clear();
    chapterIds_.clear();
    query_.close();
    query_.setSql(QStringLiteral("select * from tab_fgmc where len(id) = 6 or len(id)=2"));
    query_.open();
    for (query_.first(); !query_.eof(); query_.next()) {
        chapterNames_ << query_.text(QStringLiteral("n"));
        chapterIds_ << query_.text(QStringLiteral("id"));
    }
    query_.close();
    // On opening nothing is ticked, whatever the question has.
    chapter_ = chapterIds_.isEmpty() ? -1 : 0;
    loadPoints(chapter_ >= 0 ? chapterIds_[0] : QString());
}

void PointPicker::ChooseChapter(int index, const QStringList& questionFtids) {
    if (index < 0 || index >= chapterIds_.size()) return;
    chapter_ = index;
    loadPoints(chapterIds_[index]);
    for (int i = 0; i < pointIds_.size(); ++i)
        ticks_[i] = questionFtids.contains(pointIds_[i]);
}

void PointPicker::loadPoints(const QString& chapterId) {
    pointNames_.clear();
    pointIds_.clear();
    if (!chapterId.isEmpty()) {
        query_.close();
        query_.setSql(QStringLiteral("select * from tab_rule where id = :ID"));
        query_.setParam(QStringLiteral("ID"), chapterId);
        query_.open();
        for (query_.first(); !query_.eof(); query_.next()) {
            pointNames_ << query_.text(QStringLiteral("sn"));
            pointIds_ << query_.text(QStringLiteral("ftid"));
        }
        query_.close();
    }
    ticks_ = QVector<bool>(pointIds_.size(), false);
}

void PointPicker::setTick(int index, bool ticked) {
    if (index >= 0 && index < ticks_.size()) ticks_[index] = ticked;
}

int PointPicker::tickedCount() const {
    return static_cast<int>(ticks_.count(true));
}

std::optional<QString> PointPicker::Refusal(int stored) const {
    const int ticked = tickedCount();
    if (ticked == 0) return QStringLiteral("请选择对应考点，退出请按关闭按钮！");
    if (stored + ticked <= kPickerLimit) return std::nullopt;
    return QStringLiteral("对应考点最多不能超过7条，已有考点%1条！").arg(stored);
}

int QuestionPointLinks::AddPicked(const PointPicker& picker) {
    const QString chapter =
        picker.chapter() >= 0 ? picker.chapterNames()[picker.chapter()] : QString();
    int added = 0;
    for (int i = 0; i < picker.pointIds().size(); ++i) {
        if (!picker.ticks()[i] || ftids.contains(picker.pointIds()[i])) continue;
        ftids << picker.pointIds()[i];
        labels << chapter + u'[' + picker.pointNames()[i] + u']';
        ++added;
    }
    return added;
}

bool QuestionPointLinks::Remove(int index) {
    if (index < 0 || index >= count()) return false;
    labels.removeAt(index);
    ftids.removeAt(index);
    return true;
}

}  // namespace knowledge
