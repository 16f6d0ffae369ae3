#include "SystemSettings.h"

#include "DataModule.h"
#include "Globals.h"

#include <algorithm>
#include <cmath>

namespace aids {
namespace {

store::Table& typeTable(store::TDM1& dm, int kind) {
    store::Table& tx = dm.Cn1Table_tx;
    const QString name = QStringLiteral("tab_tx") + QString::number(kind);
    if (tx.tableName() != name || !tx.isActive()) {
        tx.close();
        tx.setTableName(name);
        tx.open();
    }
    return tx;
}

}  // namespace

QString MusicFileFor(const QString& programFolder, const QString& piece) {
    return programFolder + QStringLiteral("sound/") + piece.trimmed() + QStringLiteral(".mid");
}

double BoundAnswerMinutes(double minutes) {
    const double bounded = std::clamp(minutes, kMinAnswerMinutes, kMaxAnswerMinutes);
    return std::round(bounded * 10.0) / 10.0;
}

int AnswerTenths(double minutes) {
    // Trunc, not round; the small epsilon keeps 2.3 minutes at 1380 despite binary fractions.
    return static_cast<int>(std::trunc(minutes * 600 + 1e-9));
}

QVector<AnswerTimeLine> ReadAnswerTimes(store::TDM1& dm, int kind) {
    store::Table& tx = typeTable(dm, kind);
    QVector<AnswerTimeLine> lines;
    for (tx.first(); !tx.eof(); tx.next()) {
        lines.push_back({tx.asInt(QStringLiteral("A1")), tx.text(QStringLiteral("B1")).trimmed(),
                         tx.asDouble(QStringLiteral("time"))});
    }
    tx.first();
    return lines;
}

bool SaveAnswerTimes(store::TDM1& dm, int kind, const QVector<AnswerTimeLine>& lines) {
    qb::AnswerTimes table;
    try {
        store::Table& tx = typeTable(dm, kind);
        store::Transaction transaction(dm.ADOCn1);
        for (const AnswerTimeLine& line : lines) {
            if (!tx.locate(QStringLiteral("A1"), line.typeId)) continue;
            tx.edit();
            tx.setValue(QStringLiteral("time"), line.minutes);
            try {
                tx.post();
            } catch (...) {
                tx.cancel();
                throw;
            }
            table.typeIds << line.typeId;
            table.tenths << AnswerTenths(line.minutes);
        }
        transaction.commit();
    } catch (const std::exception&) {
        return false;
    }
    qb::AnswerTimeTable = table;
    return true;
}

}  // namespace aids
