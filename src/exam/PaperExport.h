// A reviewed paper as a word-processor document: the questions under numbered type
// headings, then, after a page break, the answers with explanations and knowledge
// points. The document is built with the word processor's few operations and
// written as an OpenDocument text file, which the desktop opens in its word
// processor; the user's clipboard is never touched.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTextCursor>
#include <QTextDocument>

namespace store {
class TDM1;
class Database;
}  // namespace store

namespace exam {

// "一、" to "九、" for 1 to 9, "--" for any other number.
QString SectionNumeral(int n);
// The name (B1) of a question type in tab_tx<kind>; empty when the type is missing.
QString TypeNameOf(store::Database& db, int kind, int typeId);
// A question of a group shares its stem with the others: its id holds "-".
bool IsGroupedQuestion(const QString& id);
// The answer line of a question, or empty when its type gets none: the key for
// single and multiple choice, 正确 / 错误 for the true/false types.
QString AnswerLine(int typeId, const QString& key);

// The word processor's operations, on a document of its own.
class WordDocument {
  public:
    WordDocument();
    WordDocument(const WordDocument&) = delete;
    WordDocument& operator=(const WordDocument&) = delete;

    void TypeText(const QString& text);
    void TypeParagraph();
    // Rich text (RTF, or plain text) at the insertion point with its own formatting,
    // pictures and tables; nothing when it is empty.
    void PasteRichText(const QByteArray& data);
    void InsertBreak();

    QTextDocument& document() { return doc_; }
    // Writes the document as OpenDocument text; false when the file cannot be written.
    bool SaveAs(const QString& path);

  private:
    QTextDocument doc_;
    QTextCursor cursor_;
    int pictures_ = 0;
};

// Fills the document from the paper open in the data module's paper query, through
// a cursor of its own (the exam window keeps its place). Throws on any failure.
void BuildPaperDocument(store::TDM1& dm, const QString& title, WordDocument& document);

// A file name in the folder for the title that names no existing file: "title.odt",
// then "title (2).odt" and so on. Characters a file name cannot hold become "_".
QString UniqueDocumentPath(const QString& folder, const QString& title);
// Where exported documents go: the user's documents folder, home when there is none.
QString DocumentsFolder();

// Builds the paper's document and writes it into the folder; returns its path.
// Throws on any failure.
QString WritePaperDocument(store::TDM1& dm, const QString& title, const QString& folder);

}  // namespace exam
