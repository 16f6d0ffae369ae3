// Full-text search over the texts of the bank: stems, shared stems, explanations,
// knowledge-point texts and the candidate's notes, found by any Chinese (or other)
// substring.
//
// The index is derived data in a file of its own beside the bank
// ("QBDATA000001.search.db"): an FTS5 table with the trigram tokenizer over the
// plain text of every source row, and a table of the source rows it was made from.
// The bank's tables stay as they are.
//
// Staleness. For each source the index keeps, per bank row, its rowid and the length
// of its stored text. Opening compares, per source, the bank's count of rows, highest
// rowid and total text length with the same figures of the index; a source whose
// figures differ is indexed again from the bank. That catches a missing or foreign
// index, a bank restored from a backup, rows added or removed and edits that change a
// text's length; an index file that cannot be read or is of another format is made
// anew. Writes made by the program itself do not rely on that: the writers tell the
// bank connection which texts they changed (store::TextChange) and the listener
// installed by KeepIndexCurrent brings the index file up to date at once.
//
// Queries. Three characters or more are looked up through the trigram index as one
// FTS5 string (quotes doubled), so every character, quotes and FTS operators
// included, is text. Trigrams cannot find one or two characters: such a query scans
// the index's plain texts with LIKE (slower, still without reading the bank).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <utility>

#include "Engine.h"

namespace search {

// The places a text is found, in the order results are listed.
enum class Source { Stem = 1, SharedStem = 2, Explanation = 3, KnowledgePoint = 4, Note = 5 };
inline constexpr int kSourceCount = 5;
QString SourceName(Source source);  // "题干", "共用题干", "解析", "考点", "笔记"

// "<folder>/QBDATA000001.search.db" for "<folder>/QBDATA000001.db".
QString IndexPathFor(const QString& bankPath);

// A piece of text around the first match, with every match inside it marked.
struct Snippet {
    QString text;
    QVector<std::pair<int, int>> marks;  // start and length within text
};
// Up to `before` characters ahead of the first match and `width` in all; line
// breaks and tabs become blanks, and a cut end is shown as "…". Case is ignored.
Snippet MakeSnippet(const QString& body, const QString& query, int before = 14, int width = 64);

// One question found.
struct Found {
    QString questionId;
    Source source = Source::Stem;  // where the snippet comes from
    Snippet snippet;
    QVector<Source> sources;  // every place the query was found for the question
};

inline constexpr int kMaxListed = 1000;

struct SearchResult {
    QString query;
    QVector<Found> questions;  // at most the limit asked for, in listing order
    int total = 0;             // every question found
    bool scanned = false;      // one or two characters: found by a scan, not the index
};

// The set of chapter practice over the questions found (a discarded question stays
// out, as in every practice set).
QString PracticeSqlFor(const QStringList& questionIds);

class SearchIndex {
  public:
    // Step and steps while sources are indexed, for a progress line.
    using Progress = std::function<void(int step, int total)>;

    SearchIndex(store::Database& bank, QString indexPath);
    ~SearchIndex();
    SearchIndex(const SearchIndex&) = delete;
    SearchIndex& operator=(const SearchIndex&) = delete;

    // Opens the index, making it when absent, unreadable or of another format, and
    // indexing again every source that is stale. Returns the sources indexed.
    // Throws store::EngineError when the index cannot be written.
    QVector<Source> Open(const Progress& progress = {});
    // Opens an index file that exists already, without checking it against the
    // bank; false when there is none or it cannot be used.
    bool OpenExisting();
    bool isOpen() const { return index_.isOpen(); }
    void Close() { index_.close(); }
    QString path() const { return path_; }

    // Brings the rows the change names up to date, in one transaction.
    void Apply(const store::TextChange& change);

    // The sources whose figures differ from the bank's.
    QVector<Source> StaleSources();

    SearchResult Search(const QString& text, int limit = kMaxListed);

  private:
    void create();
    void indexSource(Source source, qint64 afterRowId, bool wipe);
    void reindexKeys(Source source, const QStringList& keys);
    void insertRows(Source source, const QString& where, const store::Params& params);

    store::Database& bank_;
    QString path_;
    store::Database index_;
};

// Keeps the index file of this bank current with every write that tells the bank
// connection about changed texts. No file, no work: the first search makes it.
// Returns the listener's id on the bank connection.
int KeepIndexCurrent(store::Database& bank);

}  // namespace search
