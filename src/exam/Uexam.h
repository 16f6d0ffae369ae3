// The exam window: a paper answered against the clock, paused, handed in or timed
// out, marked, and then reviewed in the same window. Also the road from a menu
// command to a made paper shown in it.
#pragma once

#include "AnswerModel.h"
#include "ModalForm.h"
#include "PaperMaker.h"
#include "StudyClock.h"

#include <QPixmap>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <optional>

class QLabel;
class QStackedWidget;

namespace store {
class TDM1;
}
namespace widgets {
class EffectButton;
class FlatButton;
class PictureButtonGroup;
}  // namespace widgets
namespace practice {
class QuestionCardWidget;
}

namespace exam {

// The progress window lives in the application; the exam reaches it through this.
struct ProgressHook {
    std::function<void(const QString& text)> step;
    std::function<void()> hide;
};
void setProgressHook(ProgressHook hook);
// Where an exported paper is written and how the desktop opens it; tests put a
// folder of their own and an opener that only records.
struct ExportHooks {
    std::function<QString()> folder;
    // False when no program on this machine opens the document.
    std::function<bool(const QUrl& document)> open;
};
void setExportHooks(ExportHooks hooks);

// The hand-in question for the number of unanswered questions.
QString HandInText(int unanswered);
// Numbers as the window writes them: 1 not 1.0, 0.5 as is.
QString ShortDecimal(double value);

class TFrmExam : public widgets::ModalForm {
    Q_OBJECT
  public:
    explicit TFrmExam(store::TDM1& dm, QWidget* parent = nullptr);
    ~TFrmExam() override;

    static constexpr int kCapacity = 140;
    static constexpr QSize kLargeSize{917, 585};
    static constexpr QSize kCompactSize{773, 478};

    // For a paper MakePaper left filled, or one of the history (mode "old").
    void PreparePaper(const QString& table, const QString& title, const QString& mode, double score,
                      const QString& timeUsed);
    // Opens the paper dataset; false (with the error prompt) when it cannot.
    bool OpenPaper();

    void SetUpNumberPanel(int count);
    void SaveCurrentAnswer(int number, std::optional<practice::AnswerKind> kind,
                           bool updatePicture);
    void ShowQuestionText(const QString& id);
    void GradePaper(const QString& timeUsed);
    QString TypeHeading(int typeId);
    QString TypeNameOf(int typeId);
    // The reviewed paper as a document of the desktop's word processor.
    void ExportPaperToWord();

    void numberChange(int index);
    void previousClick();
    void nextClick();
    void handInClick();  // "交卷" and "关闭"
    void pauseClick();
    void answerClick();
    void explanationClick();
    void noteClick();
    void pointsClick();
    void discardClick();
    void documentClick();
    void desktopClick();
    void settingsClick();
    void clockTick();
    void timeOut();

    const PaperState& paper() const { return paper_; }
    int currentNumber() const { return current_; }
    int unanswered();
    practice::StudyClock& clock() { return clock_; }
    practice::QuestionCardWidget* card() const { return card_; }
    bool picturesLoaded() const { return picturesLoaded_; }

    QLabel* titleLabel;
    QLabel* numberLabel;
    QLabel* headingLabel;
    QLabel* clockLabel;
    QLabel* usedLabel;
    QLabel* scoreLabel;
    QLabel* boardTitle;
    QLabel* pauseCover;
    QStackedWidget* clockPages;
    widgets::PictureButtonGroup* numbers;
    widgets::FlatButton* settingsButton;
    widgets::FlatButton* desktopButton;
    widgets::FlatButton* pauseButton;
    widgets::EffectButton* previousButton;
    widgets::EffectButton* nextButton;
    widgets::EffectButton* handInButton;
    widgets::EffectButton* explanationButton;
    widgets::EffectButton* noteButton;
    widgets::EffectButton* answerButton;
    widgets::EffectButton* closeButton;
    widgets::EffectButton* pointsButton;
    widgets::EffectButton* documentButton;
    widgets::EffectButton* discardButton;
    QTimer timer;
    QTimer coverTimer;

    static inline const QString kPauseCaption = QStringLiteral("暂停考试");
    static inline const QString kResumeCaption = QStringLiteral("继续考试");
    static inline const QString kDiscardCaption = QStringLiteral("本题作废");
    static inline const QString kRestoreCaption = QStringLiteral("取消作废");
    static inline const QString kNotKeptText =
        QStringLiteral("本次成绩低于最低分，试卷将不被保存！");

  protected:
    void showEvent(QShowEvent* event) override;
    void closeQuery(bool& canClose) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void applyLayout(bool compact);
    void FormShow();
    void stopClock();
    void dropPaper();
    void dropAndClose();
    // What every way out does with the paper first, as "关闭" does: true when the
    // window may close (false: marked and now reviewed, hand-in cancelled, failed).
    bool leavePaper();
    // The same, where nobody can be asked (the program ending).
    void leaveUnasked() noexcept;
    void releaseData() noexcept;
    void failed(const QString& text);
    bool onQuestion(int number);
    std::optional<practice::AnswerKind> currentKind();
    void setNumberPicture(int number, bool answered);

    store::TDM1& dm_;
    practice::QuestionCardWidget* card_;
    PaperState paper_;
    practice::StudyClock clock_;
    QPixmap up_, down_, right_, downRight_, wrong_, downWrong_, over_;
    bool picturesLoaded_ = false;
    bool firstShow_ = true;
    bool closed_ = false;
    bool left_ = false;
    bool paused_ =
        false;  // "继续考试" is shown  // the paper has been dealt with; the window may go
    int current_ = 0;
    bool previousWasEnabled_ = false;
    bool nextWasEnabled_ = false;
};

inline TFrmExam* FrmExam = nullptr;

// The menu's mock exam of a kind: makes the paper and shows it modally; on failure
// tells why and returns, leaving nothing behind.
void StartMockExam(store::TDM1& dm, int kind);

}  // namespace exam
