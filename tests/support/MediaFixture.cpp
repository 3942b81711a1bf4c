// The test fixture that starts and ends the media library in a folder of the test's own.
#include "MediaFixture.h"

#include "media/BriskLibrary.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

fs::path MakeTestFolder(const std::string& purpose) {
    std::string name = "duelmark_" + purpose + "_" + std::to_string(getpid());
    if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info())
        name += std::string("_") + info->test_suite_name() + "_" + info->name();
    for (char& c : name)
        if (c == '/') c = '_';
    const fs::path folder = fs::temp_directory_path() / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::vector<std::string> ReadLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

TMediaEnvironment::TMediaEnvironment(TMediaOptions options) : TestFolder(MakeTestFolder("media")) {
    // Headless even when a test executable is started by hand; an explicit choice still wins.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (options.StartupText)
        std::ofstream(TestFolder / "duelmark.cfg", std::ios::binary) << *options.StartupText;
    if (options.ManualClock) {
        SetClock(&Clock);
        ClockInstalled = true;
    }
    PreviousWorkingFolder = fs::current_path();
    fs::current_path(options.WorkingFolder.empty() ? TestFolder : fs::path(options.WorkingFolder));
    Library = std::make_unique<TBriskLibrary>(AppPath(), "duelmark");
}

TMediaEnvironment::~TMediaEnvironment() {
    Stop();
    std::error_code error;
    fs::current_path(PreviousWorkingFolder, error);
    fs::remove_all(TestFolder, error);
    if (ClockInstalled) SetClock(nullptr);
}

void TMediaEnvironment::Stop() {
    Library.reset();
}

std::string TMediaEnvironment::LogText() const {
    std::ifstream in(TestFolder / "duelmark.log", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> TMediaEnvironment::LogLines() const {
    return ReadLines(TestFolder / "duelmark.log");
}

void MediaFixture::SetUp() {
    Media = std::make_unique<TMediaEnvironment>(Options());
}

void MediaFixture::TearDown() {
    Media.reset();
}
