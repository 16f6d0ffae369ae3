#include "JetSql.h"

#include <vector>

namespace store {
namespace {

struct Token {
    enum Kind { Space, Word, Text, Ident, Number, Param, Punct };
    Kind kind;
    QString text;
};

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

// Splits SQL into tokens, keeping quoted text intact ('' inside a literal stays).
std::vector<Token> tokenize(const QString& sql) {
    std::vector<Token> out;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        const qsizetype start = i;
        if (c.isSpace()) {
            while (i < n && sql[i].isSpace())
                ++i;
            out.push_back({Token::Space, sql.mid(start, i - start)});
        } else if (c == u'\'' || c == u'"' || c == u'[' || c == u'`') {
            const QChar close = c == u'[' ? u']' : c;
            ++i;
            while (i < n) {
                if (sql[i] == close) {
                    if (close != u']' && i + 1 < n && sql[i + 1] == close) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            out.push_back({c == u'\'' ? Token::Text : Token::Ident, sql.mid(start, i - start)});
        } else if ((c == u':' || c == u'@') && i + 1 < n && isWordChar(sql[i + 1])) {
            ++i;
            while (i < n && isWordChar(sql[i]))
                ++i;
            out.push_back({Token::Param, sql.mid(start, i - start)});
        } else if (c.isDigit()) {
            while (i < n && (sql[i].isDigit() || sql[i] == u'.'))
                ++i;
            out.push_back({Token::Number, sql.mid(start, i - start)});
        } else if (isWordChar(c)) {
            while (i < n && isWordChar(sql[i]))
                ++i;
            out.push_back({Token::Word, sql.mid(start, i - start)});
        } else {
            ++i;
            out.push_back({Token::Punct, QString(c)});
        }
    }
    return out;
}

bool isWord(const Token& t, const char* word) {
    return t.kind == Token::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// Index of the next token that is not blank, or tokens.size().
size_t nextSolid(const std::vector<Token>& tokens, size_t i) {
    while (i < tokens.size() && tokens[i].kind == Token::Space)
        ++i;
    return i;
}

QString unquoteText(const QString& literal) {
    QString inner = literal.mid(1, literal.size() - 2);
    return inner.replace(QLatin1String("''"), QLatin1String("'"));
}

QString identifierText(const Token& t) {
    if (t.kind == Token::Word) return t.text;
    QString inner = t.text.mid(1, t.text.size() - 2);
    if (t.text.startsWith(u'"')) inner.replace(QLatin1String("\"\""), QLatin1String("\""));
    return inner;
}

QString asSqliteIdentifier(const Token& t) {
    if (t.kind != Token::Ident || t.text.startsWith(u'"')) return t.text;
    QString inner = identifierText(t);
    return u'"' + inner.replace(u'"', QLatin1String("\"\"")) + u'"';
}

bool startsWithWords(const std::vector<Token>& tokens, const char* first, const char* second) {
    const size_t a = nextSolid(tokens, 0);
    if (a >= tokens.size() || !isWord(tokens[a], first)) return false;
    const size_t b = nextSolid(tokens, a + 1);
    return b < tokens.size() && isWord(tokens[b], second);
}

}  // namespace

TranslatedSql translateJetSql(const QString& sql,
                              const std::function<QString(const QString&)>& attach) {
    std::vector<Token> tokens = tokenize(sql);
    const bool createTable = startsWithWords(tokens, "create", "table");
    TranslatedSql result;
    QString out;
    out.reserve(sql.size() + 16);
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.kind == Token::Ident) {
            out += asSqliteIdentifier(t);
            continue;
        }
        if (t.kind != Token::Word) {
            out += t.text;
            continue;
        }
        const size_t next = nextSolid(tokens, i + 1);
        const bool callFollows = next < tokens.size() && tokens[next].text == QLatin1String("(");
        // LEFT and RIGHT are join keywords to SQLite, so the functions get other names.
        if (callFollows && (isWord(t, "left") || isWord(t, "right"))) {
            out += isWord(t, "left") ? QLatin1String("jet_left") : QLatin1String("jet_right");
            continue;
        }
        if (isWord(t, "delete") && next < tokens.size() &&
            tokens[next].text == QLatin1String("*")) {
            out += t.text;
            i = next;  // drop the "*"
            continue;
        }
        if (isWord(t, "from") && next < tokens.size() &&
            (tokens[next].kind == Token::Word || tokens[next].kind == Token::Ident)) {
            const size_t in = nextSolid(tokens, next + 1);
            const size_t file = in < tokens.size() ? nextSolid(tokens, in + 1) : in;
            if (in < tokens.size() && isWord(tokens[in], "in") && file < tokens.size() &&
                tokens[file].kind == Token::Text) {
                const QString path = unquoteText(tokens[file].text);
                result.foreignFiles << path;
                out += t.text + u' ' + attach(path) + u'.' + asSqliteIdentifier(tokens[next]);
                i = file;
                continue;
            }
        }
        if (createTable) {
            // Notes must stay text even when they look like numbers.
            if (isWord(t, "memo")) {
                out += QLatin1String("TEXT");
                continue;
            }
            if (isWord(t, "image")) {
                out += QLatin1String("BLOB");
                continue;
            }
        }
        out += t.text;
    }
    result.sql = out;
    return result;
}

SelectSource singleTableSource(const QString& sql) {
    const std::vector<Token> tokens = tokenize(sql);
    size_t i = nextSolid(tokens, 0);
    if (i >= tokens.size() || !isWord(tokens[i], "select")) return {};
    int depth = 0;
    size_t from = tokens.size();
    for (size_t k = i; k < tokens.size(); ++k) {
        const Token& t = tokens[k];
        if (t.text == QLatin1String("(")) ++depth;
        if (t.text == QLatin1String(")")) --depth;
        if (depth != 0) continue;
        if (isWord(t, "distinct") || isWord(t, "group") || isWord(t, "union")) return {};
        if (isWord(t, "from") && from == tokens.size()) from = k;
    }
    if (from == tokens.size()) return {};
    const size_t tableAt = nextSolid(tokens, from + 1);
    if (tableAt >= tokens.size() ||
        (tokens[tableAt].kind != Token::Word && tokens[tableAt].kind != Token::Ident)) {
        return {};
    }
    SelectSource source;
    source.table = identifierText(tokens[tableAt]);
    source.reference = asSqliteIdentifier(tokens[tableAt]);
    size_t after = nextSolid(tokens, tableAt + 1);
    if (after < tokens.size() && isWord(tokens[after], "as")) after = nextSolid(tokens, after + 1);
    static const char* const kClauseWords[] = {"where", "order", "limit", "in", "group", "having"};
    if (after < tokens.size() && tokens[after].kind == Token::Word) {
        bool clause = false;
        for (const char* w : kClauseWords)
            clause = clause || isWord(tokens[after], w);
        if (!clause) {
            // A join keyword or a second table makes the result read-only.
            for (const char* w : {"join", "left", "right", "inner", "cross", "natural", "outer"}) {
                if (isWord(tokens[after], w)) return {};
            }
            source.reference = tokens[after].text;
            after = nextSolid(tokens, after + 1);
        }
    }
    if (after < tokens.size() && tokens[after].text == QLatin1String(",")) return {};
    for (size_t k = after; k < tokens.size(); ++k) {
        if (isWord(tokens[k], "join")) return {};
    }
    return source;
}

QString withRowId(const QString& sql, const SelectSource& source) {
    const std::vector<Token> tokens = tokenize(sql);
    QString out;
    bool done = false;
    for (const Token& t : tokens) {
        out += t.text;
        if (!done && isWord(t, "select")) {
            out += u' ' + source.reference + QLatin1String(".rowid AS __rowid__,");
            done = true;
        }
    }
    return out;
}

}  // namespace store
