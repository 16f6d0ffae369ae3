#include "RichTextEdit.h"

#include "ModalForm.h"
#include "RichText.h"

#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QMimeData>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QUuid>

#include <algorithm>

namespace widgets {
namespace {

bool IsPictureFile(const QUrl& url) {
    return url.isLocalFile() && !QImageReader::imageFormat(url.toLocalFile()).isEmpty();
}

// "data:image/png;base64,...." as a web page or a word processor puts it on the
// clipboard.
QImage ImageOfDataUrl(const QUrl& url) {
    const QString path = url.toString(QUrl::FullyEncoded).mid(5);
    const qsizetype comma = path.indexOf(u',');
    if (comma < 0) return {};
    const QByteArray payload = path.mid(comma + 1).toLatin1();
    const bool base64 = path.left(comma).endsWith(QLatin1String(";base64"));
    return QImage::fromData(base64 ? QByteArray::fromBase64(payload)
                                   : QByteArray::fromPercentEncoding(payload));
}

QImage ImageOfResource(const QVariant& resource) {
    switch (resource.typeId()) {
        case QMetaType::QImage:
            return resource.value<QImage>();
        case QMetaType::QPixmap:
            return resource.value<QPixmap>().toImage();
        case QMetaType::QByteArray:
            return QImage::fromData(resource.toByteArray());
        default:
            return {};
    }
}

}  // namespace

RichTextEdit::RichTextEdit(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(true);
    setFont(PixelFont(16));
}

void RichTextEdit::setRtf(const QByteArray& data) {
    document()->clear();
    if (!data.isEmpty()) richtext::read(data, document());
    document()->clearUndoRedoStacks();
    document()->setModified(false);
}

QByteArray RichTextEdit::rtf() const {
    return richtext::writeRtf(*document());
}

QString RichTextEdit::contentText() const {
    return document()->toPlainText();
}

void RichTextEdit::insertPicture(const QImage& image) {
    const QUrl name(QStringLiteral("pasted:") + QUuid::createUuid().toString(QUuid::WithoutBraces));
    document()->addResource(QTextDocument::ImageResource, name, image);
    QTextImageFormat format;
    format.setName(name.toString());
    format.setWidth(image.width());
    format.setHeight(image.height());
    textCursor().insertImage(format);
}

bool RichTextEdit::insertPictureFile(const QString& path) {
    const QImage image(path);
    if (image.isNull()) return false;
    insertPicture(image);
    return true;
}

bool RichTextEdit::canInsertFromMimeData(const QMimeData* source) const {
    if (source->hasImage()) return true;
    if (source->hasUrls()) {
        const QList<QUrl> urls = source->urls();
        if (std::any_of(urls.begin(), urls.end(), IsPictureFile)) return true;
    }
    return QTextEdit::canInsertFromMimeData(source);
}

void RichTextEdit::insertFromMimeData(const QMimeData* source) {
    textCursor().beginEditBlock();
    if (source->hasHtml()) {
        QTextEdit::insertFromMimeData(source);
        keepPictures();
    } else if (source->hasImage()) {
        insertPicture(qvariant_cast<QImage>(source->imageData()));
    } else if (source->hasUrls() && IsPictureFile(source->urls().constFirst())) {
        for (const QUrl& url : source->urls()) {
            if (IsPictureFile(url)) insertPictureFile(url.toLocalFile());
        }
    } else {
        QTextEdit::insertFromMimeData(source);
    }
    textCursor().endEditBlock();
}

void RichTextEdit::keepPictures() {
    QTextDocument* doc = document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat()) continue;
            const QUrl url(format.toImageFormat().name());
            QImage image;
            if (url.scheme() == QLatin1String("data")) {
                image = ImageOfDataUrl(url);
            } else if (url.isLocalFile()) {
                image.load(url.toLocalFile());
            } else {
                image = ImageOfResource(doc->resource(QTextDocument::ImageResource, url));
            }
            if (!image.isNull()) doc->addResource(QTextDocument::ImageResource, url, image);
        }
    }
}

void RichTextEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (event->modifiers() == Qt::ControlModifier &&
        (key == Qt::Key_B || key == Qt::Key_I || key == Qt::Key_U)) {
        toggle(key);
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void RichTextEdit::toggle(int key) {
    const QTextCharFormat current = currentCharFormat();
    QTextCharFormat change;
    if (key == Qt::Key_B) {
        change.setFontWeight(current.fontWeight() > QFont::Normal ? QFont::Normal : QFont::Bold);
    } else if (key == Qt::Key_I) {
        change.setFontItalic(!current.fontItalic());
    } else {
        change.setFontUnderline(!current.fontUnderline());
    }
    mergeCurrentCharFormat(change);
}

}  // namespace widgets
