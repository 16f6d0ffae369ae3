// The system settings: the background music and the allowed answer time of every
// question type of one exam kind (tab_tx<kind>.time in minutes, mirrored in
// qb::AnswerTimeTable in tenths of a second).
#pragma once

#include <QString>
#include <QVector>

#include <functional>

namespace store {
class TDM1;
}

namespace aids {

// What the settings window does with music; the application owns the player.
struct MusicControl {
    std::function<QString()> file;                   // the piece in use
    std::function<void(const QString&)> setFile;     // a piece chosen
    std::function<void(const QString&, bool)> play;  // on: play in a loop; off: stop
};

// ProgramFolder + "sound/" + the piece's name without surrounding blanks + ".mid".
QString MusicFileFor(const QString& programFolder, const QString& piece);

inline constexpr double kMinAnswerMinutes = 0.1;
inline constexpr double kMaxAnswerMinutes = 30.0;

// Minutes held to 0.1 … 30.0 and to one decimal.
double BoundAnswerMinutes(double minutes);
// Trunc(minutes × 600): the tenths of a second a question gets.
int AnswerTenths(double minutes);

struct AnswerTimeLine {
    int typeId = 0;  // A1
    QString name;    // B1 without surrounding blanks
    double minutes = 0;
};

// The rows of tab_tx<kind> in table order, read through the shared Cn1Table_tx.
QVector<AnswerTimeLine> ReadAnswerTimes(store::TDM1& dm, int kind);

// Writes each line's minutes to the row of tab_tx<kind> with its type id, all in
// one transaction, then mirrors them in qb::AnswerTimeTable. False when any row
// cannot be written: nothing is then written and the table is left as it was.
// A line whose type is no longer in the table is skipped.
bool SaveAnswerTimes(store::TDM1& dm, int kind, const QVector<AnswerTimeLine>& lines);

inline const QString kSaveSettingsFailed = QStringLiteral("保存设置失败！");

}  // namespace aids
