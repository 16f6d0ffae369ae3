// Process-wide values shared by every part of the program. One process, one user,
// one thread: these are plain values, set where the comment says.
#pragma once

#include <QString>
#include <QVector>

namespace qb {

// Flags passed to the counter routines.
inline constexpr int kYes = 2;
inline constexpr int kNo = 1;

// Folder of the executable, always ending with "/"; set by the data module.
inline QString ProgramFolder;
// "800" or "1024": the compact or the large layout of every window.
inline QString ScreenMode = QStringLiteral("1024");
// Number N of the question-type table tab_tx<N> in use (1..5; 0 before start-up).
inline int CurrentKind = 0;
// Per row of tab_tx<CurrentKind>: the type id and its answer time in tenths of a second.
struct AnswerTimes {
    QVector<int> typeIds;
    QVector<int> tenths;
};
inline AnswerTimes AnswerTimeTable;
// Subject chosen by the practice commands (1..5).
inline int CurrentSubject = 1;
// 0: the settings window shows music, 1: answer times.
inline int ConfigMode = 0;
// Whether the note window saved a non-empty note.
inline bool NoteFilled = false;
// The practice set handed from the browser or catalogue to the practice window.
inline QString PracticeSql;
// Heading of the chapter practice window: C1_1 of the current chapter row.
inline QString CurrentChapterTitle;

}  // namespace qb
