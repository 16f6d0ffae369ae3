// A rich-text box for what the candidate writes into the bank: it keeps what is
// pasted from a word processor or a web page (bold, colours, tables, pictures),
// takes picture files dropped on it, knows Ctrl+B/I/U, and reads and writes the
// bank's RTF.
#pragma once

#include <QTextEdit>

namespace widgets {

class RichTextEdit : public QTextEdit {
    Q_OBJECT
  public:
    explicit RichTextEdit(QWidget* parent = nullptr);

    // Shows the bank's bytes (RTF or plain text); the undo history starts afresh.
    void setRtf(const QByteArray& data);
    QByteArray rtf() const;
    // The text for checks: pictures count as a character each, so a box holding
    // only a picture is not empty.
    QString contentText() const;

    // Inserts a picture at the cursor; false when the file holds none.
    bool insertPictureFile(const QString& path);
    void insertPicture(const QImage& image);

  protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // Every picture of the document held in the document itself, so that it is
    // written with the text whatever its source (a file, a data address).
    void keepPictures();
    void toggle(int key);
};

}  // namespace widgets
