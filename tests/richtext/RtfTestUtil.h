#pragma once

#include "RichText.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <gtest/gtest.h>

#include <vector>

namespace rtftest {

inline QByteArray dataFile(const char* name) {
    QFile f(QStringLiteral(RTF_TEST_DATA_DIR "/") + QString::fromUtf8(name));
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "missing test file " << name;
        return {};
    }
    return f.readAll();
}

inline QByteArray rtf(const char* body) {
    return QByteArray(body);
}

// The format of the first character of the first occurrence of `text`.
inline QTextCharFormat formatOf(const QTextDocument& doc, const QString& text) {
    const QTextCursor found = doc.find(text);
    EXPECT_FALSE(found.isNull()) << "text not found: " << text.toStdString();
    if (found.isNull()) return {};
    QTextCursor c(found.document());
    c.setPosition(found.selectionStart() + 1);
    return c.charFormat();
}

inline QTextBlock blockOf(const QTextDocument& doc, const QString& text) {
    const QTextCursor found = doc.find(text);
    EXPECT_FALSE(found.isNull()) << "text not found: " << text.toStdString();
    return found.block();
}

inline std::vector<QTextImageFormat> images(const QTextDocument& doc) {
    std::vector<QTextImageFormat> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                out.push_back(it.fragment().charFormat().toImageFormat());
    return out;
}

inline QImage imageOf(const QTextDocument& doc, const QTextImageFormat& f) {
    return doc.resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
}

inline std::vector<QTextTable*> tables(const QTextDocument& doc) {
    std::vector<QTextTable*> out;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it)
        if (auto* t = qobject_cast<QTextTable*>(it.currentFrame())) out.push_back(t);
    return out;
}

inline QString cellText(QTextTable* t, int row, int column) {
    const QTextTableCell cell = t->cellAt(row, column);
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return c.selectedText();
}

inline QByteArray pngBytes(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

}  // namespace rtftest
