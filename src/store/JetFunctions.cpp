#include "JetFunctions.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>

namespace store {
namespace {

QString textArg(sqlite3_value* v) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return QString::fromUtf8(text, sqlite3_value_bytes(v));
}

void resultText(sqlite3_context* ctx, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text64(ctx, utf8.constData(), static_cast<sqlite3_uint64>(utf8.size()),
                          SQLITE_TRANSIENT, SQLITE_UTF8);
}

bool anyNull(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
    }
    return false;
}

// Left(text, n) and Right(text, n) count characters, not bytes.
template <bool FromLeft>
void leftRight(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const sqlite3_int64 n = sqlite3_value_int64(argv[1]);
    if (n < 0) {
        sqlite3_result_error(ctx, "Invalid procedure call: negative length", -1);
        return;
    }
    // Chapter codes and question ids are ASCII: when every byte kept is, bytes are
    // characters and the part is cut straight from the engine's text. This runs on
    // every row a chapter or kind statement scans.
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const sqlite3_int64 size = sqlite3_value_bytes(argv[0]);
    if (bytes != nullptr) {
        const sqlite3_int64 kept = std::min(n, size);
        const char* from = FromLeft ? bytes : bytes + (size - kept);
        if (std::all_of(from, from + kept, [](char c) { return (c & 0x80) == 0; })) {
            sqlite3_result_text64(ctx, from, static_cast<sqlite3_uint64>(kept), SQLITE_TRANSIENT,
                                  SQLITE_UTF8);
            return;
        }
    }
    const QString text = textArg(argv[0]);
    resultText(ctx, FromLeft ? text.left(static_cast<qsizetype>(n))
                             : text.right(static_cast<qsizetype>(n)));
}

void lenFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int64(ctx, textArg(argv[0]).size());
}

void rtrimFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    QString text = textArg(argv[0]);
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    resultText(ctx, text.left(end));
}

void cintFunction(sqlite3_context* ctx, int /*argc*/, sqlite3_value** argv) {
    QVariant arg;
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_NULL:
            sqlite3_result_null(ctx);
            return;
        case SQLITE_INTEGER:
            arg = static_cast<qlonglong>(sqlite3_value_int64(argv[0]));
            break;
        case SQLITE_FLOAT:
            arg = sqlite3_value_double(argv[0]);
            break;
        default:
            arg = textArg(argv[0]);
    }
    const CintResult r = jetCint(arg);
    if (!r.value) {
        const QByteArray message = r.error.toUtf8();
        sqlite3_result_error(ctx, message.constData(), static_cast<int>(message.size()));
        return;
    }
    sqlite3_result_int(ctx, *r.value);
}

void define(sqlite3* db, const char* name, int argc,
            void (*fn)(sqlite3_context*, int, sqlite3_value**)) {
    sqlite3_create_function_v2(db, name, argc, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, fn,
                               nullptr, nullptr, nullptr);
}

}  // namespace

CintResult jetCint(const QVariant& value) {
    double number = 0;
    if (value.typeId() == QMetaType::QString) {
        bool ok = false;
        const QString text = value.toString().trimmed();
        number = text.toDouble(&ok);
        if (!ok || text.isEmpty() || !std::isfinite(number)) {
            return {
                std::nullopt,
                QStringLiteral("Data type mismatch: '%1' is not a number").arg(value.toString())};
        }
    } else {
        number = value.toDouble();
    }
    // The default rounding mode rounds halves to the even neighbour, as CINT did.
    const double rounded = std::nearbyint(number);
    if (rounded < -32768.0 || rounded > 32767.0) {
        return {std::nullopt, QStringLiteral("Overflow: %1 does not fit an integer").arg(number)};
    }
    return {static_cast<int>(rounded), {}};
}

void registerJetFunctions(sqlite3* db) {
    define(db, "jet_left", 2, leftRight<true>);
    define(db, "jet_right", 2, leftRight<false>);
    define(db, "len", 1, lenFunction);
    define(db, "rtrim", 1, rtrimFunction);
    define(db, "cint", 1, cintFunction);
}

}  // namespace store
