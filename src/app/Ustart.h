// The main window: the menu full screen, and what each menu command does.
#pragma once

#include "CommandTable.h"
#include "MenuPlayer.h"

#include <QUrl>
#include <QWidget>

#include <functional>
#include <map>

namespace store {
class Database;
class TDM1;
}  // namespace store

namespace app {

class TFrmStart : public QWidget {
    Q_OBJECT
  public:
    explicit TFrmStart(store::TDM1& dm, QWidget* parent = nullptr);

    // Checks the screen and sizes the window; false when the program must end.
    bool FormCreate(QSize screenSize, double logicalDpiX);
    // Full screen, volume, kind, answer times, and the menu starts playing.
    void FormShow();
    void ShockwaveFlash1FSCommand(const QString& command, const QString& args);

    // Windows register what opens them; a command whose window is not there does
    // nothing, and its menu item is grey until the window registers.
    using Opener = std::function<void(const Command&)>;
    void registerWindow(CommandAction action, Opener opener);
    void setMockExamStarter(std::function<void(int kind)> starter);
    void setDocumentOpener(std::function<void(const QUrl&)> opener);
    // Whether the command has something to run: the shell's own commands always,
    // a window command once its window is registered.
    bool IsCommandAvailable(const QString& command) const;

    // Judges today's study against the plan and closes the window unless the user
    // chooses to stay.
    void QuitCheck();
    // Reads the exam countdown and today's progress into the menu; every time the
    // menu comes back, since a window may have changed either.
    void RefreshMenuStatus();

    MenuPlayer* ShockwaveFlash1;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void dispatch(const QString& command);
    void quitCheck();
    void openDocument(const QString& relativePath);

    store::TDM1& dm_;
    std::map<CommandAction, Opener> openers_;
    std::function<void(int)> startMockExam_;
    std::function<void(const QUrl&)> openUrl_;
    bool shown_ = false;
};

// The main window of the run.
inline TFrmStart* FrmStart = nullptr;

// Lets the text columns of a new exam work table hold empty strings.
void FixZeroLengthColumns(const QString& tableName, store::Database& connection);

// The wave volume level applied at start-up (one of 16).
inline constexpr int kStartupVolumeLevel = 12;

}  // namespace app
