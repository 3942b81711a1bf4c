// The errors the built-in routines raise when a script hands them something they cannot use
// (a text that is no number, a month 13, a position outside a string). They are host errors,
// so the engine turns them into run-time errors of the script at the call and scripts see the
// class name in the host-error class's ExceptionClass field.
#pragma once

#include "script/ScriptError.h"

#include <string>

namespace Builtin {

// A text or value that does not convert ("'x' is not a valid integer value").
[[noreturn]] inline void ThrowConvertError(const std::string& message) {
    throw EHostError("EConvertError", message);
}

// A position, code or size outside what the routine accepts.
[[noreturn]] inline void ThrowRangeError(const std::string& message) {
    throw EHostError("ERangeError", message);
}

} // namespace Builtin
