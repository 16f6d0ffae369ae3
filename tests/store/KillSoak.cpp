#include "KillSoak.h"

#include "DataModule.h"
#include "Engine.h"
#include "QuestionCard.h"
#include "Schema.h"

#include <QDir>
#include <QHash>
#include <QSet>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <thread>

namespace soak {
namespace {

constexpr int kQuestions = 40;
const QStringList kChapters{QStringLiteral("010101"), QStringLiteral("010102")};
const QStringList kPoints{QStringLiteral("01010101"), QStringLiteral("01010102"),
                          QStringLiteral("01010201")};

QString bankOf(const QString& folder) {
    return folder + QStringLiteral("/data/QBDATA000001.db");
}

// Answer k of a question (counting from 1) is wrong when k is odd, so that the
// wrong answers of a question follow from its number of answers.
int wrongAnswers(int answers) {
    return (answers + 1) / 2;
}

[[noreturn]] void answerUntilKilled(const QString& folder, int out, unsigned seed) {
    try {
        store::TDM1 dm;
        dm.DataModuleCreate(folder);
        if (!dm.DatabaseReady) _exit(3);
        store::Query& set = dm.Cn1Query_tm;
        set.setSql(QStringLiteral(
            "select a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,f1,"
            "xx,csbs,ecount from tab_answ order by a1"));
        set.open();
        std::mt19937 random(seed);
        for (int stored = 1;; ++stored) {
            set.setRecNo(static_cast<int>(random() % kQuestions) + 1);
            const bool wrong = (set.asInt(QStringLiteral("E3")) + 1) % 2 == 1;
            const QString key = set.text(QStringLiteral("A2"));
            practice::StoreAnswer(dm, set, wrong ? QStringLiteral("D") : key);
            if (write(out, &stored, sizeof stored) != sizeof stored) _exit(4);
        }
    } catch (...) {
        _exit(2);
    }
}

// The last count the child reported before it died.
int lastReported(int in) {
    int last = 0;
    int value = 0;
    while (read(in, &value, sizeof value) == sizeof value)
        last = value;
    return last;
}

struct Question {
    QString chapter;
    bool answered = false;
    int answers = 0;
    QStringList points;
};

QVector<Question> questionsOf(store::Database& db) {
    QVector<Question> questions;
    db.query(QStringLiteral("select A10, E2, E3, K3, K4 from tab_answ"), {},
             [&](store::Statement& row) {
                 Question q;
                 q.chapter = row.value(0).toString();
                 q.answered = !row.value(1).toString().isEmpty();
                 q.answers = row.value(2).toInt();
                 for (int i = 3; i <= 4 && !row.value(i).toString().isEmpty(); ++i)
                     q.points << row.value(i).toString();
                 questions << q;
             });
    return questions;
}

// Answered questions, answers and wrong answers of the questions a row counts.
QString recount(const QVector<Question>& questions,
                const std::function<bool(const Question&)>& in) {
    int answered = 0;
    int answers = 0;
    int wrong = 0;
    for (const Question& q : questions) {
        if (!in(q)) continue;
        answered += q.answered ? 1 : 0;
        answers += q.answers;
        wrong += wrongAnswers(q.answers);
    }
    return QStringLiteral("%1/%2/%3").arg(answered).arg(answers).arg(wrong);
}

}  // namespace

void MakeBank(const QString& folder) {
    QDir().mkpath(folder + QStringLiteral("/data"));
    store::createEmptyBank(bankOf(folder));
    store::Database db;
    db.open(bankOf(folder));
    store::Transaction tx(db);
    for (const QString& code :
         QStringList{QStringLiteral("01"), QStringLiteral("0101")} + kChapters)
        db.execute(QStringLiteral("insert into tab_kmmc (C1,C2) values (?,?)"),
                   {{{}, code}, {{}, code}});
    for (const QString& id :
         {QStringLiteral("01"), QStringLiteral("010101"), QStringLiteral("010102")})
        db.execute(QStringLiteral("insert into tab_fgmc (id,n,q,q1,q2,q4) values (?,?,0,0,0,0)"),
                   {{{}, id}, {{}, id}});
    for (const QString& ftid : kPoints) {
        db.execute(
            QStringLiteral("insert into tab_rule (id,ftid,sn,q,q1,q2,q4) values (?,?,?,0,0,0,0)"),
            {{{}, ftid.left(6)}, {{}, ftid}, {{}, ftid}});
    }
    for (int i = 0; i < kQuestions; ++i) {
        // Some questions have no point, some one, some two in different chapters.
        const QVariant k3 = i % 3 == 0 ? QVariant() : QVariant(kPoints[i % 3]);
        const QVariant k4 = i % 5 == 0 ? QVariant(kPoints[2]) : QVariant();
        db.execute(
            QStringLiteral("insert into tab_answ (A1,A2,A2_1,A10,A13,K3,K4,E2,E2_1,E3,E4,F1) "
                           "values (?,'A',4,?,61,?,?,'','',0,0,0)"),
            {{{}, QStringLiteral("Q%1").arg(i, 3, 10, QLatin1Char('0'))},
             {{}, kChapters[i % 2]},
             {{}, k3},
             {{}, i % 3 == 0 ? QVariant() : k4}});
    }
    tx.commit();
}

QStringList CounterMismatches(const QString& bankPath) {
    store::Database db;
    db.open(bankPath, store::Database::OpenMode::ReadOnly);
    const QVector<Question> questions = questionsOf(db);
    QStringList problems;
    const auto compare = [&](const QString& what, const QString& sql, const QString& key,
                             const std::function<bool(const Question&)>& in) {
        const QString have = db.scalar(sql, {{{}, key}}).toString();
        const QString want = recount(questions, in);
        if (have != want)
            problems << QStringLiteral("%1 %2: %3, recount %4").arg(what, key, have, want);
    };
    db.query(QStringLiteral("select C1 from tab_kmmc"), {}, [&](store::Statement& row) {
        const QString code = row.value(0).toString();
        compare(QStringLiteral("tab_kmmc"),
                QStringLiteral("select C4||'/'||D1||'/'||D2 from tab_kmmc where C1=?"), code,
                [&](const Question& q) { return q.chapter.startsWith(code); });
    });
    for (const QString& ftid : kPoints) {
        compare(QStringLiteral("tab_rule"),
                QStringLiteral("select q1||'/'||q2||'/'||q4 from tab_rule where ftid=?"), ftid,
                [&](const Question& q) { return q.points.contains(ftid); });
    }
    for (const QString& id :
         {QStringLiteral("01"), QStringLiteral("010101"), QStringLiteral("010102")}) {
        compare(QStringLiteral("tab_fgmc"),
                QStringLiteral("select q1||'/'||q2||'/'||q4 from tab_fgmc where id=?"), id,
                [&](const Question& q) {
                    return std::any_of(q.points.begin(), q.points.end(),
                                       [&](const QString& p) { return p.startsWith(id); });
                });
    }
    // Every answer falls on one day: B1 counts the questions answered that day.
    const QString day =
        db.scalar(QStringLiteral("select coalesce(sum(B1),0)||'/'||coalesce(sum(A2),0)||'/'||"
                                 "coalesce(sum(A3),0) from tab_rz"))
            .toString();
    const QString want = recount(questions, [](const Question&) { return true; });
    if (day != want) problems << QStringLiteral("tab_rz: %1, recount %2").arg(day, want);
    return problems;
}

Result Run(const QString& folder, int trials, std::mt19937& random) {
    Result result;
    std::uniform_int_distribution<int> wait(2, 60);
    for (int t = 0; t < trials; ++t) {
        int before = 0;
        {
            store::Database db;
            db.open(bankOf(folder), store::Database::OpenMode::ReadOnly);
            before = db.scalar(QStringLiteral("select coalesce(sum(E3),0) from tab_answ")).toInt();
        }
        int channel[2];
        if (pipe(channel) != 0) throw std::runtime_error("no pipe");
        const unsigned seed = random();
        const pid_t child = fork();
        if (child == 0) {
            close(channel[0]);
            answerUntilKilled(folder, channel[1], seed);
        }
        close(channel[1]);
        std::this_thread::sleep_for(std::chrono::milliseconds(wait(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const int reported = lastReported(channel[0]);
        close(channel[0]);
        ++result.trials;

        store::Database db;
        db.open(bankOf(folder));
        const QString integrity = db.scalar(QStringLiteral("pragma integrity_check")).toString();
        const int after =
            db.scalar(QStringLiteral("select coalesce(sum(E3),0) from tab_answ")).toInt();
        db.close();
        const int lost = std::max(0, reported - (after - before));
        result.answersStored = after;
        result.lostAnswers += lost;
        QStringList problems = CounterMismatches(bankOf(folder));
        if (integrity != QLatin1String("ok")) problems << QStringLiteral("integrity: ") + integrity;
        if (WIFEXITED(status))
            problems << QStringLiteral("the child ended by itself: %1").arg(WEXITSTATUS(status));
        if (!problems.isEmpty()) {
            ++result.damagedBanks;
            result.problems << QStringLiteral("trial %1: ").arg(t + 1) +
                                   problems.join(QStringLiteral("; "));
        }
    }
    return result;
}

}  // namespace soak
