// Local time of day from the C library.
#include "platform/LocalTime.h"

#include <ctime>

std::string LocalTimeOfDay() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) return "00:00:00";
    char text[16];
    const size_t length = std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return std::string(text, length);
}
