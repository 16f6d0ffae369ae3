// The explanation window: a question's stored rich-text explanation, read-only.
//
// An opener needs one line:
//     aids::TFrmJx::Open(dm, aids::ExplanationSource::Practice);
// Open() sets the busy cursor, creates the window on the current row of the
// opener's dataset, shows it modally and frees it; the window takes the busy
// cursor back when it shows. A question without an explanation shows an empty window.
#pragma once

#include <QDialog>

class QTextEdit;

namespace store {
class TDM1;
class Dataset;
}  // namespace store

namespace widgets {
class EffectButton;
}

namespace aids {

// Who opened the explanation, which chooses the row it is read from.
enum class ExplanationSource {
    Practice,  // the current question's texts, Cn1DS_nr (tab_exer)
    Exam,      // the exam paper's work table, Cn1DS_exam
};

class TFrmJx : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kWidth = 596;
    static constexpr int kHeight = 359;

    // Shows column jx of the current row of the source's dataset; any failure to
    // read it leaves the window empty.
    TFrmJx(store::TDM1& dm, ExplanationSource source, QWidget* parent = nullptr);
    ~TFrmJx() override;

    // Shows another dataset's column instead; errors are ignored here too.
    void Bind(store::Dataset& dataset, const QString& column);

    static void Open(store::TDM1& dm, ExplanationSource source, QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormShow();

    QTextEdit* Re;
    widgets::EffectButton* epEfTrBtn1;
};

// The live explanation window, if any.
inline TFrmJx* FrmJx = nullptr;

}  // namespace aids
