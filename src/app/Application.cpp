#include "Application.h"

#include "Guard.h"

namespace app {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        widgets::ReportFailure(&e);
    } catch (...) {
        widgets::ReportFailure(nullptr);
    }
    return false;
}

}  // namespace app
