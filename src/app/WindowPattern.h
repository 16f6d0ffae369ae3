// How every command opens its window: made for the one use, shown modally, freed,
// and the module-level reference cleared, whatever happens on the way.
#pragma once

#include "CommandTable.h"

#include <QApplication>

#include <memory>

namespace app {

template <class Window, class Create>
void OpenModal(Window*& reference, CursorRule rule, Create create) {
    bool busy = rule != CursorRule::Normal;
    if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto normalCursor = [&busy] {
        if (busy) QApplication::restoreOverrideCursor();
        busy = false;
    };
    std::unique_ptr<Window> window;
    try {
        window.reset(create());
        reference = window.get();
        if (rule == CursorRule::BusyOnCreation) normalCursor();
        window->exec();
    } catch (...) {
        normalCursor();
        reference = nullptr;
        throw;
    }
    normalCursor();
    reference = nullptr;
}

}  // namespace app
