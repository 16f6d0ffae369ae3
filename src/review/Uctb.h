// The wrong-question book window (错题本): the book's list with its four filters,
// a window on one question, practice of the filtered list in the chapter practice
// window and its export as a document.
#pragma once

#include "ModalForm.h"
#include "WrongBook.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QUrl>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QTableView;
class QTextBrowser;

namespace exam {
class WordDocument;
}
namespace store {
class TDM1;
}
namespace widgets {
class EffectButton;
}

namespace review {

// Where an exported list is written and how the desktop opens it; tests put a
// folder of their own and an opener that only records.
struct WrongBookExportHooks {
    std::function<QString()> folder;
    std::function<void(const QUrl& document)> open;
};
void setWrongBookExportHooks(WrongBookExportHooks hooks);

// The rows of the book as the grid shows them. The stem column is read from the
// bank only for the rows the grid asks for, so a book of many thousand questions
// opens at once.
class WrongBookModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Number, Stem, Chapter, Type, Answer, Key, Answers, Wrong, LastDate, Count };
    WrongBookModel(store::Database& db, QObject* parent = nullptr);
    void setBook(QVector<WrongQuestion> rows, QHash<QString, QString> chapterNames,
                 QHash<int, QString> typeNames);
    const QVector<WrongQuestion>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    QString stemOf(const QString& id) const;

    store::Database& db_;
    QVector<WrongQuestion> rows_;
    QHash<QString, QString> chapterNames_;
    QHash<int, QString> typeNames_;
    mutable QHash<QString, QString> stems_;
};

class TFrmCtb : public widgets::ModalForm {
    Q_OBJECT
  public:
    static QSize LayoutSize(bool compact) { return compact ? QSize(780, 490) : QSize(923, 585); }

    explicit TFrmCtb(store::TDM1& dm, QWidget* parent = nullptr);
    ~TFrmCtb() override;

    // Reads the book afresh, keeping the filters where they can stay.
    void LoadBook();
    const WrongFilter& filter() const { return filter_; }
    WrongBookModel* model() const { return model_; }

    void cbSubjectChange();
    void cbFilterChange();
    void btnViewClick();
    void btnPracticeClick();
    void btnExportClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void layOut();
    void fillCombo(QComboBox* combo, const QString& all, const QVector<FilterOption>& options,
                   const QString& keep);
    void showList();

    store::TDM1& dm_;
    WrongFilter filter_;
    QVector<WrongQuestion> whole_;  // the unfiltered book as last read
    WrongBookOptions options_;
    QHash<QString, QString> chapterNames_;
    QHash<int, QString> typeNames_;
    bool filling_ = false;
    WrongBookModel* model_;
    QLabel* lbSubject;
    QLabel* lbChapter;
    QLabel* lbPoint;
    QLabel* lbType;
    QComboBox* cbSubject;
    QComboBox* cbChapter;
    QComboBox* cbPoint;
    QComboBox* cbType;
    QTableView* DBGrid1;
    QLabel* lbCount;
    QLabel* lbRule;
    widgets::EffectButton* btnView;
    widgets::EffectButton* btnPractice;
    widgets::EffectButton* btnExport;
    widgets::EffectButton* btnClose;
};

// The window on one question of the book: stem, the candidate's last answer, the
// key, the explanation and the note.
class TFrmCtbView : public widgets::ModalForm {
    Q_OBJECT
  public:
    TFrmCtbView(const WrongQuestionDetail& detail, const QString& typeName,
                QWidget* parent = nullptr);
    ~TFrmCtbView() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    std::unique_ptr<exam::WordDocument> stem_;
    QTextBrowser* txtStem;
    QLabel* lbAnswer;
    QLabel* lbKey;
    QLabel* lbFigures;
    QTextBrowser* txtExplanation;
    QTextBrowser* txtNote;
    widgets::EffectButton* btnClose;
};

// The book's window while it is open.
inline TFrmCtb* FrmCtb = nullptr;

// The caption of the practice window the book opens.
inline const QString kWrongPracticeCaption = QStringLiteral("错题练习");
inline const QString kEmptyBookText = QStringLiteral("错题本中没有题目！");

}  // namespace review
