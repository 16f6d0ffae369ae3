// laws_screens OUTDIR BANK: renders the knowledge-point catalogue in both layouts
// to PNG files: the catalogue after a search, a chapter's detail, its key points,
// the practice window of one point with its first question, and the picker with
// its instructions page. Works on a copy
// of the bank with freshly drawn pictures, so the bank given is never written.
#include "DataModule.h"
#include "Globals.h"
#include "Pictures.h"
#include "QuestionCardWidget.h"
#include "ScratchBank.h"
#include "ULawsFaGui.h"
#include "UselectFg.h"
#include "uRulelxxt.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QString out;
    const auto scratch = screens::StartBankTool("usage: laws_screens OUTDIR BANK\n", out);
    if (!scratch) return 2;
    // The practice window ends the program without its pictures.
    if (const QStringList missing =
            picgen::writePictures(scratch->folder() + QStringLiteral("/pic"));
        !missing.isEmpty()) {
        std::fprintf(stderr, "cannot draw %s\n", qPrintable(missing.join(u' ')));
        return 1;
    }
    store::TDM1& dm = scratch->dm();
    qb::CurrentKind = 1;
    practice::StemArea::setSlideStepDelay(0);

    for (const QString& mode : {QStringLiteral("1024"), QStringLiteral("800")}) {
        qb::ScreenMode = mode;
        const auto file = [&out, &mode](const char* name) {
            return out + QStringLiteral("/laws-%1-%2.png").arg(mode, QLatin1String(name));
        };
        knowledge::TfrmLawsFaGui window(dm);
        window.show();
        window.m_editFind->setText(QStringLiteral("中央"));
        window.m_btnFindClick();
        QTest::qWait(20);
        window.grab().save(file("catalogue"));
        window.m_btnSelectClick();
        window.detail()->m_LBmenu->setCurrentRow(1);
        QTest::qWait(20);
        window.grab().save(file("detail"));
        window.m_btnMostClick();
        QTest::qWait(20);
        window.grab().save(file("key"));
        window.m_btnMostClick();
        // The practice window of the point shown, grabbed and closed once it is up.
        QTimer::singleShot(50, [&file] {
            if (knowledge::FrmRuleLxxt == nullptr) return;
            knowledge::FrmRuleLxxt->grab().save(file("practice"));
            knowledge::FrmRuleLxxt->close();
        });
        window.m_btnQuestionClick();
        window.close();
    }

    // The picker after a change to a chapter holding two of the question's
    // points, with a third ticked by hand; then the instructions page.
    knowledge::TFrmSelectFG picker(dm);
    picker.setPage(0);
    picker.setCallerPoints({QStringLiteral("01010201"), QStringLiteral("01010203")});
    picker.show();
    picker.ComboBox1->setCurrentIndex(2);
    picker.ComboBox1Change(2);
    if (QListWidgetItem* item = picker.CheckListBox1->item(1)) item->setCheckState(Qt::Checked);
    QTest::qWait(20);
    picker.grab().save(out + QStringLiteral("/picker.png"));
    picker.close();
    knowledge::TFrmSelectFG help(dm);
    help.setPage(1);
    help.show();
    QTest::qWait(20);
    help.grab().save(out + QStringLiteral("/picker-instructions.png"));
    return 0;
}
