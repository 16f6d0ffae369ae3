// The note window: the user's free-text note on the question the practice or exam
// window stands on, kept in the A14 column of that question's row.
//
// An opener needs one line:
//     button->setText(aids::NoteButtonCaption(aids::TFrmBj::Open(dm, aids::NoteOrigin::Practice)));
// Open() creates the window on the current row of the opener's dataset, shows it
// modally, frees it and returns qb::NoteFilled. Every way of closing (the button,
// the close box, Escape) saves the note; a note that cannot be saved keeps the
// window open with its text, after an error prompt.
#pragma once

#include "Notes.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;

namespace store {
class TDM1;
class DataSource;
}  // namespace store

namespace widgets {
class EffectButton;
}

namespace aids {

// Who opened the note, which chooses the row it belongs to.
enum class NoteOrigin {
    Practice,  // the practice set, Cn1DS_tm; Label1 reads "lx"
    Exam,      // the exam paper's work table, Cn1DS_exam; Label1 reads "ks"
};

class TFrmBj : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kWidth = 392;
    static constexpr int kHeight = 353;

    // Binds the memo to A14 of the current row of the origin's dataset, which is
    // put into edit state at once. With no row to bind the memo is read-only.
    TFrmBj(store::TDM1& dm, NoteOrigin origin, QWidget* parent = nullptr);
    ~TFrmBj() override;

    // Rebinds to another data source and column (the origin's pair is the usual one).
    void Bind(store::DataSource& source, const QString& column);

    // Creates the window, shows it modally and frees it; returns qb::NoteFilled.
    static bool Open(store::TDM1& dm, NoteOrigin origin, QWidget* parent = nullptr);

    // The input method the memo was given on showing; empty: the current one.
    QString inputMethod() const { return inputMethod_; }

  public slots:
    // The one way out: saves first, and stays open when saving fails.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormShow();
    bool SaveNote();

    NoteBinding binding_;
    QString inputMethod_;
    QLabel* Label1;
    QPlainTextEdit* DBMemo1;
    widgets::EffectButton* epEfTrBtn1;
};

// The live note window, if any.
inline TFrmBj* FrmBj = nullptr;

}  // namespace aids
