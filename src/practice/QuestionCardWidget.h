// The question card as the answering windows show it: the header line, the two
// markers, the stem panes with the sliding verdict panel over them, the answer
// area with one page per answer kind, and the states of the side buttons. The
// rules behind it (answer strings, checking, storing) are in QuestionCard.h; the
// window places the parts and owns the side buttons.
#pragma once

#include "AnswerModel.h"
#include "QuestionCard.h"

#include <QByteArray>
#include <QFrame>
#include <QObject>
#include <QPointer>
#include <QStackedWidget>

#include <array>

class QAbstractButton;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QSplitter;
class QTextEdit;

namespace store {
class Dataset;
class TDM1;
}  // namespace store

namespace widgets {
class PictureButtonGroup;
}

namespace practice {

// The answer area (`Notebook1`): six pages in the order of AnswerKind, each with
// its name written down its left side. Each page is named by its caption.
class AnswerArea : public QStackedWidget {
    Q_OBJECT
  public:
    explicit AnswerArea(QWidget* parent = nullptr);

    AnswerKind kind() const;
    void setKind(AnswerKind kind);
    // The caption of the page shown ("单选" …), by which keys are handled.
    QString pageCaption() const { return PageCaption(kind()); }

    // The name down the left of a page; "\r\n" or "\r" separate its lines, and a
    // text without them is written one character per line.
    void setPageLabel(AnswerKind kind, const QString& text);
    // The lines of the label as shown, joined by "\n".
    QString pageLabel(AnswerKind kind) const;

    // What the controls of one page hold (the other pages' fields stay default).
    AnswerControls controls(AnswerKind kind) const;
    void setControls(AnswerKind kind, const AnswerControls& controls);
    // The stored answer on a page: only the first optionCount options are shown.
    void showStoredAnswer(AnswerKind kind, int optionCount, const QString& stored);
    // The answer string of the page shown.
    QString collectAnswer(int optionCount) const;

    // The keyboard's option keys: on "单选" presses option `index` alone, on "多选"
    // toggles it, shown or not. False on every other page.
    bool pressOption(int index);
    // The keys of a choice page (Backspace, Enter, A to F); true when taken.
    bool handleKey(const QKeyEvent& event, QAbstractButton* previous, QAbstractButton* next);

    widgets::PictureButtonGroup* optionBar(AnswerKind kind) const;  // 单选, 多选, 配伍
    widgets::PictureButtonGroup* trueFalseBar() const { return fcBG_yn; }
    QLineEdit* fillInEdit() const { return FlatEdit1; }
    QComboBox* selfAssessedBox() const { return FlatComboBox1; }

    // Pictures of the option buttons, pressed and not.
    void setOptionPictures(const QPixmap& up, const QPixmap& down);
    // Sizes of the option tiles and of the page names for a layout.
    void setMetrics(QSize tile, int labelPixelSize, int controlPixelSize);

    // The mouse over the area: the hint of the page shown becomes its tooltip.
    void Notebook1MouseMove();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    QWidget* makePage(AnswerKind kind, QWidget* controls);
    widgets::PictureButtonGroup* makeOptions(const char* name, const QStringList& captions,
                                             bool radio);
    void watchMouse(QWidget* widget);

    std::array<QWidget*, 6> labels_{};
    widgets::PictureButtonGroup* fcBG_one;
    widgets::PictureButtonGroup* fcBG_many;
    QLineEdit* FlatEdit1;
    widgets::PictureButtonGroup* fcBG_yn;
    QComboBox* FlatComboBox1;
    widgets::PictureButtonGroup* fcBG_pw;
};

// The stem area (`Panel1`): the upper pane `Re1`, and for a question of a group the
// lower pane `Re2` below a splitter; the `VerdictPanel` slides over both.
class StemArea : public QFrame {
    Q_OBJECT
  public:
    explicit StemArea(QWidget* parent = nullptr);

    // A question alone: its stem in the upper pane, the lower pane collapsed.
    void showSingle(const QByteArray& stem);
    // A question of a group: the shared stem above, its own below. A collapsed lower
    // pane opens at kLowerPaneHeight; one the user has sized keeps its size.
    void showGrouped(const QByteArray& sharedStem, const QByteArray& ownStem);
    void clear();
    void collapseLower();

    bool lowerCollapsed() const;
    int lowerPaneHeight() const;
    int splitterHeight() const;

    // What the verdict panel says; it is worked out by the caller.
    void setVerdict(bool right, const QString& yourAnswer, const QString& key);
    QString verdictLine() const;
    QString verdictAnswer() const;
    QString verdictKey() const;
    // Slides the panel open to the full width of the area, or shut, in steps of
    // 20, 40, 60 … pixels; pending events are processed after each step.
    void slideVerdict(bool open);
    // Shut at once, stopping any slide under way.
    void closeVerdictNow();
    int verdictWidth() const;

    // The pause after each step of a slide; tests make it 0.
    static void setSlideStepDelay(int ms);
    static constexpr int kLowerPaneHeight = 150;
    static constexpr int kSplitterHeight = 6;
    static constexpr int kStemPixelSize = 16;

    QTextEdit* Re1;
    QTextEdit* Re2;
    QSplitter* Splitter1;
    QFrame* VerdictPanel;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void setVerdictWidth(int width);

    QWidget* verdictContent_;
    QLabel* verdictLine_;
    QLabel* yourAnswer_;
    QLabel* key_;
    int slideGeneration_ = 0;
};

// The card: creates the header, markers, stem area and answer area as children of
// the window, which places them; sets the side buttons the window gives it.
class QuestionCardWidget : public QObject {
    Q_OBJECT
  public:
    explicit QuestionCardWidget(QWidget* window);

    struct SideButtons {
        QAbstractButton* explanation = nullptr;  // "解析"
        QAbstractButton* points = nullptr;       // "考点"
        QAbstractButton* answer = nullptr;       // "答案" / "返回"
        QAbstractButton* note = nullptr;         // "笔记" / "有内容"
    };
    void setSideButtons(const SideButtons& buttons);
    const SideButtons& sideButtons() const { return side_; }

    // "第n题（第k次出现）", n and k in bold; k from E3.
    void setHeader(int number, int e3);
    QString headerText() const;  // without the bold marks

    // The red marker from f1 and the bold one from ecount.
    void setMarkers(int f1, int ecount);
    void setRedMarker(const QString& text);
    void setBoldMarker(const QString& text);

    // Fills the stem panes for the current question: its own stem A15 from the
    // current row of `ownStem` (tab_exer), the group's shared stem read into
    // Cn1Query2. Throws when a row cannot be read; the panes are cleared first.
    void ShowStem(store::TDM1& dm, const QString& questionId, store::Dataset& ownStem);

    // The stored answer E2_1 on the page of `kind`, and the side buttons, from the
    // current rows of the question and of its texts (null: no texts row).
    void ShowAnswerState(AnswerKind kind, store::Dataset& question, store::Dataset* texts);
    // The note button's caption for the note text A14.
    void setNoteCaption(const QString& note);

    // The answer button: "答案" works the verdict out from the controls as they stand
    // and slides the panel open; "返回" slides it shut.
    void ShowVerdict(const QString& key);
    // Another question is shown: the panel shuts at once and the button reads "答案".
    void closeVerdict();
    bool verdictOpen() const;

    QLabel* header() const { return header_; }
    QLabel* redMarker() const { return redMarker_; }
    QLabel* boldMarker() const { return boldMarker_; }
    StemArea* stem() const { return stem_; }
    AnswerArea* answers() const { return answers_; }

    static inline const QString kAnswerCaption = QStringLiteral("答案");
    static inline const QString kBackCaption = QStringLiteral("返回");
    static inline const QString kNoteCaption = QStringLiteral("笔记");
    static inline const QString kNoteFilledCaption = QStringLiteral("有内容");

  private:
    // The answer as the verdict panel shows it, from the controls of the page shown.
    QString verdictAnswer() const;
    QString verdictKey(const QString& key) const;

    QLabel* header_;
    QLabel* redMarker_;
    QLabel* boldMarker_;
    StemArea* stem_;
    AnswerArea* answers_;
    SideButtons side_;
    QString headerText_;
};

}  // namespace practice
