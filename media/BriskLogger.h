// The program's diagnostic log: error and status lines, stamped with the time of day, in
// "<executable stem>.log" in the log folder (beside the executable when that is writable). The
// first library object up, the last down.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The log stops growing here: the line that would pass it is replaced by one saying the log was
// cut, and nothing more is written in this run, so a fault that logs on every frame cannot fill
// the disk.
constexpr int64_t kMaxLogBytes = 16 * 1024 * 1024;
// A longer line is cut in the middle of its message: the head says what happened, the tail
// keeps the file and key an error names last, and the location stays whole (cut at 200 bytes).
constexpr size_t kMaxLogLineBytes = 2048;
constexpr size_t kMaxLogLocationBytes = 200;

class TLogger {
public:
    // The running executable's name, its start-up file in the settings folder and its log in
    // the log folder; the level from the start-up file.
    TLogger();
    // A logger for a given folder (with trailing "/") and executable file name; the test
    // fixture uses it to keep each test's log and start-up file in a folder of its own. The log
    // goes to logPath when given, else beside the start-up file.
    TLogger(std::string appPath, std::string exeName, std::string logPath = {});
    ~TLogger();
    TLogger(const TLogger&) = delete;
    TLogger& operator=(const TLogger&) = delete;

    // Creates (truncating) the log file when the level leaves 0. A log file that cannot be
    // created leaves the game running without a log.
    void SetDebugLevel(int32_t level);
    // Written when the level is above 0. Line breaks in message or location become blanks, so
    // every event stays one line.
    void LogError(std::string_view message, std::string_view location);
    // Written when the level is above 2.
    void LogStatus(std::string_view message, std::string_view location);

    [[nodiscard]] std::string LogFileName() const;

    std::string ExeName; // file name of the executable, without folder
    std::string AppPath; // the start-up file's folder, with the trailing "/"
    std::string LogPath; // the log's folder, with the trailing "/"
    int32_t DebugLevel = 0;

private:
    void ReadLevelFromStartupFile();
    void WriteLine(std::string_view kind, std::string_view message, std::string_view location);

    int FileHandle = -1;
    int64_t BytesWritten = 0;
    bool Cut = false; // the cap was reached: nothing more is written
};

// The line as written: "<kind> : @ <time> MSG : <message> IN : <location>" with CR LF, at most
// kMaxLogLineBytes long (see there).
[[nodiscard]] std::string LogLine(std::string_view kind, std::string_view time, std::string_view message,
                                  std::string_view location);

// "Debug" value of the start-up file -> level: empty or not starting with 0 to 3 gives 3;
// a value that does not convert as a whole decimal number gives 3 as well.
[[nodiscard]] int32_t DebugLevelFromText(std::string_view text);

extern TLogger* Logger;
