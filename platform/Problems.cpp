// The one listener for the platform layer's problem reports.
#include "platform/Problems.h"

#include <utility>

namespace {

TProblemListener& Listener() {
    static TProblemListener listener;
    return listener;
}

} // namespace

void SetProblemListener(TProblemListener listener) {
    Listener() = std::move(listener);
}

void ReportProblem(std::string_view message, std::string_view location) {
    if (Listener()) Listener()(message, location);
}
