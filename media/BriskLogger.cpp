// Log lines written straight to the file, one write per line, so a crash loses nothing.
#include "media/BriskLogger.h"

#include "media/StartupFile.h"
#include "platform/LocalTime.h"
#include "platform/Paths.h"

#include <charconv>
#include <fcntl.h>
#include <unistd.h>

TLogger* Logger = nullptr;

int32_t DebugLevelFromText(std::string_view text) {
    if (text.empty() || text.front() < '0' || text.front() > '3') return 3;
    int32_t level = 3;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), level);
    if (error != std::errc() || end != text.data() + text.size()) return 3;
    return level;
}

TLogger::TLogger() : TLogger(ExecutableFolder(), ExecutableFileName()) {}

TLogger::TLogger(std::string appPath, std::string exeName)
    : ExeName(std::move(exeName)), AppPath(std::move(appPath)) {
    SetDebugLevel(0);
    ReadLevelFromStartupFile();
}

TLogger::~TLogger() {
    if (FileHandle >= 0) close(FileHandle);
}

void TLogger::ReadLevelFromStartupFile() {
    const auto value = ReadStartupValue(AppPath, ExeName, "Debug");
    SetDebugLevel(value ? DebugLevelFromText(*value) : 3);
}

std::string TLogger::LogFileName() const {
    return AppPath + NameStem(ExeName) + ".log";
}

void TLogger::SetDebugLevel(int32_t level) {
    if (level == DebugLevel) return;
    if (DebugLevel == 0 && FileHandle < 0)
        FileHandle = open(LogFileName().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    DebugLevel = level;
}

void TLogger::WriteLine(std::string_view kind, std::string_view message, std::string_view location) {
    if (FileHandle < 0) return;
    std::string line;
    line.reserve(64 + message.size() + location.size());
    line.append(kind).append(" : @ ").append(LocalTimeOfDay()).append(" MSG : ").append(message);
    line.append(" IN : ").append(location).append("\r\n");
    // One write per line: the line is in the file as soon as the call returns.
    [[maybe_unused]] const ssize_t written = write(FileHandle, line.data(), line.size());
}

void TLogger::LogError(std::string_view message, std::string_view location) {
    if (DebugLevel > 0) WriteLine("*** ERROR ***", message, location);
}

void TLogger::LogStatus(std::string_view message, std::string_view location) {
    if (DebugLevel > 2) WriteLine("STATUS INFO", message, location);
}
