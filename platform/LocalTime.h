// The local time of day for log lines.
#pragma once

#include <string>

// "HH:MM:SS", 24-hour clock.
[[nodiscard]] std::string LocalTimeOfDay();
