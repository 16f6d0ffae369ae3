#include "Dataset.h"

#include "JetSql.h"

#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <unordered_map>

namespace store {
namespace {

const QString kRowIdColumn = QStringLiteral("__rowid__");

struct SortKey {
    int column;
    bool descending;
};

// The text a value is found by when case does not matter.
QString lookupKey(const QVariant& v) {
    return v.toString().toLower();
}

}  // namespace

const QMultiHash<QString, int>& RowStore::lookupFor(int column) {
    if (lookupVersion != version) {
        lookup.clear();
        lookupVersion = version;
    }
    auto it = lookup.find(column);
    if (it != lookup.end()) return *it;
    QMultiHash<QString, int>& index = lookup[column];
    index.reserve(static_cast<qsizetype>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
        const QVariant& v = rows[r][column];
        if (!v.isNull()) index.insert(lookupKey(v), static_cast<int>(r));
    }
    return index;
}

Dataset::Dataset(Database* db, QObject* parent) : QObject(parent) {
    setConnection(db);
}

Dataset::~Dataset() {
    if (db_ != nullptr && rollbackListener_ != 0) db_->removeRollbackListener(rollbackListener_);
}

void Dataset::setConnection(Database* db) {
    if (db_ != nullptr && rollbackListener_ != 0) db_->removeRollbackListener(rollbackListener_);
    rollbackListener_ = 0;
    db_ = db;
    if (db_ != nullptr) rollbackListener_ = db_->addRollbackListener([this] { onRollback(); });
}

Database& Dataset::db() const {
    if (db_ == nullptr || !db_->isOpen()) throw EngineError(QStringLiteral("no open connection"));
    return *db_;
}

void Dataset::requireActive() const {
    if (state_ == State::Inactive) throw EngineError(QStringLiteral("dataset is not open"));
}

// ------------------------------------------------------------------ reading

void Dataset::loadInto(RowStore& target) {
    Database& database = db();
    const QString sql = selectSql();
    const SelectSource source = singleTableSource(sql);
    bool withIds = !source.table.isEmpty();
    RowStore fresh;
    auto readRows = [&](const QString& text) {
        const int first = withIds ? 1 : 0;
        auto onStart = [&](Statement& s) {
            for (int i = first; i < s.columnCount(); ++i) {
                fresh.columns << s.columnName(i);
                const bool ours =
                    withIds && s.originTable(i).compare(source.table, Qt::CaseInsensitive) == 0;
                fresh.originColumns << (ours ? s.originColumn(i) : QString());
            }
        };
        database.query(
            text, selectParams(),
            [&](Statement& s) {
                Row row;
                row.reserve(s.columnCount() - first);
                for (int i = first; i < s.columnCount(); ++i)
                    row << s.value(i);
                fresh.rows.push_back(std::move(row));
                fresh.rowIds.push_back(withIds ? s.value(0).toLongLong() : 0);
            },
            onStart);
    };
    if (withIds) {
        try {
            readRows(withRowId(sql, source));
        } catch (const EngineError&) {
            // A view or a table without rowids: still readable, just not writable.
            withIds = false;
            fresh = RowStore{};
            readRows(sql);
        }
    } else {
        readRows(sql);
    }
    for (int i = 0; i < fresh.columns.size(); ++i) {
        fresh.columnIndex.insert(fresh.columns[i].toLower(), i);
    }
    const bool writable =
        withIds && std::any_of(fresh.originColumns.begin(), fresh.originColumns.end(),
                               [](const QString& c) { return !c.isEmpty(); });
    fresh.table = writable ? source.table : QString();
    fresh.version = target.version + 1;
    target = std::move(fresh);
}

void Dataset::open() {
    if (isActive()) return;
    auto fresh = std::make_shared<RowStore>();
    loadInto(*fresh);
    store_ = std::move(fresh);
    state_ = State::Browse;
    if (!filterText_.isEmpty()) predicate_ = compileFilter(filterText_, store_->columns);
    viewVersion_ = ~quint64{0};
    refreshView();
    moveTo(0);
}

void Dataset::close() {
    state_ = State::Inactive;
    store_.reset();
    view_.clear();
    buffer_.clear();
    pos_ = 0;
}

void Dataset::requery() {
    if (!isActive()) {
        open();
        return;
    }
    const int keep = pos_;
    loadInto(*store_);
    state_ = State::Browse;
    buffer_.clear();
    if (!filterText_.isEmpty()) predicate_ = compileFilter(filterText_, store_->columns);
    refreshView();
    moveTo(std::min<int>(keep, std::max<int>(0, static_cast<int>(view_.size()) - 1)));
}

void Dataset::onRollback() {
    if (!isActive()) return;
    state_ = State::Browse;
    buffer_.clear();
    if (store_->table.isEmpty()) {
        try {
            requery();
        } catch (const EngineError&) {
            close();  // the rows are gone with what was rolled back
        }
        return;
    }
    // Running the statement again would give another set: the questions answered
    // before the failure have left a "new questions" set, and every record number
    // would name another question. The same rows, read again by key, keep the set.
    std::vector<size_t> all(store_->rows.size());
    for (size_t r = 0; r < all.size(); ++r)
        all[r] = r;
    try {
        reloadByRowId(all);
    } catch (const EngineError&) {  // NOLINT(bugprone-empty-catch)
        // Unreadable now (the file went away): the rows stay as they were read.
    }
}

int Dataset::reloadRows(const QString& name, const QStringList& keys) {
    if (!isActive() || store_->table.isEmpty()) return 0;
    const int c = column(name);
    if (c < 0) throw EngineError(QStringLiteral("field not found: ") + name);
    const auto& index = store_->lookupFor(c);
    std::vector<size_t> rows;
    for (const QString& key : keys) {
        const QString lower = key.toLower();
        for (auto it = index.find(lower); it != index.end() && it.key() == lower; ++it)
            rows.push_back(static_cast<size_t>(it.value()));
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (!rows.empty()) reloadByRowId(rows);
    return static_cast<int>(rows.size());
}

void Dataset::reloadByRowId(const std::vector<size_t>& rows) {
    RowStore& s = *store_;
    QStringList origins;
    QVector<int> columns;
    for (int c = 0; c < s.originColumns.size(); ++c) {
        if (s.originColumns[c].isEmpty()) continue;
        origins << quotedIdentifier(s.originColumns[c]);
        columns << c;
    }
    Database& database = db();
    std::vector<size_t> gone;
    bool changed = false;
    // Rows by rowid, a few hundred to a statement.
    constexpr size_t kChunk = 256;
    std::unordered_map<qint64, size_t> wanted;
    for (size_t first = 0; first < rows.size(); first += kChunk) {
        const size_t count = std::min(kChunk, rows.size() - first);
        Params ids;
        wanted.clear();
        for (size_t i = first; i < first + count; ++i) {
            ids.push_back({QString(), s.rowIds[rows[i]]});
            wanted.emplace(s.rowIds[rows[i]], rows[i]);
        }
        const QStringList marks(static_cast<qsizetype>(count), QStringLiteral("?"));
        const QString sql = QStringLiteral("SELECT rowid,") + origins.join(u',') +
                            QStringLiteral(" FROM ") + quotedIdentifier(s.table) +
                            QStringLiteral(" WHERE rowid IN (") + marks.join(u',') + u')';
        database.query(sql, ids, [&](Statement& st) {
            const auto it = wanted.find(st.value(0).toLongLong());
            if (it == wanted.end()) return;
            Row& held = s.rows[it->second];
            for (int i = 0; i < columns.size(); ++i) {
                QVariant fresh = st.value(i + 1);
                QVariant& old = held[columns[i]];
                if (fresh.isNull() == old.isNull() && fresh == old) continue;
                old = std::move(fresh);
                s.forgetLookup(columns[i]);
                changed = true;
            }
            wanted.erase(it);
        });
        for (const auto& entry : wanted)
            gone.push_back(entry.second);
    }
    const int keep = pos_;
    if (!gone.empty()) {
        std::sort(gone.begin(), gone.end(), std::greater<>());
        for (const size_t r : gone) {
            s.rows.erase(s.rows.begin() + static_cast<std::ptrdiff_t>(r));
            s.rowIds.erase(s.rowIds.begin() + static_cast<std::ptrdiff_t>(r));
        }
        ++s.version;
    } else if (changed && (filtered_ || !sortText_.trimmed().isEmpty())) {
        viewVersion_ = ~quint64{0};  // new values may leave the filter or move in the sort
    }
    refreshView();
    pos_ = std::clamp(keep, 0, std::max(0, static_cast<int>(view_.size()) - 1));
}

// ------------------------------------------------------------ the cursor

void Dataset::refreshView() {
    if (!store_ || viewVersion_ == store_->version) return;
    viewVersion_ = store_->version;
    view_.clear();
    viewPos_.assign(store_->rows.size(), -1);
    const auto count = static_cast<int>(store_->rows.size());
    view_.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (!filtered_ || !predicate_ || predicate_(store_->rows[static_cast<size_t>(i)])) {
            view_.push_back(i);
        }
    }
    if (!sortText_.trimmed().isEmpty()) sortView();
    for (size_t i = 0; i < view_.size(); ++i) {
        viewPos_[static_cast<size_t>(view_[i])] = static_cast<int>(i);
    }
}

void Dataset::sortView() {
    std::vector<SortKey> keys;
    for (const QString& part : sortText_.split(u',', Qt::SkipEmptyParts)) {
        const QStringList words = part.simplified().split(u' ');
        const int c = column(words.value(0));
        if (c < 0) throw EngineError(QStringLiteral("unknown sort field: ") + words.value(0));
        keys.push_back(
            {c, words.value(1).compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0});
    }
    const auto& rows = store_->rows;
    std::stable_sort(view_.begin(), view_.end(), [&](int a, int b) {
        for (const SortKey& k : keys) {
            const int c = compareValues(rows[static_cast<size_t>(a)][k.column],
                                        rows[static_cast<size_t>(b)][k.column]);
            if (c != 0) return k.descending ? c > 0 : c < 0;
        }
        return false;
    });
}

void Dataset::moveTo(int viewPos) {
    const auto size = static_cast<int>(view_.size());
    eofHit_ = size == 0;
    bofHit_ = size == 0;
    pos_ = std::clamp(viewPos, 0, std::max(0, size - 1));
    emit currentChanged();
}

int Dataset::currentRow() {
    refreshView();
    if (view_.empty()) return -1;
    return view_[static_cast<size_t>(std::min<int>(pos_, static_cast<int>(view_.size()) - 1))];
}

int Dataset::recordCount() {
    requireActive();
    refreshView();
    return static_cast<int>(view_.size());
}

int Dataset::recNo() {
    requireActive();
    refreshView();
    return view_.empty() ? 0 : std::min<int>(pos_, static_cast<int>(view_.size()) - 1) + 1;
}

void Dataset::setRecNo(int recNo) {
    requireActive();
    if (state_ != State::Browse) post();
    refreshView();
    moveTo(recNo - 1);
}

void Dataset::first() {
    setRecNo(1);
}

void Dataset::last() {
    setRecNo(recordCount());
}

void Dataset::next() {
    requireActive();
    if (state_ != State::Browse) post();
    refreshView();
    if (pos_ + 1 >= static_cast<int>(view_.size())) {
        eofHit_ = true;
        return;
    }
    moveTo(pos_ + 1);
}

void Dataset::prior() {
    requireActive();
    if (state_ != State::Browse) post();
    refreshView();
    if (pos_ <= 0) {
        bofHit_ = true;
        return;
    }
    moveTo(pos_ - 1);
}

bool Dataset::eof() {
    requireActive();
    refreshView();
    return eofHit_ || view_.empty();
}

bool Dataset::bof() {
    requireActive();
    refreshView();
    return bofHit_ || view_.empty();
}

// ------------------------------------------------------------ the fields

int Dataset::column(const QString& name) const {
    if (!store_) return -1;
    return store_->columnIndex.value(name.toLower(), -1);
}

QStringList Dataset::fieldNames() const {
    return store_ ? store_->columns : QStringList();
}

bool Dataset::hasField(const QString& name) const {
    return column(name) >= 0;
}

QVariant Dataset::value(const QString& name) {
    requireActive();
    const int c = column(name);
    if (c < 0) throw EngineError(QStringLiteral("field not found: ") + name);
    if (state_ == State::Edit || state_ == State::Insert) return buffer_[c];
    const int row = currentRow();
    if (row < 0) throw EngineError(QStringLiteral("no current record"));
    return store_->rows[static_cast<size_t>(row)][c];
}

QString Dataset::text(const QString& name) {
    const QVariant v = value(name);
    return v.isNull() ? QString() : v.toString();
}

int Dataset::asInt(const QString& name) {
    return value(name).toInt();
}

double Dataset::asDouble(const QString& name) {
    return value(name).toDouble();
}

// ------------------------------------------------------------ editing

void Dataset::edit() {
    requireActive();
    if (state_ != State::Browse) return;
    const int row = currentRow();
    if (row < 0) throw EngineError(QStringLiteral("no current record to edit"));
    buffer_ = store_->rows[static_cast<size_t>(row)];
    state_ = State::Edit;
}

void Dataset::append() {
    requireActive();
    if (state_ != State::Browse) post();
    buffer_ = Row(static_cast<qsizetype>(store_->columns.size()));
    state_ = State::Insert;
}

void Dataset::setValue(const QString& name, const QVariant& value) {
    if (state_ != State::Edit && state_ != State::Insert) {
        throw EngineError(QStringLiteral("dataset is not in edit or insert mode"));
    }
    const int c = column(name);
    if (c < 0) throw EngineError(QStringLiteral("field not found: ") + name);
    buffer_[c] = value;
}

void Dataset::cancel() {
    if (state_ == State::Edit || state_ == State::Insert) state_ = State::Browse;
    buffer_.clear();
}

void Dataset::post() {
    if (state_ != State::Edit && state_ != State::Insert) return;
    if (store_->table.isEmpty()) throw EngineError(QStringLiteral("dataset is read-only"));
    // The state changes only after the write succeeded: a failed post keeps the edits.
    if (state_ == State::Insert) {
        postInsert(buffer_);
    } else {
        postEdit(currentRow(), buffer_);
    }
    state_ = State::Browse;
    buffer_.clear();
    emit currentChanged();
}

void Dataset::postEdit(int row, const Row& buffer) {
    const Row& old = store_->rows[static_cast<size_t>(row)];
    QStringList sets;
    Params params;
    for (int c = 0; c < buffer.size(); ++c) {
        const QString& origin = store_->originColumns[c];
        // An empty text and NULL are different values and both must reach the file.
        const bool same = buffer[c].isNull() == old[c].isNull() && buffer[c] == old[c];
        if (origin.isEmpty() || same) continue;
        sets << quotedIdentifier(origin) + QStringLiteral("=?");
        params.push_back({QString(), buffer[c]});
        store_->forgetLookup(c);
    }
    if (!sets.isEmpty()) {
        params.push_back({QString(), store_->rowIds[static_cast<size_t>(row)]});
        db().execute(QStringLiteral("UPDATE ") + quotedIdentifier(store_->table) +
                         QStringLiteral(" SET ") + sets.join(u',') +
                         QStringLiteral(" WHERE rowid=?"),
                     params);
    }
    store_->rows[static_cast<size_t>(row)] = buffer;
}

void Dataset::postInsert(Row& buffer) {
    QStringList names;
    QStringList marks;
    Params params;
    for (int c = 0; c < buffer.size(); ++c) {
        const QString& origin = store_->originColumns[c];
        if (origin.isEmpty() || !buffer[c].isValid()) continue;
        names << quotedIdentifier(origin);
        marks << QStringLiteral("?");
        params.push_back({QString(), buffer[c]});
    }
    Database& database = db();
    const QString table = quotedIdentifier(store_->table);
    if (names.isEmpty()) {
        database.execute(QStringLiteral("INSERT INTO ") + table +
                         QStringLiteral(" DEFAULT VALUES"));
    } else {
        database.execute(QStringLiteral("INSERT INTO ") + table + u'(' + names.join(u',') +
                             QStringLiteral(") VALUES (") + marks.join(u',') + u')',
                         params);
    }
    const qint64 rowId = sqlite3_last_insert_rowid(database.handle());
    // Read back what the file holds, defaults included.
    QStringList origins;
    QVector<int> columns;
    for (int c = 0; c < buffer.size(); ++c) {
        if (store_->originColumns[c].isEmpty()) continue;
        origins << quotedIdentifier(store_->originColumns[c]);
        columns << c;
    }
    database.query(QStringLiteral("SELECT ") + origins.join(u',') + QStringLiteral(" FROM ") +
                       table + QStringLiteral(" WHERE rowid=?"),
                   {{QString(), rowId}}, [&](Statement& s) {
                       for (int i = 0; i < columns.size(); ++i)
                           buffer[columns[i]] = s.value(i);
                   });
    store_->rows.push_back(buffer);
    store_->rowIds.push_back(rowId);
    ++store_->version;
    refreshView();
    const auto it =
        std::find(view_.begin(), view_.end(), static_cast<int>(store_->rows.size()) - 1);
    pos_ = it == view_.end() ? std::max<int>(0, static_cast<int>(view_.size()) - 1)
                             : static_cast<int>(it - view_.begin());
    eofHit_ = bofHit_ = false;
}

void Dataset::remove() {
    requireActive();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (store_->table.isEmpty()) throw EngineError(QStringLiteral("dataset is read-only"));
    const int row = currentRow();
    if (row < 0) throw EngineError(QStringLiteral("no current record to delete"));
    db().execute(QStringLiteral("DELETE FROM ") + quotedIdentifier(store_->table) +
                     QStringLiteral(" WHERE rowid=?"),
                 {{QString(), store_->rowIds[static_cast<size_t>(row)]}});
    store_->rows.erase(store_->rows.begin() + row);
    store_->rowIds.erase(store_->rowIds.begin() + row);
    ++store_->version;
    state_ = State::Browse;
    buffer_.clear();
    refreshView();
    moveTo(pos_);
}

// ------------------------------------------------------------ finding

bool Dataset::locate(const QString& name, const QVariant& value, Qt::CaseSensitivity cs) {
    requireActive();
    if (state_ != State::Browse) post();
    const int c = column(name);
    if (c < 0) throw EngineError(QStringLiteral("field not found: ") + name);
    refreshView();
    const auto matches = [&](const QVariant& v) {
        if (v.isNull() != value.isNull()) return false;
        return cs == Qt::CaseInsensitive ? compareValues(v, value) == 0
                                         : v.toString() == value.toString();
    };
    int best = -1;
    if (value.typeId() == QMetaType::QString) {
        // Text equal ignoring case has the same lower-case text: look only there.
        const auto& index = store_->lookupFor(c);
        const QString key = lookupKey(value);
        for (auto it = index.find(key); it != index.end() && it.key() == key; ++it) {
            const int pos = viewPos_[static_cast<size_t>(it.value())];
            if (pos >= 0 && (best < 0 || pos < best) &&
                matches(store_->rows[static_cast<size_t>(it.value())][c])) {
                best = pos;
            }
        }
    } else {
        for (size_t i = 0; i < view_.size() && best < 0; ++i) {
            if (matches(store_->rows[static_cast<size_t>(view_[i])][c])) best = static_cast<int>(i);
        }
    }
    if (best < 0) return false;
    moveTo(best);
    return true;
}

void Dataset::setFilter(const QString& filter) {
    filterText_ = filter;
    predicate_ = {};
    if (store_ && !filter.trimmed().isEmpty()) predicate_ = compileFilter(filter, store_->columns);
    viewVersion_ = ~quint64{0};
    if (isActive()) moveTo(0);
}

void Dataset::setFiltered(bool on) {
    filtered_ = on;
    viewVersion_ = ~quint64{0};
    if (isActive()) moveTo(0);
}

void Dataset::setSort(const QString& sort) {
    sortText_ = sort;
    viewVersion_ = ~quint64{0};
    if (isActive()) moveTo(0);
}

std::unique_ptr<Dataset> Dataset::clone(QObject* parent) {
    requireActive();
    class Clone : public Dataset {
      public:
        using Dataset::Dataset;
        QString selectSql() const override { return sql; }
        Params selectParams() const override { return params; }
        QString sql;
        Params params;
    };
    auto copy = std::make_unique<Clone>(db_, parent);
    copy->sql = selectSql();
    copy->params = selectParams();
    copy->store_ = store_;
    copy->state_ = State::Browse;
    copy->refreshView();
    copy->moveTo(0);
    return copy;
}

// ------------------------------------------------------------ Query, Table

void Query::setSql(const QString& sql) {
    if (isActive()) close();
    sql_ = sql;
    params_.clear();
}

void Query::setParam(const QString& name, const QVariant& value) {
    const QString key = name.startsWith(u':') ? name.mid(1) : name;
    for (Param& p : params_) {
        if (p.name.compare(key, Qt::CaseInsensitive) == 0) {
            p.value = value;
            return;
        }
    }
    params_.push_back({key, value});
}

int Query::execSql() {
    return db().execute(sql_, params_);
}

void Table::setTableName(const QString& name) {
    if (isActive()) close();
    table_ = name;
}

void Table::setOrderBy(const QString& column) {
    if (isActive()) close();
    orderBy_ = column;
}

QString Table::selectSql() const {
    QString sql = QStringLiteral("select * from ") + quotedIdentifier(table_);
    if (!orderBy_.isEmpty()) sql += QStringLiteral(" order by ") + quotedIdentifier(orderBy_);
    return sql;
}

DataSource::DataSource(Dataset* dataset, QObject* parent) : QObject(parent), dataset_(dataset) {
    connect(dataset, &Dataset::currentChanged, this, &DataSource::dataChange);
}

}  // namespace store
