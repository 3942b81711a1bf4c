// Brings the media library up and down around a test, in a folder of the test's own that
// holds its start-up file and log, with the manual clock installed. Any test folder uses it.
#pragma once

#include "platform/Clock.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TBriskLibrary;

struct TMediaOptions {
    // Written as "duelmark.cfg" in the test folder before the library starts; none when unset.
    std::optional<std::string> StartupText;
    // The working directory while the library is up: the test folder when empty (so relative
    // "sound\..." and "images\..." paths land there), else this folder (e.g. DUELMARK_GAME_DIR).
    std::string WorkingFolder;
    // Installs a TManualClock (10000 at start) for the test's lifetime.
    bool ManualClock = true;
};

// RAII: usable in any test body, fixture or benchmark.
class TMediaEnvironment {
public:
    explicit TMediaEnvironment(TMediaOptions options = {});
    ~TMediaEnvironment();
    TMediaEnvironment(const TMediaEnvironment&) = delete;
    TMediaEnvironment& operator=(const TMediaEnvironment&) = delete;

    // The test folder; AppPath() is it with a trailing "/", as Screen->AppPath is.
    [[nodiscard]] const std::filesystem::path& Folder() const { return TestFolder; }
    [[nodiscard]] std::string AppPath() const { return TestFolder.string() + "/"; }
    // The log as written so far, and its lines without their CR LF ends.
    [[nodiscard]] std::string LogText() const;
    [[nodiscard]] std::vector<std::string> LogLines() const;
    // Ends the library early (the finalisation lines then appear in the log); idempotent.
    void Stop();

    TManualClock Clock;

private:
    std::filesystem::path TestFolder;
    std::filesystem::path PreviousWorkingFolder;
    std::unique_ptr<TBriskLibrary> Library;
    bool ClockInstalled = false;
};

// GoogleTest fixture around TMediaEnvironment; override Options() to set a start-up file.
class MediaFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    [[nodiscard]] virtual TMediaOptions Options() const { return {}; }

    std::unique_ptr<TMediaEnvironment> Media;
};

// A fresh empty folder under the system's temporary folder, unique to this process and test.
[[nodiscard]] std::filesystem::path MakeTestFolder(const std::string& purpose);

// Lines of a text file without their line ends; empty when the file is missing.
[[nodiscard]] std::vector<std::string> ReadLines(const std::filesystem::path& path);
