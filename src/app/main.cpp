// Start-up: one copy only, the menu present, the bank open, the screen checked;
// then the main window plays the menu until the user quits.
#include "Application.h"
#include "BankSafety.h"
#include "DataModule.h"
#include "Globals.h"
#include "ModalForm.h"
#include "Prompt.h"
#include "Sound.h"
#include "Startup.h"
#include "Udlg.h"
#include "Uprogress.h"
#include "Ustart.h"
#include "Windows.h"

#include <QScreen>

#include <memory>

int main(int argc, char* argv[]) {
    app::Application application(argc, argv);
    QApplication::setApplicationName(app::kProductTitle);
    QApplication::setApplicationDisplayName(app::kProductTitle);
    app::LoadQtTranslations();
    app::RegisterChineseFonts();
    QApplication::setFont(widgets::PixelFont(14));

    // Messages before the prompt box exists are plain system message boxes.
    app::WindowPromptService prompts(nullptr);
    widgets::setPromptService(&prompts);

    const QString key = app::InstanceKey(app::kProductTitle);
    if (app::IsOtherInstanceRunning(key)) return 0;
    app::InstanceServer instance;
    instance.listen(key);

    const QString folder = QCoreApplication::applicationDirPath() + u'/';
    if (!app::IsFlashInstalled(folder + QStringLiteral("pic/main.menu"))) {
        widgets::ShowMessage(QStringLiteral("提示"), QStringLiteral("请安装Flash6插件文件！"),
                             widgets::MessageIcon::Warning);
        return 1;
    }

    auto dm = std::make_unique<store::TDM1>();
    dm->DataModuleCreate(folder);
    if (dm->BankIsDamaged) {
        // Told already; the damaged file is never opened for writing.
        if (!app::OfferRestore(dm->Location)) return 1;
        dm->DataModuleCreate(folder);
    }
    if (!dm->DatabaseReady) {
        dm.reset();
        widgets::ShowMessage(QStringLiteral("错误"), QStringLiteral("无法连接数据库！"),
                             widgets::MessageIcon::Critical);
        return 1;
    }
    app::BackUpToday(*dm);

    app::setSoundBackend(platform::makeFluidSynthBackend());
    app::MusicFile = app::DefaultMusicFile();

    app::TFrmStart start(*dm);
    app::FrmStart = &start;
    app::RegisterWindows(start, *dm);
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!start.FormCreate(screen->size(), screen->logicalDotsPerInchX())) return 0;

    app::TFrmProgress progress;
    app::FrmProgress = &progress;
    app::TFrmDlg dialog;
    app::FrmDlg = &dialog;
    app::WindowPromptService windowPrompts(&dialog);
    widgets::setPromptService(&windowPrompts);

    app::NoticeReadOnlyBank(dm->ADOCn1);
    instance.setMainWindow(&start);
    start.show();
    const int result = QApplication::exec();
    widgets::setPromptService(nullptr);
    // The back end is held in a static: its audio thread is stopped here, not
    // somewhere during static destruction.
    app::setSoundBackend(nullptr);
    return result;
}
