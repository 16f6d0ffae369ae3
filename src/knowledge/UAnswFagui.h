// The related-knowledge-points window: the knowledge points of the question a
// practice or exam window stands on, with the text of the one selected.
//
// An opener's "考点" button, with the A1 of the question it stands on:
//     knowledge::TfrmAnswFagui::Open(dm, questionId, this);
// which is the same as
//     knowledge::TfrmAnswFagui w(dm, this);
//     if (w.LoadQuestionPoints(questionId)) w.exec();
// A question without knowledge points shows nothing. When the window closes it
// shows its opener (the parent) again should that have been hidden meanwhile.
#pragma once

#include "QuestionPoints.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QSplitter;
class QTextEdit;

namespace store {
class TDM1;
}

namespace widgets {
class EffectButton;
}

namespace knowledge {

class TfrmAnswFagui : public QDialog {
    Q_OBJECT
  public:
    // Client sizes of the two layouts (qb::ScreenMode "1024" and "800").
    static constexpr QSize kLargeSize{917, 585};
    static constexpr QSize kCompactSize{657, 421};

    explicit TfrmAnswFagui(store::TDM1& dm, QWidget* opener = nullptr);
    ~TfrmAnswFagui() override;

    // Reads the question's knowledge-point slots; true when it has at least one,
    // and only then should the window be shown.
    bool LoadQuestionPoints(const QString& questionId);

    // Loads the question and shows the window modally when it has knowledge
    // points; returns whether it was shown.
    static bool Open(store::TDM1& dm, const QString& questionId, QWidget* opener = nullptr);

    const QuestionPoints& points() const { return points_; }

  public slots:
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormShow();
    void ApplyLayout(bool compact);
    void ListBox1Click(int row);
    void ShowCurrent();
    void epEfTrBtn1Click();

    QuestionPoints points_;
    QWidget* epPanelTop;
    QLabel* epLabel1;
    QSplitter* Splitter1;
    QListWidget* ListBox1;
    QTextEdit* Re;
    QWidget* epPanelBottom;
    widgets::EffectButton* epEfTrBtn1;
};

// The live window, if any.
inline TfrmAnswFagui* frmAnswFagui = nullptr;

}  // namespace knowledge
