// The program's diagnostic log: error and status lines, stamped with the time of day, in
// "<executable stem>.log" beside the executable. The first library object up, the last down.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TLogger {
public:
    // The running executable's folder and name; the level from the start-up file.
    TLogger();
    // A logger for a given folder (with trailing "/") and executable file name; the test
    // fixture uses it to keep each test's log and start-up file in a folder of its own.
    TLogger(std::string appPath, std::string exeName);
    ~TLogger();
    TLogger(const TLogger&) = delete;
    TLogger& operator=(const TLogger&) = delete;

    // Creates (truncating) the log file when the level leaves 0. A log file that cannot be
    // created leaves the game running without a log.
    void SetDebugLevel(int32_t level);
    // Written when the level is above 0.
    void LogError(std::string_view message, std::string_view location);
    // Written when the level is above 2.
    void LogStatus(std::string_view message, std::string_view location);

    [[nodiscard]] std::string LogFileName() const;

    std::string ExeName; // file name of the executable, without folder
    std::string AppPath; // its folder, with the trailing "/"
    int32_t DebugLevel = 0;

private:
    void ReadLevelFromStartupFile();
    void WriteLine(std::string_view kind, std::string_view message, std::string_view location);

    int FileHandle = -1;
};

// "Debug" value of the start-up file -> level: empty or not starting with 0 to 3 gives 3;
// a value that does not convert as a whole decimal number gives 3 as well.
[[nodiscard]] int32_t DebugLevelFromText(std::string_view text);

extern TLogger* Logger;
