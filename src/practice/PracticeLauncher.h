// How an opener (the chapter browser, the knowledge-point catalogue) starts chapter
// practice on the set in qb::PracticeSql without knowing the practice window.
#pragma once

#include <QString>

#include <functional>

namespace practice {

// Makes the practice window with the caption, loads the set and, when the set is not
// empty, runs beforeShow (the opener hides itself there) and shows the window
// modally. Returns false for an empty set, when nothing was shown.
using ChapterPracticeRunner =
    std::function<bool(const QString& caption, const std::function<void()>& beforeShow)>;

void setChapterPracticeRunner(ChapterPracticeRunner runner);

// False, showing nothing, while no practice window is installed.
bool RunChapterPractice(const QString& caption, const std::function<void()>& beforeShow);

}  // namespace practice
