// The program's default exception handler: what escapes an event handler is shown,
// not allowed to end the run.
#pragma once

#include <exception>
#include <functional>

namespace widgets {

// Runs a handler called from the event loop. An error that escapes it is reported
// (ReportFailure) instead of unwinding through Qt; the program stays usable.
void RunGuarded(const std::function<void()>& handler);

// The report: the cursor back to normal, the engine's own text to the log, and the
// prompt box "错误" with a Chinese sentence that says what happened and what to do.
// A null error stands for one that is not a std::exception.
void ReportFailure(const std::exception* error);

}  // namespace widgets
