// The entry window and the editor driven through their controls.
#include "AuthoringFixture.h"

#include "FakePrompts.h"
#include "QuestionFields.h"
#include "RichText.h"
#include "RichTextEdit.h"
#include "UInPut.h"
#include "Utedit.h"
#include "WindowDriver.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>

#include <functional>

namespace {

class AuthoringWindowsTest : public AuthoringTest {
  protected:
    FakePrompts prompts;
};

// What pasting a page with a bold red word, a table and a picture leaves in a box.
struct RichContent {
    bool bold = false;
    bool table = false;
    bool picture = false;
};

RichContent contentOf(const QTextDocument& doc) {
    RichContent c;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.fontWeight() >= QFont::Bold && it.fragment().text().contains(u'粗'))
                c.bold = true;
            if (f.isImageFormat()) {
                const QVariant r =
                    doc.resource(QTextDocument::ImageResource, QUrl(f.toImageFormat().name()));
                c.picture = c.picture || r.canConvert<QImage>();
            }
        }
        c.table = c.table || QTextCursor(b).currentTable() != nullptr;
    }
    return c;
}

QString pictureHtml() {
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    image.save(&buffer, "PNG");
    return QStringLiteral("<img src=\"data:image/png;base64,%1\">")
        .arg(QString::fromLatin1(png.toBase64()));
}

TEST_F(AuthoringWindowsTest, EntryChecksLocksSubjectiveTypesAndCountsSaves) {
    authoring::TFrmInPut window(*dm, QStringLiteral("010203"));
    int saved = 0;
    QObject::connect(&window, &authoring::TFrmInPut::questionSaved, [&saved] { ++saved; });
    authoring::QuestionFields& f = *window.fields();
    EXPECT_EQ(f.SE_Num->value(), 5);
    EXPECT_EQ(f.ComboBox1->currentText(), QStringLiteral("单项选择题"));

    // The checks, in order: stem, answer.
    EXPECT_FALSE(window.epBtn_SaveClick());
    window.Re1->setPlainText(QStringLiteral("   "));
    f.Edit1->setText(QStringLiteral("B"));
    EXPECT_FALSE(window.epBtn_SaveClick());
    window.Re1->setPlainText(QStringLiteral("题干"));
    f.Edit1->setText(QStringLiteral(" "));
    EXPECT_FALSE(window.epBtn_SaveClick());
    EXPECT_EQ(prompts.shown, (QStringList{QStringLiteral("message|提示|请填写试题内容！|0|0"),
                                          QStringLiteral("message|提示|请填写试题内容！|0|0"),
                                          QStringLiteral("message|提示|请填写试题答案！|0|0")}));

    // "案例分析题" is answered in words.
    f.ComboBox1->setCurrentIndex(2);
    f.ComboBox1Change();
    EXPECT_FALSE(f.SE_Num->isEnabled());
    EXPECT_EQ(f.Edit1->text(), QStringLiteral("1"));
    EXPECT_TRUE(window.epBtn_SaveClick());
    EXPECT_TRUE(window.Re1->contentText().isEmpty());
    // The form is cleared for the next question; the type goes back to the first
    // and the choices stay as they were, unlocked.
    EXPECT_TRUE(f.SE_Num->isEnabled());
    window.Re1->setPlainText(QStringLiteral("第二题"));
    f.Edit1->setText(QStringLiteral("C"));
    EXPECT_TRUE(window.epBtn_SaveClick());
    EXPECT_EQ(saved, 2);
    EXPECT_EQ(bank(QStringLiteral("select group_concat(A1||'/'||A2||'/'||A2_1, ' ') from (select * "
                                  "from tab_answ order by A1)")),
              QStringLiteral("US01020361100002/C/1 US01020364100001/1/1"));
}

// Pasted rich text keeps bold, a table and a picture through entry, the editor and
// the bank's reader that practice and exams show it with.
TEST_F(AuthoringWindowsTest, PastedRichTextSurvivesSaveReopenAndPractice) {
    authoring::TFrmInPut entry(*dm, QStringLiteral("010203"));
    auto* mime = new QMimeData;
    mime->setHtml(QStringLiteral("<p><b>粗体</b><span style=\"color:#ff0000\">红色</span></p>"
                                 "<table border=\"1\"><tr><td>甲</td><td>乙</td></tr></table>") +
                  pictureHtml());
    QApplication::clipboard()->setMimeData(mime);
    entry.Re1->paste();
    entry.fields()->Edit1->setText(QStringLiteral("A"));
    ASSERT_TRUE(entry.epBtn_SaveClick());
    const QString id = bank(QStringLiteral("select A1 from tab_answ"));

    authoring::TfrmTedit editor(*dm, id);
    const RichContent reopened = contentOf(*editor.RxDBRichEdit1->document());
    EXPECT_TRUE(reopened.bold && reopened.table && reopened.picture);
    QTextDocument shown;
    ASSERT_TRUE(
        richtext::read(
            dm->ADOCn1.scalar(QStringLiteral("select A15 from tab_exer where A1=?"), {{{}, id}})
                .toByteArray(),
            &shown)
            .ok);
    const RichContent practised = contentOf(shown);
    EXPECT_TRUE(practised.bold && practised.table && practised.picture);
}

// A picture arrives as page, as picture data or as a dropped file; each is kept in
// the document, so that it is written to the bank.
TEST_F(AuthoringWindowsTest, PicturesArriveAsPageDataOrFile) {
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QString file = dir.filePath(QStringLiteral("picture.png"));
    ASSERT_TRUE(image.save(file));
    const std::function<void(QMimeData&)> sources[] = {
        [](QMimeData& m) { m.setHtml(pictureHtml()); },
        [&](QMimeData& m) { m.setImageData(image); },
        [&](QMimeData& m) { m.setUrls({QUrl::fromLocalFile(file)}); }};
    for (const auto& fill : sources) {
        widgets::RichTextEdit box;
        auto* mime = new QMimeData;
        fill(*mime);
        QApplication::clipboard()->setMimeData(mime);
        box.paste();
        QTextDocument back;
        richtext::read(box.rtf(), &back);
        EXPECT_TRUE(contentOf(back).picture);
        EXPECT_FALSE(box.contentText().trimmed().isEmpty());
    }
}

TEST_F(AuthoringWindowsTest, CtrlBIUToggleAndUndoTakesThemBack) {
    widgets::RichTextEdit box;
    QTest::keyClicks(&box, QStringLiteral("ab"));
    box.selectAll();
    for (const Qt::Key key : {Qt::Key_B, Qt::Key_I, Qt::Key_U})
        QTest::keyClick(&box, key, Qt::ControlModifier);
    QTextCharFormat f = box.currentCharFormat();
    EXPECT_TRUE(f.fontWeight() >= QFont::Bold && f.fontItalic() && f.fontUnderline());
    QTest::keyClick(&box, Qt::Key_B, Qt::ControlModifier);
    EXPECT_LT(box.currentCharFormat().fontWeight(), QFont::Bold);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(&box, Qt::Key_Z, Qt::ControlModifier);
    box.selectAll();
    f = box.currentCharFormat();
    EXPECT_FALSE(f.fontItalic() || f.fontUnderline());
    EXPECT_EQ(box.toPlainText(), QStringLiteral("ab"));
}

TEST_F(AuthoringWindowsTest, TheEditorKeepsItsEditsWhenTheSaveCannotHappen) {
    addQuestion(QStringLiteral("Q1"), {QStringLiteral("01010101")});
    db().execute(QStringLiteral("update tab_answ set A2='A', A2_1=4, A13=61"));
    db().execute(QStringLiteral("insert into tab_exer (A1,A15) values ('Q1','old')"));
    struct Case {
        QString typeText;
        const char* failing;  // a table whose update fails, or none
        QString message;
    } cases[] = {{QStringLiteral("单选"), nullptr, QStringLiteral("message|提示|请选择题型！|0|0")},
                 {QStringLiteral("多项选择题"), "tab_rule",
                  QStringLiteral("message|提示|保存试题出现错误！\n")}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typeText.toStdString());
        if (c.failing) failUpdatesOf(QLatin1String(c.failing));
        const QStringList before = dump();
        prompts.shown.clear();
        authoring::TfrmTedit editor(*dm, QStringLiteral("Q1"));
        editor.RxDBRichEdit1->setPlainText(QStringLiteral("new stem"));
        editor.fields()->ComboBox1->setEditText(c.typeText);
        editor.show();
        EXPECT_FALSE(editor.SpeedButton4Click());
        EXPECT_EQ(prompts.shown.value(0).left(c.message.size()), c.message);
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(editor.RxDBRichEdit1->toPlainText(), QStringLiteral("new stem"));
        EXPECT_EQ(dump(), before);
    }
}

}  // namespace
