// The program's application object: the last net under every event handler.
#pragma once

#include <QApplication>

namespace app {

class Application : public QApplication {
    Q_OBJECT
  public:
    Application(int& argc, char** argv);

    // A failure that escaped its handler is reported in the prompt box, logged, and
    // the event counts as handled; the program goes on.
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace app
