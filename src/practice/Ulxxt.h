// The chapter practice window: one practice set, filtered by question type, moved
// through by number in groups of 20, one question at a time on the question card,
// each answer stored and counted at once, a time gauge per question and a clock
// whose time goes to the day's log when the window closes.
#pragma once

#include "AnswerModel.h"
#include "ModalForm.h"
#include "StudyClock.h"

#include <QPixmap>
#include <QTimer>

#include <functional>
#include <vector>

class QAbstractButton;
class QFrame;
class QKeyEvent;
class QLabel;

namespace store {
class TDM1;
}
namespace widgets {
class EffectButton;
class FlatButton;
class Gauge;
class NumberDisplay;
class PictureButtonGroup;
}  // namespace widgets

namespace practice {

class QuestionCardWidget;
class StudyAnimation;

// Windows that the practice window opens and that are written elsewhere; until they
// are installed their buttons do nothing more than the practice window's own part.
// The question editor on a question of Cn1Query_tm, shown modally; true when the
// edit was stored.
using QuestionEditorRunner = std::function<bool(const QString& questionId, QWidget* opener)>;
void setQuestionEditorRunner(QuestionEditorRunner runner);

class TFrmLxxt : public widgets::ModalForm {
    Q_OBJECT
  public:
    // Loads the question-number pictures; when one is missing, the error prompt and
    // the program ends (EndProgram).
    explicit TFrmLxxt(store::TDM1& dm, QWidget* parent = nullptr);
    ~TFrmLxxt() override;

    // What a window built on this one does otherwise; the defaults are the
    // chapter practice window's.
    struct Design {
        QSize large{923, 585};
        QSize compact{780, 490};
        AnswerKind initialPage = AnswerKind::Matching;
        bool chapterHeading = true;         // the hint board title is the current chapter's
        bool typeNamesSelfAssessed = true;  // the type bar renames the "主观" page
        bool editedMarker = true;
        bool endOnMissingTypePictures = true;
        QString discardCaption = QStringLiteral("题目作废");
        QString finishEmptyText = QStringLiteral("请先做出答案！");
    };

    static constexpr QSize kLargeSize{923, 585};
    static constexpr QSize kCompactSize{780, 490};
    static constexpr int kGroupSize = 20;

    // Clears the bank's session answers, opens qb::PracticeSql and builds the type
    // bar. False for an empty set (or missing pictures): the window is not shown.
    bool LoadPracticeSet();
    // The last LoadPracticeSet failed for want of pictures rather than of questions.
    bool loadFailed() const { return loadFailed_; }

    enum class RecordMode {
        Leaving,  // another question is shown
        Finish,   // "完成"
        Quiet,    // a type change, closing
    };
    // Groups: mode "1" the first, "2" the previous, "3" the next; size of the set.
    void ShowGroup(const QString& mode, int size);
    void ShowQuestion(int number);
    void RecordAnswer(int number, AnswerKind page, RecordMode mode);

    void FormShow();
    void fcBG_txChange(int index);
    void fcBG_thChange(int index);
    void Timer1Timer();
    void KZTimeCounter1Timer();
    void FormCloseQuery(bool& CanClose);
    // True when the key was the window's: Backspace, Enter and A to F on "单选" and "多选".
    bool FormKeyDown(QKeyEvent* event);

    void epEfTrBtn1Click();   // 上一题
    void epEfTrBtn2Click();   // 下一题
    void epEfTrBtn3Click();   // 完成
    void epEfTrBtn6Click();   // 答案 / 返回
    void epEfTrBtn4Click();   // 解析
    void epEfTrBtn5Click();   // 笔记
    void epEfTrBtn9Click();   // 考点
    void epEfTrBtn11Click();  // 修改本题
    void epEfTrBtn10Click();  // 题目作废 / 取消作废
    void epEfTrBtn8Click();   // 设置
    void epEfTrBtn7Click();   // 桌面
    void epEfTrBtn99Click();  // 关闭
    void FlatSpeedButton1Click();
    void FlatSpeedButton2Click();

    int CurrentQuestionNo = 0;
    int GroupStart = 1;
    int GroupCount = 1;
    int groupTotal() const { return groups_; }
    int currentGroup() const { return currentGroup_; }
    QString clockText() const;
    StudyClock& clock() { return clock_; }
    bool picturesLoaded() const { return picturesLoaded_; }
    QuestionCardWidget* card() const { return card_; }

    QFrame* leftRegion;
    QFrame* rightRegion;
    QFrame* bottomRegion;
    QLabel* epLabel2;  // hint board title
    widgets::Gauge* epIndiGauge1;
    widgets::EffectButton* epEfTrBtn1;
    widgets::EffectButton* epEfTrBtn2;
    widgets::EffectButton* epEfTrBtn3;
    widgets::EffectButton* epEfTrBtn6;
    widgets::EffectButton* epEfTrBtn4;
    widgets::EffectButton* epEfTrBtn5;
    widgets::EffectButton* epEfTrBtn9;
    widgets::EffectButton* epEfTrBtn11;
    widgets::EffectButton* epEfTrBtn10;
    widgets::EffectButton* epEfTrBtn99;
    widgets::FlatButton* epEfTrBtn8;
    widgets::FlatButton* epEfTrBtn7;
    QLabel* clockCaption;
    widgets::NumberDisplay* epLabel1;
    StudyAnimation* RxGIFAnimator1;
    QLabel* typeBoardTitle;
    widgets::PictureButtonGroup* fcBG_tx;
    QLabel* numberBoardTitle;
    widgets::PictureButtonGroup* fcBG_th;
    QLabel* lbGroups;  // "共n组m道题"
    QLabel* lbGroup;   // "第n组"
    widgets::FlatButton* FlatSpeedButton1;
    widgets::FlatButton* FlatSpeedButton2;
    QTimer Timer1;
    QTimer KZTimeCounter1;

    static inline const QString kRestoreCaption = QStringLiteral("取消作废");

  protected:
    TFrmLxxt(store::TDM1& dm, Design design, QWidget* parent);
    // The buttons of the bottom strip, row by row, left to right.
    std::vector<std::vector<widgets::EffectButton*>> bottomRows_;
    void applyLayout(bool compact);

    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeQuery(bool& canClose) override;

  private:
    enum class QuestionState { Unanswered, Right, Wrong };
    struct PicturePair {
        QPixmap up;
        QPixmap down;
    };

    void FormCreate();
    void buildControls();
    widgets::EffectButton* makeButton(const char* name, const QString& caption,
                                      void (TFrmLxxt::*handler)());
    widgets::FlatButton* makeFlatButton(const char* name, const QString& caption,
                                        void (TFrmLxxt::*handler)());
    void ShowStem(const QString& questionId);
    void openTexts(const QString& questionId);
    // State of the current row of the set (E2_1 against A2).
    QuestionState currentState();
    const PicturePair& picturesFor(QuestionState state) const;
    void pressNumber(int index);
    // The set's current row back on the question shown.
    bool onCurrentQuestion();
    // Stores the answer of the question shown before anything else changes; when the
    // bank refuses it, the number and type bars go back to that question and the
    // error goes on, so the window stays as it was with the answer still on screen.
    void leaveQuestion(RecordMode mode);
    // After the editor stored a change: the question as it now is, or, when its new
    // type has taken it out of the type shown, the first question of that type.
    void showEditedQuestion(const QString& questionId);
    int setSize();

    store::TDM1& dm_;
    Design design_;
    QuestionCardWidget* card_;
    PicturePair unanswered_;
    PicturePair right_;
    PicturePair wrong_;
    QPixmap typeUp_;
    QPixmap typeDown_;
    bool picturesLoaded_ = false;
    bool loadFailed_ = false;
    QString firstQuestionId_;
    int groups_ = 0;
    int currentGroup_ = 1;
    int previousType_ = -1;
    StudyClock clock_;
    bool compact_ = false;
    bool shown_ = false;
    bool closed_ = false;
};

// The chapter practice window while it exists.
inline TFrmLxxt* FrmLxxt = nullptr;

// Installs the chapter practice window as the runner of practice::RunChapterPractice:
// made owned by the application with the caption, loaded, shown modally when the
// set is not empty (after the opener's beforeShow), and freed in every case.
void InstallChapterPractice(store::TDM1& dm);

// How a practice window made by its opener ended up.
enum class PracticeRun {
    Shown,   // the set had questions and the window was shown modally
    Empty,   // the set had none; nothing was shown
    Failed,  // the window could not be shown (its pictures are missing)
};
// Loads the set and, when it has questions, runs beforeShow and shows the window
// modally until it closes.
PracticeRun RunPracticeWindow(TFrmLxxt& window, const std::function<void()>& beforeShow);

}  // namespace practice
