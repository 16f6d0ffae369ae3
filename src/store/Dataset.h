// Client-side result sets: rows are read once into memory, then browsed with a
// cursor, filtered and sorted without going back to the file. Edits, appends and
// deletes are written to the file at once, by the row's rowid.
#pragma once

#include "Engine.h"
#include "Filter.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <memory>
#include <vector>

namespace store {

using Row = QVector<QVariant>;

// The rows of one opened result, shared by a dataset and its clones.
struct RowStore {
    QStringList columns;
    QHash<QString, int> columnIndex;  // lower-case name -> column
    QString table;                    // table the rows are written back to; empty: read-only
    QStringList originColumns;        // per column: column of `table`, or empty
    std::vector<Row> rows;
    std::vector<qint64> rowIds;
    quint64 version = 0;  // bumped when rows are added or removed

    // Rows by the lower-case text of one column, built when a column is first
    // searched and dropped whenever that column or the set of rows changes.
    QHash<int, QMultiHash<QString, int>> lookup;
    quint64 lookupVersion = 0;
    const QMultiHash<QString, int>& lookupFor(int column);
    void forgetLookup(int column) { lookup.remove(column); }
};

class Dataset : public QObject {
    Q_OBJECT
  public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit Dataset(Database* db = nullptr, QObject* parent = nullptr);
    ~Dataset() override;

    void setConnection(Database* db);
    Database* connection() const { return db_; }

    void open();
    void close();
    bool isActive() const { return state_ != State::Inactive; }
    // Reads the rows again, keeping the record number where it can.
    void requery();
    // Reads again from the file the rows whose column holds one of the keys (any
    // case), found by rowid: after a write made with plain SQL, the rows show what
    // the file holds while the set and the cursor stay as they are. Returns how
    // many rows were read.
    int reloadRows(const QString& name, const QStringList& keys);
    State state() const { return state_; }

    int recordCount();
    int recNo();  // 1-based; 0 when there is no current row
    void setRecNo(int recNo);
    void first();
    void last();
    void next();
    void prior();
    bool eof();
    bool bof();
    bool isEmpty() { return recordCount() == 0; }

    QStringList fieldNames() const;
    bool hasField(const QString& name) const;
    QVariant value(const QString& name);
    QString text(const QString& name);  // NULL reads as ""
    int asInt(const QString& name);     // NULL and non-numbers read as 0
    double asDouble(const QString& name);

    void edit();
    void append();
    void setValue(const QString& name, const QVariant& value);
    void post();
    void cancel();
    void remove();

    bool locate(const QString& name, const QVariant& value,
                Qt::CaseSensitivity cs = Qt::CaseInsensitive);

    void setFilter(const QString& filter);
    QString filter() const { return filterText_; }
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }
    void setSort(const QString& sort);
    QString sort() const { return sortText_; }

    // A second cursor over the same rows; edits through either are seen by both.
    std::unique_ptr<Dataset> clone(QObject* parent = nullptr);

  signals:
    // The current row moved, or its values changed by a post.
    void currentChanged();

  protected:
    // The statement whose rows this dataset holds, and its parameters.
    virtual QString selectSql() const = 0;
    virtual Params selectParams() const { return {}; }

    Database& db() const;
    void requireActive() const;

  private:
    int column(const QString& name) const;
    int currentRow();  // index into the store, -1 when none
    void refreshView();
    void sortView();
    void moveTo(int viewPos);
    void loadInto(RowStore& target);
    void postInsert(Row& buffer);
    void postEdit(int row, const Row& buffer);
    void writeBack(int row, const Row& buffer);
    void onRollback();
    // Rows (store indexes) read again by rowid; rows gone from the file are dropped.
    void reloadByRowId(const std::vector<size_t>& rows);

    Database* db_ = nullptr;
    int rollbackListener_ = 0;
    std::shared_ptr<RowStore> store_;
    std::vector<int> view_;
    std::vector<int> viewPos_;  // store row -> position in view_, or -1
    quint64 viewVersion_ = ~quint64{0};
    int pos_ = 0;
    bool eofHit_ = false;
    bool bofHit_ = false;
    State state_ = State::Inactive;
    Row buffer_;
    QString filterText_;
    bool filtered_ = false;
    RowPredicate predicate_;
    QString sortText_;
};

// A dataset over any SQL text; parameters are bound by name before opening.
class Query : public Dataset {
    Q_OBJECT
  public:
    using Dataset::Dataset;
    void setSql(const QString& sql);
    QString sql() const { return sql_; }
    void setParam(const QString& name, const QVariant& value);
    // Runs the SQL as a statement without rows; returns the rows changed.
    int execSql();

  protected:
    QString selectSql() const override { return sql_; }
    Params selectParams() const override { return params_; }

  private:
    QString sql_;
    Params params_;
};

// A dataset over one whole table, optionally ordered by a column.
class Table : public Dataset {
    Q_OBJECT
  public:
    using Dataset::Dataset;
    void setTableName(const QString& name);
    QString tableName() const { return table_; }
    void setOrderBy(const QString& column);

  protected:
    QString selectSql() const override;

  private:
    QString table_;
    QString orderBy_;
};

// Links a dataset to the code that follows its current row.
class DataSource : public QObject {
    Q_OBJECT
  public:
    explicit DataSource(Dataset* dataset, QObject* parent = nullptr);
    Dataset* dataset() const { return dataset_; }

  signals:
    void dataChange();

  private:
    Dataset* dataset_;
};

}  // namespace store
