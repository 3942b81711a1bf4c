// The error the built-in routines raise when a script hands them something they cannot use
// (a text that is no number, a month 13, a position outside a string). The engine turns it
// into a run-time error of the script at the call; ClassName is what scripts see as the
// host error's class.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

class EBuiltinError : public std::runtime_error {
public:
    EBuiltinError(std::string_view className, const std::string& message)
        : std::runtime_error(message), Class(className) {}

    [[nodiscard]] const std::string& ClassName() const noexcept { return Class; }

private:
    std::string Class;
};

// A text or value that does not convert ("'x' is not a valid integer value").
[[noreturn]] inline void ThrowConvertError(const std::string& message) {
    throw EBuiltinError("EConvertError", message);
}

// A position or size outside what the routine accepts.
[[noreturn]] inline void ThrowRangeError(const std::string& message) {
    throw EBuiltinError("ERangeError", message);
}
