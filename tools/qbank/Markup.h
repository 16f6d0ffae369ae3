// The small markup of bank sources: one paragraph per line, **bold**, and
// ![](pictures/file.png) for a picture. Converted to and from rich-text documents.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <QVector>

#include <functional>

class QTextDocument;
class QImage;

namespace qbank {

// Fills the document from markup. Pictures are read relative to baseDir. Problems
// (a missing picture, an unclosed **) are appended to errors as plain sentences
// together with the 0-based line of the text they are on.
struct MarkupError {
    int line;
    QString message;
};
void MarkupToDocument(const QString& markup, const QString& baseDir, QTextDocument* doc,
                      QVector<MarkupError>* errors);

// The problems MarkupToDocument would meet, found without building a document.
QVector<MarkupError> CheckMarkup(const QString& markup, const QString& baseDir);

// Markup of a document. Each picture is handed to savePicture, which returns the
// path the markup should name.
QString DocumentToMarkup(const QTextDocument& doc,
                         const std::function<QString(const QImage&)>& savePicture);

// Markup -> RTF, and RTF -> markup, through a document.
QByteArray MarkupToRtf(const QString& markup, const QString& baseDir, QVector<MarkupError>* errors);
QString RtfToMarkup(const QByteArray& rtf,
                    const std::function<QString(const QImage&)>& savePicture);
QString RtfToPlainText(const QByteArray& rtf);

}  // namespace qbank
