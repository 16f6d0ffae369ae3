#include "ProgramEnd.h"

#include <QCoreApplication>

namespace practice {
namespace {

ProgramEnder& ender() {
    static ProgramEnder installed;
    return installed;
}

}  // namespace

void EndProgram() {
    if (ender()) {
        ender()();
        return;
    }
    // exit() ends every running event loop of the thread, the nested modal ones
    // included, and keeps any later one from starting.
    QCoreApplication::exit(1);
}

ProgramEnder setProgramEnder(ProgramEnder e) {
    ProgramEnder previous = std::move(ender());
    ender() = std::move(e);
    return previous;
}

}  // namespace practice
