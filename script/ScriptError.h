// The errors the engine raises to its host, and the one a host handler raises to name its class.
#pragma once

#include <stdexcept>
#include <string>

// The engine's general error class: what escapes Compile, BeginProgram's callers, Func[].Call and
// the declaration API. Its text is the engine's message ("Function/Method \"Run\" not found", or a
// "Runtime Error: ..." entry with its position).
class EScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Thrown by a host routine's handler when it wants scripts to see a particular exception class
// name in the host-error class's "ExceptionClass" field (for instance "EConvertError" for a
// string that is not a number). Any other std::exception from a handler is reported with its
// C++ type name.
class EHostError : public std::runtime_error {
public:
    EHostError(std::string className, const std::string& message)
        : std::runtime_error(message), ClassName(std::move(className)) {}
    std::string ClassName;
};
