// Problems the platform layer deals with itself but that someone should hear of, such as a
// data file refused for its size. The media library routes them into its log while it runs;
// without a listener they go nowhere.
#pragma once

#include <functional>
#include <string_view>

using TProblemListener = std::function<void(std::string_view message, std::string_view location)>;

// Installs the listener; an empty one stops the reports.
void SetProblemListener(TProblemListener listener);

// Passes one problem, in words, with the operation that met it, to the listener.
void ReportProblem(std::string_view message, std::string_view location);
