#include "SourceReader.h"

#include "AnswerModel.h"
#include "Markup.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <optional>
#include <utility>

namespace qbank {
namespace {

using practice::AnswerKind;

struct Line {
    int number;
    QString text;
    bool literal = false;  // written with a leading "\": never a field
};

struct Block {
    QString keyword;  // "chapter", "question", "end group", ...
    QStringList args;
    QString title;  // text after the closing bracket
    SourcePos pos;
    QVector<Line> body;
};

const QSet<QString>& keywords() {
    static const QSet<QString> words{
        QStringLiteral("kind"),    QStringLiteral("settings"), QStringLiteral("product"),
        QStringLiteral("group"),   QStringLiteral("entry"),    QStringLiteral("point"),
        QStringLiteral("chapter"), QStringLiteral("question"), QStringLiteral("end"),
    };
    return words;
}

// "[word args] title" when word is a block keyword.
std::optional<Block> header(const QString& line, const SourcePos& pos) {
    if (!line.startsWith(u'[')) return std::nullopt;
    const qsizetype close = line.indexOf(u']');
    if (close < 0) return std::nullopt;
    QStringList words = line.mid(1, close - 1).split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty() || !keywords().contains(words[0])) return std::nullopt;
    Block b;
    b.keyword = words.takeFirst();
    if (b.keyword == QLatin1String("end")) {
        if (words.value(0) != QLatin1String("group")) return std::nullopt;
        b.keyword = QStringLiteral("end group");
        words.removeFirst();
    }
    b.args = words;
    b.title = line.mid(close + 1).trimmed();
    b.pos = pos;
    return b;
}

// A body line "name: value" for one of the given names (ASCII or full-width colon).
std::optional<QString> field(const QString& line, const char* name) {
    const QString n = QLatin1String(name);
    if (!line.startsWith(n)) return std::nullopt;
    const QString rest = line.mid(n.size());
    if (rest.startsWith(u':') || rest.startsWith(QChar(0xFF1A))) return rest.mid(1).trimmed();
    return std::nullopt;
}

// The text of lines [from, to) without blank lines around it; firstLine gets the
// file line of its first line.
QString joinText(const QVector<Line>& lines, qsizetype from, qsizetype to,
                 int* firstLine = nullptr) {
    QStringList out;
    for (qsizetype i = from; i < to; ++i) {
        QString t = lines[i].text;
        while (!t.isEmpty() && t.back().isSpace())
            t.chop(1);
        out << t;
    }
    qsizetype skipped = 0;
    while (!out.isEmpty() && out.front().isEmpty()) {
        out.removeFirst();
        ++skipped;
    }
    if (firstLine != nullptr && from + skipped < to) *firstLine = lines[from + skipped].number;
    while (!out.isEmpty() && out.back().isEmpty())
        out.removeLast();
    return out.join(u'\n');
}

const QRegularExpression& optionLine() {
    static const QRegularExpression re(QStringLiteral("^([A-F])[.．、]"));
    return re;
}

constexpr int kMaxCount = 140;
constexpr double kMaxScore = 1000;
constexpr int kMinExamSeconds = 60;

// A fill-in answer is trimmed and then compared character for character, and the
// answer page asks for blanks separated by ",": a key with full-width forms ("，",
// "１") or blanks around a separator is one that a candidate's right answer misses.
bool typeableFillInKey(const QString& key) {
    for (qsizetype i = 0; i < key.size(); ++i) {
        const char16_t c = key[i].unicode();
        if (c >= 0xFF01 && c <= 0xFF5E) return false;
        if (c == u',' &&
            ((i > 0 && key[i - 1].isSpace()) || (i + 1 < key.size() && key[i + 1].isSpace()))) {
            return false;
        }
    }
    return true;
}

bool isCode(const QString& s) {
    static const QRegularExpression re(QStringLiteral("^[0-9A-Za-z]+$"));
    return re.match(s).hasMatch();
}

class Reader {
  public:
    explicit Reader(QString baseDir, const UpgradeBase* base = nullptr)
        : baseDir_(std::move(baseDir)), base_(base) {}
    ReadResult result;

    void readFile(const QString& file, const QString& text) {
        file_ = file;
        if (firstFile_.isEmpty()) firstFile_ = file;
        std::optional<Block> current;
        const QStringList lines = text.split(u'\n');
        for (int i = 0; i < lines.size(); ++i) {
            QString line = lines[i];
            if (line.endsWith(u'\r')) line.chop(1);
            if (i == 0 && line.startsWith(QChar(0xFEFF))) line.remove(0, 1);
            // A leading backslash makes the rest of the line plain text, whatever it starts with.
            if (line.startsWith(u'\\')) {
                if (current) {
                    current->body.push_back({i + 1, line.mid(1), true});
                } else {
                    error({file, i + 1}, QStringLiteral("text before the first [block]"));
                }
                continue;
            }
            if (line.startsWith(u'#')) continue;
            if (auto h = header(line, {file, i + 1})) {
                if (current) handle(*current);
                current = h;
                continue;
            }
            if (current) {
                current->body.push_back({i + 1, line});
            } else if (!line.trimmed().isEmpty()) {
                error({file, i + 1}, QStringLiteral("text before the first [block]"));
            }
        }
        if (current) handle(*current);
        if (openGroup_ >= 0) {
            error(result.bank.groups[openGroup_].pos,
                  QStringLiteral("[group] without [end group]"));
            openGroup_ = -1;
        }
        chapter_.clear();
        firstQuestion_.reset();
    }

    void finish() {
        checkCatalogue();
        checkQuestionPoints();
        assignIds();
        if (base_ != nullptr) checkProduct();
    }

  private:
    void error(const SourcePos& pos, const QString& message) {
        result.errors << pos.where() + QStringLiteral(": ") + message;
    }

    void checkText(const QString& text, int firstLine) {
        for (const MarkupError& e : CheckMarkup(text, baseDir_)) {
            error({file_, firstLine + e.line}, e.message);
        }
    }

    void handle(const Block& b) {
        if (base_ != nullptr &&
            (b.keyword == QLatin1String("kind") || b.keyword == QLatin1String("settings"))) {
            return error(b.pos, QStringLiteral("an upgrade has no [kind] or [settings]: the "
                                               "bank's question types and settings stay"));
        }
        if (b.keyword == QLatin1String("kind")) return readKind(b);
        if (b.keyword == QLatin1String("settings")) return readSettings(b);
        if (b.keyword == QLatin1String("product")) return readProduct(b);
        if (b.keyword == QLatin1String("group")) {
            return b.title.isEmpty() ? readQuestionGroup(b) : readCatalogueGroup(b);
        }
        if (b.keyword == QLatin1String("entry")) return readEntry(b);
        if (b.keyword == QLatin1String("point")) return readPoint(b);
        if (b.keyword == QLatin1String("chapter")) return readChapter(b);
        if (b.keyword == QLatin1String("question")) return readQuestion(b);
        if (b.keyword == QLatin1String("end group")) return endGroup(b);
    }

    void noStrayText(const Block& b) {
        for (const Line& l : b.body) {
            if (!l.text.trimmed().isEmpty()) {
                error({file_, l.number}, QStringLiteral("unexpected text in [%1]").arg(b.keyword));
                return;
            }
        }
    }

    // ---------------------------------------------------------- types.txt

    void readKind(const Block& b) {
        bool ok = false;
        const int number = b.args.value(0).toInt(&ok);
        if (!ok || number < 1 || number > 5 || b.args.size() != 1) {
            return error(b.pos, QStringLiteral("a kind is numbered 1 to 5: [kind N]"));
        }
        for (const Kind& k : result.bank.kinds) {
            if (k.number == number)
                return error(b.pos, QStringLiteral("kind %1 twice").arg(number));
        }
        Kind kind;
        kind.number = number;
        for (const Line& l : b.body) {
            if (l.text.trimmed().isEmpty()) continue;
            const auto value = field(l.text, "type");
            if (!value) {
                error({file_, l.number}, QStringLiteral("expected \"type: ID NAME count=N "
                                                        "score=N time=N\""));
                continue;
            }
            if (auto row = typeRow(*value, {file_, l.number})) kind.types << *row;
        }
        result.bank.kinds << kind;
    }

    std::optional<TypeRow> typeRow(const QString& text, const SourcePos& pos) {
        const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
        TypeRow row;
        bool ok = false;
        row.id = words.value(0).toInt(&ok);
        if (!ok || row.id <= 0 || words.size() < 2) {
            error(pos, QStringLiteral("a type starts with its numeric id and its name"));
            return std::nullopt;
        }
        if (!practice::TypeToAnswerKind(row.id)) {
            error(pos, QStringLiteral("type %1 is not answered by any page (known: 61 to 66)")
                           .arg(row.id));
            return std::nullopt;
        }
        row.name = words[1];
        bool seen[3] = {false, false, false};
        for (const QString& w : words.mid(2)) {
            const QString name = w.section(u'=', 0, 0);
            const QString value = w.section(u'=', 1);
            bool numeric = false;
            const double number = value.toDouble(&numeric);
            if (!numeric) {
                error(pos, QStringLiteral("\"%1\" is not name=number").arg(w));
                return std::nullopt;
            }
            // A paper holds at most kMaxCount questions of a type; with the score's bound the
            // full mark stays a small whole number.
            if (name == QLatin1String("count") && number >= 0 && number <= kMaxCount &&
                number == int(number)) {
                row.count = int(number);
                seen[0] = true;
            } else if (name == QLatin1String("score") && number > 0 && number <= kMaxScore) {
                row.score = number;
                seen[1] = true;
            } else if (name == QLatin1String("time") && number >= 0.1 && number <= 30.0) {
                row.time = number;
                seen[2] = true;
            } else {
                error(pos, QStringLiteral("\"%1\": count is a whole number from 0 to %2, score "
                                          "lies above 0 and at most %3, time between 0.1 and 30 "
                                          "minutes")
                               .arg(w)
                               .arg(kMaxCount)
                               .arg(kMaxScore));
                return std::nullopt;
            }
        }
        if (!seen[0] || !seen[1] || !seen[2]) {
            error(pos, QStringLiteral("a type needs count=, score= and time="));
            return std::nullopt;
        }
        return row;
    }

    void readSettings(const Block& b) {
        static const QStringList known{QStringLiteral("PlanMark"), QStringLiteral("PlanAmount"),
                                       QStringLiteral("PlanTime"), QStringLiteral("ExamTime")};
        for (const Line& l : b.body) {
            if (l.text.trimmed().isEmpty()) continue;
            bool matched = false;
            for (const QString& name : known) {
                const auto value = field(l.text, name.toLatin1().constData());
                if (!value) continue;
                matched = true;
                bool ok = false;
                const int n = value->toInt(&ok);
                if (name == QLatin1String("ExamTime") && ok && n < kMinExamSeconds) {
                    error({file_, l.number},
                          QStringLiteral("ExamTime is at least %1 seconds").arg(kMinExamSeconds));
                } else if (!ok || n < 0) {
                    error({file_, l.number}, QStringLiteral("%1 is a whole number").arg(name));
                } else {
                    result.bank.settings[name] = n;
                }
            }
            if (!matched) {
                error({file_, l.number},
                      QStringLiteral("unknown setting (known: %1)").arg(known.join(u',')));
            }
        }
    }

    void readProduct(const Block& b) {
        for (const Line& l : b.body) {
            if (l.text.trimmed().isEmpty()) continue;
            if (auto v = field(l.text, "cpbs")) {
                result.bank.cpbs = *v;
                cpbsPos_ = {file_, l.number};
            } else if (auto w = field(l.text, "sjbs")) {
                result.bank.sjbs = *w;
                sjbsPos_ = {file_, l.number};
            } else {
                error({file_, l.number}, QStringLiteral("expected cpbs: or sjbs:"));
            }
        }
    }

    // ---------------------------------------------------------- catalogue

    bool newCatalogueId(const Block& b, qsizetype length, const char* what) {
        const QString id = b.args.value(0);
        if (b.args.size() != 1 || id.size() != length || !isCode(id)) {
            error(b.pos,
                  QStringLiteral("a %1 id has %2 characters").arg(QLatin1String(what)).arg(length));
            return false;
        }
        if (catalogueIds_.contains(id)) {
            error(b.pos, QStringLiteral("catalogue id %1 is used twice").arg(id));
            return false;
        }
        if (base_ != nullptr && base_->catalogue.contains(id)) {
            error(b.pos, QStringLiteral("catalogue id %1 is already in the bank").arg(id));
            return false;
        }
        catalogueIds_.insert(id);
        return true;
    }

    void readCatalogueGroup(const Block& b) {
        noStrayText(b);
        if (!newCatalogueId(b, 2, "group")) return;
        result.bank.catalogue.push_back({b.args[0], b.title, b.pos});
    }

    void readEntry(const Block& b) {
        noStrayText(b);
        if (b.title.isEmpty()) return error(b.pos, QStringLiteral("an entry needs a name"));
        if (!newCatalogueId(b, 6, "entry")) return;
        result.bank.catalogue.push_back({b.args[0], b.title, b.pos});
    }

    void readPoint(const Block& b) {
        const QString id = b.args.value(0);
        if (b.args.size() != 1 || id.size() < 6 || id.size() > 12 || !isCode(id)) {
            return error(b.pos, QStringLiteral("a point id has 6 to 12 characters"));
        }
        if (b.title.isEmpty()) return error(b.pos, QStringLiteral("a point needs a short name"));
        if (pointIds_.contains(id)) {
            return error(b.pos, QStringLiteral("point %1 is defined twice").arg(id));
        }
        if (base_ != nullptr && base_->points.contains(id)) {
            return error(b.pos, QStringLiteral("point %1 is already in the bank").arg(id));
        }
        pointIds_.insert(id);
        int first = b.pos.line;
        const QString text = joinText(b.body, 0, b.body.size(), &first);
        checkText(text, first);
        result.bank.points.push_back({id, b.title, text, b.pos});
    }

    // Whether the bank an upgrade is made for holds something (taken on trust when
    // no bank was named); never for a bank's own source.
    bool inBase(const QSet<QString> UpgradeBase::*set, const QString& key) const {
        return base_ != nullptr && (!base_->known || (base_->*set).contains(key));
    }

    void checkCatalogue() {
        for (const CatalogueNode& node : result.bank.catalogue) {
            if (node.id.size() == 6 && !catalogueIds_.contains(node.id.left(2)) &&
                !inBase(&UpgradeBase::catalogue, node.id.left(2))) {
                error(node.pos,
                      QStringLiteral("entry %1 has no group %2").arg(node.id, node.id.left(2)));
            }
        }
        for (const Point& p : result.bank.points) {
            if (!catalogueIds_.contains(p.id.left(6)) &&
                !inBase(&UpgradeBase::catalogue, p.id.left(6))) {
                error(p.pos, QStringLiteral("point %1 has no entry %2").arg(p.id, p.id.left(6)));
            }
        }
    }

    // ---------------------------------------------------------- chapters

    void readChapter(const Block& b) {
        if (openGroup_ >= 0) {
            error(b.pos, QStringLiteral("[chapter] inside a [group]: close it with [end group]"));
            openGroup_ = -1;
        }
        const QString code = b.args.value(0);
        chapter_.clear();
        if (b.args.size() != 1 || !isCode(code) ||
            (code.size() != 2 && code.size() != 4 && code.size() != 6)) {
            return error(b.pos, QStringLiteral("a chapter code has 2, 4 or 6 characters"));
        }
        if (b.title.isEmpty()) return error(b.pos, QStringLiteral("a chapter needs a name"));
        if (chapterCodes_.contains(code)) {
            return error(b.pos, QStringLiteral("chapter %1 is defined twice").arg(code));
        }
        if (base_ != nullptr && base_->chapters.contains(code)) {
            return error(b.pos, QStringLiteral("chapter %1 is already in the bank").arg(code));
        }
        if (code.size() > 2 && !chapterCodes_.contains(code.left(code.size() - 2)) &&
            !inBase(&UpgradeBase::chapters, code.left(code.size() - 2))) {
            return error(b.pos, QStringLiteral("chapter %1 comes before its parent %2")
                                    .arg(code, code.left(code.size() - 2)));
        }
        Chapter c;
        c.code = code;
        c.name = b.title;
        c.pos = b.pos;
        for (const Line& l : b.body) {
            if (l.text.trimmed().isEmpty()) continue;
            if (auto v = field(l.text, "heading")) {
                c.heading = *v;
            } else if (auto g = field(l.text, "guide")) {
                c.guide = *g;
            } else if (auto ch = field(l.text, "chart")) {
                if (*ch != QLatin1String("yes") && *ch != QLatin1String("no")) {
                    error({file_, l.number}, QStringLiteral("chart: is yes or no"));
                }
                c.chart = *ch != QLatin1String("no");
            } else {
                error({file_, l.number},
                      QStringLiteral("a chapter takes heading:, guide: and chart:"));
            }
        }
        chapterCodes_.insert(code);
        chapter_ = code;
        result.bank.chapters << c;
    }

    // ---------------------------------------------------------- questions

    bool needChapter(const Block& b) {
        if (chapter_.isEmpty()) {
            error(b.pos, QStringLiteral("a question needs a [chapter] before it"));
            return false;
        }
        if (chapter_.size() < 4) {
            error(b.pos, QStringLiteral("questions belong to chapters of 4 or 6 characters, not to "
                                        "subject %1")
                             .arg(chapter_));
            return false;
        }
        return true;
    }

    std::optional<int> typeArg(const Block& b, const QString& text) {
        bool ok = false;
        const int type = text.toInt(&ok);
        if (!ok || !knownType(type)) {
            error(b.pos, QStringLiteral("\"%1\" is not a type of types.txt").arg(text));
            return std::nullopt;
        }
        return type;
    }

    bool knownType(int type) const {
        if (base_ != nullptr) {
            return base_->known ? base_->types.contains(type)
                                : practice::TypeToAnswerKind(type).has_value();
        }
        for (const Kind& k : result.bank.kinds) {
            for (const TypeRow& t : k.types) {
                if (t.id == type) return true;
            }
        }
        return false;
    }

    void readQuestionGroup(const Block& b) {
        if (openGroup_ >= 0) {
            error(b.pos,
                  QStringLiteral("[group] inside a [group]: close the first with [end group]"));
        }
        openGroup_ = -1;
        if (!needChapter(b)) return;
        if (b.args.isEmpty() || b.args.size() > 2) {
            return error(b.pos,
                         QStringLiteral("a question group is [group TYPE] or [group TYPE ID]"));
        }
        const auto type = typeArg(b, b.args[0]);
        if (!type) return;
        Group g;
        g.type = *type;
        g.chapter = chapter_;
        g.pos = b.pos;
        int first = b.pos.line;
        g.stem = joinText(b.body, 0, b.body.size(), &first);
        checkText(g.stem, first);
        if (g.stem.isEmpty()) error(b.pos, QStringLiteral("a group needs its shared stem"));
        sameIdUse(b.pos, b.args.size() == 2);
        if (b.args.size() == 2) {
            g.id = b.args[1];
            if (g.id.size() != 16 || g.id.contains(u'-')) {
                error(b.pos, QStringLiteral("a group id has 16 characters and no \"-\""));
            } else if (matchesChapterAndType(g.id, g.chapter, g.type, b.pos)) {
                takeIdOrReport(g.id, b.pos);
            }
        }
        result.bank.groups << g;
        openGroup_ = static_cast<int>(result.bank.groups.size()) - 1;
        groupSize_ = 0;
    }

    void endGroup(const Block& b) {
        noStrayText(b);
        if (openGroup_ < 0) return error(b.pos, QStringLiteral("[end group] without [group]"));
        if (groupSize_ == 0) error(b.pos, QStringLiteral("a group without questions"));
        openGroup_ = -1;
    }

    void readQuestion(const Block& b) {
        if (!needChapter(b)) return;
        Question q;
        q.chapter = chapter_;
        q.pos = b.pos;
        q.group = openGroup_;
        QStringList args = b.args;
        if (openGroup_ >= 0) {
            q.type = result.bank.groups[openGroup_].type;
            if (!args.isEmpty() && args[0].toInt() == q.type) args.removeFirst();
            if (args.size() > 1)
                return error(b.pos, QStringLiteral("in a group: [question] or [question ID]"));
            ++groupSize_;
        } else {
            if (args.isEmpty() || args.size() > 2) {
                return error(b.pos,
                             QStringLiteral("a question is [question TYPE] or [question TYPE ID]"));
            }
            const auto type = typeArg(b, args.takeFirst());
            if (!type) return;
            q.type = *type;
        }
        sameIdUse(b.pos, !args.isEmpty());
        if (!args.isEmpty()) {
            q.id = args[0];
            if (q.id.size() > 20) {
                return error(b.pos, QStringLiteral("a question id has at most 20 characters"));
            }
            if (q.group < 0 && !matchesChapterAndType(q.id, q.chapter, q.type, b.pos)) return;
            if (!takeIdOrReport(q.id, b.pos)) return;
        }
        QString keyText;
        bool hasKey = false;
        qsizetype stemEnd = b.body.size();
        for (qsizetype i = 0; i < b.body.size(); ++i) {
            const Line& l = b.body[i];
            if (l.literal) {
                if (stemEnd < b.body.size()) {
                    error({file_, l.number},
                          QStringLiteral("text after the fields: only key:, "
                                         "points: and explain: may follow the stem"));
                }
                continue;
            }
            std::optional<QString> v;
            if ((v = field(l.text, "key")) || (v = field(l.text, "points")) ||
                (v = field(l.text, "explain"))) {
                stemEnd = std::min(stemEnd, i);
            }
            if (auto k = field(l.text, "key")) {
                if (hasKey) error({file_, l.number}, QStringLiteral("key: twice"));
                keyText = *k;
                hasKey = true;
            } else if (auto p = field(l.text, "points")) {
                q.points =
                    p->split(QRegularExpression(QStringLiteral("[\\s,，]+")), Qt::SkipEmptyParts);
                if (q.points.size() > 10) {
                    error({file_, l.number}, QStringLiteral("at most ten knowledge points"));
                }
                pointLines_[result.bank.questions.size()] = l.number;
            } else if (auto e = field(l.text, "explain")) {
                QVector<Line> rest;
                if (!e->isEmpty()) rest.push_back({l.number, *e});
                rest += b.body.mid(i + 1);
                int first = l.number;
                q.explain = joinText(rest, 0, rest.size(), &first);
                checkText(q.explain, first);
                break;
            } else if (stemEnd < b.body.size() && !l.text.trimmed().isEmpty()) {
                error({file_, l.number},
                      QStringLiteral("text after the fields: only key:, points: and explain: may "
                                     "follow the stem"));
            }
        }
        int first = b.pos.line;
        q.stem = joinText(b.body, 0, stemEnd, &first);
        checkText(q.stem, first);
        if (q.stem.isEmpty()) error(b.pos, QStringLiteral("the question has no stem"));
        q.optionCount = countOptions(q, b);
        q.key = storedKey(q, keyText, hasKey, b.pos);
        result.bank.questions << q;
    }

    int countOptions(const Question& q, const Block& b) {
        int count = 0;
        for (const QString& line : q.stem.split(u'\n')) {
            const auto m = optionLine().match(line);
            if (!m.hasMatch()) continue;
            const QChar letter = m.captured(1)[0];
            if (practice::OptionNumber(letter) != count + 1) {
                error(b.pos, QStringLiteral("option %1 is out of order: options run A, B, C, ...")
                                 .arg(letter));
                return count;
            }
            ++count;
        }
        return count;
    }

    QString storedKey(Question& q, const QString& key, bool hasKey, const SourcePos& pos) {
        const auto kind = practice::TypeToAnswerKind(q.type);
        const auto letters = [&](int least) -> QString {
            if (q.optionCount < 2) {
                error(pos,
                      QStringLiteral("a choice question needs at least two options (A. B. ...)"));
                return key;
            }
            QString canonical = practice::CanonicalChoice(key);
            if (canonical.size() != key.size() || canonical.size() < least) {
                error(pos,
                      QStringLiteral("key \"%1\": %2 different letter(s) of the options expected")
                          .arg(key, least == 1
                                        ? QStringLiteral("one or more")
                                        : QString::number(least) + QStringLiteral(" or more")));
                return key;
            }
            if (practice::OptionNumber(canonical.back()) > q.optionCount) {
                error(pos, QStringLiteral("key \"%1\" names an option the question does not have")
                               .arg(key));
            }
            return canonical;
        };
        if (kind == AnswerKind::SelfAssessed) {
            if (hasKey && key != practice::kSelfAssessedKey) {
                error(pos, QStringLiteral("a self-assessed question has no key"));
            }
            q.optionCount = 1;
            return practice::kSelfAssessedKey;
        }
        if (!hasKey || key.isEmpty()) {
            error(pos, QStringLiteral("the question has no key:"));
            return QString();
        }
        if (key.size() > 100) error(pos, QStringLiteral("a key has at most 100 characters"));
        if (!kind) return key;
        switch (*kind) {
            case AnswerKind::SingleChoice:
                if (key.size() != 1) {
                    error(pos, QStringLiteral("a single-choice key is one letter"));
                    return key;
                }
                return letters(1);
            case AnswerKind::MultipleChoice:
                return letters(2);
            case AnswerKind::Matching:
                return letters(1);
            case AnswerKind::TrueFalse:
                q.optionCount = 2;
                if (key == QStringLiteral("对") || key == QLatin1String("A"))
                    return QStringLiteral("A");
                if (key == QStringLiteral("错") || key == QLatin1String("B"))
                    return QStringLiteral("B");
                error(pos, QStringLiteral("a true-or-false key is 对 or 错"));
                return key;
            case AnswerKind::FillIn:
                q.optionCount = 0;
                if (!typeableFillInKey(key)) {
                    error(pos, QStringLiteral("fill-in key \"%1\": an answer must equal it as "
                                              "typed; write half-width characters and no blank "
                                              "beside \",\"")
                                   .arg(key));
                }
                return key;
            case AnswerKind::SelfAssessed:
                break;
        }
        return key;
    }

    void checkQuestionPoints() {
        for (qsizetype i = 0; i < result.bank.questions.size(); ++i) {
            const Question& q = result.bank.questions[i];
            for (const QString& p : q.points) {
                if (!pointIds_.contains(p) && !inBase(&UpgradeBase::points, p)) {
                    error({q.pos.file, pointLines_.value(i, q.pos.line)},
                          QStringLiteral("knowledge point %1 is not in the catalogue").arg(p));
                }
            }
        }
    }

    // The first 8 characters of an id name where the question was made: its chapter
    // (padded to 6 with "0") and its type. A copied question whose id still names its
    // old place would otherwise collide with the numbering there later.
    static QString idPrefix(const QString& chapter, int type) {
        return chapter.leftJustified(6, u'0') + QString::number(type).rightJustified(2, u'0');
    }

    bool matchesChapterAndType(const QString& id, const QString& chapter, int type,
                               const SourcePos& pos) {
        const QString prefix = idPrefix(chapter, type);
        if (id.startsWith(prefix)) return true;
        error(pos, QStringLiteral("id %1 does not match chapter %2 and type %3: it starts with %4")
                       .arg(id, chapter)
                       .arg(type)
                       .arg(prefix));
        return false;
    }

    // Ids given for some questions of a file and computed for the others would move
    // whenever a question is inserted: a file gives every question its id or none.
    void sameIdUse(const SourcePos& pos, bool hasId) {
        if (!firstQuestion_) {
            firstQuestion_ = {pos.line, hasId};
            return;
        }
        if (firstQuestion_->second == hasId) return;
        error(pos, hasId ? QStringLiteral("an id here, but the question of line %1 has none: "
                                          "in one file every question carries its id or none "
                                          "does")
                               .arg(firstQuestion_->first)
                         : QStringLiteral("no id here, but the question of line %1 has one: in "
                                          "one file every question carries its id or none does")
                               .arg(firstQuestion_->first));
    }

    bool takeId(const QString& id) {
        if (ids_.contains(id) || (base_ != nullptr && base_->ids.contains(id))) return false;
        ids_.insert(id);
        return true;
    }

    bool takeIdOrReport(const QString& id, const SourcePos& pos) {
        if (takeId(id)) return true;
        error(pos, ids_.contains(id) ? QStringLiteral("id %1 is used twice").arg(id)
                                     : QStringLiteral("id %1 is already in the bank").arg(id));
        return false;
    }

    // An upgrade names its product and itself; made for a known bank, it must be of
    // that bank's product and not applied to it yet.
    void checkProduct() {
        const Bank& bank = result.bank;
        const SourcePos first{firstFile_.isEmpty() ? QStringLiteral("types.txt") : firstFile_, 1};
        if (bank.cpbs.isEmpty()) {
            error(first, QStringLiteral("an upgrade needs [product] with cpbs: (the product)"));
        } else if (base_->known && !base_->products.contains(bank.cpbs)) {
            error(cpbsPos_,
                  QStringLiteral("cpbs %1 is not the product of the bank").arg(bank.cpbs));
        }
        if (bank.sjbs.isEmpty()) {
            error(first, QStringLiteral("an upgrade needs [product] with sjbs: (its own id)"));
        } else if (base_->known && base_->applied.contains(bank.sjbs)) {
            error(sjbsPos_,
                  QStringLiteral("sjbs %1 is applied to the bank already").arg(bank.sjbs));
        }
    }

    QString freeId(const QString& prefix, int digits) {
        int& next = nextNumber_[prefix];
        QString id;
        do {
            id = prefix + QStringLiteral("%1").arg(++next, digits, 10, QLatin1Char('0'));
        } while (ids_.contains(id) || (base_ != nullptr && base_->ids.contains(id)));
        ids_.insert(id);
        return id;
    }

    // New questions and groups get the next free id of their chapter and type.
    void assignIds() {
        Bank& bank = result.bank;
        for (Group& g : bank.groups) {
            if (g.id.isEmpty()) {
                const QString prefix = idPrefix(g.chapter, g.type) + u'G';
                g.id = freeId(prefix, 7);
            }
        }
        QMap<int, int> members;
        for (Question& q : bank.questions) {
            if (q.group >= 0) {
                const QString& gid = bank.groups[q.group].id;
                const int n = ++members[q.group];
                if (q.id.isEmpty()) {
                    q.id = gid + u'-' + QString::number(n);
                    takeIdOrReport(q.id, q.pos);
                } else if (!q.id.startsWith(gid + u'-')) {
                    error(q.pos, QStringLiteral("a question of group %1 has an id starting with "
                                                "\"%1-\"")
                                     .arg(gid));
                }
                continue;
            }
            if (q.id.contains(u'-')) {
                error(q.pos, QStringLiteral("an id with \"-\" belongs to a [group]"));
            }
            if (q.id.isEmpty()) {
                q.id = freeId(idPrefix(q.chapter, q.type), 8);
            }
        }
    }

    QString baseDir_;
    const UpgradeBase* base_ = nullptr;
    SourcePos cpbsPos_;
    SourcePos sjbsPos_;
    QString firstFile_;
    QString file_;
    QString chapter_;
    int openGroup_ = -1;
    int groupSize_ = 0;
    std::optional<std::pair<int, bool>> firstQuestion_;  // line, carries an id
    QSet<QString> catalogueIds_;
    QSet<QString> pointIds_;
    QSet<QString> chapterCodes_;
    QSet<QString> ids_;
    QMap<QString, int> nextNumber_;
    QMap<qsizetype, int> pointLines_;
};

// The first line (from 1) that is not UTF-8 text, or 0. A UTF-16 file is refused on its
// first line; a NUL is no text either, though UTF-8 could carry it.
int firstLineNotUtf8(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) return 1;
    QStringDecoder whole(QStringDecoder::Utf8);
    const QString text = whole.decode(bytes);
    if (!whole.hasError() && !bytes.contains('\0')) return 0;
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString line = decoder.decode(lines[i]);
        if (decoder.hasError() || lines[i].contains('\0')) return int(i + 1);
    }
    return 1;
}

}  // namespace

QString DefaultHeading(const Bank& bank, const Chapter& chapter) {
    if (chapter.code.size() <= 4) return chapter.name;
    for (const Chapter& c : bank.chapters) {
        if (c.code == chapter.code.left(4)) return c.name + QStringLiteral("　") + chapter.name;
    }
    return chapter.name;
}

namespace {

ReadResult readTexts(const QVector<QPair<QString, QString>>& files, const QString& baseDir,
                     const UpgradeBase* base) {
    Reader reader(baseDir, base);
    for (const auto& [name, text] : files)
        reader.readFile(name, text);
    reader.finish();
    if (base == nullptr && reader.result.bank.kinds.isEmpty() && reader.result.errors.isEmpty()) {
        reader.result.errors << QStringLiteral("types.txt:1: no [kind] defines any question type");
    }
    return std::move(reader.result);
}

ReadResult readFolder(const QString& sourceDir, const UpgradeBase* base) {
    QDir dir(sourceDir);
    QStringList names = dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    // The types come first: questions are checked against them.
    if (names.removeOne(QStringLiteral("types.txt"))) names.prepend(QStringLiteral("types.txt"));
    QVector<QPair<QString, QString>> files;
    ReadResult failed;
    for (const QString& name : names) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) {
            failed.errors << name + QStringLiteral(":0: cannot be read");
            continue;
        }
        const QByteArray bytes = f.readAll();
        if (const int line = firstLineNotUtf8(bytes)) {
            failed.errors << QStringLiteral(
                                 "%1:%2: not UTF-8 text (GBK? convert with iconv -f GBK "
                                 "-t UTF-8)")
                                 .arg(name)
                                 .arg(line);
            continue;
        }
        files.push_back({name, QString::fromUtf8(bytes)});
    }
    if (names.isEmpty()) failed.errors << sourceDir + QStringLiteral(":0: no .txt source files");
    if (!failed.errors.isEmpty()) return failed;
    return readTexts(files, sourceDir, base);
}

}  // namespace

ReadResult ReadSourceTexts(const QVector<QPair<QString, QString>>& files, const QString& baseDir) {
    return readTexts(files, baseDir, nullptr);
}

ReadResult ReadSource(const QString& sourceDir) {
    return readFolder(sourceDir, nullptr);
}

ReadResult ReadUpgradeSourceTexts(const QVector<QPair<QString, QString>>& files,
                                  const UpgradeBase& base, const QString& baseDir) {
    return readTexts(files, baseDir, &base);
}

ReadResult ReadUpgradeSource(const QString& sourceDir, const UpgradeBase& base) {
    return readFolder(sourceDir, &base);
}

}  // namespace qbank
