// The knowledge-point catalogue: the chapters of knowledge points with their
// counters, and for a chosen chapter its knowledge points with their texts, the
// key points and the practice of one point's questions.
#pragma once

#include "Catalogue.h"
#include "ModalForm.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QSplitter;
class QTableWidget;
class QTextEdit;

namespace widgets {
class EffectButton;
}
namespace store {
class TDM1;
}

namespace knowledge {

// The detail of one chapter. Never shown by itself: its panel m_Pdetail is placed
// into the catalogue's body.
class TfrmLawDetail : public QWidget {
    Q_OBJECT
  public:
    explicit TfrmLawDetail(store::TDM1& dm, QWidget* parent = nullptr);

    // Lists the chapter's points; false when it has none.
    bool Open(const QString& chapterId);
    // Fills the list from the points as they stand and shows the first.
    void FillList();
    // A click on the list: shows that point's text, status line and practice state.
    void m_lBmenuClick();
    ChapterPoints& points() { return points_; }
    // The practice button follows the point shown.
    void setPracticeButton(QWidget* button) { practiceButton_ = button; }

    QWidget* m_Pdetail;
    QListWidget* m_LBmenu;
    QSplitter* Splitter1;
    QTextEdit* Re;
    QLabel* m_pNote;

  private:
    void showCurrent();

    ChapterPoints points_;
    QWidget* practiceButton_ = nullptr;
};

// A modal form that hides itself while a point is practised.
class TfrmLawsFaGui : public widgets::ModalForm {
    Q_OBJECT
  public:
    explicit TfrmLawsFaGui(store::TDM1& dm, QWidget* parent = nullptr);
    ~TfrmLawsFaGui() override;

    void m_btnFindClick();
    void m_btnSelectClick();
    void m_btnMostClick();
    void m_btnQuestionClick();
    void m_btnBackClick();
    void m_btnExitClick();

    // The chapter's key threshold as computed when it was chosen.
    int threshold() const { return threshold_; }
    TfrmLawDetail* detail() const { return detail_; }
    const QStringList& ids() const { return ids_; }

    // The window in the layouts of qb::ScreenMode "1024" and "800".
    static constexpr QSize kLargeSize{900, 599};
    static constexpr QSize kCompactSize{760, 504};

    QWidget* m_pTiltel;
    QLabel* m_Ltiltle;
    QWidget* m_pMuLu;
    QTableWidget* m_grid;
    QLineEdit* m_editFind;
    widgets::EffectButton* m_btnFind;
    widgets::EffectButton* m_btnSelect;
    widgets::EffectButton* m_btnMost;
    widgets::EffectButton* m_btnQuestion;
    widgets::EffectButton* m_btnBack;
    widgets::EffectButton* m_btnExit;

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void FormShow();
    void setHeadings();
    void loadGrid();
    void applyLayout();
    void catalogueMode();

    store::TDM1& dm_;
    QStringList ids_;
    TfrmLawDetail* detail_ = nullptr;
    QString chapterId_;
    int threshold_ = 1;
    bool compact_ = false;
};

// The catalogue while it exists.
inline TfrmLawsFaGui* frmLawsFaGui = nullptr;

}  // namespace knowledge
