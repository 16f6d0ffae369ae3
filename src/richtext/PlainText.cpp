#include "RichText.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <vector>

namespace richtext {

namespace {

QString blockText(const QTextBlock& block) {
    QString out;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid() || fragment.charFormat().isImageFormat()) continue;
        out += fragment.text();
    }
    for (QChar& c : out) {
        if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char('\n');
        else if (c == QChar::Nbsp)
            c = QLatin1Char(' ');
    }
    out.remove(QChar(QChar::ObjectReplacementCharacter));
    return out;
}

void appendFrameText(QTextFrame::iterator it, QStringList* parts) {
    for (; !it.atEnd(); ++it) {
        if (QTextFrame* child = it.currentFrame())
            appendFrameText(child->begin(), parts);
        else if (it.currentBlock().isValid())
            parts->append(blockText(it.currentBlock()));
    }
}

QString cellText(const QTextTableCell& cell) {
    QStringList parts;
    appendFrameText(cell.begin(), &parts);
    return parts.join(QLatin1Char(' '));
}

struct Line {
    QString text;
    bool table = false;
};

}  // namespace

QString plainTextOf(const QTextDocument& doc) {
    std::vector<Line> lines;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* frame = it.currentFrame()) {
            if (auto* table = qobject_cast<QTextTable*>(frame)) {
                for (int r = 0; r < table->rows(); ++r) {
                    QStringList cells;
                    for (int c = 0; c < table->columns(); ++c) {
                        const QTextTableCell cell = table->cellAt(r, c);
                        const bool own = cell.row() == r && cell.column() == c;
                        cells.append(own ? cellText(cell) : QString());
                    }
                    lines.push_back({cells.join(QLatin1Char('\t')), true});
                }
            } else {
                QStringList parts;
                appendFrameText(frame->begin(), &parts);
                for (const QString& p : parts)
                    lines.push_back({p, false});
            }
        } else if (it.currentBlock().isValid()) {
            lines.push_back({blockText(it.currentBlock()), false});
        }
    }
    // The empty blocks that Qt keeps before a table at the start and after one at the end
    // are no lines of the text.
    if (lines.size() > 1 && !lines.front().table && lines.front().text.isEmpty() && lines[1].table)
        lines.erase(lines.begin());
    if (lines.size() > 1 && !lines.back().table && lines.back().text.isEmpty() &&
        lines[lines.size() - 2].table)
        lines.pop_back();
    QString out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out += QLatin1Char('\n');
        out += lines[i].text;
    }
    return out;
}

QString plainTextOfRtf(const QByteArray& data) {
    QTextDocument doc;
    read(data, &doc);
    return plainTextOf(doc);
}

}  // namespace richtext
