// What the user is told when the bank fails: a Chinese sentence that says what
// happened and what to do. The engine's own words are for the log only.
#pragma once

#include <QString>

#include <exception>

namespace store {

// The sentence for an engine result code (SQLITE_BUSY, SQLITE_FULL, ...); any code
// without a sentence of its own gets the general one.
QString ErrorTextForCode(int code);

// The sentence for any failure: by its code when the engine raised it, otherwise
// the general one.
QString UserErrorText(const std::exception& error);

// The general sentence, for failures that say nothing about their cause.
QString GeneralErrorText();

}  // namespace store
