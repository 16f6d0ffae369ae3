#include "Ustart.h"

#include "DataModule.h"
#include "Globals.h"
#include "Guard.h"
#include "MenuStatus.h"
#include "ModalForm.h"
#include "Prompt.h"
#include "QuitCheck.h"
#include "Schema.h"
#include "Sound.h"
#include "Startup.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace app {

TFrmStart::TFrmStart(store::TDM1& dm, QWidget* parent) : QWidget(parent), dm_(dm) {
    setObjectName(QStringLiteral("FrmStart"));
    setWindowTitle(kProductTitle);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setFont(widgets::PixelFont(14));
    ShockwaveFlash1 = new MenuPlayer(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ShockwaveFlash1);
    connect(ShockwaveFlash1, &MenuPlayer::FSCommand, this, &TFrmStart::ShockwaveFlash1FSCommand);
    ShockwaveFlash1->setAvailability(
        [this](const QString& command) { return IsCommandAvailable(command); });
    openUrl_ = [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

bool TFrmStart::FormCreate(QSize screenSize, double logicalDpiX) {
    if (!IsNormalDpi(logicalDpiX)) {
        widgets::ShowMessage(QStringLiteral("提示"),
                             QStringLiteral("推荐您在小字体下使用本软件，请在设置后重新运行！"),
                             widgets::MessageIcon::Warning);
        return false;
    }
    qb::ScreenMode = ScreenModeFor(screenSize);
    resize(qb::ScreenMode == QLatin1String("800") ? QSize(800, 600) : QSize(1024, 768));
    return true;
}

void TFrmStart::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FormShow();
}

void TFrmStart::FormShow() {
    if (const QScreen* where = screen()) setGeometry(where->geometry());
    SetWaveVolume(kStartupVolumeLevel);
    if (qb::CurrentKind == 0) qb::CurrentKind = 1;
    // A damaged type table is reported; the menu still plays and the run goes on.
    widgets::RunGuarded([this] { LoadAnswerTimeTable(dm_); });
    ShockwaveFlash1->setMovie(qb::ProgramFolder + QStringLiteral("pic/main.menu"));
    ShockwaveFlash1->setFocus();
    RefreshMenuStatus();
}

void TFrmStart::registerWindow(CommandAction action, Opener opener) {
    openers_[action] = std::move(opener);
    ShockwaveFlash1->update();
}

void TFrmStart::setMockExamStarter(std::function<void(int)> starter) {
    startMockExam_ = std::move(starter);
    ShockwaveFlash1->update();
}

bool TFrmStart::IsCommandAvailable(const QString& command) const {
    switch (LookupCommand(command).action) {
        case CommandAction::None:
            return false;
        case CommandAction::OpenRegulations:
        case CommandAction::OpenContacts:
        case CommandAction::OpenHelp:
        case CommandAction::Quit:
            return true;
        case CommandAction::MockExam:
            return static_cast<bool>(startMockExam_);
        default:
            return openers_.count(LookupCommand(command).action) > 0;
    }
}

void TFrmStart::setDocumentOpener(std::function<void(const QUrl&)> opener) {
    openUrl_ = std::move(opener);
}

void TFrmStart::openDocument(const QString& relativePath) {
    // Handed to the desktop and not waited for; a missing file is the desktop's affair.
    openUrl_(QUrl::fromLocalFile(qb::ProgramFolder + relativePath));
}

void TFrmStart::ShockwaveFlash1FSCommand(const QString& command, const QString& /*args*/) {
    // Whatever a command's window lets escape is reported here; the menu plays on.
    widgets::RunGuarded([this, &command] { dispatch(command); });
    // The command's window has closed: the menu is shown again.
    RefreshMenuStatus();
}

void TFrmStart::RefreshMenuStatus() {
    review::MenuStatus status;
    try {
        if (dm_.ADOCn1.isOpen()) status = review::ReadMenuStatus(dm_.ADOCn1, dm_.today());
    } catch (const std::exception&) {
        // A plan or log that cannot be read leaves the lines out; the menu plays on.
    }
    ShockwaveFlash1->setStatus(status.countdown, status.today);
}

void TFrmStart::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Back from another program, perhaps on another day.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && shown_) {
        RefreshMenuStatus();
    }
}

void TFrmStart::dispatch(const QString& command) {
    if (!IsCommandAvailable(command)) return;
    const Command c = LookupCommand(command);
    switch (c.action) {
        case CommandAction::None:
            return;
        case CommandAction::OpenRegulations:
            return openDocument(RegulationsPage());
        case CommandAction::OpenContacts:
            return openDocument(ContactsPage());
        case CommandAction::OpenHelp:
            return openDocument(HelpPage());
        case CommandAction::Quit:
            return QuitCheck();
        case CommandAction::MockExam:
            if (startMockExam_) startMockExam_(c.kind);
            qb::CurrentKind = c.kind;
            return;
        default:
            break;
    }
    if (c.action == CommandAction::SubjectBrowser) qb::CurrentSubject = c.subject;
    if (c.action == CommandAction::Settings) qb::ConfigMode = c.configMode;
    const auto it = openers_.find(c.action);
    if (it != openers_.end()) it->second(c);
}

void TFrmStart::QuitCheck() {
    // A plan or log that cannot be read is reported and the program keeps running.
    widgets::RunGuarded([this] { quitCheck(); });
}

void TFrmStart::quitCheck() {
    const QString caption = QStringLiteral("提示");
    switch (JudgeQuitFromBank(dm_)) {
        case QuitOutcome::BelowPlan:
            if (widgets::ShowMessage(caption, kBelowPlanQuestion, widgets::MessageIcon::Question,
                                     widgets::MessageButtons::OkCancel) !=
                widgets::MessageResult::Ok) {
                return;
            }
            break;
        case QuitOutcome::AtPlan:
            widgets::ShowMessage(caption, kAtPlanNotice, widgets::MessageIcon::Information);
            break;
        case QuitOutcome::AbovePlan:
            widgets::ShowMessage(caption, kAbovePlanNotice, widgets::MessageIcon::Information);
            break;
        case QuitOutcome::NoPlan:
            break;
    }
    close();
}

void TFrmStart::closeEvent(QCloseEvent* event) {
    // Whatever goes wrong while letting go of the bank, the window closes.
    try {
        dm_.Cn1Table_plan.close();
        dm_.Cn1Table_rz.close();
        dm_.ADOCn1.close();
    } catch (...) {  // NOLINT(bugprone-empty-catch)
    }
    event->accept();
}

void FixZeroLengthColumns(const QString& tableName, store::Database& connection) {
    store::FixZeroLengthColumns(tableName, connection);
}

}  // namespace app
