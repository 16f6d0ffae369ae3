// The explanation window shows the stored rich text of the caller's row, read-only,
// and shows nothing when there is nothing to show.
#include "AidsFixture.h"

#include "Explanation.h"
#include "RichText.h"
#include "Ujx.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

namespace {

// RTF as the bank's editor writes it: GBK bytes under \ansicpg936 with \u escapes.
const QByteArray kRtf =
    "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
    "\\pard\\f0 \\uc2\\u31572\\'b4\\'f0\\u26696\\'b0\\'b8\\u36873\\'d1\\'a1 C\\par "
    "{\\b \\u-26472\\'cc\\'e2\\u-30237\\'bd\\'e2}\\par}";
const QString kRtfText = QStringLiteral("答案选 C\n题解");

class ExplanationTest : public AidsTest {
  protected:
    void addText(const QString& id, const QVariant& jx) {
        db().execute(QStringLiteral("insert into tab_exer (A1,A15,jx) values (?,?,?)"),
                     {{{}, id}, {{}, QByteArray("{\\rtf1 stem}")}, {{}, jx}});
    }
    // The practice windows keep the current question's texts in cn1query_nr.
    void standOnTexts(const QString& id) {
        dm->cn1query_nr.setSql(QStringLiteral("select * from tab_exer where A1=:A1"));
        dm->cn1query_nr.setParam(QStringLiteral("A1"), id);
        dm->cn1query_nr.open();
    }
    static QTextEdit* re(QWidget& w) { return w.findChild<QTextEdit*>(QStringLiteral("Re")); }
};

TEST_F(ExplanationTest, ShowsTheStoredRtfReadOnly) {
    addText(QStringLiteral("Q1"), QByteArray("{\\rtf1 other}"));
    addText(QStringLiteral("Q2"), kRtf);
    standOnTexts(QStringLiteral("Q2"));

    aids::TFrmJx window(*dm, aids::ExplanationSource::Practice);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("解析"));
    EXPECT_EQ(window.size(), QSize(596, 359));
    window.show();
    EXPECT_EQ(richtext::plainTextOf(*re(window)->document()), kRtfText);
    EXPECT_TRUE(re(window)->isReadOnly());
    EXPECT_EQ(re(window)->font().pixelSize(), 16);
    QTest::keyClicks(re(window), QStringLiteral("x"));
    EXPECT_EQ(richtext::plainTextOf(*re(window)->document()), kRtfText);
    EXPECT_TRUE(window.rect().contains(re(window)->geometry()));
}

TEST_F(ExplanationTest, AnExamReadsThePapersCopy) {
    examPaper(kRtf);
    QTextDocument doc;
    EXPECT_TRUE(aids::LoadExplanation(dm->Cn1Query_exam, QStringLiteral("jx"), &doc));
    EXPECT_EQ(richtext::plainTextOf(doc), kRtfText);
    aids::TFrmJx window(*dm, aids::ExplanationSource::Exam);
    EXPECT_EQ(richtext::plainTextOf(*re(window)->document()), kRtfText);
}

TEST_F(ExplanationTest, AMissingOrUnreadableExplanationShowsNothing) {
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("上一题的解析"));
    // Never opened, as when the caller has not loaded the question's texts.
    EXPECT_FALSE(aids::LoadExplanation(dm->cn1query_nr, QStringLiteral("jx"), &doc));
    EXPECT_TRUE(doc.isEmpty());
    standOnTexts(QStringLiteral("nobody"));
    EXPECT_FALSE(aids::LoadExplanation(dm->cn1query_nr, QStringLiteral("jx"), &doc));

    addText(QStringLiteral("Q1"), QVariant());
    standOnTexts(QStringLiteral("Q1"));
    EXPECT_FALSE(aids::LoadExplanation(dm->cn1query_nr, QStringLiteral("jx"), &doc));
    aids::TFrmJx window(*dm, aids::ExplanationSource::Practice);
    EXPECT_TRUE(re(window)->document()->isEmpty());

    dm->cn1query_nr.setSql(QStringLiteral("select A1 from tab_exer"));
    dm->cn1query_nr.open();
    EXPECT_FALSE(aids::LoadExplanation(dm->cn1query_nr, QStringLiteral("jx"), &doc));
}

TEST_F(ExplanationTest, OpenTakesTheBusyCursorBackWhenTheWindowShows) {
    addText(QStringLiteral("Q1"), kRtf);
    standOnTexts(QStringLiteral("Q1"));
    bool busyWhileShown = true;
    QString shownText;
    QTimer::singleShot(0, [&] {
        busyWhileShown = QApplication::overrideCursor() != nullptr;
        shownText = richtext::plainTextOf(*re(*aids::FrmJx)->document());
        QTest::mouseClick(aids::FrmJx->findChild<QAbstractButton*>(QStringLiteral("epEfTrBtn1")),
                          Qt::LeftButton);
    });
    aids::TFrmJx::Open(*dm, aids::ExplanationSource::Practice);
    EXPECT_FALSE(busyWhileShown);
    EXPECT_EQ(shownText, kRtfText);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(aids::FrmJx, nullptr);
}

}  // namespace
