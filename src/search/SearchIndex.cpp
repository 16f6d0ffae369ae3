#include "SearchIndex.h"

#include "RichText.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace search {
namespace {

// Raised whenever the layout of the index file changes: an index of another format
// is made anew.
constexpr int kFormat = 1;

struct SourceSpec {
    Source source;
    const char* table;
    const char* key;
    const char* text;
    bool rich;  // RTF, read for its plain text; otherwise plain text already
};

const std::array<SourceSpec, kSourceCount> kSources = {{
    {Source::Stem, "tab_exer", "A1", "A15", true},
    {Source::SharedStem, "tab_title", "A1", "A15", true},
    {Source::Explanation, "tab_exer", "A1", "jx", true},
    {Source::KnowledgePoint, "tab_rule", "ftid", "n", true},
    {Source::Note, "tab_answ", "A1", "A14", false},
}};

const SourceSpec& specOf(Source source) {
    return kSources[static_cast<size_t>(static_cast<int>(source) - 1)];
}

QString name(const char* text) {
    return QLatin1String(text);
}

QString plainTextOf(const QVariant& stored, bool rich) {
    if (stored.isNull()) return {};
    if (!rich) return stored.toString();
    const QByteArray bytes = stored.typeId() == QMetaType::QByteArray ? stored.toByteArray()
                                                                      : stored.toString().toUtf8();
    return bytes.isEmpty() ? QString() : richtext::plainTextOfRtf(bytes);
}

// count, highest rowid, total text length
struct Figures {
    qint64 rows = 0;
    qint64 maxRowId = 0;
    qint64 length = 0;
    bool operator==(const Figures&) const = default;
};

Figures bankFigures(store::Database& bank, const SourceSpec& s) {
    Figures f;
    bank.query(QStringLiteral("select count(*), coalesce(max(rowid),0), total(length(%1)) from %2")
                   .arg(name(s.text), name(s.table)),
               {}, [&](store::Statement& row) {
                   f.rows = row.value(0).toLongLong();
                   f.maxRowId = row.value(1).toLongLong();
                   f.length = std::llround(row.value(2).toDouble());
               });
    return f;
}

Figures indexFigures(store::Database& index, Source source) {
    Figures f;
    index.query(QStringLiteral("select count(*), coalesce(max(bank_rowid),0), total(len) "
                               "from src_rows where src=?"),
                {{{}, static_cast<int>(source)}}, [&](store::Statement& row) {
                    f.rows = row.value(0).toLongLong();
                    f.maxRowId = row.value(1).toLongLong();
                    f.length = std::llround(row.value(2).toDouble());
                });
    return f;
}

void removeIndexFiles(const QString& path) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

// The query as one FTS5 string: whatever it holds is text to find.
QString ftsString(const QString& query) {
    QString inner = query;
    inner.replace(u'"', QStringLiteral("\"\""));
    return u'"' + inner + u'"';
}

QString likePattern(const QString& query) {
    QString escaped;
    for (const QChar c : query) {
        if (c == u'\\' || c == u'%' || c == u'_') escaped += u'\\';
        escaped += c;
    }
    return u'%' + escaped + u'%';
}

QString jsonArray(const QStringList& values) {
    return QString::fromUtf8(
        QJsonDocument(QJsonArray::fromStringList(values)).toJson(QJsonDocument::Compact));
}

QString flatten(QString text) {
    for (QChar& c : text) {
        if (c == u'\n' || c == u'\r' || c == u'\t' || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return text;
}

}  // namespace

QString SourceName(Source source) {
    switch (source) {
        case Source::Stem:
            return QStringLiteral("题干");
        case Source::SharedStem:
            return QStringLiteral("共用题干");
        case Source::Explanation:
            return QStringLiteral("解析");
        case Source::KnowledgePoint:
            return QStringLiteral("考点");
        case Source::Note:
            return QStringLiteral("笔记");
    }
    return {};
}

QString IndexPathFor(const QString& bankPath) {
    QString base = bankPath;
    if (base.endsWith(QLatin1String(".db"), Qt::CaseInsensitive)) base.chop(3);
    return base + QStringLiteral(".search.db");
}

Snippet MakeSnippet(const QString& body, const QString& query, int before, int width) {
    const QString flat = flatten(body);
    const qsizetype qlen = query.size();
    qsizetype pos = qlen > 0 ? flat.indexOf(query, 0, Qt::CaseInsensitive) : -1;
    const qsizetype matchLength = pos < 0 ? 0 : qlen;
    if (pos < 0) pos = 0;
    qsizetype start = std::max<qsizetype>(0, pos - before);
    qsizetype end = std::min<qsizetype>(flat.size(), start + std::max<qsizetype>(width, 1));
    if (pos + matchLength > end) end = std::min<qsizetype>(flat.size(), pos + matchLength);
    // Never cut a character made of two code units in half.
    if (start > 0 && flat[start].isLowSurrogate()) --start;
    if (end < flat.size() && end > 0 && flat[end - 1].isHighSurrogate()) ++end;

    Snippet s;
    const QString lead = start > 0 ? QStringLiteral("…") : QString();
    s.text =
        lead + flat.mid(start, end - start) + (end < flat.size() ? QStringLiteral("…") : QString());
    if (matchLength == 0) return s;
    for (qsizetype p = flat.indexOf(query, start, Qt::CaseInsensitive); p >= 0 && p + qlen <= end;
         p = flat.indexOf(query, p + qlen, Qt::CaseInsensitive)) {
        s.marks.push_back({static_cast<int>(p - start + lead.size()), static_cast<int>(qlen)});
    }
    return s;
}

QString PracticeSqlFor(const QStringList& questionIds) {
    const QString list =
        questionIds.isEmpty() ? QStringLiteral("(null)") : store::quotedList(questionIds);
    return QStringLiteral("select * from tab_answ where a1 in ") + list +
           QStringLiteral(" and (f1<>1) order by a13,a10,xx,a1");
}

// ------------------------------------------------------------------ the index

SearchIndex::SearchIndex(store::Database& bank, QString indexPath)
    : bank_(bank), path_(std::move(indexPath)) {}

SearchIndex::~SearchIndex() = default;

bool SearchIndex::OpenExisting() {
    if (!QFile::exists(path_)) return false;
    try {
        index_.open(path_);
        if (index_.isReadOnly() ||
            index_.scalar(QStringLiteral("select value from meta where name='format'")).toInt() !=
                kFormat) {
            index_.close();
            return false;
        }
        // A file that is no database at all fails here, not at the first search.
        index_.scalar(QStringLiteral("select count(*) from src_rows where 0"));
        index_.scalar(QStringLiteral("select count(*) from doc where 0"));
        index_.execute(QStringLiteral("PRAGMA synchronous=NORMAL"));
    } catch (const store::EngineError&) {
        index_.close();
        return false;
    }
    return true;
}

void SearchIndex::create() {
    index_.close();
    removeIndexFiles(path_);
    index_.open(path_, store::Database::OpenMode::Create);
    // Derived data: a crash may lose the last change, which the figures then show.
    index_.execute(QStringLiteral("PRAGMA synchronous=NORMAL"));
    store::Transaction tx(index_);
    index_.execute(QStringLiteral("create table meta (name text primary key, value)"));
    index_.execute(QStringLiteral(
        "create table src_rows (id integer primary key, src integer not null, key text, "
        "bank_rowid integer not null, len integer not null)"));
    index_.execute(QStringLiteral("create index ix_src_rows_key on src_rows (src, key)"));
    index_.execute(QStringLiteral("create index ix_src_rows_rowid on src_rows (src, bank_rowid)"));
    index_.execute(QStringLiteral("create virtual table doc using fts5(body, tokenize='trigram')"));
    index_.execute(QStringLiteral("insert into meta (name, value) values ('format', ?)"),
                   {{{}, kFormat}});
    tx.commit();
}

QVector<Source> SearchIndex::Open(const Progress& progress) {
    if (!OpenExisting()) create();
    QVector<Source> stale = StaleSources();
    int step = 0;
    for (Source s : stale) {
        if (progress) progress(++step, static_cast<int>(stale.size()));
        store::Transaction tx(index_);
        indexSource(s, 0, true);
        tx.commit();
    }
    return stale;
}

QVector<Source> SearchIndex::StaleSources() {
    QVector<Source> stale;
    for (const SourceSpec& s : kSources) {
        if (!(bankFigures(bank_, s) == indexFigures(index_, s.source))) stale << s.source;
    }
    return stale;
}

void SearchIndex::insertRows(Source source, const QString& where, const store::Params& params) {
    const SourceSpec& s = specOf(source);
    const QString sql = QStringLiteral("select rowid, %1, %2, length(%2) from %3 where ")
                            .arg(name(s.key), name(s.text), name(s.table)) +
                        where;
    bank_.query(sql, params, [&](store::Statement& row) {
        index_.execute(
            QStringLiteral("insert into src_rows (src, key, bank_rowid, len) values (?,?,?,?)"),
            {{{}, static_cast<int>(source)},
             {{}, row.value(1).toString()},
             {{}, row.value(0)},
             {{}, row.value(3).toLongLong()}});
        const qint64 id = sqlite3_last_insert_rowid(index_.handle());
        const QString body = plainTextOf(row.value(2), s.rich);
        if (body.trimmed().isEmpty()) return;
        index_.execute(QStringLiteral("insert into doc (rowid, body) values (?,?)"),
                       {{{}, id}, {{}, body}});
    });
}

void SearchIndex::indexSource(Source source, qint64 afterRowId, bool wipe) {
    if (wipe) {
        const store::Params src{{{}, static_cast<int>(source)}};
        index_.execute(
            QStringLiteral("delete from doc where rowid in (select id from src_rows where src=?)"),
            src);
        index_.execute(QStringLiteral("delete from src_rows where src=?"), src);
    }
    insertRows(source, QStringLiteral("rowid > ?"), {{{}, afterRowId}});
}

void SearchIndex::reindexKeys(Source source, const QStringList& keys) {
    const SourceSpec& s = specOf(source);
    for (const QString& key : keys) {
        const store::Params params{{{}, static_cast<int>(source)}, {{}, key}};
        index_.execute(QStringLiteral("delete from doc where rowid in "
                                      "(select id from src_rows where src=? and key=?)"),
                       params);
        index_.execute(QStringLiteral("delete from src_rows where src=? and key=?"), params);
        insertRows(source, name(s.key) + QStringLiteral(" = ?"), {{{}, key}});
    }
}

void SearchIndex::Apply(const store::TextChange& change) {
    if (!isOpen()) return;
    store::Transaction tx(index_);
    for (Source s : {Source::Stem, Source::Explanation, Source::Note})
        reindexKeys(s, change.questions);
    reindexKeys(Source::SharedStem, change.sharedStems);
    reindexKeys(Source::KnowledgePoint, change.points);
    if (change.appended) {
        for (const SourceSpec& s : kSources)
            indexSource(s.source, indexFigures(index_, s.source).maxRowId, false);
        // Anything else the bulk write changed is indexed again from the start.
        for (Source s : StaleSources())
            indexSource(s, 0, true);
    }
    tx.commit();
}

// ------------------------------------------------------------------ searching

SearchResult SearchIndex::Search(const QString& text, int limit) {
    SearchResult result;
    result.query = text.trimmed();
    const QString q = result.query;
    if (q.isEmpty() || !isOpen()) return result;

    struct Hit {
        QString key;
        qint64 doc;
    };
    std::array<QVector<Hit>, kSourceCount> hits;
    result.scanned = q.toUcs4().size() < 3;
    const QString sql = result.scanned
                            ? QStringLiteral(
                                  "select s.src, s.key, s.id from doc join src_rows s on s.id = "
                                  "doc.rowid where doc.body like ? escape '\\'")
                            : QStringLiteral(
                                  "select s.src, s.key, s.id from doc join src_rows s on s.id = "
                                  "doc.rowid where doc match ?");
    index_.query(sql, {{{}, result.scanned ? likePattern(q) : ftsString(q)}},
                 [&](store::Statement& row) {
                     const int src = row.value(0).toInt();
                     if (src < 1 || src > kSourceCount) return;
                     hits[static_cast<size_t>(src - 1)].push_back(
                         {row.value(1).toString(), row.value(2).toLongLong()});
                 });

    // Questions in listing order: by the first place they were found, then by id.
    struct Entry {
        Source source;
        qint64 doc;
        QVector<Source> sources;
    };
    QHash<QString, int> position;
    QVector<std::pair<QString, Entry>> entries;
    const auto add = [&](const QString& id, Source source, qint64 doc) {
        const auto it = position.constFind(id);
        if (it == position.constEnd()) {
            position.insert(id, static_cast<int>(entries.size()));
            entries.push_back({id, Entry{source, doc, {source}}});
        } else {
            QVector<Source>& sources = entries[*it].second.sources;
            if (!sources.contains(source)) sources << source;
        }
    };
    for (const SourceSpec& s : kSources) {
        QVector<Hit>& found = hits[static_cast<size_t>(static_cast<int>(s.source) - 1)];
        if (found.isEmpty()) continue;
        std::sort(found.begin(), found.end(), [](const Hit& a, const Hit& b) {
            return a.key < b.key || (a.key == b.key && a.doc < b.doc);
        });
        if (s.source != Source::SharedStem && s.source != Source::KnowledgePoint) {
            for (const Hit& h : found)
                add(h.key, s.source, h.doc);
            continue;
        }
        QHash<QString, qint64> docOf;
        QStringList keys;
        for (const Hit& h : found) {
            if (docOf.contains(h.key)) continue;
            docOf.insert(h.key, h.doc);
            keys << h.key;
        }
        const store::Params params{{{}, jsonArray(keys)}};
        if (s.source == Source::SharedStem) {
            // The questions of a group: ids with "-" whose first 16 characters name it.
            bank_.query(QStringLiteral("select a1, substr(a1,1,16) from tab_answ where "
                                       "substr(a1,1,16) in (select value from json_each(?)) "
                                       "and instr(a1,'-')>0 order by a1"),
                        params, [&](store::Statement& row) {
                            add(row.value(0).toString(), s.source,
                                docOf.value(row.value(1).toString()));
                        });
        } else {
            // The questions that list the knowledge point in one of their slots.
            // Only those rows leave the engine; the loop below picks the slot.
            const QSet<QString> wanted(keys.begin(), keys.end());
            QStringList slotTests;
            store::Params slotParams;
            for (int k = 3; k <= 12; ++k) {
                slotTests << QStringLiteral("k%1 in (select value from json_each(?))").arg(k);
                slotParams.push_back(params.front());
            }
            bank_.query(QStringLiteral("select a1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12 from tab_answ "
                                       "where ") +
                            slotTests.join(QStringLiteral(" or ")) + QStringLiteral(" order by a1"),
                        slotParams, [&](store::Statement& row) {
                            for (int i = 1; i <= 10; ++i) {
                                const QString ftid = row.value(i).toString();
                                if (!ftid.isEmpty() && wanted.contains(ftid)) {
                                    add(row.value(0).toString(), s.source, docOf.value(ftid));
                                    return;
                                }
                            }
                        });
        }
    }

    result.total = static_cast<int>(entries.size());
    const int listed = std::min<int>(result.total, std::max(limit, 0));
    result.questions.reserve(listed);
    for (int i = 0; i < listed; ++i) {
        const auto& [id, e] = entries[i];
        Found f;
        f.questionId = id;
        f.source = e.source;
        f.sources = e.sources;
        std::sort(f.sources.begin(), f.sources.end());
        const QString body =
            index_.scalar(QStringLiteral("select body from doc where rowid=?"), {{{}, e.doc}})
                .toString();
        f.snippet = MakeSnippet(body, q);
        result.questions << f;
    }
    return result;
}

// ------------------------------------------------------------------ upkeep

int KeepIndexCurrent(store::Database& bank) {
    return bank.addTextListener([&bank](const store::TextChange& change) {
        const QString path = IndexPathFor(bank.path());
        if (!QFile::exists(path)) return;
        SearchIndex index(bank, path);
        if (!index.OpenExisting()) {
            removeIndexFiles(path);
            return;
        }
        try {
            index.Apply(change);
        } catch (...) {
            // An index that missed a change is no longer trusted: the next search
            // makes it again.
            index.Close();
            removeIndexFiles(path);
            throw;
        }
    });
}

}  // namespace search
