#include "Filter.h"

#include "Engine.h"

#include <QRegularExpression>

#include <algorithm>

namespace store {
namespace {

bool isNumeric(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Bool:
            return true;
        default:
            return false;
    }
}

// Reads a value as a number when it is one or is text that spells one.
bool asNumber(const QVariant& v, double* out) {
    // Whole numbers, as every integer column reads, skip the general conversion.
    if (v.typeId() == QMetaType::LongLong) {
        *out = static_cast<double>(v.toLongLong());
        return true;
    }
    if (isNumeric(v)) {
        *out = v.toDouble();
        return true;
    }
    if (v.typeId() != QMetaType::QString) return false;
    bool ok = false;
    *out = v.toString().trimmed().toDouble(&ok);
    return ok;
}

enum class Op { Eq, Ne, Lt, Le, Gt, Ge, Like };

struct Lexer {
    const QString& text;
    qsizetype pos = 0;

    void skipBlanks() {
        while (pos < text.size() && text[pos].isSpace())
            ++pos;
    }
    bool atEnd() {
        skipBlanks();
        return pos >= text.size();
    }
    [[noreturn]] void error(const QString& what) const {
        throw EngineError(
            QStringLiteral("filter \"%1\": %2 at position %3").arg(text, what).arg(pos + 1));
    }
    bool peekChar(QChar c) {
        skipBlanks();
        return pos < text.size() && text[pos] == c;
    }
    QString word() {
        skipBlanks();
        const qsizetype start = pos;
        if (pos < text.size() && text[pos] == u'[') {
            const qsizetype close = text.indexOf(u']', pos);
            if (close < 0) error(QStringLiteral("unclosed ["));
            pos = close + 1;
            return text.mid(start + 1, close - start - 1);
        }
        while (pos < text.size() && (text[pos].isLetterOrNumber() || text[pos] == u'_'))
            ++pos;
        return text.mid(start, pos - start);
    }
    bool keyword(const char* kw) {
        skipBlanks();
        const qsizetype save = pos;
        const QString w = word();
        if (w.compare(QLatin1String(kw), Qt::CaseInsensitive) == 0) return true;
        pos = save;
        return false;
    }
    Op op() {
        skipBlanks();
        static const std::pair<const char*, Op> kOps[] = {
            {"<>", Op::Ne}, {"<=", Op::Le}, {">=", Op::Ge}, {"!=", Op::Ne},
            {"=", Op::Eq},  {"<", Op::Lt},  {">", Op::Gt},
        };
        for (const auto& [spelling, op] : kOps) {
            if (text.mid(pos).startsWith(QLatin1String(spelling))) {
                pos += static_cast<qsizetype>(qstrlen(spelling));
                return op;
            }
        }
        if (keyword("like")) return Op::Like;
        error(QStringLiteral("expected a comparison"));
    }
    QVariant literal() {
        skipBlanks();
        if (pos >= text.size()) error(QStringLiteral("expected a value"));
        if (text[pos] == u'\'' || text[pos] == u'"') {
            const QChar quote = text[pos++];
            QString value;
            while (true) {
                if (pos >= text.size()) error(QStringLiteral("unclosed quote"));
                if (text[pos] == quote) {
                    if (pos + 1 < text.size() && text[pos + 1] == quote) {
                        value += quote;
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    return value;
                }
                value += text[pos++];
            }
        }
        const qsizetype start = pos;
        if (text[pos] == u'-' || text[pos] == u'+') ++pos;
        while (pos < text.size() && (text[pos].isDigit() || text[pos] == u'.'))
            ++pos;
        bool ok = false;
        const double number = text.mid(start, pos - start).toDouble(&ok);
        if (!ok) {
            pos = start;
            error(QStringLiteral("expected a quoted text or a number"));
        }
        return number;
    }
};

struct Parser {
    Lexer lex;
    const QStringList& columns;

    RowPredicate orExpr() {
        RowPredicate left = andExpr();
        while (lex.keyword("or")) {
            RowPredicate right = andExpr();
            left = [l = std::move(left), r = std::move(right)](const QVector<QVariant>& row) {
                return l(row) || r(row);
            };
        }
        return left;
    }
    RowPredicate andExpr() {
        RowPredicate left = primary();
        while (lex.keyword("and")) {
            RowPredicate right = primary();
            left = [l = std::move(left), r = std::move(right)](const QVector<QVariant>& row) {
                return l(row) && r(row);
            };
        }
        return left;
    }
    RowPredicate primary() {
        if (lex.peekChar(u'(')) {
            ++lex.pos;
            RowPredicate inner = orExpr();
            if (!lex.peekChar(u')')) lex.error(QStringLiteral("expected )"));
            ++lex.pos;
            return inner;
        }
        return comparison();
    }
    RowPredicate comparison() {
        const QString field = lex.word();
        if (field.isEmpty()) lex.error(QStringLiteral("expected a field name"));
        qsizetype column = -1;
        for (qsizetype i = 0; i < columns.size(); ++i) {
            if (columns[i].compare(field, Qt::CaseInsensitive) == 0) {
                column = i;
                break;
            }
        }
        if (column < 0) lex.error(QStringLiteral("unknown field %1").arg(field));
        const Op op = lex.op();
        const QVariant value = lex.literal();
        if (op == Op::Like) return likePredicate(column, value.toString());
        return [column, op, value](const QVector<QVariant>& row) {
            const QVariant& v = row[column];
            if (v.isNull()) return false;
            const int c = compareValues(v, value);
            switch (op) {
                case Op::Eq:
                    return c == 0;
                case Op::Ne:
                    return c != 0;
                case Op::Lt:
                    return c < 0;
                case Op::Le:
                    return c <= 0;
                case Op::Gt:
                    return c > 0;
                case Op::Ge:
                    return c >= 0;
                case Op::Like:
                    break;
            }
            return false;
        };
    }
    static RowPredicate likePredicate(qsizetype column, const QString& pattern) {
        // A code prefix such as '01*' is the common pattern: digits and signs have
        // no case, so it is a plain prefix test, without a match engine per row.
        const QString prefix = pattern.chopped(pattern.isEmpty() ? 0 : 1);
        const bool plainPrefix = (pattern.endsWith(u'*') || pattern.endsWith(u'%')) &&
                                 std::all_of(prefix.begin(), prefix.end(), [](QChar c) {
                                     return c.unicode() > u' ' && c.unicode() < 0x7f &&
                                            !c.isLetter() && c != u'*' && c != u'%';
                                 });
        if (plainPrefix) {
            return [column, prefix](const QVector<QVariant>& row) {
                const QVariant& v = row[column];
                if (v.isNull()) return false;
                if (v.typeId() == QMetaType::QString) {
                    return static_cast<const QString*>(v.constData())->startsWith(prefix);
                }
                return v.toString().startsWith(prefix);
            };
        }
        QString regex;
        for (const QChar c : pattern) {
            if (c == u'*' || c == u'%') {
                regex += QLatin1String(".*");
            } else {
                regex += QRegularExpression::escape(QString(c));
            }
        }
        const QRegularExpression re(QRegularExpression::anchoredPattern(regex),
                                    QRegularExpression::CaseInsensitiveOption |
                                        QRegularExpression::DotMatchesEverythingOption);
        return [column, re](const QVector<QVariant>& row) {
            const QVariant& v = row[column];
            return !v.isNull() && re.match(v.toString()).hasMatch();
        };
    }
};

}  // namespace

int compareValues(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull()) return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    double x = 0;
    double y = 0;
    if ((isNumeric(a) || isNumeric(b)) && asNumber(a, &x) && asNumber(b, &y)) {
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return QString::compare(a.toString(), b.toString(), Qt::CaseInsensitive);
}

RowPredicate compileFilter(const QString& filter, const QStringList& columns) {
    Parser parser{Lexer{filter}, columns};
    if (parser.lex.atEnd()) return {};
    RowPredicate predicate = parser.orExpr();
    if (!parser.lex.atEnd()) parser.lex.error(QStringLiteral("unexpected text"));
    return predicate;
}

}  // namespace store
