#include "Markup.h"

#include "Limits.h"
#include "RichText.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

namespace qbank {
namespace {

const QRegularExpression& pictureSyntax() {
    static const QRegularExpression re(QStringLiteral(R"(!\[[^\]]*\]\(([^)]+)\))"));
    return re;
}

// The picture a source names, decoded as the bank will hold it; a null image, with the
// reason in *problem, for one outside the source folder, unreadable, cut short or too large.
QImage sourcePicture(const QString& name, const QString& baseDir, QString* problem) {
    const QString folder = baseDir.isEmpty() ? QStringLiteral(".") : baseDir;
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QString path = QFileInfo(QDir(folder).filePath(name)).canonicalFilePath();
    if (QDir::isAbsolutePath(name) ||
        (!path.isEmpty() && !path.startsWith(root + QLatin1Char('/')))) {
        *problem = QStringLiteral("the picture %1 lies outside the source folder").arg(name);
        return {};
    }
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isValid() &&
        qint64(size.width()) * size.height() > richtext::limits::kMaxPicturePixels) {
        *problem = QStringLiteral("the picture %1 is too large (%2 × %3 pixels)")
                       .arg(name)
                       .arg(size.width())
                       .arg(size.height());
        return {};
    }
    QImage image = reader.read();
    if (image.isNull()) *problem = QStringLiteral("cannot read the picture %1").arg(name);
    return image;
}

// Inserts one line of markup at the cursor: bold runs and pictures.
void insertLine(QTextCursor& cursor, QTextDocument* doc, const QString& line, int lineNo,
                const QString& baseDir, QVector<MarkupError>* errors) {
    QTextCharFormat plain;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bool inBold = false;
    qsizetype pos = 0;
    QString run;
    auto flush = [&] {
        if (!run.isEmpty()) cursor.insertText(run, inBold ? bold : plain);
        run.clear();
    };
    while (pos < line.size()) {
        if (line.mid(pos, 2) == QLatin1String("**")) {
            flush();
            inBold = !inBold;
            pos += 2;
            continue;
        }
        if (line[pos] == u'!') {
            const QRegularExpressionMatch m =
                pictureSyntax().match(line, pos, QRegularExpression::NormalMatch,
                                      QRegularExpression::AnchorAtOffsetMatchOption);
            if (m.hasMatch()) {
                flush();
                const QString path = m.captured(1).trimmed();
                QString problem;
                const QImage image = sourcePicture(path, baseDir, &problem);
                if (image.isNull()) {
                    errors->push_back({lineNo, problem});
                } else {
                    const QUrl name(
                        QStringLiteral("qbank-picture:%1").arg(QFileInfo(path).fileName()));
                    doc->addResource(QTextDocument::ImageResource, name, image);
                    QTextImageFormat format;
                    format.setName(name.toString());
                    format.setWidth(image.width());
                    format.setHeight(image.height());
                    cursor.insertImage(format);
                }
                pos += m.capturedLength();
                continue;
            }
        }
        run += line[pos++];
    }
    flush();
    if (inBold) errors->push_back({lineNo, QStringLiteral("** is not closed on this line")});
}

}  // namespace

void MarkupToDocument(const QString& markup, const QString& baseDir, QTextDocument* doc,
                      QVector<MarkupError>* errors) {
    doc->clear();
    QTextCursor cursor(doc);
    const QStringList lines = markup.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0) cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        insertLine(cursor, doc, lines[i], i, baseDir, errors);
    }
}

QVector<MarkupError> CheckMarkup(const QString& markup, const QString& baseDir) {
    QVector<MarkupError> errors;
    const QStringList lines = markup.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString rest = lines[i];
        auto it = pictureSyntax().globalMatch(rest);
        while (it.hasNext()) {
            const QString path = it.next().captured(1).trimmed();
            QString problem;
            if (sourcePicture(path, baseDir, &problem).isNull()) errors.push_back({i, problem});
        }
        rest.remove(pictureSyntax());
        if (rest.count(QLatin1String("**")) % 2 != 0) {
            errors.push_back({i, QStringLiteral("** is not closed on this line")});
        }
    }
    return errors;
}

QString DocumentToMarkup(const QTextDocument& doc,
                         const std::function<QString(const QImage&)>& savePicture) {
    QStringList lines;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QString line;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                const QTextImageFormat image = format.toImageFormat();
                const QVariant resource =
                    doc.resource(QTextDocument::ImageResource, QUrl(image.name()));
                const QImage picture = resource.value<QImage>();
                // One picture character per fragment character.
                for (int n = 0; n < fragment.length(); ++n) {
                    line += QStringLiteral("![](") + savePicture(picture) + u')';
                }
                continue;
            }
            QString text = fragment.text();
            // A line break inside a paragraph starts a new line of markup.
            text.replace(QChar::LineSeparator, u'\n');
            text.replace(QChar::ParagraphSeparator, u'\n');
            const bool bold = format.fontWeight() >= QFont::Bold;
            if (!bold) {
                line += text;
                continue;
            }
            // Bold markers close at every line end and reopen on the next line.
            QStringList parts = text.split(u'\n');
            for (QString& part : parts) {
                if (!part.isEmpty()) part = QStringLiteral("**") + part + QStringLiteral("**");
            }
            line += parts.join(u'\n');
        }
        line.replace(QLatin1String("****"), QString());  // adjacent bold runs join
        lines << line;
    }
    return lines.join(u'\n');
}

QByteArray MarkupToRtf(const QString& markup, const QString& baseDir,
                       QVector<MarkupError>* errors) {
    QTextDocument doc;
    MarkupToDocument(markup, baseDir, &doc, errors);
    return richtext::writeRtf(doc);
}

QString RtfToMarkup(const QByteArray& rtf,
                    const std::function<QString(const QImage&)>& savePicture) {
    QTextDocument doc;
    richtext::readRtf(rtf, &doc);
    return DocumentToMarkup(doc, savePicture);
}

QString RtfToPlainText(const QByteArray& rtf) {
    QTextDocument doc;
    richtext::readRtf(rtf, &doc);
    return doc.toPlainText();
}

}  // namespace qbank
