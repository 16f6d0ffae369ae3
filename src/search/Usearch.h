// The full-text search window: one field, the questions found with the match shown
// in a piece of their text, each opened read-only, and chapter practice over all of
// them. The window hides itself while the practice runs and searches again when it
// comes back, since notes may have changed meanwhile.
#pragma once

#include "ModalForm.h"
#include "QuestionView.h"
#include "SearchIndex.h"

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QTableWidget;
class QTextEdit;

namespace store {
class TDM1;
}
namespace widgets {
class EffectButton;
}

namespace search {

class TFrmSearch : public widgets::ModalForm {
    Q_OBJECT
  public:
    explicit TFrmSearch(store::TDM1& dm, QWidget* parent = nullptr);
    ~TFrmSearch() override;

    static constexpr QSize kLargeSize{900, 599};
    static constexpr QSize kCompactSize{760, 504};

    void btnFindClick();
    void btnOpenClick();
    void btnPracticeClick();

    const SearchResult& result() const { return result_; }

    QLabel* lblTitle;
    QLineEdit* edFind;
    widgets::EffectButton* btnFind;
    QLabel* lblStatus;
    QTableWidget* grdResult;
    widgets::EffectButton* btnOpen;
    widgets::EffectButton* btnPractice;
    widgets::EffectButton* btnClose;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void FormShow();
    void applyLayout();
    // Opens the index on the first search, making it when needed; false on failure.
    bool ensureIndex();
    void runSearch(const QString& text);
    void fillGrid();

    store::TDM1& dm_;
    std::unique_ptr<SearchIndex> index_;
    SearchResult result_;
};

// One found question, read-only: shared stem, stem, key and last answer, knowledge
// points, explanation and note, with the words searched for marked.
class TFrmSearchView : public QDialog {
    Q_OBJECT
  public:
    TFrmSearchView(const QuestionView& question, const QString& query, QWidget* parent = nullptr);

    static constexpr QSize kSize{700, 560};

    QLabel* lblHead;
    QTextEdit* Re1;  // shared stem
    QTextEdit* Re2;  // stem
    QLabel* lblAnswer;
    QTextEdit* Re3;  // explanation
    QTextEdit* Re4;  // note
    widgets::EffectButton* btnClose;
};

// The search window while it exists.
inline TFrmSearch* FrmSearch = nullptr;

}  // namespace search
