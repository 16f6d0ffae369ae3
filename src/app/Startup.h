// What runs before the main window: one copy only, the menu player present, the
// screen checked, the answer times loaded.
#pragma once

#include <QObject>
#include <QSize>
#include <QString>

#include <functional>

class QLocalServer;
class QScreen;
class QWidget;

namespace store {
class Database;
class TDM1;
}  // namespace store

namespace app {

inline const QString kProductTitle = QStringLiteral("信息技术资格考试学习系统");

// The name under which the running copy listens: one per product and user.
QString InstanceKey(const QString& productTitle);

// Asks a running copy to bring its active window to the front. True when one
// answered: this copy should then end without a word.
bool IsOtherInstanceRunning(const QString& key);

// Listens for later copies and raises the window that takes input (the modal one
// when one is open), restoring it when minimised.
class InstanceServer : public QObject {
    Q_OBJECT
  public:
    explicit InstanceServer(QObject* parent = nullptr);
    bool listen(const QString& key);
    // Which window to raise; by default the active modal window, else the main one.
    void setMainWindow(QWidget* window) { main_ = window; }
    static void raiseWindow(QWidget* window);

  signals:
    void raised(QWidget* window);

  private:
    void onConnection();
    QLocalServer* server_;
    QWidget* main_ = nullptr;
};

// True when the menu player can load and play the menu description.
bool IsFlashInstalled(const QString& menuFile);

// True when the screen reports exactly 96 logical pixels per inch horizontally.
bool IsNormalDpi(const QScreen* screen);
bool IsNormalDpi(double logicalDpiX);

// "800" for a screen 800 wide or 600 high, otherwise "1024".
QString ScreenModeFor(const QSize& screen);

// Fills AnswerTimeTable from tab_tx<CurrentKind>: type ids and Trunc(time × 600)
// tenths of a second. With no rows the table is left as it was.
void LoadAnswerTimeTable(store::TDM1& dm);

// Told at start-up, before the menu: a bank that cannot be written can be browsed,
// but no answer is kept.
inline const QString kReadOnlyBankNotice = QStringLiteral(
    "题库文件是只读的，可以浏览试题，但无法保存答题记录。请检查题库文件及其文件夹的权限！");

// Shows kReadOnlyBankNotice in the prompt box when the bank cannot be written;
// true when it did.
bool NoticeReadOnlyBank(const store::Database& bank);

// Qt's own Chinese texts (standard buttons, system dialogs), from Qt's translation
// folder; false when they are not installed and the buttons stay in English.
bool LoadQtTranslations();

// The font substitutions that give "宋体" and "黑体" Chinese faces on this system.
void RegisterChineseFonts();

}  // namespace app
