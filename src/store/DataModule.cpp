#include "DataModule.h"

#include "Globals.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace store {
namespace {

qint64 durationPiece(const QString& text, const QString& piece) {
    bool ok = false;
    const qint64 value = piece.trimmed().toLongLong(&ok);
    if (!ok) {
        throw ConversionError(
            QStringLiteral("'%1' is not a valid integer value (in '%2')").arg(piece, text));
    }
    return value;
}

QString twoDigits(qint64 n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// Today's log row may have been written by another tool with a time part.
bool isDay(const QVariant& stored, const QString& day) {
    return !stored.isNull() && stored.toString().left(10) == day;
}

}  // namespace

qint64 ParseDuration(const QString& text) {
    const qsizetype first = text.indexOf(u':');
    if (first < 0) return 0;
    const qint64 hours = durationPiece(text, text.left(first));
    const qsizetype second = text.indexOf(u':', first + 1);
    const qint64 minutes = durationPiece(
        text, second < 0 ? text.mid(first + 1) : text.mid(first + 1, second - first - 1));
    qint64 total = hours * 3600 + minutes * 60;
    if (second >= 0 && text.count(u':') == 2) total += durationPiece(text, text.mid(second + 1, 2));
    return total;
}

QString FormatDuration(qint64 seconds) {
    const qint64 hours = seconds / 3600;
    const qint64 minutes = (seconds - hours * 3600) / 60;
    const qint64 rest = seconds - hours * 3600 - minutes * 60;
    return twoDigits(hours) + u':' + twoDigits(minutes) + u':' + twoDigits(rest);
}

QString CorrectRate(qint64 all, qint64 wrong) {
    if (all <= 0) return QStringLiteral("0");
    return QString::asprintf("%2.2f",
                             static_cast<double>(all - wrong) / static_cast<double>(all) * 100.0);
}

KnowledgePointLists KnowledgePointListsOf(Dataset& questionRow) {
    QStringList ftids;
    for (int k = 3; k <= 12; ++k) {
        const QString id = questionRow.text(QStringLiteral("K%1").arg(k));
        if (id.trimmed().isEmpty()) break;
        ftids << id;
    }
    return KnowledgePointListsOf(ftids);
}

KnowledgePointLists KnowledgePointListsOf(const QStringList& ftids) {
    KnowledgePointLists lists;
    for (const QString& id : ftids) {
        lists.ftids << id;
        lists.fgmc6 << id.left(6);
        lists.fgmc2 << id.left(2);
    }
    return lists;
}

bool IsExamTableName(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^tab_exam[0-9]+$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern.match(name).hasMatch();
}

TDM1::TDM1(QObject* parent) : QObject(parent) {
    Cn1Table_kmmc.setTableName(QStringLiteral("tab_kmmc"));
    Cn1Table_kmmc.setOrderBy(QStringLiteral("bh"));
    Cn1Table_tx.setTableName(QStringLiteral("tab_tx1"));
    Cn1Table_rz.setTableName(QStringLiteral("tab_rz"));
    Cn1Table_cj.setTableName(QStringLiteral("tab_cj"));
    Cn1Table_fgmc.setTableName(QStringLiteral("tab_fgmc"));
    Cn1Table_plan.setTableName(QStringLiteral("tab_plan"));
    connect(&Cn1DS_kmmc, &DataSource::dataChange, this, &TDM1::Cn1DS_kmmcDataChange);
}

TDM1::~TDM1() = default;

void TDM1::ensureOpen(Dataset& dataset) {
    if (!dataset.isActive()) dataset.open();
}

void TDM1::DataModuleCreate(const QString& programFolder) {
    DatabaseReady = false;
    BankIsDamaged = false;
    try {
        Location = ResolveDataLocation(
            programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder);
        qb::ProgramFolder = Location.programFolder;
        if (ADOCn1.isOpen()) ADOCn1.close();
        if (!Location.portable) SeedBank(Location);
        ADOCn1.open(Location.bankPath());
        prepareBank(ADOCn1);
        DatabaseReady = true;
    } catch (const BankDamaged& e) {
        qWarning("the bank is damaged: %s", e.what());
        ADOCn1.close();
        BankIsDamaged = true;
    } catch (const std::exception& e) {
        qWarning("the bank cannot be opened: %s", e.what());
        ADOCn1.close();
    }
}

bool TDM1::locateToday(Table& table) {
    ensureOpen(table);
    const QString day = todayText();
    if (table.locate(QStringLiteral("A1"), day)) return true;
    for (table.first(); !table.eof(); table.next()) {
        if (isDay(table.value(QStringLiteral("A1")), day)) return true;
    }
    return false;
}

namespace {

// Today's log row, found in the file; a row written by another tool may carry a time.
// Text from the day up to the next day covers both, and the index on A1 finds it.
const QString kTodayRow = QStringLiteral("(select min(rowid) from tab_rz where A1>=? and A1<?)");

// A counter routine is all or nothing by itself. Inside the caller's transaction
// (one answer) that transaction makes it so, and a savepoint of its own would only
// add statements to every answer.
class CounterTransaction {
  public:
    explicit CounterTransaction(Database& db) {
        if (!db.inTransaction()) tx_.emplace(db);
    }
    void commit() {
        if (tx_) tx_->commit();
    }

  private:
    std::optional<Transaction> tx_;
};

// A shared dataset shows what the file holds after a write that went around it.
void refreshShared(Dataset& dataset) {
    if (dataset.isActive()) dataset.requery();
}

}  // namespace

void TDM1::RecordDailyAnswer(int firstToday, int wrong, int wasWrong) {
    const int wrongOne = wrong == qb::kYes ? 1 : 0;
    int questions = 0;
    int standingWrong = 0;
    if (firstToday == qb::kYes) {
        questions = 1;
        standingWrong = wrongOne;
    } else if (wasWrong == qb::kNo && wrong == qb::kYes) {
        standingWrong = 1;
    } else if (wasWrong == qb::kYes && wrong == qb::kNo) {
        standingWrong = -1;
    }
    CounterTransaction tx(ADOCn1);
    const int changed =
        ADOCn1.execute(QStringLiteral("update tab_rz set A2=coalesce(A2,0)+1, A3=coalesce(A3,0)+?, "
                                      "B1=coalesce(B1,0)+?, B2=coalesce(B2,0)+? where rowid=") +
                           kTodayRow,
                       {{{}, wrongOne},
                        {{}, questions},
                        {{}, standingWrong},
                        {{}, todayText()},
                        {{}, today().addDays(1).toString(Qt::ISODate)}});
    if (changed == 0) {
        ADOCn1.execute(QStringLiteral("insert into tab_rz (A1,A2,A3,B1,B2) values (?,1,?,1,?)"),
                       {{{}, todayText()}, {{}, wrongOne}, {{}, wrongOne}});
    }
    tx.commit();
    if (changed == 0 || Cn1Table_rz.reloadRows(QStringLiteral("A1"), {todayText()}) == 0) {
        refreshShared(Cn1Table_rz);
    }
}

void TDM1::RecordChapterAnswer(const QString& chapterCode, int newQuestion, int wrong) {
    QStringList codes;
    QStringList marks;
    Params params{{{}, newQuestion == qb::kYes ? 1 : 0}, {{}, wrong == qb::kYes ? 1 : 0}};
    for (qsizetype length = chapterCode.size(); length >= 1; --length) {
        codes << chapterCode.left(length);
        marks << QStringLiteral("?");
        params.push_back({QString(), codes.last()});
    }
    if (codes.isEmpty()) return;
    ADOCn1.execute(QStringLiteral("update tab_kmmc set C4=coalesce(C4,0)+?, D1=coalesce(D1,0)+1, "
                                  "D2=coalesce(D2,0)+? where C1 in (") +
                       marks.join(u',') + u')',
                   params);
    Cn1Table_kmmc.reloadRows(QStringLiteral("C1"), codes);
}

void TDM1::RecordKnowledgePointAnswer(const KnowledgePointLists& points, int newQuestion,
                                      int wrong) {
    if (points.isEmpty()) return;
    // Each id is bound, never pasted: "update ... where ftid in (?,?,...)".
    const auto run = [this](const char* counter, const char* table, const char* key,
                            const QStringList& ids) {
        Params params;
        appendBound(params, ids);
        ADOCn1.execute(QStringLiteral("update %1 set %2=coalesce(%2,0)+1 where %3 in %4")
                           .arg(QLatin1String(table), QLatin1String(counter), QLatin1String(key),
                                boundList(ids.size())),
                       params);
    };
    const auto count = [&](const char* counter) {
        run(counter, "tab_rule", "ftid", points.ftids);
        run(counter, "tab_fgmc", "id", points.fgmc6);
        run(counter, "tab_fgmc", "id", points.fgmc2);
    };
    CounterTransaction tx(ADOCn1);
    count("q2");
    if (newQuestion == qb::kYes) count("q1");
    if (wrong == qb::kYes) count("q4");
    tx.commit();
    Cn1Table_fgmc.reloadRows(QStringLiteral("id"), points.fgmc6 + points.fgmc2);
}

void TDM1::CloseStudySession(const QString& duration) {
    const qint64 spent = ParseDuration(duration);
    Transaction tx(ADOCn1);
    QVariant rowId;
    QString rate;
    qint64 total = spent;
    ADOCn1.query(QStringLiteral("select rowid, A2, A3, D1 from tab_rz where rowid=") + kTodayRow,
                 {{{}, todayText()}, {{}, today().addDays(1).toString(Qt::ISODate)}},
                 [&](Statement& row) {
                     rowId = row.value(0);
                     rate = CorrectRate(row.value(1).toLongLong(), row.value(2).toLongLong());
                     total += ParseDuration(row.value(3).toString());
                 });
    const bool found = !rowId.isNull();
    if (found) {
        ADOCn1.execute(QStringLiteral("update tab_rz set A4=?, D1=? where rowid=?"),
                       {{{}, rate}, {{}, FormatDuration(total)}, {{}, rowId}});
    }
    // Time spent before the day's first answer still counts towards a plan in minutes.
    if (!found && spent > 0) {
        ADOCn1.execute(QStringLiteral("insert into tab_rz (A1,A2,A3,A4,B1,B2,D1) "
                                      "values (?,0,0,'0',0,0,?)"),
                       {{{}, todayText()}, {{}, FormatDuration(spent)}});
    }
    // Every chapter, not only those after the current row: a stale score is wrong.
    std::vector<std::pair<qint64, QString>> rates;
    ADOCn1.query(QStringLiteral("select rowid, D1, D2, C6 from tab_kmmc"), {}, [&](Statement& row) {
        const QString rate = CorrectRate(row.value(1).toLongLong(), row.value(2).toLongLong());
        if (row.value(3).toString() != rate) rates.emplace_back(row.value(0).toLongLong(), rate);
    });
    for (const auto& [rowId, rate] : rates) {
        ADOCn1.execute(QStringLiteral("update tab_kmmc set C6=? where rowid=?"),
                       {{{}, rate}, {{}, rowId}});
    }
    tx.commit();
    refreshShared(Cn1Table_rz);
    refreshShared(Cn1Table_kmmc);
}

int TDM1::TypeScoreTotal() {
    Table& tx = Cn1Table_tx;
    ensureOpen(tx);
    int total = 0;
    for (int n = 1; n <= tx.recordCount(); ++n) {
        tx.setRecNo(n);
        // nearbyint rounds halves to the even neighbour.
        const auto b2 = static_cast<int>(std::nearbyint(tx.asDouble(QStringLiteral("B2"))));
        const auto b3 = static_cast<int>(std::nearbyint(tx.asDouble(QStringLiteral("B3"))));
        total += b2 * b3;
    }
    return total;
}

void TDM1::DropExamTable(const QString& name) {
    // Only the work tables of papers may go: any other name must change nothing.
    if (!IsExamTableName(name)) return;
    try {
        if (!ADOCn1.hasTable(name)) return;
        Transaction tx(ADOCn1);
        ADOCn1.dropTable(name);
        Table& cj = Cn1Table_cj;
        ensureOpen(cj);
        if (cj.locate(QStringLiteral("A1"), name)) cj.remove();
        tx.commit();
    } catch (const std::exception&) {  // NOLINT(bugprone-empty-catch)
        // Deleting a paper never reports anything; a failure leaves both in place.
    }
}

void TDM1::Cn1DS_kmmcDataChange() {
    if (Cn1Table_kmmc.isActive() && Cn1Table_kmmc.recordCount() > 0) {
        qb::CurrentChapterTitle = Cn1Table_kmmc.text(QStringLiteral("C1_1"));
    }
}

}  // namespace store
