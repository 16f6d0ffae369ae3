// The file database engine: one SQLite connection that speaks the SQL dialect the
// rest of the program writes (Left/Right/len/Rtrim/CINT, "delete * from",
// "select * from T in 'file'", Jet column types), with RAII statements and
// transactions. Every engine failure is thrown as EngineError.
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <unordered_map>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// Any failure reported by the engine; what() carries the engine's own message and
// code() its primary result code (SQLITE_BUSY, SQLITE_FULL, ...; 0 when the failure
// is the adapter's own), which is what the user is told about.
class EngineError : public std::runtime_error {
  public:
    explicit EngineError(const QString& message, int code = 0);
    QString message() const { return QString::fromUtf8(what()); }
    int code() const { return code_; }

  private:
    int code_ = 0;
};

// One value bound by name (":A1" or "A1") or, with an empty name, by position.
struct Param {
    QString name;
    QVariant value;
};
using Params = std::vector<Param>;

class Database;

// The texts of the bank that a committed write changed, by key, for whatever keeps
// data derived from them (the search index) in step. Writers tell; they never learn
// who listens.
struct TextChange {
    QStringList questions;    // stem and explanation (tab_exer), note (tab_answ.A14)
    QStringList sharedStems;  // tab_title, by group id
    QStringList points;       // knowledge-point texts (tab_rule.n), by ftid
    // Rows were appended in bulk (an upgrade): every row past those known before.
    bool appended = false;
};

// A prepared statement; finalised when it goes out of scope.
class Statement {
  public:
    Statement(Database& db, const QString& nativeSql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;

    void bind(int index, const QVariant& value);  // 1-based
    void bind(const QString& name, const QVariant& value);
    void bindAll(const Params& params);
    void reset();

    // Advances to the next row; false when the statement is done.
    bool step();
    int columnCount() const;
    QString columnName(int i) const;
    // Table and column a result column comes from; empty for expressions.
    QString originTable(int i) const;
    QString originColumn(int i) const;
    QVariant value(int i) const;

  private:
    void check(int rc) const;
    Database* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Begins on construction, rolls back on destruction unless committed. Nests
// through savepoints, so a routine may open one inside its caller's.
class Transaction {
  public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();
    void rollback();

  private:
    Database& db_;
    QString name_;
    bool open_ = true;
};

class Database {
  public:
    // ReadWrite falls back to reading only when the file or its folder cannot be
    // written; ReadOnly never writes, not even a journal.
    enum class OpenMode { ReadWrite, Create, ReadOnly };

    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file (ReadWrite, ReadOnly) or creates it (Create). Only a
    // created file is switched to the write-ahead log here; an existing one keeps
    // every byte until useWriteAheadLog(). Throws EngineError.
    void open(const QString& path, OpenMode mode = OpenMode::ReadWrite);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    QString path() const { return path_; }
    // True when nothing can be stored: the file or its folder is not writable.
    bool isReadOnly() const;
    // Readers and the one writer then no longer wait for each other.
    void useWriteAheadLog();

    // Runs one statement written in the program's dialect; returns the rows changed.
    int execute(const QString& sql, const Params& params = {});
    // Runs a statement and calls onRow for each result row; onStart, when given,
    // sees the prepared statement (column names) before the first row.
    void query(const QString& sql, const Params& params,
               const std::function<void(Statement&)>& onRow,
               const std::function<void(Statement&)>& onStart = {});
    // First column of the first row, or a null QVariant when there is no row.
    QVariant scalar(const QString& sql, const Params& params = {});

    // Statement text as the engine runs it; attaches any file that a cross-file
    // clause names. Prepared statements are cached by their text.
    Statement& prepareCached(const QString& sql);

    // Catalogue.
    QStringList userTables();
    bool hasTable(const QString& name);
    QStringList columnNames(const QString& table);
    void dropTable(const QString& name);
    // Empty strings are always kept apart from NULL here; this only checks that
    // the column exists, as the catalogue would.
    void setAllowZeroLength(const QString& table, const QString& column);

    bool inTransaction() const { return txDepth_ > 0; }

    // Datasets hear about rollbacks so that cached rows never outlive the data.
    using RollbackListener = std::function<void()>;
    int addRollbackListener(RollbackListener listener);
    void removeRollbackListener(int id);

    // Derived data hears which texts a committed write changed. A listener's failure
    // is its own: it is logged, and the write it follows stands.
    using TextListener = std::function<void(const TextChange&)>;
    int addTextListener(TextListener listener);
    void removeTextListener(int id);
    void textsChanged(const TextChange& change);

    sqlite3* handle() const { return db_; }
    [[noreturn]] void fail(const QString& context) const;

  private:
    friend class Transaction;
    void execNative(const QString& sql);
    void runCached(const QString& sql);
    QString translateAndAttach(const QString& sql);
    void detachAll();
    void clearCache();
    void beginSavepoint(const QString& name);
    void endSavepoint(const QString& name, bool commit);

    sqlite3* db_ = nullptr;
    QString path_;
    int txDepth_ = 0;
    bool readOnly_ = false;
    std::map<QString, QString> attached_;  // file path -> schema alias
    std::unordered_map<QString, std::unique_ptr<Statement>> cache_;
    QSet<QString> busy_;  // cached statements being stepped right now
    std::map<int, RollbackListener> rollbackListeners_;
    std::map<int, TextListener> textListeners_;
    int nextListenerId_ = 1;
};

// Quotes a value as a SQL text literal, doubling inner quotes.
QString quoted(const QString& text);
// Quotes an identifier for the engine.
QString quotedIdentifier(const QString& name);
// "(" + quoted values joined by "," + ")".
QString quotedList(const QStringList& values);
// "(?,?,...)" with one mark per value, and the values to bind to them in order.
QString boundList(qsizetype count);
void appendBound(Params& params, const QStringList& values);

}  // namespace store
