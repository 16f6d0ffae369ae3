#include "Startup.h"

#include "DataModule.h"
#include "Globals.h"
#include "MenuPlayer.h"
#include "Prompt.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QFont>
#include <QLibraryInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLocale>
#include <QScreen>
#include <QTranslator>
#include <QWidget>

#include <cmath>

namespace app {
namespace {

const QByteArray kRaiseRequest = "raise\n";

QString userName() {
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("USERNAME") : user;
}

}  // namespace

QString InstanceKey(const QString& productTitle) {
    const QByteArray id = (productTitle + u'|' + userName()).toUtf8();
    return QStringLiteral("examstudy-") +
           QString::fromLatin1(
               QCryptographicHash::hash(id, QCryptographicHash::Sha1).toHex().left(16));
}

bool IsOtherInstanceRunning(const QString& key) {
    QLocalSocket socket;
    socket.connectToServer(key);
    if (!socket.waitForConnected(1000)) return false;
    socket.write(kRaiseRequest);
    socket.waitForBytesWritten(1000);
    // Wait for the answer so that the first copy has acted before this one ends.
    socket.waitForReadyRead(2000);
    socket.disconnectFromServer();
    return true;
}

InstanceServer::InstanceServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::onConnection);
}

bool InstanceServer::listen(const QString& key) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (server_->listen(key)) return true;
    // A socket left behind by a copy that crashed: nobody answers on it.
    QLocalServer::removeServer(key);
    return server_->listen(key);
}

void InstanceServer::onConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->readAll().contains("raise")) return;
            QWidget* target = QApplication::activeModalWidget();
            if (target == nullptr) target = main_;
            raiseWindow(target);
            emit raised(target);
            socket->write("ok\n");
            socket->flush();
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void InstanceServer::raiseWindow(QWidget* window) {
    if (window == nullptr) return;
    if (window->isMinimized()) {
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
    }
    window->raise();
    window->activateWindow();
}

bool IsFlashInstalled(const QString& menuFile) {
    MenuDescription menu;
    QString error;
    return LoadMenuDescription(menuFile, &menu, &error);
}

bool IsNormalDpi(double logicalDpiX) {
    return std::lround(logicalDpiX * 100) == 9600;
}

bool IsNormalDpi(const QScreen* screen) {
    return screen != nullptr && IsNormalDpi(screen->logicalDotsPerInchX());
}

QString ScreenModeFor(const QSize& screen) {
    return screen.width() == 800 || screen.height() == 600 ? QStringLiteral("800")
                                                           : QStringLiteral("1024");
}

void LoadAnswerTimeTable(store::TDM1& dm) {
    store::Query& q = dm.Cn1Query1;
    q.close();
    q.setSql(QStringLiteral("select * from tab_tx") + QString::number(qb::CurrentKind));
    q.open();
    if (q.recordCount() == 0) return;
    qb::AnswerTimes table;
    for (q.first(); !q.eof(); q.next()) {
        table.typeIds << q.asInt(QStringLiteral("A1"));
        // Trunc, not round; the small epsilon keeps 2.3 minutes at 1380 despite binary fractions.
        table.tenths << static_cast<int>(
            std::trunc(q.asDouble(QStringLiteral("time")) * 600 + 1e-9));
    }
    qb::AnswerTimeTable = table;
}

bool NoticeReadOnlyBank(const store::Database& bank) {
    if (!bank.isOpen() || !bank.isReadOnly()) return false;
    widgets::ShowPromptBox(QStringLiteral("提示"), kReadOnlyBankNotice, 1, QStringLiteral("NO"),
                           widgets::kPictureWarning);
    return true;
}

bool LoadQtTranslations() {
    auto* translator = new QTranslator(qApp);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qWarning("Qt's Chinese translations are not installed; standard buttons stay English");
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

void RegisterChineseFonts() {
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"));
    QFont::insertSubstitution(QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"));
    QFont::insertSubstitution(QStringLiteral("黑体"), QStringLiteral("WenQuanYi Zen Hei"));
    QFont::insertSubstitution(QStringLiteral("SimHei"), QStringLiteral("WenQuanYi Zen Hei"));
}

}  // namespace app
