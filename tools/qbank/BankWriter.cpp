#include "BankWriter.h"

#include "AnswerModel.h"
#include "Engine.h"
#include "Markup.h"
#include "Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QTextStream>

#include <cmath>

namespace qbank {
namespace {

using store::Database;
using store::Params;

QVariant rtfOrNull(const QString& markup, const QString& sourceDir) {
    if (markup.isEmpty()) return {};
    QVector<MarkupError> errors;
    const QByteArray rtf = MarkupToRtf(markup, sourceDir, &errors);
    if (!errors.isEmpty()) throw store::EngineError(errors.front().message);
    return rtf;
}

// Questions per chapter node: its own and those of every chapter below it.
int questionsUnder(const Bank& bank, const QString& code) {
    int n = 0;
    for (const Question& q : bank.questions)
        n += q.chapter.startsWith(code) ? 1 : 0;
    return n;
}

// Questions linked to a catalogue entry or group, each counted once.
QMap<QString, int> catalogueCounts(const Bank& bank) {
    QMap<QString, int> counts;
    for (const Question& q : bank.questions) {
        QSet<QString> ids;
        for (const QString& p : q.points) {
            ids.insert(QStringLiteral("rule:") + p);
            ids.insert(p.left(6));
            ids.insert(p.left(2));
        }
        for (const QString& id : ids)
            ++counts[id];
    }
    return counts;
}

void insertRow(Database& db, const char* table, const QStringList& columns, const Params& values) {
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    db.execute(QStringLiteral("insert into %1 (%2) values (%3)")
                   .arg(QLatin1String(table), columns.join(u','), marks.join(u',')),
               values);
}

Params values(std::initializer_list<QVariant> list) {
    Params p;
    for (const QVariant& v : list)
        p.push_back({QString(), v});
    return p;
}

QString sourceKey(const Question& q) {
    const auto kind = practice::TypeToAnswerKind(q.type);
    if (kind == practice::AnswerKind::TrueFalse) {
        if (q.key == QLatin1String("A")) return QStringLiteral("对");
        if (q.key == QLatin1String("B")) return QStringLiteral("错");
    }
    return q.key;
}

// A file name made from a bank's text: one plain name inside the folder, never a path, a
// parent, a hidden file or a name too long for the file system.
QString safeFileName(QString name) {
    static const QString bad = QStringLiteral("/\\:*?\"<>|");
    name = name.left(80);
    for (QChar& c : name) {
        if (bad.contains(c) || c.isSpace() || c.category() == QChar::Other_Control) c = u'_';
    }
    name.replace(QLatin1String(".."), QLatin1String("__"));
    if (name.isEmpty() || name.startsWith(u'.')) name.prepend(u'_');
    return name;
}

// Text lines that the reader would take for a block, a comment or a field get the
// leading backslash that keeps them text.
QString escapedText(const QString& text) {
    static const QRegularExpression special(
        QStringLiteral("^([\\\\\\[#]|(key|points|explain|heading|guide|chart)[:：])"));
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        if (special.match(line).hasMatch()) line.prepend(u'\\');
    }
    return lines.join(u'\n');
}

QString formatNumber(double v) {
    return QString::number(v, 'g', 10);
}

}  // namespace

int FullMark(const Kind& kind) {
    int total = 0;
    for (const TypeRow& t : kind.types) {
        total += static_cast<int>(std::nearbyint(double(t.count)) * std::nearbyint(t.score));
    }
    return total;
}

void FillBank(const Bank& bank, const QString& sourceDir, Database& db) {
    store::Transaction tx(db);
    for (const Kind& kind : bank.kinds) {
        for (const TypeRow& t : kind.types) {
            db.execute(QStringLiteral("insert into tab_tx%1 (A1,B1,B2,B3,time) values (?,?,?,?,?)")
                           .arg(kind.number),
                       values({t.id, t.name, t.count, t.score, t.time}));
        }
    }
    for (auto it = bank.settings.begin(); it != bank.settings.end(); ++it) {
        db.execute(QStringLiteral("update tab_plan set %1=?").arg(it.key()), values({it.value()}));
    }
    for (const Kind& kind : bank.kinds) {
        if (kind.number == 1) {
            db.execute(QStringLiteral("update tab_plan set LeastMark=?"),
                       values({FullMark(kind) / 2}));
        }
    }
    if (!bank.cpbs.isEmpty() || !bank.sjbs.isEmpty()) {
        insertRow(db, "tab_sj", {QStringLiteral("sjbs"), QStringLiteral("cpbs")},
                  values({bank.sjbs, bank.cpbs}));
    }

    const QMap<QString, int> linked = catalogueCounts(bank);
    int bh = 0;
    for (const CatalogueNode& node : bank.catalogue) {
        insertRow(
            db, "tab_fgmc",
            {QStringLiteral("id"), QStringLiteral("n"), QStringLiteral("bh"), QStringLiteral("q")},
            values({node.id, node.name, ++bh, linked.value(node.id)}));
    }
    for (const Point& p : bank.points) {
        // Short names are kept blank-padded, as the catalogue has always stored them.
        insertRow(
            db, "tab_rule",
            {QStringLiteral("id"), QStringLiteral("ftid"), QStringLiteral("sn"),
             QStringLiteral("n"), QStringLiteral("q")},
            values({p.id.left(6), p.id, p.shortName.leftJustified(20, u' '),
                    rtfOrNull(p.text, sourceDir), linked.value(QStringLiteral("rule:") + p.id)}));
    }

    bh = 0;
    for (const Chapter& c : bank.chapters) {
        const QString heading = c.heading.isEmpty() ? DefaultHeading(bank, c) : c.heading;
        const QVariant chart =
            c.code.size() == 4 && c.chart ? QVariant(QStringLiteral("0")) : QVariant();
        insertRow(db, "tab_kmmc",
                  {QStringLiteral("C1"), QStringLiteral("C1_1"), QStringLiteral("C2"),
                   QStringLiteral("C3"), QStringLiteral("C6"), QStringLiteral("C7"),
                   QStringLiteral("bh"), QStringLiteral("jx")},
                  values({c.code, heading, c.name, questionsUnder(bank, c.code),
                          QStringLiteral("0"), chart, ++bh, rtfOrNull(c.guide, sourceDir)}));
    }
    for (const Group& g : bank.groups) {
        insertRow(db, "tab_title", {QStringLiteral("A1"), QStringLiteral("A15")},
                  values({g.id, rtfOrNull(g.stem, sourceDir)}));
    }
    QMap<QString, int> order;
    for (const Question& q : bank.questions) {
        Params row = values({q.id, q.key, q.optionCount});
        for (int k = 0; k < 10; ++k)
            row.push_back({QString(), q.points.value(k)});
        row.push_back({QString(), q.chapter});
        row.push_back({QString(), q.type});
        row.push_back({QString(), ++order[q.chapter]});
        insertRow(
            db, "tab_answ",
            {QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("A2_1"),
             QStringLiteral("K3"), QStringLiteral("K4"), QStringLiteral("K5"), QStringLiteral("K6"),
             QStringLiteral("K7"), QStringLiteral("K8"), QStringLiteral("K9"),
             QStringLiteral("K10"), QStringLiteral("K11"), QStringLiteral("K12"),
             QStringLiteral("A10"), QStringLiteral("A13"), QStringLiteral("xx")},
            row);
        insertRow(db, "tab_exer",
                  {QStringLiteral("A1"), QStringLiteral("A15"), QStringLiteral("jx")},
                  values({q.id, rtfOrNull(q.stem, sourceDir), rtfOrNull(q.explain, sourceDir)}));
    }
    // Questions never answered: the session answer is empty, not unknown.
    db.execute(QStringLiteral("update tab_answ set E2_1='', E3=0, E4=0, F1=0, ecount=0"));
    db.execute(QStringLiteral("update tab_answ set K3=NULL where K3=''"));
    for (int k = 4; k <= 12; ++k) {
        db.execute(QStringLiteral("update tab_answ set K%1=NULL where K%1=''").arg(k));
    }
    tx.commit();
}

namespace {

// Display orders for new rows: each after the last row of the bank under its nearest
// ancestor that the bank has (the whole bank when none), spread between that row and
// the next, in source order.
QMap<QString, double> placeNewRows(const QStringList& fresh, const QMap<QString, double>& bankBh) {
    QMap<QString, double> placed;
    if (bankBh.isEmpty()) {
        // Nothing known of the bank: listed after anything it can hold.
        double bh = 1000000;
        for (const QString& code : fresh)
            placed[code] = ++bh;
        return placed;
    }
    double last = 0;
    for (double v : bankBh)
        last = std::max(last, v);
    QMap<double, QStringList> byAnchor;
    for (const QString& code : fresh) {
        double anchor = last;
        for (qsizetype length = code.size() - 1; length >= 1; --length) {
            const QString ancestor = code.left(length);
            if (!bankBh.contains(ancestor)) continue;
            anchor = bankBh.value(ancestor);
            for (auto it = bankBh.cbegin(); it != bankBh.cend(); ++it) {
                if (it.key().startsWith(ancestor)) anchor = std::max(anchor, it.value());
            }
            break;
        }
        byAnchor[anchor] << code;
    }
    for (auto it = byAnchor.cbegin(); it != byAnchor.cend(); ++it) {
        double next = it.key() + 1;
        for (double v : bankBh) {
            if (v > it.key()) next = std::min(next, v);
        }
        const double step = (next - it.key()) / double(it.value().size() + 1);
        for (qsizetype i = 0; i < it.value().size(); ++i)
            placed[it.value()[i]] = it.key() + step * double(i + 1);
    }
    return placed;
}

QMap<QString, double> displayOrders(Database& db, const char* table, const char* key) {
    QMap<QString, double> orders;
    db.query(QStringLiteral("select %1,bh from %2").arg(QLatin1String(key), QLatin1String(table)),
             {},
             [&](store::Statement& s) { orders[s.value(0).toString()] = s.value(1).toDouble(); });
    return orders;
}

}  // namespace

UpgradeBase ReadUpgradeBase(Database& db) {
    UpgradeBase base;
    base.known = true;
    const auto collect = [&db](const QString& sql, QSet<QString>& into) {
        db.query(sql, {}, [&](store::Statement& s) { into.insert(s.value(0).toString()); });
    };
    base.chapterOrder = displayOrders(db, "tab_kmmc", "C1");
    base.catalogueOrder = displayOrders(db, "tab_fgmc", "id");
    collect(QStringLiteral("select C1 from tab_kmmc"), base.chapters);
    collect(QStringLiteral("select id from tab_fgmc"), base.catalogue);
    collect(QStringLiteral("select ftid from tab_rule"), base.points);
    collect(QStringLiteral("select A1 from tab_answ"), base.ids);
    collect(QStringLiteral("select A1 from tab_title"), base.ids);
    collect(QStringLiteral("select cpbs from tab_sj"), base.products);
    collect(QStringLiteral("select sjbs from tab_sj"), base.applied);
    for (int k = 1; k <= 5; ++k) {
        db.query(QStringLiteral("select A1 from tab_tx%1").arg(k), {},
                 [&](store::Statement& s) { base.types.insert(s.value(0).toInt()); });
    }
    return base;
}

void WriteUpgrade(const Bank& bank, const QString& sourceDir, const QString& out,
                  const UpgradeBase& base) {
    if (QFileInfo::exists(out))
        throw store::EngineError(QStringLiteral("%1 already exists").arg(out));
    const QMap<QString, double>& chapterBh = base.chapterOrder;
    const QMap<QString, double>& catalogueBh = base.catalogueOrder;
    QStringList chapters;
    for (const Chapter& c : bank.chapters)
        chapters << c.code;
    QStringList entries;
    for (const CatalogueNode& n : bank.catalogue)
        entries << n.id;
    const QMap<QString, double> chapterOrder = placeNewRows(chapters, chapterBh);
    const QMap<QString, double> entryOrder = placeNewRows(entries, catalogueBh);

    const QString temp = out + QStringLiteral(".part");
    const auto removeTemp = [&temp] {
        for (const char* suffix : {"", "-wal", "-shm", "-journal"})
            QFile::remove(temp + QLatin1String(suffix));
    };
    removeTemp();
    try {
        {
            Database db;
            db.open(temp, Database::OpenMode::Create);
            // One plain file, read where it lies, perhaps in a folder nobody may write to.
            db.execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
            store::createBankTables(db);
            // The tables are a bank's; the settings row is the bank's business, not the upgrade's.
            db.execute(QStringLiteral("delete from tab_plan"));
            FillBank(bank, sourceDir, db);
            store::Transaction tx(db);
            for (auto it = chapterOrder.cbegin(); it != chapterOrder.cend(); ++it) {
                db.execute(QStringLiteral("update tab_kmmc set bh=? where C1=?"),
                           {{QString(), it.value()}, {QString(), it.key()}});
            }
            for (auto it = entryOrder.cbegin(); it != entryOrder.cend(); ++it) {
                db.execute(QStringLiteral("update tab_fgmc set bh=? where id=?"),
                           {{QString(), it.value()}, {QString(), it.key()}});
            }
            tx.commit();
        }
        if (!QFile::rename(temp, out)) {
            throw store::EngineError(QStringLiteral("cannot move the upgrade to %1").arg(out));
        }
    } catch (...) {
        removeTemp();
        throw;
    }
}

void WriteBank(const Bank& bank, const QString& sourceDir, const QString& out) {
    if (QFileInfo::exists(out))
        throw store::EngineError(QStringLiteral("%1 already exists").arg(out));
    const QString temp = out + QStringLiteral(".part");
    QFile::remove(temp);
    QFile::remove(temp + QStringLiteral("-wal"));
    QFile::remove(temp + QStringLiteral("-shm"));
    try {
        {
            Database db;
            db.open(temp, Database::OpenMode::Create);
            store::createBankTables(db);
            FillBank(bank, sourceDir, db);
            // One self-contained file: fold the write-ahead log in before the move.
            db.execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        }
        if (!QFile::rename(temp, out)) {
            throw store::EngineError(QStringLiteral("cannot move the new bank to %1").arg(out));
        }
    } catch (...) {
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-wal"));
        QFile::remove(temp + QStringLiteral("-shm"));
        throw;
    }
}

Bank ReadBank(Database& db, const QString& pictureDir) {
    Bank bank;
    int pictures = 0;
    const auto savePicture = [&](const QImage& image) {
        QDir().mkpath(pictureDir + QStringLiteral("/pictures"));
        QString name = QStringLiteral("pictures/%1.png").arg(++pictures, 4, 10, QLatin1Char('0'));
        image.save(pictureDir + u'/' + name, "PNG");
        return name;
    };
    const auto markup = [&](const QVariant& v) {
        return v.isNull() ? QString() : RtfToMarkup(v.toByteArray(), savePicture);
    };

    for (int k = 1; k <= 5; ++k) {
        Kind kind;
        kind.number = k;
        db.query(
            QStringLiteral("select A1,B1,B2,B3,time from tab_tx%1 order by rowid").arg(k), {},
            [&](store::Statement& s) {
                kind.types.push_back({s.value(0).toInt(), s.value(1).toString(), s.value(2).toInt(),
                                      s.value(3).toDouble(), s.value(4).toDouble()});
            });
        if (!kind.types.isEmpty()) bank.kinds << kind;
    }
    db.query(QStringLiteral("select PlanMark,PlanAmount,PlanTime,ExamTime from tab_plan limit 1"),
             {}, [&](store::Statement& s) {
                 const char* names[] = {"PlanMark", "PlanAmount", "PlanTime", "ExamTime"};
                 for (int i = 0; i < 4; ++i) {
                     if (!s.value(i).isNull())
                         bank.settings[QLatin1String(names[i])] = s.value(i).toInt();
                 }
             });
    db.query(QStringLiteral("select sjbs,cpbs from tab_sj order by rowid limit 1"), {},
             [&](store::Statement& s) {
                 bank.sjbs = s.value(0).toString();
                 bank.cpbs = s.value(1).toString();
             });
    db.query(QStringLiteral("select id,n from tab_fgmc order by bh,rowid"), {},
             [&](store::Statement& s) {
                 bank.catalogue.push_back({s.value(0).toString(), s.value(1).toString(), {}});
             });
    db.query(QStringLiteral("select ftid,sn,n from tab_rule order by rowid"), {},
             [&](store::Statement& s) {
                 QString sn = s.value(1).toString();
                 while (sn.endsWith(u' '))
                     sn.chop(1);
                 bank.points.push_back({s.value(0).toString(), sn, markup(s.value(2)), {}});
             });
    db.query(QStringLiteral("select C1,C2,C1_1,C7,jx from tab_kmmc order by bh,rowid"), {},
             [&](store::Statement& s) {
                 Chapter c;
                 c.code = s.value(0).toString();
                 c.name = s.value(1).toString();
                 c.heading = s.value(2).toString();
                 c.chart = c.code.size() != 4 || s.value(3).toString() == QLatin1String("0");
                 c.guide = markup(s.value(4));
                 bank.chapters << c;
             });
    for (Chapter& c : bank.chapters) {
        if (c.heading == DefaultHeading(bank, c)) c.heading.clear();
    }
    QMap<QString, int> chapterOrder;
    for (qsizetype i = 0; i < bank.chapters.size(); ++i)
        chapterOrder[bank.chapters[i].code] = int(i);
    QMap<QString, QString> titles;
    db.query(QStringLiteral("select A1,A15 from tab_title"), {},
             [&](store::Statement& s) { titles[s.value(0).toString()] = markup(s.value(1)); });
    struct Row {
        Question q;
        int chapter;
        int xx;
    };
    QVector<Row> rows;
    db.query(
        QStringLiteral("select a.A1,a.A2,a.A2_1,a.K3,a.K4,a.K5,a.K6,a.K7,a.K8,a.K9,a.K10,a.K11,"
                       "a.K12,a.A10,a.A13,a.xx,b.A15,b.jx from tab_answ a left join tab_exer b "
                       "on a.A1=b.A1"),
        {}, [&](store::Statement& s) {
            Question q;
            q.id = s.value(0).toString();
            q.key = s.value(1).toString();
            q.optionCount = s.value(2).toInt();
            for (int k = 3; k <= 12; ++k) {
                const QString p = s.value(k).toString();
                if (p.trimmed().isEmpty()) break;
                q.points << p;
            }
            q.chapter = s.value(13).toString();
            q.type = s.value(14).toInt();
            q.stem = markup(s.value(16));
            q.explain = markup(s.value(17));
            rows.push_back({q, chapterOrder.value(q.chapter, INT_MAX), s.value(15).toInt()});
        });
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        if (a.chapter != b.chapter) return a.chapter < b.chapter;
        if (a.xx != b.xx) return a.xx < b.xx;
        return a.q.id < b.q.id;
    });
    QMap<QString, int> groupIndex;
    for (Row& r : rows) {
        if (r.q.id.contains(u'-')) {
            const QString gid = r.q.id.left(16);
            if (!groupIndex.contains(gid)) {
                groupIndex[gid] = int(bank.groups.size());
                bank.groups.push_back({gid, r.q.type, r.q.chapter, titles.value(gid), {}});
            }
            r.q.group = groupIndex[gid];
        }
        bank.questions << r.q;
    }
    return bank;
}

QStringList WriteSource(const Bank& bank, const QString& dir) {
    QDir().mkpath(dir);
    const QString root = QDir(dir).absolutePath();
    QStringList written;
    const auto writeFile = [&](const QString& name, const QString& text) {
        const QString path = QDir::cleanPath(QDir(root).absoluteFilePath(name));
        if (QFileInfo(path).absolutePath() != root) {
            throw store::EngineError(QStringLiteral("%1 would lie outside %2").arg(name, root));
        }
        QSaveFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0 || !f.commit()) {
            throw store::EngineError(QStringLiteral("cannot write %1").arg(f.fileName()));
        }
        written << name;
    };

    QString types;
    for (const Kind& k : bank.kinds) {
        types += QStringLiteral("[kind %1]\n").arg(k.number);
        for (const TypeRow& t : k.types) {
            types += QStringLiteral("type: %1 %2 count=%3 score=%4 time=%5\n")
                         .arg(t.id)
                         .arg(t.name)
                         .arg(t.count)
                         .arg(formatNumber(t.score), formatNumber(t.time));
        }
        types += u'\n';
    }
    types += QStringLiteral("[settings]\n");
    for (auto it = bank.settings.begin(); it != bank.settings.end(); ++it) {
        types += QStringLiteral("%1: %2\n").arg(it.key()).arg(it.value());
    }
    types += QStringLiteral("\n[product]\ncpbs: %1\nsjbs: %2\n").arg(bank.cpbs, bank.sjbs);
    writeFile(QStringLiteral("types.txt"), types);

    QString catalogue;
    QSet<QString> placed;
    const auto pointsOf = [&](const QString& entry) {
        for (const Point& p : bank.points) {
            if (p.id.left(6) != entry || placed.contains(p.id)) continue;
            placed.insert(p.id);
            catalogue += QStringLiteral("[point %1] %2\n").arg(p.id, p.shortName);
            if (!p.text.isEmpty()) catalogue += escapedText(p.text) + u'\n';
        }
    };
    for (const CatalogueNode& n : bank.catalogue) {
        catalogue += QStringLiteral("\n[%1 %2] %3\n")
                         .arg(n.id.size() == 2 ? QStringLiteral("group") : QStringLiteral("entry"),
                              n.id, n.name);
        if (n.id.size() == 6) pointsOf(n.id);
    }
    for (const Point& p : bank.points)
        pointsOf(p.id.left(6));  // points without an entry
    writeFile(QStringLiteral("catalogue.txt"), catalogue);

    QMap<QString, QString> subjects;  // subject code -> text
    QMap<QString, QString> subjectNames;
    for (const Chapter& c : bank.chapters) {
        if (c.code.size() == 2) subjectNames[c.code] = c.name;
    }
    for (const Chapter& c : bank.chapters) {
        QString& text = subjects[c.code.left(2)];
        text += QStringLiteral("\n[chapter %1] %2\n").arg(c.code, c.name);
        if (!c.heading.isEmpty()) text += QStringLiteral("heading: %1\n").arg(c.heading);
        if (!c.guide.isEmpty()) text += QStringLiteral("guide: %1\n").arg(c.guide);
        if (!c.chart && c.code.size() == 4) text += QStringLiteral("chart: no\n");
        int openGroup = -1;
        for (const Question& q : bank.questions) {
            if (q.chapter != c.code) continue;
            if (openGroup >= 0 && q.group != openGroup) {
                text += QStringLiteral("[end group]\n");
                openGroup = -1;
            }
            if (q.group >= 0 && q.group != openGroup) {
                const Group& g = bank.groups[q.group];
                text += QStringLiteral("\n[group %1 %2]\n%3\n")
                            .arg(g.type)
                            .arg(g.id, escapedText(g.stem));
                openGroup = q.group;
            }
            text += q.group >= 0 ? QStringLiteral("\n[question %1]\n").arg(q.id)
                                 : QStringLiteral("\n[question %1 %2]\n").arg(q.type).arg(q.id);
            text += escapedText(q.stem) + u'\n';
            const bool selfAssessed =
                practice::TypeToAnswerKind(q.type) == practice::AnswerKind::SelfAssessed;
            if (!selfAssessed) text += QStringLiteral("key: %1\n").arg(sourceKey(q));
            if (!q.points.isEmpty())
                text += QStringLiteral("points: %1\n").arg(q.points.join(u' '));
            if (!q.explain.isEmpty())
                text += QStringLiteral("explain:\n%1\n").arg(escapedText(q.explain));
        }
        if (openGroup >= 0) text += QStringLiteral("[end group]\n");
    }
    QSet<QString> taken{QStringLiteral("types"), QStringLiteral("catalogue")};
    for (auto it = subjects.begin(); it != subjects.end(); ++it) {
        const QString base = safeFileName(
            subjectNames.contains(it.key()) ? it.key() + u'-' + subjectNames[it.key()] : it.key());
        // Codes that differ only in characters a file name cannot hold still get a file each.
        QString name = base;
        for (int n = 2; taken.contains(name); ++n)
            name = base + u'-' + QString::number(n);
        taken.insert(name);
        writeFile(name + QStringLiteral(".txt"), it.value());
    }
    return written;
}

}  // namespace qbank
