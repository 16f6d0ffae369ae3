#include "Engine.h"

#include "JetFunctions.h"
#include "JetSql.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>
#include <unistd.h>

namespace store {

EngineError::EngineError(const QString& message, int code)
    : std::runtime_error(message.toStdString()), code_(code & 0xff) {}

QString quoted(const QString& text) {
    QString inner = text;
    inner.replace(u'\'', QLatin1String("''"));
    return u'\'' + inner + u'\'';
}

QString quotedIdentifier(const QString& name) {
    QString inner = name;
    inner.replace(u'"', QLatin1String("\"\""));
    return u'"' + inner + u'"';
}

QString quotedList(const QStringList& values) {
    QStringList parts;
    parts.reserve(values.size());
    for (const QString& v : values)
        parts << quoted(v);
    return u'(' + parts.join(u',') + u')';
}

QString boundList(qsizetype count) {
    return u'(' + QStringList(count, QStringLiteral("?")).join(u',') + u')';
}

void appendBound(Params& params, const QStringList& values) {
    for (const QString& v : values)
        params.push_back({QString(), v});
}

// ---------------------------------------------------------------- Statement

Statement::Statement(Database& db, const QString& nativeSql) : db_(&db) {
    const QByteArray utf8 = nativeSql.toUtf8();
    const int rc = sqlite3_prepare_v2(db.handle(), utf8.constData(), static_cast<int>(utf8.size()),
                                      &stmt_, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        db.fail(nativeSql);
    }
    if (stmt_ == nullptr) throw EngineError(QStringLiteral("empty statement: ") + nativeSql);
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = other.db_;
        stmt_ = std::exchange(other.stmt_, nullptr);
    }
    return *this;
}

void Statement::check(int rc) const {
    if (rc != SQLITE_OK) db_->fail(QString::fromUtf8(sqlite3_sql(stmt_)));
}

void Statement::bind(int index, const QVariant& value) {
    if (value.isNull() || !value.isValid()) {
        check(sqlite3_bind_null(stmt_, index));
        return;
    }
    switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            check(sqlite3_bind_int64(stmt_, index, value.toLongLong()));
            return;
        case QMetaType::Double:
        case QMetaType::Float:
            check(sqlite3_bind_double(stmt_, index, value.toDouble()));
            return;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            check(sqlite3_bind_blob64(stmt_, index, bytes.constData(),
                                      static_cast<sqlite3_uint64>(bytes.size()), SQLITE_TRANSIENT));
            return;
        }
        case QMetaType::QDate:
            bind(index, value.toDate().toString(Qt::ISODate));
            return;
        default: {
            const QByteArray utf8 = value.toString().toUtf8();
            check(sqlite3_bind_text64(stmt_, index, utf8.constData(),
                                      static_cast<sqlite3_uint64>(utf8.size()), SQLITE_TRANSIENT,
                                      SQLITE_UTF8));
            return;
        }
    }
}

void Statement::bind(const QString& name, const QVariant& value) {
    const QString wanted = name.startsWith(u':') ? name.mid(1) : name;
    const int count = sqlite3_bind_parameter_count(stmt_);
    bool found = false;
    // Parameter names match without regard to case, like column names.
    for (int i = 1; i <= count; ++i) {
        const char* raw = sqlite3_bind_parameter_name(stmt_, i);
        if (raw == nullptr) continue;
        const QString have = QString::fromUtf8(raw + 1);
        if (have.compare(wanted, Qt::CaseInsensitive) == 0) {
            bind(i, value);
            found = true;
        }
    }
    if (!found) throw EngineError(QStringLiteral("unknown parameter: ") + name);
}

void Statement::bindAll(const Params& params) {
    int position = 0;
    for (const Param& p : params) {
        if (p.name.isEmpty()) {
            bind(++position, p.value);
        } else {
            bind(p.name, p.value);
        }
    }
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const QString message = QString::fromUtf8(sqlite3_errmsg(db_->handle()));
    sqlite3_reset(stmt_);
    throw EngineError(message, rc);
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

QString Statement::columnName(int i) const {
    return QString::fromUtf8(sqlite3_column_name(stmt_, i));
}

QString Statement::originTable(int i) const {
    return QString::fromUtf8(sqlite3_column_table_name(stmt_, i));
}

QString Statement::originColumn(int i) const {
    return QString::fromUtf8(sqlite3_column_origin_name(stmt_, i));
}

QVariant Statement::value(int i) const {
    switch (sqlite3_column_type(stmt_, i)) {
        case SQLITE_INTEGER:
            return QVariant(static_cast<qlonglong>(sqlite3_column_int64(stmt_, i)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(stmt_, i));
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
            return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(stmt_, i)));
        }
        case SQLITE_BLOB: {
            const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt_, i));
            return QVariant(QByteArray(data, sqlite3_column_bytes(stmt_, i)));
        }
        default:
            return {};
    }
}

// --------------------------------------------------------------- Transaction

Transaction::Transaction(Database& db) : db_(db) {
    // Named by depth, so the few savepoint statements are prepared once and reused.
    name_ = QStringLiteral("sp%1").arg(db.txDepth_ + 1);
    db_.beginSavepoint(name_);
}

Transaction::~Transaction() {
    if (!open_) return;
    try {
        rollback();
    } catch (...) {  // NOLINT(bugprone-empty-catch): a destructor must not throw
    }
}

void Transaction::commit() {
    if (!open_) throw EngineError(QStringLiteral("transaction already finished"));
    open_ = false;
    db_.endSavepoint(name_, true);
}

void Transaction::rollback() {
    if (!open_) return;
    open_ = false;
    db_.endSavepoint(name_, false);
}

// ------------------------------------------------------------------ Database

Database::~Database() {
    close();
}

void Database::fail(const QString& context) const {
    QString message = db_ != nullptr ? QString::fromUtf8(sqlite3_errmsg(db_))
                                     : QStringLiteral("database is not open");
    if (!context.isEmpty()) message += QStringLiteral(" [") + context + u']';
    throw EngineError(message, db_ != nullptr ? sqlite3_extended_errcode(db_) : SQLITE_MISUSE);
}

namespace {

bool writable(const QString& path) {
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

}  // namespace

void Database::open(const QString& path, OpenMode mode) {
    close();
    const QString folder = QFileInfo(path).absolutePath();
    // A file that cannot be written, or whose folder cannot take a journal, is
    // opened for reading only: it can be browsed, and writing fails at once.
    const bool readOnly =
        mode == OpenMode::ReadOnly || (mode == OpenMode::ReadWrite && QFileInfo::exists(path) &&
                                       (!writable(path) || !writable(folder)));
    // One thread does all the work, so the connection goes without its own lock,
    // which would otherwise be taken and released for every column of every row read.
    int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    if (mode == OpenMode::Create) flags |= SQLITE_OPEN_CREATE;
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &handle, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = handle != nullptr ? QString::fromUtf8(sqlite3_errmsg(handle))
                                                  : QStringLiteral("cannot open");
        sqlite3_close(handle);
        throw EngineError(message + QStringLiteral(" [") + path + u']', rc);
    }
    db_ = handle;
    path_ = path;
    readOnly_ = readOnly;
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 5000);
    try {
        registerJetFunctions(db_);
        execNative(QStringLiteral("PRAGMA synchronous=FULL"));
        if (mode == OpenMode::Create) useWriteAheadLog();
    } catch (...) {
        close();
        throw;
    }
}

bool Database::isReadOnly() const {
    return db_ != nullptr && (readOnly_ || sqlite3_db_readonly(db_, "main") == 1);
}

void Database::useWriteAheadLog() {
    execNative(QStringLiteral("PRAGMA journal_mode=WAL"));
}

void Database::close() {
    if (db_ == nullptr) return;
    cache_.clear();
    attached_.clear();
    sqlite3_close_v2(db_);
    db_ = nullptr;
    txDepth_ = 0;
}

void Database::execNative(const QString& sql) {
    if (db_ == nullptr) fail(sql);
    char* error = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString message = QString::fromUtf8(error != nullptr ? error : sqlite3_errstr(rc));
        sqlite3_free(error);
        throw EngineError(message + QStringLiteral(" [") + sql + u']', rc);
    }
}

QString Database::translateAndAttach(const QString& sql) {
    const TranslatedSql t = translateJetSql(sql, [this](const QString& file) {
        auto it = attached_.find(file);
        if (it != attached_.end()) return it->second;
        QString alias = QStringLiteral("xf%1").arg(attached_.size() + 1);
        Statement attach(*this, QStringLiteral("ATTACH DATABASE ?1 AS ") + alias);
        attach.bind(1, file);
        attach.step();
        attached_.emplace(file, alias);
        return alias;
    });
    return t.sql;
}

void Database::detachAll() {
    if (attached_.empty()) return;
    if (!busy_.isEmpty()) return;
    // Cached statements may refer to an attached file; they go with it.
    clearCache();
    for (const auto& [file, alias] : attached_) {
        try {
            execNative(QStringLiteral("DETACH DATABASE ") + alias);
        } catch (const EngineError&) {  // NOLINT(bugprone-empty-catch)
            // Still in use by an unfinished statement: closing the connection frees it.
        }
    }
    attached_.clear();
}

Statement& Database::prepareCached(const QString& sql) {
    if (db_ == nullptr) fail(sql);
    auto it = cache_.find(sql);
    if (it != cache_.end()) {
        it->second->reset();
        return *it->second;
    }
    const QString native = translateAndAttach(sql);
    if (cache_.size() > 200) clearCache();
    auto statement = std::make_unique<Statement>(*this, native);
    Statement& ref = *statement;
    cache_.emplace(sql, std::move(statement));
    return ref;
}

int Database::execute(const QString& sql, const Params& params) {
    query(sql, params, [](Statement&) {});
    return sqlite3_changes(db_);
}

void Database::query(const QString& sql, const Params& params,
                     const std::function<void(Statement&)>& onRow,
                     const std::function<void(Statement&)>& onStart) {
    // A callback may run the same text again; that nested run gets its own statement.
    std::unique_ptr<Statement> own;
    Statement* s = nullptr;
    if (busy_.contains(sql)) {
        own = std::make_unique<Statement>(*this, translateAndAttach(sql));
        s = own.get();
    } else {
        s = &prepareCached(sql);
        busy_.insert(sql);
    }
    const bool cached = own == nullptr;
    auto finish = [&] {
        s->reset();
        if (cached) busy_.remove(sql);
    };
    try {
        s->bindAll(params);
        if (onStart) onStart(*s);
        while (s->step())
            onRow(*s);
    } catch (...) {
        finish();
        throw;
    }
    finish();
    if (!inTransaction() && busy_.isEmpty()) detachAll();
}

QVariant Database::scalar(const QString& sql, const Params& params) {
    QVariant result;
    bool first = true;
    query(sql, params, [&](Statement& s) {
        if (first) result = s.value(0);
        first = false;
    });
    return result;
}

QStringList Database::userTables() {
    QStringList names;
    query(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND "
                         "name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"),
          {}, [&](Statement& s) { names << s.value(0).toString(); });
    return names;
}

bool Database::hasTable(const QString& name) {
    return userTables().contains(name, Qt::CaseInsensitive);
}

QStringList Database::columnNames(const QString& table) {
    QStringList names;
    query(QStringLiteral("SELECT name FROM pragma_table_info(?1)"), {{QString(), table}},
          [&](Statement& s) { names << s.value(0).toString(); });
    return names;
}

void Database::dropTable(const QString& name) {
    if (!hasTable(name)) throw EngineError(QStringLiteral("no such table: ") + name);
    clearCache();  // statements that read the table must not outlive it
    execNative(QStringLiteral("DROP TABLE ") + quotedIdentifier(name));
}

void Database::setAllowZeroLength(const QString& table, const QString& column) {
    if (!columnNames(table).contains(column, Qt::CaseInsensitive)) {
        throw EngineError(QStringLiteral("no such column: ") + table + u'.' + column);
    }
}

void Database::clearCache() {
    if (busy_.isEmpty()) cache_.clear();
}

int Database::addRollbackListener(RollbackListener listener) {
    const int id = nextListenerId_++;
    rollbackListeners_.emplace(id, std::move(listener));
    return id;
}

void Database::removeRollbackListener(int id) {
    rollbackListeners_.erase(id);
}

int Database::addTextListener(TextListener listener) {
    const int id = nextListenerId_++;
    textListeners_.emplace(id, std::move(listener));
    return id;
}

void Database::removeTextListener(int id) {
    textListeners_.erase(id);
}

void Database::textsChanged(const TextChange& change) {
    const auto listeners = textListeners_;
    for (const auto& [id, listener] : listeners) {
        try {
            listener(change);
        } catch (const std::exception& e) {
            qWarning("derived data did not follow a change of texts: %s", e.what());
        }
    }
}

void Database::beginSavepoint(const QString& name) {
    runCached(QStringLiteral("SAVEPOINT ") + name);
    ++txDepth_;
}

void Database::runCached(const QString& sql) {
    Statement& s = prepareCached(sql);
    try {
        while (s.step()) {
        }
    } catch (...) {
        s.reset();
        throw;
    }
    s.reset();
}

void Database::endSavepoint(const QString& name, bool commit) {
    --txDepth_;
    if (commit) {
        try {
            runCached(QStringLiteral("RELEASE ") + name);
        } catch (const EngineError&) {
            // A commit that fails (a full disk, say) must not leave half a change behind.
            ++txDepth_;
            endSavepoint(name, false);
            throw;
        }
    } else {
        runCached(QStringLiteral("ROLLBACK TO ") + name);
        runCached(QStringLiteral("RELEASE ") + name);
    }
    if (txDepth_ == 0) detachAll();
    if (!commit) {
        // Copy first: a listener may unregister itself while it runs.
        const auto listeners = rollbackListeners_;
        for (const auto& [id, listener] : listeners)
            listener();
    }
}

}  // namespace store
