#include "PaperExport.h"

#include "AnswerModel.h"
#include "DataModule.h"
#include "Globals.h"
#include "RichText.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextDocumentWriter>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

#include <stdexcept>
#include <vector>

namespace exam {
namespace {

// Type ids that get one heading per export; any other id gets one at every question.
constexpr int kFirstRememberedType = 8;
constexpr int kLastRememberedType = 103;
// The true/false type of the older banks, answered on A/B like this bank's own.
constexpr int kOlderTrueFalseType = 71;

QString numberText(double value) {
    return QString::number(value, 'g', 15);
}

struct TypeRow {
    QString name;
    int count = 0;
    double points = 0;
};

TypeRow typeRow(store::Database& db, int typeId) {
    TypeRow row;
    db.query(QStringLiteral("select B1,B2,B3 from tab_tx%1 where A1=?").arg(qb::CurrentKind),
             {{{}, typeId}}, [&row](store::Statement& s) {
                 row.name = s.value(0).toString();
                 row.count = s.value(1).toInt();
                 row.points = s.value(2).toDouble();
             });
    return row;
}

QByteArray richColumn(store::Database& db, const QString& sql, const QString& key) {
    return db.scalar(sql, {{{}, key}}).toByteArray();
}

}  // namespace

QString SectionNumeral(int n) {
    static const QStringList numerals{
        QStringLiteral("一、"), QStringLiteral("二、"), QStringLiteral("三、"),
        QStringLiteral("四、"), QStringLiteral("五、"), QStringLiteral("六、"),
        QStringLiteral("七、"), QStringLiteral("八、"), QStringLiteral("九、")};
    if (n < 1 || n > 9) return QStringLiteral("--");
    return numerals[n - 1];
}

QString TypeNameOf(store::Database& db, int kind, int typeId) {
    return db.scalar(QStringLiteral("select B1 from tab_tx%1 where A1=?").arg(kind), {{{}, typeId}})
        .toString();
}

bool IsGroupedQuestion(const QString& id) {
    return id.contains(QLatin1Char('-'));
}

QString AnswerLine(int typeId, const QString& key) {
    const std::optional<practice::AnswerKind> kind = practice::TypeToAnswerKind(typeId);
    if (kind == practice::AnswerKind::SingleChoice || kind == practice::AnswerKind::MultipleChoice)
        return QStringLiteral("试题答案：") + key;
    if (kind == practice::AnswerKind::TrueFalse || typeId == kOlderTrueFalseType) {
        QString said = key;
        if (key == QLatin1String("A")) said = QStringLiteral("正确");
        if (key == QLatin1String("B")) said = QStringLiteral("错误");
        return QStringLiteral("试题答案：") + said;
    }
    return {};
}

WordDocument::WordDocument() : cursor_(&doc_) {
    doc_.setDefaultFont(QFont(QStringLiteral("宋体"), 12));
}

void WordDocument::TypeText(const QString& text) {
    // Typed text takes the document's defaults, not what a pasted block left.
    cursor_.insertText(text, QTextCharFormat());
}

void WordDocument::TypeParagraph() {
    cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat());
}

void WordDocument::PasteRichText(const QByteArray& data) {
    if (data.isEmpty()) return;
    QTextDocument block;
    richtext::read(data, &block);
    if (block.isEmpty()) return;
    // Pictures travel as resources of their document: give each a name of this
    // document and carry it over.
    struct Picture {
        int position, length;
        QTextImageFormat format;
    };
    std::vector<Picture> pictures;
    for (QTextBlock b = block.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.isValid() && f.charFormat().isImageFormat())
                pictures.push_back({f.position(), f.length(), f.charFormat().toImageFormat()});
        }
    }
    // Pictures in table cells are found through the same walk of the blocks.
    for (Picture& picture : pictures) {
        const QVariant image =
            block.resource(QTextDocument::ImageResource, QUrl(picture.format.name()));
        const QString name = QStringLiteral("picture%1").arg(++pictures_);
        doc_.addResource(QTextDocument::ImageResource, QUrl(name), image);
        picture.format.setName(name);
        QTextCursor c(&block);
        c.setPosition(picture.position);
        c.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
        c.setCharFormat(picture.format);
    }
    cursor_.insertFragment(QTextDocumentFragment(&block));
}

void WordDocument::InsertBreak() {
    QTextBlockFormat breakBefore;
    breakBefore.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor_.insertBlock(breakBefore, QTextCharFormat());
}

bool WordDocument::SaveAs(const QString& path) {
    QTextDocumentWriter writer(path, "odf");
    return writer.write(&doc_);
}

void BuildPaperDocument(store::TDM1& dm, const QString& title, WordDocument& document) {
    store::Database& db = dm.ADOCn1;
    if (!dm.Cn1Query_exam.isActive()) throw std::runtime_error("the paper is not open");
    std::unique_ptr<store::Dataset> paper = dm.Cn1Query_exam.clone();

    document.TypeText(title);
    for (int i = 0; i < 3; ++i)
        document.TypeParagraph();

    // Questions.
    bool headed[kLastRememberedType + 1] = {};
    int headings = 0;
    int number = 0;
    for (paper->first(); !paper->eof(); paper->next()) {
        ++number;
        const int type = paper->asInt(QStringLiteral("A13"));
        const bool remembered = type >= kFirstRememberedType && type <= kLastRememberedType;
        if (!remembered || !headed[type]) {
            if (remembered) headed[type] = true;
            const TypeRow row = typeRow(db, type);
            document.TypeText(SectionNumeral(++headings) + TypeNameOf(db, qb::CurrentKind, type) +
                              QStringLiteral("[共") + QString::number(row.count) +
                              QStringLiteral("题，每题") + numberText(row.points) +
                              QStringLiteral("分，总计") + numberText(row.count * row.points) +
                              QStringLiteral("分]"));
            document.TypeParagraph();
        }
        const QString id = paper->text(QStringLiteral("A1"));
        if (IsGroupedQuestion(id)) {
            document.PasteRichText(richColumn(
                db, QStringLiteral("select a15 from tab_title where a1=?"), id.left(16)));
            document.TypeParagraph();
        }
        document.TypeText(QString::number(number) + QStringLiteral("、"));
        document.PasteRichText(
            richColumn(db, QStringLiteral("select a15 from tab_exer where a1=?"), id));
        document.TypeParagraph();
    }

    // Answers.
    document.InsertBreak();
    document.TypeText(QStringLiteral("答案："));
    for (int i = 0; i < 3; ++i)
        document.TypeParagraph();
    number = 0;
    for (paper->first(); !paper->eof(); paper->next()) {
        ++number;
        document.TypeText(QStringLiteral("第") + QString::number(number) + QStringLiteral("题"));
        document.TypeParagraph();
        const QString line =
            AnswerLine(paper->asInt(QStringLiteral("A13")), paper->text(QStringLiteral("A2")));
        if (!line.isEmpty()) {
            document.TypeText(line);
            document.TypeParagraph();
        }
        const QVariant jx = paper->value(QStringLiteral("jx"));
        if (!jx.isNull() && !jx.toByteArray().isEmpty()) {
            document.TypeText(QStringLiteral("试题解析："));
            document.TypeParagraph();
            document.PasteRichText(jx.toByteArray());
            document.TypeParagraph();
        }
        if (paper->text(QStringLiteral("K3")).trimmed().isEmpty()) continue;
        document.TypeText(QStringLiteral("考点："));
        document.TypeParagraph();
        for (int k = 3; k <= 12; ++k) {
            const QString ftid = paper->text(QStringLiteral("K%1").arg(k)).trimmed();
            if (ftid.isEmpty()) continue;
            QString sn, chapter;
            QByteArray text;
            bool found = false;
            db.query(QStringLiteral("select sn,n,id from tab_rule where ftid=?"), {{{}, ftid}},
                     [&](store::Statement& s) {
                         if (found) return;
                         found = true;
                         sn = s.value(0).toString();
                         text = s.value(1).toByteArray();
                         chapter = s.value(2).toString();
                     });
            // Short names are stored with trailing blanks.
            while (sn.endsWith(QLatin1Char(' ')))
                sn.chop(1);
            const QVariant chapterName =
                found ? db.scalar(QStringLiteral("select n from tab_fgmc where id=?"),
                                  {{{}, chapter}})
                      : QVariant();
            document.TypeText(
                (chapterName.isNull() ? QString() : chapterName.toString() + QStringLiteral(" ")) +
                sn + QStringLiteral("；"));
            document.TypeParagraph();
            document.PasteRichText(text);
            document.TypeParagraph();
        }
    }
}

QString UniqueDocumentPath(const QString& folder, const QString& title) {
    QString base = title.trimmed();
    static const QString kForbidden = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : base)
        if (kForbidden.contains(c) || c.unicode() < 0x20) c = QLatin1Char('_');
    if (base.isEmpty() || base.startsWith(QLatin1Char('.'))) base.prepend(QStringLiteral("试卷"));
    const QDir dir(folder);
    QString path = dir.filePath(base + QStringLiteral(".odt"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(base + QStringLiteral(" (%1).odt").arg(n));
    return path;
}

QString DocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

QString WritePaperDocument(store::TDM1& dm, const QString& title, const QString& folder) {
    WordDocument document;
    BuildPaperDocument(dm, title, document);
    if (!QDir().mkpath(folder)) throw std::runtime_error("no folder for the document");
    QString path = UniqueDocumentPath(folder, title);
    if (!document.SaveAs(path)) throw std::runtime_error("the document cannot be written");
    return path;
}

}  // namespace exam
