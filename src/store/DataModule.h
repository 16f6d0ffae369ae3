// The data module: the one connection to the question bank, the datasets every
// window shares, and the counters kept in step with each answer.
#pragma once

#include "BankFiles.h"
#include "Dataset.h"
#include "Engine.h"

#include <QDate>
#include <QObject>
#include <QStringList>

#include <functional>

namespace store {

// Seconds in a duration written hours:minutes:seconds. Text without ":" is 0.
// Throws ConversionError when a piece is not a number.
qint64 ParseDuration(const QString& text);
// Hours, minutes and seconds with at least two digits each (hours may pass 99).
QString FormatDuration(qint64 seconds);
// (right / all) × 100 formatted "%2.2f", or "0" when all is 0.
QString CorrectRate(qint64 all, qint64 wrong);

class ConversionError : public std::runtime_error {
  public:
    explicit ConversionError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// The knowledge points of one question as the counters take them: the ids from
// K3 on up to the first empty one, their first 6 and their first 2 characters.
struct KnowledgePointLists {
    QStringList ftids;
    QStringList fgmc6;
    QStringList fgmc2;
    bool isEmpty() const { return ftids.isEmpty(); }
};
KnowledgePointLists KnowledgePointListsOf(Dataset& questionRow);
// The same lists for ids already read, in their order.
KnowledgePointLists KnowledgePointListsOf(const QStringList& ftids);

class TDM1 : public QObject {
    Q_OBJECT
  public:
    explicit TDM1(QObject* parent = nullptr);
    ~TDM1() override;

    // Opens the bank of the program in the folder (the executable's folder when
    // empty), where the data-location rule puts it, copying the shipped bank for a
    // new user; sets ProgramFolder, Location, DatabaseReady and BankIsDamaged.
    // Never throws.
    void DataModuleCreate(const QString& programFolder = QString());

    void RecordDailyAnswer(int firstToday, int wrong, int wasWrong);
    void RecordChapterAnswer(const QString& chapterCode, int newQuestion, int wrong);
    void RecordKnowledgePointAnswer(const KnowledgePointLists& points, int newQuestion, int wrong);
    void CloseStudySession(const QString& duration);
    int TypeScoreTotal();
    void DropExamTable(const QString& name);
    void Cn1DS_kmmcDataChange();

    // Today's date as the counters see it; tests may fix it.
    QDate today() const { return today_ ? today_() : QDate::currentDate(); }
    void setTodayProvider(std::function<QDate()> provider) { today_ = std::move(provider); }
    QString todayText() const { return today().toString(Qt::ISODate); }

    bool DatabaseReady = false;
    // The bank was refused because its pages are damaged; it was not touched.
    bool BankIsDamaged = false;
    DataLocation Location;

    Database ADOCn1;
    Database ADOCn2;
    Query Cn2Query1{&ADOCn2};
    Query Cn1Query1{&ADOCn1};
    Query Cn1Query2{&ADOCn1};
    Query Cn1Query_tm{&ADOCn1};
    Query Cn1Query_exam{&ADOCn1};
    Query cn1query_nr{&ADOCn1};
    Query Cn1Query3{&ADOCn1};
    Query ADOQ_kl{&ADOCn1};
    Query ADOQ_kmmc{&ADOCn1};
    Query m_query{&ADOCn1};
    Query m_queryDetail{&ADOCn1};
    Query ADOQuery3{&ADOCn1};
    Table Cn1Table_kmmc{&ADOCn1};
    Table Cn1Table_tx{&ADOCn1};
    Table Cn1Table_rz{&ADOCn1};
    Table Cn1Table_cj{&ADOCn1};
    Table Cn1Table_fgmc{&ADOCn1};
    Table Cn1Table_plan{&ADOCn1};
    DataSource Cn1DS2{&Cn1Query2};
    DataSource Cn1DS_tm{&Cn1Query_tm};
    DataSource Cn1DS_exam{&Cn1Query_exam};
    DataSource Cn1DS_nr{&cn1query_nr};
    DataSource Cn1DS3{&Cn1Query3};
    DataSource Ds_kl{&ADOQ_kl};
    DataSource m_query_DS{&m_query};
    DataSource Cn1DS_kmmc{&Cn1Table_kmmc};

    // Opens a shared dataset unless it is open already.
    static void ensureOpen(Dataset& dataset);
    // Moves a log-like table (A1 = a day) to today's row; false when there is none.
    bool locateToday(Table& table);

  private:
    std::function<QDate()> today_;
};

// Whether a name is one the program gives exam work tables: "tab_exam" + digits.
bool IsExamTableName(const QString& name);

}  // namespace store
