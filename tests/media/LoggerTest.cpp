// The log: levels from the start-up file, exact line formats, and a log that cannot be written.
#include "media/BriskLogger.h"
#include "media/StartupFile.h"
#include "platform/IniFile.h"
#include "support/MediaFixture.h"

#include <cctype>
#include <fstream>
#include <sys/stat.h>

namespace {

// "<kind> : @ HH:MM:SS MSG : <message> IN : <location>"
bool IsLogLine(const std::string& line, const std::string& kind, const std::string& rest) {
    const std::string head = kind + " : @ ";
    if (!line.starts_with(head) || line.size() != head.size() + 8 + rest.size()) return false;
    const std::string time = line.substr(head.size(), 8);
    for (size_t i = 0; i < time.size(); ++i)
        if (i == 2 || i == 5 ? time[i] != ':' : !std::isdigit(static_cast<unsigned char>(time[i])))
            return false;
    return line.substr(head.size() + 8) == rest;
}

struct TLevelCase {
    std::optional<std::string> StartupText;
    int32_t Level;
    const char* Label;
};
void PrintTo(const TLevelCase& c, std::ostream* os) {
    *os << c.Label;
}

class LoggerLevelTest : public MediaFixture, public ::testing::WithParamInterface<TLevelCase> {
protected:
    [[nodiscard]] TMediaOptions Options() const override {
        TMediaOptions options;
        options.StartupText = GetParam().StartupText;
        return options;
    }
};

TEST_P(LoggerLevelTest, StartupFileSetsTheLevelAndTheLevelFiltersLines) {
    const int32_t level = GetParam().Level;
    EXPECT_EQ(Logger->DebugLevel, level);
    Logger->LogError("Quit Event", "TitleProcess");
    Logger->LogStatus("Create Fonts", "");
    Media->Stop();
    const auto lines = Media->LogLines();
    if (level == 0) {
        EXPECT_FALSE(std::filesystem::exists(Media->Folder() / "duelmark.log"));
        return;
    }
    size_t errors = 0, status = 0, quits = 0;
    for (const auto& line : lines) {
        errors += line.starts_with("*** ERROR *** : @ ");
        status += line.starts_with("STATUS INFO : @ ");
        quits += IsLogLine(line, "*** ERROR ***", " MSG : Quit Event IN : TitleProcess");
    }
    EXPECT_EQ(errors + status, lines.size());
    EXPECT_EQ(quits, 1U);
    if (level < 3) {
        EXPECT_EQ(status, 0U);
        return;
    }
    ASSERT_GE(lines.size(), 4U);
    EXPECT_TRUE(IsLogLine(lines.front(), "STATUS INFO", " MSG : Starting Application IN : Initialization"))
        << lines.front();
    EXPECT_TRUE(IsLogLine(lines.back(), "STATUS INFO", " MSG : Terminating Application IN : Finalization"));
    EXPECT_TRUE(IsLogLine(lines[lines.size() - 2], "STATUS INFO",
                          " MSG : BriskDraw surface being cleared IN : TBriskDraw.Destroy"));
    EXPECT_TRUE(IsLogLine(lines[lines.size() - 3], "STATUS INFO",
                          " MSG : SDL being closed down. IN : BriskDraws.Finalization"));
    const std::string text = Media->LogText();
    EXPECT_NE(text.find(" MSG : Quit Event IN : TitleProcess\r\n"), std::string::npos);
    EXPECT_NE(text.find(" MSG : Create Fonts IN : \r\n"), std::string::npos)
        << "an empty location ends the line";
    EXPECT_NE(text.find(" MSG : SDL being started up. IN : BriskDraws.Initialization\r\n"),
              std::string::npos);
    EXPECT_NE(text.find(" MSG : SDL being closed down. IN : BriskDraws.Finalization\r\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, LoggerLevelTest,
    ::testing::Values(TLevelCase{std::nullopt, 3, "NoFile"}, TLevelCase{"", 3, "EmptyFile"},
                      TLevelCase{"Debug=x\n", 3, "Letter"}, TLevelCase{"Debug=7\n", 3, "Seven"},
                      TLevelCase{"Debug=\n", 3, "EmptyValue"}, TLevelCase{"Debug=2x\n", 3, "TrailingJunk"},
                      TLevelCase{"debug = 0\r\n", 0, "Zero"},
                      TLevelCase{"Debug=1\nDebug=3\n", 1, "FirstLineWins"},
                      TLevelCase{"FullScreen=N\nDEBUG=2\n", 2, "Two"},
                      TLevelCase{"Debug=12\n", 12, "Twelve"}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST(DebugLevel, TextConvertsOrFallsBackToThree) {
    const struct {
        const char* Text;
        int32_t Level;
    } cases[] = {{"", 3},  {"0", 0},  {"1", 1},   {"3", 3},  {"4", 3},          {"7", 3},
                 {"x", 3}, {"-1", 3}, {"12", 12}, {"2x", 3}, {"99999999999", 3}};
    for (const auto& c : cases)
        EXPECT_EQ(DebugLevelFromText(c.Text), c.Level) << c.Text;
}

TEST(StartupFile, NamedAfterTheExecutableWithoutItsExtension) {
    EXPECT_EQ(StartupFileName("/opt/game/", "duelmark"), "/opt/game/duelmark.cfg");
    EXPECT_EQ(StartupFileName("/opt/game/", "game.exe"), "/opt/game/game.cfg");
    EXPECT_EQ(StartupFileName("/opt/game/", "my.game.bin"), "/opt/game/my.game.cfg");
    EXPECT_EQ(NameStem(".hidden"), ".hidden");
}

TEST(Logger, UnwritableFolderRunsWithoutALog) {
    const auto folder = MakeTestFolder("nolog");
    TLogger logger((folder / "missing").string() + "/", "duelmark");
    EXPECT_EQ(logger.DebugLevel, 3);
    logger.LogError("Quit Event", "TitleProcess");
    logger.LogStatus("still running", "");
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
    std::filesystem::remove_all(folder);
}

TEST(LogLine, LongTextIsCutToOneLineThatKeepsHeadTailAndLocation) {
    const std::string head = "Invalid tile code \"" + std::string(5000, 'x');
    const std::string tail = "\" for Tile5-5 in Maps\\Lake.map";
    const struct {
        std::string Message;
        std::string Location;
        std::string Expected; // the line between "MSG : " and its end; "" when only checked below
    } cases[] = {
        {"Quit Event", "TitleProcess", "Quit Event IN : TitleProcess"},
        {"two\nlines\r\nhere", "a\nb", "two lines  here IN : a b"},
        {head + tail, "TBriskGame.Run", ""},
        {std::string(3000, 'm'), std::string(500, 'l'), ""},
    };
    for (const auto& c : cases) {
        const std::string line = LogLine("*** ERROR ***", "21:04:59", c.Message, c.Location);
        SCOPED_TRACE(line.substr(0, 80));
        EXPECT_LE(line.size(), kMaxLogLineBytes);
        EXPECT_TRUE(line.starts_with("*** ERROR *** : @ 21:04:59 MSG : "));
        EXPECT_TRUE(line.ends_with("\r\n"));
        EXPECT_EQ(line.find_first_of("\r\n"), line.size() - 2) << "one line";
        if (!c.Expected.empty()) {
            EXPECT_EQ(line, "*** ERROR *** : @ 21:04:59 MSG : " + c.Expected + "\r\n");
        }
    }
    const std::string cut = LogLine("*** ERROR ***", "21:04:59", head + tail, "TBriskGame.Run");
    EXPECT_EQ(cut.size(), kMaxLogLineBytes);
    EXPECT_NE(cut.find("MSG : Invalid tile code \"xxx"), std::string::npos);
    EXPECT_NE(cut.find(" [...] "), std::string::npos);
    EXPECT_TRUE(cut.ends_with(tail + " IN : TBriskGame.Run\r\n")) << "file and key stay";
    const std::string longPlace = LogLine("STATUS INFO", "21:04:59", "m", std::string(500, 'l'));
    EXPECT_TRUE(longPlace.ends_with(" IN : " + std::string(kMaxLogLocationBytes, 'l') + "\r\n"));
}

TEST(Logger, StopsAtItsCapWithOneLineSayingSo) {
    const auto folder = MakeTestFolder("cap");
    {
        TLogger logger(folder.string() + "/", "duelmark");
        const std::string message(1000, 'x');
        for (int64_t written = 0; written < kMaxLogBytes + 100000; written += 1000)
            logger.LogStatus(message, "Flood");
        logger.LogError("after the cap", "Flood");
    }
    const auto path = folder / "duelmark.log";
    EXPECT_LE(static_cast<int64_t>(std::filesystem::file_size(path)), kMaxLogBytes);
    EXPECT_GT(static_cast<int64_t>(std::filesystem::file_size(path)), kMaxLogBytes - 2048);
    const auto lines = ReadLines(path);
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(IsLogLine(lines.back(), "*** ERROR ***",
                          " MSG : Log cut at 16 MB: nothing more is written IN : TLogger"))
        << lines.back();
    EXPECT_TRUE(lines[lines.size() - 2].ends_with(" IN : Flood"));
    std::filesystem::remove_all(folder);
}

TEST(StartupFile, APipeOrAHugeFileReadsAsNoFile) {
    const auto folder = MakeTestFolder("cfg");
    const std::string appPath = folder.string() + "/";
    ASSERT_EQ(mkfifo((folder / "duelmark.cfg").c_str(), 0600), 0);
    EXPECT_EQ(ReadStartupValue(appPath, "duelmark", "Debug"), std::nullopt) << "no wait for a writer";
    std::filesystem::remove(folder / "duelmark.cfg");
    std::ofstream(folder / "duelmark.cfg") << "Debug=1\n"
                                           << std::string(static_cast<size_t>(kMaxIniFileBytes), ';');
    EXPECT_EQ(ReadStartupValue(appPath, "duelmark", "Debug"), std::nullopt);
    std::filesystem::resize_file(folder / "duelmark.cfg", 8);
    EXPECT_EQ(ReadStartupValue(appPath, "duelmark", "Debug"), "1");
    std::filesystem::remove_all(folder);
}

TEST(Logger, SecondRunReplacesTheFirstLog) {
    const auto folder = MakeTestFolder("tworuns");
    const std::string appPath = folder.string() + "/";
    {
        TLogger first(appPath, "duelmark");
        first.LogError("first run", "");
    }
    {
        TLogger second(appPath, "duelmark");
        second.LogError("second run", "");
    }
    const auto lines = ReadLines(folder / "duelmark.log");
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_NE(lines[0].find("second run"), std::string::npos);
    std::filesystem::remove_all(folder);
}

} // namespace
