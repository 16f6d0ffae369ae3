// The cost of recording one answer: the whole chain the practice window runs (daily,
// chapter and knowledge-point counters, then the question row itself) as one
// transaction through the data module, against the same writes as bare prepared
// statements on a connection with the same settings.
//
// Benchmarks (names are stable; a script reads them):
//   BM_AnswerThroughDataModule/100k  data module, bank of 100,000 questions
//   BM_AnswerFloor/100k              bare statements, same bank
//   BM_AnswerThroughDataModule/1k    data module, bank of 1,000 questions
//   BM_PointSetThroughDataModule/100k  opening a knowledge point's practice set
//   BM_PointSetFloor/100k            the same statements as bare SQLite
//   BM_PaperThroughModule/100k       making a kind-1 paper (140 questions) and opening it
//   BM_PaperFloor/100k               the same statements as bare SQLite
//   BM_MarkingThroughModule/100k     marking that paper
//   BM_MarkingFloor/100k             the marking statement as bare SQLite
//   BM_EditSaveThroughModule/100k    saving an edit of a question with ten points
//   BM_EditSaveFloor/100k            the same statements as bare SQLite
// Both banks are generated once per process in a temporary folder; generation is
// not timed, and neither is opening a bank or the first (warm-up) answer.
#include "BankGenerator.h"

#include "Catalogue.h"

#include "DataModule.h"
#include "Engine.h"
#include "Globals.h"
#include "Marking.h"
#include "PaperMaker.h"
#include "PracticeSet.h"
#include "QuestionCard.h"
#include "QuestionEdit.h"
#include "Schema.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr double kMinSeconds = 2.0;

// The flags the program's own connection is opened with: every floor uses them.
constexpr int kProgramOpenFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;

// ------------------------------------------------------------------ the banks

struct BankFolder {
    QString folder;  // program folder: the bank is data/QBDATA000001.db below it
    bench::GeneratedBank bank;
    QString chapter;  // the chapter whose questions make the practice set
    std::string label;
};

class Banks {
  public:
    static Banks& instance() {
        static Banks banks;
        return banks;
    }
    const BankFolder& get(const QString& name, const bench::BankShape& shape) {
        auto it = made_.find(name);
        if (it != made_.end()) return it->second;
        if (!dir_.isValid()) throw std::runtime_error("cannot create a temporary folder");
        // EXAMSTUDY_BENCH_KEEP=1 leaves the banks behind for inspection.
        if (qEnvironmentVariableIntValue("EXAMSTUDY_BENCH_KEEP") != 0) dir_.setAutoRemove(false);
        BankFolder b;
        b.folder = dir_.filePath(name);
        QDir().mkpath(b.folder + QStringLiteral("/data"));
        QElapsedTimer timer;
        timer.start();
        b.bank = bench::generateBank(b.folder + QStringLiteral("/data/QBDATA000001.db"), shape);
        b.chapter = b.bank.leafChapters.value(b.bank.leafChapters.size() / 2);
        b.label = QStringLiteral("questions=%1 chapters=%2 points=%3 set=%4")
                      .arg(b.bank.questions)
                      .arg(b.bank.chapterRows)
                      .arg(b.bank.knowledgePoints)
                      .arg(b.chapter)
                      .toStdString();
        std::fprintf(stderr, "generated bank %s (%d questions) in %.2f s: %s\n", qPrintable(name),
                     b.bank.questions, static_cast<double>(timer.elapsed()) / 1000.0,
                     qPrintable(b.folder));
        return made_.emplace(name, std::move(b)).first->second;
    }

  private:
    QTemporaryDir dir_{QDir::tempPath() + QStringLiteral("/examstudy-bench-XXXXXX")};
    std::map<QString, BankFolder> made_;
};

// ------------------------------------------------------------ progress rules

struct Judgement {
    int firstToday;
    int wrong;
    int wasWrong;
    int newQuestion;
    int e3;
    int e4;
};

int flag(bool on) {
    return on ? qb::kYes : qb::kNo;
}

Judgement judge(bool firstToday, bool wrong, bool wasWrong, bool newQuestion, int e3, int e4) {
    Judgement j{flag(firstToday), flag(wrong), flag(wasWrong), flag(newQuestion), e3 + 1, e4};
    if (newQuestion) {
        j.e4 = wrong ? -3 : 0;
    } else if (wrong) {
        j.e4 = e4 - 1;
    } else if (e4 < 0) {
        j.e4 = e4 + 1;
    }
    return j;
}

// A wrong answer is any other choice than the key.
const char* wrongChoice(const char* key) {
    return std::string(key) == "A" ? "B" : "A";
}

QString practiceSql(const QString& chapter) {
    return QStringLiteral(
               "select a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,"
               "f1,xx,csbs,ecount from tab_answ where left(A10,6)='%1' and f1<>1 order by xx")
        .arg(chapter);
}

// ---------------------------------------------------- through the data module

class DataModulePath {
  public:
    explicit DataModulePath(const BankFolder& bank) {
        dm_.DataModuleCreate(bank.folder);
        if (!dm_.DatabaseReady) throw std::runtime_error("the data module did not open the bank");
        dm_.Cn1Query_tm.setSql(practiceSql(bank.chapter));
        QElapsedTimer timer;
        timer.start();
        dm_.Cn1Query_tm.open();
        openMs_ = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        count_ = dm_.Cn1Query_tm.recordCount();
        if (count_ == 0) throw std::runtime_error("empty practice set");
    }

    // One answer through the question card: the progress rule, the three counters and
    // the row, in one transaction. The answer always differs from the one stored in
    // the session, so it is always counted.
    void answer(bool right) {
        store::Query& q = dm_.Cn1Query_tm;
        q.setRecNo(next_++ % count_ + 1);
        const QString key = q.text(QStringLiteral("A2"));
        const QString wrong = QString::fromLatin1(wrongChoice(key.toLatin1().constData()));
        QString given = right ? key : wrong;
        if (given == q.text(QStringLiteral("E2_1"))) given = given == key ? wrong : key;
        practice::StoreAnswer(dm_, q, given);
    }

    // Opening a chapter set as the practice window does, session answers cleared first.
    bool openSet(const QString& sql) {
        qb::PracticeSql = sql;
        return practice::OpenPracticeSet(dm_);
    }
    store::TDM1& module() { return dm_; }

    int setSize() const { return count_; }
    double openMs() const { return openMs_; }

  private:
    store::TDM1 dm_;
    int count_ = 0;
    double openMs_ = 0;
    int next_ = 0;
};

// ------------------------------------------------------------ bare statements

class Stmt {
  public:
    Stmt(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &s_, nullptr) != SQLITE_OK) fail(sql);
    }
    ~Stmt() { sqlite3_finalize(s_); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;

    void text(int i, const std::string& v) {
        sqlite3_bind_text(s_, i, v.data(), static_cast<int>(v.size()), SQLITE_STATIC);
    }
    void integer(int i, int v) { sqlite3_bind_int(s_, i, v); }
    void null(int i) { sqlite3_bind_null(s_, i); }
    bool row() {
        const int rc = sqlite3_step(s_);
        if (rc == SQLITE_ROW) return true;
        if (rc != SQLITE_DONE) fail(sqlite3_sql(s_));
        return false;
    }
    // Runs a statement without rows and makes it ready for the next run.
    void run() {
        row();
        sqlite3_reset(s_);
    }
    void reset() { sqlite3_reset(s_); }
    std::string columnText(int i) {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s_, i));
        return t == nullptr ? std::string() : std::string(t, sqlite3_column_bytes(s_, i));
    }
    int columnInt(int i) { return sqlite3_column_int(s_, i); }

  private:
    [[noreturn]] void fail(const char* sql) {
        throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " [" + sql + "]");
    }
    sqlite3* db_;
    sqlite3_stmt* s_ = nullptr;
};

struct FloorQuestion {
    std::string a1, a2, a10, e1, e2;
    int e3 = 0;
    int e4 = 0;
    std::vector<std::string> ftids, fgmc6, fgmc2;
};

class FloorPath {
  public:
    explicit FloorPath(const BankFolder& bank) {
        const QByteArray path = (bank.folder + QStringLiteral("/data/QBDATA000001.db")).toUtf8();
        // The flags and settings the program's own connection uses.
        if (sqlite3_open_v2(path.constData(), &db_, kProgramOpenFlags, nullptr) != SQLITE_OK) {
            sqlite3_close(db_);
            throw std::runtime_error("cannot open " + path.toStdString());
        }
        sqlite3_extended_result_codes(db_, 1);
        sqlite3_busy_timeout(db_, 5000);
        exec("PRAGMA journal_mode=WAL");
        exec("PRAGMA synchronous=FULL");

        begin_ = std::make_unique<Stmt>(db_, "BEGIN");
        commit_ = std::make_unique<Stmt>(db_, "COMMIT");
        rzUpdate_ = std::make_unique<Stmt>(
            db_, "UPDATE tab_rz SET A2=A2+1,A3=A3+?1,B1=B1+?2,B2=B2+?3 WHERE A1=?4");
        rzInsert_ = std::make_unique<Stmt>(
            db_, "INSERT INTO tab_rz (A1,A2,A3,B1,B2) VALUES (?4,1,?1,1,?1)");
        kmmc_ = std::make_unique<Stmt>(db_,
                                       "UPDATE tab_kmmc SET D1=D1+1,C4=C4+?1,D2=D2+?2 "
                                       "WHERE C1 IN (?3,?4,?5,?6,?7,?8)");
        answ_ = std::make_unique<Stmt>(
            db_, "UPDATE tab_answ SET E4=?1,E3=?2,E2_1=?3,E2=?4,E1=?5 WHERE A1=?6");

        QElapsedTimer timer;
        timer.start();
        Stmt set(db_,
                 "SELECT a1,a2,a10,e1,e2,e3,e4,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12 FROM tab_answ "
                 "WHERE substr(A10,1,6)=?1 AND f1<>1 ORDER BY xx");
        const std::string chapter = bank.chapter.toStdString();
        set.text(1, chapter);
        while (set.row()) {
            FloorQuestion q;
            q.a1 = set.columnText(0);
            q.a2 = set.columnText(1);
            q.a10 = set.columnText(2);
            q.e1 = set.columnText(3);
            q.e2 = set.columnText(4);
            q.e3 = set.columnInt(5);
            q.e4 = set.columnInt(6);
            for (int k = 7; k <= 16; ++k) {
                std::string id = set.columnText(k);
                if (id.find_first_not_of(' ') == std::string::npos) break;
                q.fgmc6.push_back(id.substr(0, 6));
                q.fgmc2.push_back(id.substr(0, 2));
                q.ftids.push_back(std::move(id));
            }
            set_.push_back(std::move(q));
        }
        set.reset();
        openMs_ = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (set_.empty()) throw std::runtime_error("empty practice set");
    }

    ~FloorPath() {
        begin_.reset();
        commit_.reset();
        rzUpdate_.reset();
        rzInsert_.reset();
        kmmc_.reset();
        answ_.reset();
        points_.clear();
        sqlite3_close_v2(db_);
    }
    FloorPath(const FloorPath&) = delete;
    FloorPath& operator=(const FloorPath&) = delete;

    void answer(bool right) {
        FloorQuestion& q = set_[next_++ % set_.size()];
        const std::string today = QDate::currentDate().toString(Qt::ISODate).toStdString();
        const std::string given = right ? q.a2 : std::string(wrongChoice(q.a2.c_str()));
        const bool wrong = given != q.a2;
        const Judgement j =
            judge(q.e1.substr(0, 10) != today, wrong, q.e2 != q.a2, q.e2.empty(), q.e3, q.e4);

        begin_->run();
        try {
            // Daily log: today's row, made on the first answer of the day.
            int b1 = 0;
            int b2 = 0;
            if (j.firstToday == qb::kYes) {
                b1 = 1;
                b2 = wrong ? 1 : 0;
            } else if (j.wasWrong == qb::kNo && wrong) {
                b2 = 1;
            } else if (j.wasWrong == qb::kYes && !wrong) {
                b2 = -1;
            }
            rzUpdate_->integer(1, wrong ? 1 : 0);
            rzUpdate_->integer(2, b1);
            rzUpdate_->integer(3, b2);
            rzUpdate_->text(4, today);
            rzUpdate_->run();
            if (sqlite3_changes(db_) == 0) {
                rzInsert_->integer(1, wrong ? 1 : 0);
                rzInsert_->text(4, today);
                rzInsert_->run();
            }

            // The chapter and every chapter above it.
            kmmc_->integer(1, j.newQuestion == qb::kYes ? 1 : 0);
            kmmc_->integer(2, wrong ? 1 : 0);
            std::string prefixes[6];
            for (int n = 0; n < 6; ++n) {
                const size_t length = static_cast<size_t>(6 - n);
                if (length <= q.a10.size()) {
                    prefixes[n] = q.a10.substr(0, length);
                    kmmc_->text(3 + n, prefixes[n]);
                } else {
                    kmmc_->null(3 + n);
                }
            }
            kmmc_->run();

            // Knowledge points, their laws and the laws' groups.
            if (!q.ftids.empty()) {
                PointStatements& p = pointStatements(q.ftids.size());
                countPoints(p.q2, q);
                if (j.newQuestion == qb::kYes) countPoints(p.q1, q);
                if (wrong) countPoints(p.q4, q);
            }

            // The question row.
            answ_->integer(1, j.e4);
            answ_->integer(2, j.e3);
            answ_->text(3, given);
            answ_->text(4, given);
            answ_->text(5, today);
            answ_->text(6, q.a1);
            answ_->run();

            commit_->run();
        } catch (...) {
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
        q.e1 = today;
        q.e2 = given;
        q.e3 = j.e3;
        q.e4 = j.e4;
    }

    int setSize() const { return static_cast<int>(set_.size()); }
    double openMs() const { return openMs_; }

  private:
    struct Counter {
        std::unique_ptr<Stmt> rule, law, group;
    };
    struct PointStatements {
        Counter q2, q1, q4;
    };

    void exec(const char* sql) {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string message = error != nullptr ? error : "failed";
            sqlite3_free(error);
            throw std::runtime_error(message + " [" + sql + "]");
        }
    }

    PointStatements& pointStatements(size_t n) {
        auto it = points_.find(n);
        if (it != points_.end()) return it->second;
        std::string marks;
        for (size_t i = 0; i < n; ++i)
            marks += i == 0 ? "?" : ",?";
        const auto make = [&](const char* counter) {
            const std::string c(counter);
            Counter k;
            k.rule = std::make_unique<Stmt>(
                db_, ("UPDATE tab_rule SET " + c + "=" + c + "+1 WHERE ftid IN (" + marks + ")")
                         .c_str());
            k.law = std::make_unique<Stmt>(
                db_,
                ("UPDATE tab_fgmc SET " + c + "=" + c + "+1 WHERE id IN (" + marks + ")").c_str());
            k.group = std::make_unique<Stmt>(
                db_,
                ("UPDATE tab_fgmc SET " + c + "=" + c + "+1 WHERE id IN (" + marks + ")").c_str());
            return k;
        };
        PointStatements p{make("q2"), make("q1"), make("q4")};
        return points_.emplace(n, std::move(p)).first->second;
    }

    static void runIn(Stmt& s, const std::vector<std::string>& ids) {
        for (size_t i = 0; i < ids.size(); ++i)
            s.text(static_cast<int>(i) + 1, ids[i]);
        s.run();
    }

    static void countPoints(Counter& c, const FloorQuestion& q) {
        runIn(*c.rule, q.ftids);
        runIn(*c.law, q.fgmc6);
        runIn(*c.group, q.fgmc2);
    }

    sqlite3* db_ = nullptr;
    std::unique_ptr<Stmt> begin_, commit_, rzUpdate_, rzInsert_, kmmc_, answ_;
    std::map<size_t, PointStatements> points_;
    std::vector<FloorQuestion> set_;
    size_t next_ = 0;
    double openMs_ = 0;
};

// ---------------------------------------------------------------- benchmarks

// Opens the bank through Path, answers once to warm up, then answers right and
// wrong in turn, one answer per iteration.
template <class Path>
void answerLoop(benchmark::State& state, const QString& bankName, const bench::BankShape& shape) {
    try {
        const BankFolder& bank = Banks::instance().get(bankName, shape);
        Path path(bank);
        bool right = true;
        path.answer(right);
        for (auto _ : state) {
            right = !right;
            path.answer(right);
        }
        state.SetItemsProcessed(state.iterations());
        // Reading the practice set happens once, before the timed answers.
        state.counters["set_open_ms"] = path.openMs();
        state.SetLabel(bank.label + " set_size=" + std::to_string(path.setSize()));
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

// ------------------------------------------------------ opening a chapter set

constexpr int kBigSetSize = 2000;

// The bank for the set benchmarks: the first 2,000 questions moved into one chapter,
// as large a chapter as a real bank has.
const BankFolder& bigSetBank() {
    const BankFolder& bank =
        Banks::instance().get(QStringLiteral("100k-set"), bench::bigBankShape());
    static bool moved = false;
    if (!moved) {
        store::Database db;
        db.open(bank.folder + QStringLiteral("/data/QBDATA000001.db"));
        db.execute(QStringLiteral("update tab_answ set A10=? where rowid <= ?"),
                   {{QString(), bank.chapter}, {QString(), kBigSetSize}});
        moved = true;
    }
    return bank;
}

QString bigSetSql(const QString& chapter) {
    return QStringLiteral(
               "select a1 ,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,"
               "f1,xx,csbs,ecount from tab_answ where (left(A10,6) = '%1') and (f1<>1)  order by "
               "a13,a10,xx,a1")
        .arg(chapter);
}

// A session leaves answers on a few questions; the next set must clear them.
void leaveSessionAnswers(const QString& folder, int round) {
    store::Database db;
    db.open(folder + QStringLiteral("/data/QBDATA000001.db"));
    db.execute(QStringLiteral("update tab_answ set E2_1='A' where rowid between ? and ?"),
               {{QString(), round * 20 + 1}, {QString(), round * 20 + 20}});
}

// Opening a set as the practice windows do, session answers cleared first.
void openSetThroughDataModule(benchmark::State& state, const QString& sql) {
    try {
        const BankFolder& bank = bigSetBank();
        DataModulePath path(bank);
        int round = 0;
        int rows = 0;
        for (auto _ : state) {
            state.PauseTiming();
            leaveSessionAnswers(bank.folder, round++ % 100);
            state.ResumeTiming();
            path.openSet(sql);
            rows = path.module().Cn1Query_tm.recordCount();
        }
        state.SetLabel("set_size=" + std::to_string(rows));
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

// The floor: the same statements as bare SQLite, every column of every row copied out.
void openSetFloor(benchmark::State& state, const char* clearSql, const QString& selectSql) {
    const BankFolder& bank = bigSetBank();
    sqlite3* db = nullptr;
    const QByteArray path = (bank.folder + QStringLiteral("/data/QBDATA000001.db")).toUtf8();
    sqlite3_open_v2(path.constData(), &db, kProgramOpenFlags, nullptr);
    sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    const QByteArray select = selectSql.toUtf8();
    int round = 0;
    size_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        leaveSessionAnswers(bank.folder, round++ % 100);
        state.ResumeTiming();
        sqlite3_exec(db, clearSql, nullptr, nullptr, nullptr);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, select.constData(), -1, &stmt, nullptr);
        std::vector<std::vector<std::string>> copied;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
                row.emplace_back(text != nullptr ? text : "");
            }
            copied.push_back(std::move(row));
        }
        sqlite3_finalize(stmt);
        rows = copied.size();
    }
    sqlite3_close(db);
    state.SetLabel("set_size=" + std::to_string(rows));
}

// The chapter set with the engine's own substr in place of the program's Left.
QString chapterSetFloorSql() {
    return bigSetSql(bigSetBank().chapter)
        .replace(QStringLiteral("left(A10,6)"), QStringLiteral("substr(A10,1,6)"));
}

// ------------------------------------------------------ a knowledge point's set

// The knowledge point most questions of the big bank are linked to.
const QString& busiestPoint() {
    static const QString ftid = [] {
        store::Database db;
        db.open(bigSetBank().folder + QStringLiteral("/data/QBDATA000001.db"));
        return db
            .scalar(QStringLiteral("select K3 from tab_answ where K3<>'' group by K3 "
                                   "order by count(*) desc limit 1"))
            .toString();
    }();
    return ftid;
}

// ---------------------------------------------------------- mock-exam papers

// The big bank with the kind-1 types a paper draws: 80 single and 60 multiple choice.
const BankFolder& examBank() {
    const BankFolder& bank = Banks::instance().get(QStringLiteral("100k"), bench::bigBankShape());
    static bool typed = false;
    if (!typed) {
        store::Database db;
        db.open(bank.folder + QStringLiteral("/data/QBDATA000001.db"));
        for (const auto& [id, count] : {std::pair{61, 80}, std::pair{62, 60}}) {
            if (db.scalar(QStringLiteral("select A1 from tab_tx1 where A1=?"), {{QString(), id}})
                    .isNull()) {
                db.execute(QStringLiteral("insert into tab_tx1 (A1,B1,B2,B3) values (?,?,?,1)"),
                           {{QString(), id},
                            {QString(), QStringLiteral("type %1").arg(id)},
                            {QString(), count}});
            }
        }
        typed = true;
    }
    return bank;
}

sqlite3* openFloor(const BankFolder& bank) {
    sqlite3* db = nullptr;
    const QByteArray path = (bank.folder + QStringLiteral("/data/QBDATA000001.db")).toUtf8();
    if (sqlite3_open_v2(path.constData(), &db, kProgramOpenFlags, nullptr) != SQLITE_OK) {
        throw std::runtime_error("cannot open the bank");
    }
    sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    return db;
}

void floorExec(sqlite3* db, const QString& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error != nullptr ? error : "sqlite error";
        sqlite3_free(error);
        throw std::runtime_error(message);
    }
}

// Every column of every row copied out, as a dataset reads them.
std::vector<std::vector<std::string>> floorRows(sqlite3* db, const QString& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        throw std::runtime_error(sqlite3_errmsg(db));
    }
    std::vector<std::vector<std::string>> copied;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
            row.emplace_back(text != nullptr ? text : "");
        }
        copied.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    return copied;
}

void BM_PaperThroughModule(benchmark::State& state) {
    try {
        const BankFolder& bank = examBank();
        store::TDM1 dm;
        dm.DataModuleCreate(bank.folder);
        if (!dm.DatabaseReady) throw std::runtime_error("the data module did not open the bank");
        exam::PaperOptions options;
        options.seed = 20240601;
        int rows = 0;
        for (auto _ : state) {
            const exam::PaperResult paper = exam::MakePaper(dm, 1, options);
            if (!paper.ok) throw std::runtime_error(paper.error.toStdString());
            rows = dm.Cn1Query_exam.recordCount();
            state.PauseTiming();
            dm.Cn1Query_exam.close();
            dm.DropExamTable(paper.paper.table);
            state.ResumeTiming();
        }
        state.SetLabel("paper_size=" + std::to_string(rows));
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

// The same statements, the candidate set and the paper copied out, the draw over
// the copied rows with the same generator.
void BM_PaperFloor(benchmark::State& state) {
    try {
        const BankFolder& bank = examBank();
        sqlite3* db = openFloor(bank);
        const QString candidates = exam::CandidateSql(1).replace(QStringLiteral("Left(A10,2)"),
                                                                 QStringLiteral("substr(A10,1,2)"));
        size_t rows = 0;
        for (auto _ : state) {
            std::mt19937 random(20240601);
            floorExec(db, QStringLiteral("BEGIN"));
            const auto last =
                floorRows(db, QStringLiteral("select A1,A3_1 from tab_cj order by A3_1 desc"));
            const int number = last.empty() ? 1 : std::stoi(last[0][1]) + 1;
            const QString table =
                last.empty() ? QStringLiteral("tab_exam1")
                             : QStringLiteral("tab_exam%1")
                                   .arg(QString::fromStdString(last[0][0]).mid(8).toInt() + 1);
            floorExec(db, QStringLiteral("insert into tab_cj (A1,A3,A3_1,D1) values (%1,%2,%3,%4)")
                              .arg(store::quoted(table), store::quoted(QStringLiteral("paper")))
                              .arg(number)
                              .arg(store::quoted(QStringLiteral("2026-12-09"))));
            floorExec(db, store::examTableSql(table));
            const auto set = floorRows(db, candidates);
            int a1 = 0;
            int a13 = 0;
            {
                sqlite3_stmt* stmt = nullptr;
                sqlite3_prepare_v2(db, candidates.toUtf8().constData(), -1, &stmt, nullptr);
                for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                    const std::string name = sqlite3_column_name(stmt, i);
                    if (name == "A1") a1 = i;
                    if (name == "A13") a13 = i;
                }
                sqlite3_finalize(stmt);
            }
            for (const auto& [type, count] : {std::pair{61, 80}, std::pair{62, 60}}) {
                std::vector<const std::string*> ids;
                for (const auto& row : set) {
                    if (row[static_cast<size_t>(a13)] == std::to_string(type)) {
                        ids.push_back(&row[static_cast<size_t>(a1)]);
                    }
                }
                const int n = static_cast<int>(ids.size());
                const int highest = n == 1 ? 1 : n - 1;
                std::uniform_int_distribution<int> position(1, highest);
                std::set<int> drawn;
                QString condition;
                while (static_cast<int>(drawn.size()) < std::min(count, highest)) {
                    const int pos = position(random);
                    if (!drawn.insert(pos).second) continue;
                    condition.prepend(
                        QStringLiteral(" or a.A1=") +
                        store::quoted(QString::fromStdString(*ids[static_cast<size_t>(pos - 1)])));
                }
                floorExec(
                    db, QStringLiteral("insert into ") + table +
                            QStringLiteral("(a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,"
                                           "a14,e1,e2,e2_1,E3,E4,JX,CSBS,F1) Select a.a1 as a1,a2,"
                                           "a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,"
                                           "e2,e2_1,e3,e4,b.jx as jx,a.csbs as csbs,a.f1 as f1 "
                                           " from tab_answ a,tab_exer b where a.a1=b.a1 and (") +
                            condition.mid(4) + u')');
            }
            floorExec(db, QStringLiteral("Update ") + table + QStringLiteral(" set E2_1= ''"));
            rows = floorRows(db, QStringLiteral("select * from ") + table +
                                     QStringLiteral(" order by A13,A1"))
                       .size();
            floorExec(db, QStringLiteral("COMMIT"));
            state.PauseTiming();
            floorExec(db, QStringLiteral("drop table ") + table);
            floorExec(db, QStringLiteral("delete from tab_cj where A1=") + store::quoted(table));
            state.ResumeTiming();
        }
        sqlite3_close(db);
        state.SetLabel("paper_size=" + std::to_string(rows));
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

// One kind-1 paper, made once, with every other question answered right.
QString markedPaper(const BankFolder& bank) {
    static QString table;
    if (!table.isEmpty()) return table;
    store::TDM1 dm;
    dm.DataModuleCreate(bank.folder);
    exam::PaperOptions options;
    options.seed = 7;
    const exam::PaperResult paper = exam::MakePaper(dm, 1, options);
    if (!paper.ok) throw std::runtime_error(paper.error.toStdString());
    table = paper.paper.table;
    dm.ADOCn1.execute(QStringLiteral("update ") + table +
                      QStringLiteral(" set E2_1 = case when rowid % 2 = 0 then A2 else 'Z' end"));
    return table;
}

QString markingSql(const QString& table) {
    return QStringLiteral(
               "select sum(tab_tx1.B3) as ZFS from %1,tab_tx1 where %1.A13 = "
               "tab_tx1.A1 and %1.A2 = %1.E2_1")
        .arg(table);
}

void BM_MarkingThroughModule(benchmark::State& state) {
    try {
        const BankFolder& bank = examBank();
        const QString table = markedPaper(bank);
        store::TDM1 dm;
        dm.DataModuleCreate(bank.folder);
        double score = 0;
        for (auto _ : state)
            score = exam::PaperScore(dm, table, 1);
        state.SetLabel("score=" + std::to_string(score));
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

void BM_MarkingFloor(benchmark::State& state) {
    try {
        const BankFolder& bank = examBank();
        const QByteArray sql = markingSql(markedPaper(bank)).toUtf8();
        sqlite3* db = openFloor(bank);
        double score = 0;
        for (auto _ : state) {
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr);
            if (sqlite3_step(stmt) == SQLITE_ROW) score = sqlite3_column_double(stmt, 0);
            sqlite3_finalize(stmt);
        }
        sqlite3_close(db);
        state.SetLabel("score=" + std::to_string(score));
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

// ------------------------------------------------------------ question edits

// The edited question and two sets of ten points it moves between, so that every
// save recounts twenty points.
struct EditCase {
    QString id;
    QStringList points[2];
};

const EditCase& editCase() {
    static const EditCase c = [] {
        store::Database db;
        db.open(examBank().folder + QStringLiteral("/data/QBDATA000001.db"));
        EditCase e;
        e.id = db.scalar(QStringLiteral("select A1 from tab_answ order by A1 limit 1")).toString();
        int i = 0;
        db.query(QStringLiteral("select ftid from tab_rule order by ftid limit 20"), {},
                 [&](store::Statement& row) { e.points[i++ / 10] << row.value(0).toString(); });
        return e;
    }();
    return c;
}

void BM_EditSaveThroughModule(benchmark::State& state) {
    try {
        const BankFolder& bank = examBank();
        const EditCase& c = editCase();
        DataModulePath path(bank);
        authoring::EditedQuestion q = authoring::LoadQuestionForEdit(path.module(), c.id);
        q.draft.explanationText = QStringLiteral("x");
        int round = 0;
        for (auto _ : state) {
            q.draft.ftids = c.points[round++ % 2];
            authoring::SaveQuestionEdit(path.module(), q);
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

void BM_EditSaveFloor(benchmark::State& state) {
    try {
        const EditCase& c = editCase();
        sqlite3* db = openFloor(examBank());
        const std::string id = c.id.toStdString();
        const std::string slotList = "k3,k4,k5,k6,k7,k8,k9,k10,k11,k12";
        Stmt before(db, ("select " + slotList + " from tab_answ where a1=?").c_str());
        Stmt stem(db, "update tab_exer set A15=? where A1=?");
        Stmt jx(db, "update tab_exer set jx=? where A1=?");
        Stmt row(db,
                 "update tab_answ set a2=?,a2_1=?,a13=?,k3=?,k4=?,k5=?,k6=?,k7=?,k8=?,k9=?,k10=?,"
                 "k11=?,k12=?,ecount=coalesce(ecount,0)+1 where a1=?");
        std::string where;
        for (int k = 3; k <= 12; ++k) {
            where += std::string(k > 3 ? " or " : "") + "k" + std::to_string(k) +
                     " in (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
        }
        Stmt scan(db, ("select " + slotList + " from tab_answ where " + where).c_str());
        Stmt recount(db, "update tab_rule set q=? where ftid=?");
        std::vector<std::string> all;
        for (const QStringList& set : c.points) {
            for (const QString& p : set)
                all.push_back(p.toStdString());
        }
        int round = 0;
        for (auto _ : state) {
            const int now = round++ % 2;
            floorExec(db, QStringLiteral("BEGIN"));
            before.text(1, id);
            while (before.row()) {
            }
            before.reset();
            stem.text(1, "stem");
            stem.text(2, id);
            stem.run();
            jx.text(1, "x");
            jx.text(2, id);
            jx.run();
            row.text(1, "A");
            row.integer(2, 4);
            row.integer(3, 61);
            for (int i = 0; i < 10; ++i)
                row.text(4 + i, all[static_cast<size_t>(now * 10 + i)]);
            row.text(14, id);
            row.run();
            for (int k = 0; k < 10; ++k) {
                for (size_t i = 0; i < all.size(); ++i)
                    scan.text(k * 20 + static_cast<int>(i) + 1, all[i]);
            }
            std::map<std::string, int> counts;
            while (scan.row()) {
                std::set<std::string> listed;
                for (int i = 0; i < 10; ++i)
                    listed.insert(scan.columnText(i));
                for (const std::string& p : all)
                    counts[p] += listed.count(p) > 0 ? 1 : 0;
            }
            scan.reset();
            for (const auto& [ftid, n] : counts) {
                recount.integer(1, n);
                recount.text(2, ftid);
                recount.run();
            }
            floorExec(db, QStringLiteral("COMMIT"));
        }
        sqlite3_close(db);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    const bench::BankShape big = bench::bigBankShape();
    const bench::BankShape small = bench::smallBankShape();
    const auto setUp = [](benchmark::internal::Benchmark* b) {
        b->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(kMinSeconds);
    };
    setUp(benchmark::RegisterBenchmark(
        "BM_AnswerThroughDataModule/100k", [big](benchmark::State& state) {
            answerLoop<DataModulePath>(state, QStringLiteral("100k"), big);
        }));
    setUp(benchmark::RegisterBenchmark("BM_AnswerFloor/100k", [big](benchmark::State& state) {
        answerLoop<FloorPath>(state, QStringLiteral("100k"), big);
    }));
    setUp(benchmark::RegisterBenchmark(
        "BM_AnswerThroughDataModule/1k", [small](benchmark::State& state) {
            answerLoop<DataModulePath>(state, QStringLiteral("1k"), small);
        }));
    // How much of the growth from 1k to 100k the engine itself shows.
    setUp(benchmark::RegisterBenchmark("BM_AnswerFloor/1k", [small](benchmark::State& state) {
        answerLoop<FloorPath>(state, QStringLiteral("1k"), small);
    }));

    setUp(benchmark::RegisterBenchmark(
        "BM_OpenSetThroughDataModule/100k", [](benchmark::State& state) {
            openSetThroughDataModule(state, bigSetSql(bigSetBank().chapter));
        }));
    // The statement as the description writes it: every row of the bank rewritten.
    setUp(benchmark::RegisterBenchmark("BM_OpenSetFloor/100k", [](benchmark::State& state) {
        openSetFloor(state, "Update tab_answ set E2_1= ''", chapterSetFloorSql());
    }));
    // The statement the program runs: only rows holding a session answer rewritten.
    setUp(benchmark::RegisterBenchmark("BM_OpenSetFloorSameSql/100k", [](benchmark::State& state) {
        openSetFloor(state, "Update tab_answ set E2_1= '' where E2_1 <> '' or E2_1 is null",
                     chapterSetFloorSql());
    }));

    // A point's set is a scan of every question's ten point columns.
    setUp(benchmark::RegisterBenchmark(
        "BM_PointSetThroughDataModule/100k", [](benchmark::State& state) {
            openSetThroughDataModule(state, knowledge::PointSetSql(busiestPoint()));
        }));
    setUp(benchmark::RegisterBenchmark("BM_PointSetFloor/100k", [](benchmark::State& state) {
        openSetFloor(state, "Update tab_answ set E2_1= '' where E2_1 <> '' or E2_1 is null",
                     knowledge::PointSetSql(busiestPoint()));
    }));
    setUp(benchmark::RegisterBenchmark("BM_PaperThroughModule/100k", BM_PaperThroughModule));
    setUp(benchmark::RegisterBenchmark("BM_PaperFloor/100k", BM_PaperFloor));
    setUp(benchmark::RegisterBenchmark("BM_MarkingThroughModule/100k", BM_MarkingThroughModule));
    setUp(benchmark::RegisterBenchmark("BM_MarkingFloor/100k", BM_MarkingFloor));
    setUp(benchmark::RegisterBenchmark("BM_EditSaveThroughModule/100k", BM_EditSaveThroughModule));
    setUp(benchmark::RegisterBenchmark("BM_EditSaveFloor/100k", BM_EditSaveFloor));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
