#include "PracticeLauncher.h"

namespace practice {
namespace {
ChapterPracticeRunner& runner() {
    static ChapterPracticeRunner installed;
    return installed;
}
}  // namespace

void setChapterPracticeRunner(ChapterPracticeRunner r) {
    runner() = std::move(r);
}

bool RunChapterPractice(const QString& caption, const std::function<void()>& beforeShow) {
    return runner() ? runner()(caption, beforeShow) : false;
}

}  // namespace practice
