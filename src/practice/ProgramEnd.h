// Ending the whole program from deep inside a window, after the error prompt that
// explains why (missing pictures, a paper that cannot be made). Tests install
// their own ender, so that a test run is not ended with it.
#pragma once

#include <functional>

namespace practice {

// Asks every event loop to leave, so that the modal windows return to their
// openers and main() returns; the windows are freed on the way out.
void EndProgram();

// Replaces what EndProgram() does; an empty function restores the default.
// Returns the ender it replaces.
using ProgramEnder = std::function<void()>;
ProgramEnder setProgramEnder(ProgramEnder ender);

}  // namespace practice
