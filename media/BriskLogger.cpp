// Log lines written straight to the file, one write per line, so a crash loses nothing.
#include "media/BriskLogger.h"

#include "media/StartupFile.h"
#include "platform/GameFolders.h"
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

TLogger::TLogger() : TLogger(SettingsFolder(), ExecutableFileName(), LogFolder()) {}

TLogger::TLogger(std::string appPath, std::string exeName, std::string logPath)
    : ExeName(std::move(exeName)), AppPath(std::move(appPath)), LogPath(logPath.empty() ? AppPath : logPath) {
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
    return LogPath + NameStem(ExeName) + ".log";
}

void TLogger::SetDebugLevel(int32_t level) {
    if (level == DebugLevel) return;
    if (DebugLevel == 0 && FileHandle < 0)
        FileHandle = open(LogFileName().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    DebugLevel = level;
}

namespace {

constexpr std::string_view kErrorKind = "*** ERROR ***";
constexpr std::string_view kCutMark = " [...] ";
// The room kept under the cap for the line that ends a full log.
constexpr int64_t kCutLineRoom = 256;

// The text with each CR and LF as a blank, and longer than limit cut: head and tail kept
// around a mark, or only the head when tail is false.
std::string Fitted(std::string_view text, size_t limit, bool tail) {
    std::string fitted;
    if (text.size() <= limit) {
        fitted = text;
    } else if (!tail || limit <= kCutMark.size()) {
        fitted = text.substr(0, limit);
    } else {
        const size_t kept = limit - kCutMark.size();
        const size_t tailBytes = kept / 3;
        fitted.append(text.substr(0, kept - tailBytes)).append(kCutMark);
        fitted.append(text.substr(text.size() - tailBytes));
    }
    for (char& c : fitted)
        if (c == '\r' || c == '\n') c = ' ';
    return fitted;
}

} // namespace

std::string LogLine(std::string_view kind, std::string_view time, std::string_view message,
                    std::string_view location) {
    const std::string place = Fitted(location, kMaxLogLocationBytes, false);
    std::string line;
    line.append(kind).append(" : @ ").append(time).append(" MSG : ");
    const size_t rest = line.size() + std::string_view(" IN : ").size() + place.size() + 2;
    line.append(Fitted(message, kMaxLogLineBytes > rest ? kMaxLogLineBytes - rest : 0, true));
    line.append(" IN : ").append(place).append("\r\n");
    return line;
}

void TLogger::WriteLine(std::string_view kind, std::string_view message, std::string_view location) {
    if (FileHandle < 0 || Cut) return;
    std::string line = LogLine(kind, LocalTimeOfDay(), message, location);
    if (BytesWritten + static_cast<int64_t>(line.size()) > kMaxLogBytes - kCutLineRoom) {
        line = LogLine(kErrorKind, LocalTimeOfDay(),
                       "Log cut at " + std::to_string(kMaxLogBytes / (1024 * 1024)) +
                           " MB: nothing more is written",
                       "TLogger");
        Cut = true;
    }
    // One write per line: the line is in the file as soon as the call returns.
    const ssize_t written = write(FileHandle, line.data(), line.size());
    if (written > 0) BytesWritten += written;
}

void TLogger::LogError(std::string_view message, std::string_view location) {
    if (DebugLevel > 0) WriteLine(kErrorKind, message, location);
}

void TLogger::LogStatus(std::string_view message, std::string_view location) {
    if (DebugLevel > 2) WriteLine("STATUS INFO", message, location);
}
