// The upgrade window as the user drives it: the folder button fills the path, and
// "开始升级" tells every outcome in the prompt box while the window stays open.
#include "UpgradeFixture.h"

#include "Prompt.h"
#include "Ustxz.h"
#include "WindowDriver.h"

#include <QLineEdit>
#include <QRadioButton>

namespace {

class RecordedPrompts : public widgets::PromptService {
  public:
    RecordedPrompts() { previous_ = widgets::setPromptService(this); }
    ~RecordedPrompts() override { widgets::setPromptService(previous_); }
    int promptBox(const QString& caption, const QString& text, int kind, const QString&,
                  int picture) override {
        shown << QStringLiteral("%1|%2|%3|%4").arg(caption, text).arg(kind).arg(picture);
        return 3;
    }
    widgets::MessageResult messageBox(const QString&, const QString& text, widgets::MessageIcon,
                                      widgets::MessageButtons) override {
        shown << text;
        return widgets::MessageResult::Ok;
    }
    QStringList shown;

  private:
    widgets::PromptService* previous_ = nullptr;
};

}  // namespace

TEST_F(UpgradeTest, WindowTellsEachOutcomeAndStaysOpen) {
    RecordedPrompts prompts;
    const QString path = makeUpgrade(upgradePath());
    upgrade::Tfrmstxz window(*dm);
    window.setFileChooser([&](QWidget*) { return path; });
    window.show();
    EXPECT_TRUE(FindControl<QRadioButton>(&window, "RadioGroup1Item0")->isChecked());
    auto* edit = FindControl<QLineEdit>(&window, "Edit1");
    ClickControl(&window, "epFocusButton1");
    ClickControl(&window, "SpeedButton1");
    EXPECT_EQ(edit->text(), path);
    ClickControl(&window, "epFocusButton1");
    ClickControl(&window, "epFocusButton1");
    EXPECT_EQ(prompts.shown, QStringList({"提示|请点击文件夹按钮选择升级文件！|1|1",
                                          "提示|升级成功！|1|0", "提示|您已升级过了！|1|1"}));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(dm->ADOCn2.isOpen());
    ClickControl(&window, "epFocusButton3");
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(dm->ADOCn2.isOpen()) << "closing lets go of the upgrade file";
}
