// INI profile files: Windows lookup rules, integer conversion, and writes that keep the rest.
#include "platform/IniFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = fs::temp_directory_path() /
                 ("duelmark_ini_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Folder);
        fs::create_directories(Folder);
    }
    void TearDown() override { fs::remove_all(Folder); }

    std::string Write(const std::string& name, const std::string& content) const {
        const fs::path path = Folder / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path Folder;
};

TEST(ProfileInteger, ConvertsDecimalAndDollarHexOrRefuses) {
    const struct {
        const char* Text;
        std::optional<int32_t> Expected;
    } cases[] = {
        {"2", 2},
        {"$2", 2},
        {"$ff", 255},
        {"$FF", 255},
        {"-7", -7},
        {"+7", 7},
        {"-$10", -16},
        {"  42  ", 42},
        {"2147483647", 2147483647},
        {"2147483648", std::nullopt},
        {"-2147483648", INT32_MIN},
        {"-2147483649", std::nullopt},
        {"$FFFFFFFF", -1},
        {"$100000000", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"x", std::nullopt},
        {"12abc", std::nullopt},
        {"0x10", std::nullopt},
        {"1 2", std::nullopt},
        {"$fg", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseProfileInteger(c.Text), c.Expected) << "text '" << c.Text << "'";
}

TEST_F(IniFileTest, ReadsWithoutCaseFirstMatchWinsAndDefaults) {
    const std::string path = Write("a.ini", "; leading comment\n"
                                            "[Select]\n"
                                            " Player1 = Knight \n"
                                            "player1=Second\n"
                                            "Server=$2\n"
                                            "Quoted=\"a b\"\n"
                                            "Bad=garbage\n"
                                            "Signed=-12\n"
                                            "[select]\n"
                                            "Extra=1\n"
                                            "[Other]\n"
                                            "Player1=Elsewhere\n");
    const TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("SELECT", "PLAYER1", "d"), "Knight");
    EXPECT_EQ(ini.ReadInteger("select", "server", 9), 2);
    EXPECT_EQ(ini.ReadString("Select", "Quoted", ""), "a b");
    EXPECT_EQ(ini.ReadInteger("Select", "Bad", 5), 5);
    EXPECT_EQ(ini.ReadInteger("Select", "Signed", 5), -12);
    EXPECT_EQ(ini.ReadString("Select", "Extra", "none"), "none") << "only the first section counts";
    EXPECT_EQ(ini.ReadString("Other", "Player1", ""), "Elsewhere");
    EXPECT_EQ(ini.ReadString("Missing", "Player1", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInteger("Select", "Missing", -3), -3);
    EXPECT_TRUE(ini.SectionExists("OTHER"));
    EXPECT_FALSE(ini.SectionExists("leading comment"));
    EXPECT_EQ(ini.ReadSection("select"),
              (std::vector<std::string>{"Player1", "player1", "Server", "Quoted", "Bad", "Signed"}));
}

TEST_F(IniFileTest, GarbageFileReadsAsDefaults) {
    const std::string path =
        Write("junk.ini", std::string("\x01\x02[[]]=\n=novalue\n[unclosed\nkey\0=1\n", 30));
    const TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("Select", "Server", 1), 1);
    EXPECT_EQ(ini.ReadString("unclosed", "key", "d"), "d");
    EXPECT_TRUE(ini.ReadSection("[").empty());
}

TEST_F(IniFileTest, MissingFileReadsDefaultsAndWriteCreatesIt) {
    const std::string path = (Folder / "new.def").string();
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("Server", "Address", "127.0.0.1"), "127.0.0.1");
    EXPECT_FALSE(ini.SectionExists("Server"));
    EXPECT_TRUE(ini.WriteString("Server", "Address", "10.0.0.1"));
    EXPECT_TRUE(ini.WriteInteger("Server", "Port", 2080));
    EXPECT_EQ(Read(path), "[Server]\nAddress=10.0.0.1\nPort=2080\n");
    EXPECT_EQ(TIniFile(path).ReadInteger("server", "port", 0), 2080);
}

TEST_F(IniFileTest, WriteKeepsOtherSectionsCommentsAndLineEnds) {
    const std::string path = Write("keep.def", "; settings\r\n"
                                               "[Select]\r\n"
                                               "PLAYER1=old\r\n"
                                               "; about players\r\n"
                                               "\r\n"
                                               "[Colours]\r\n"
                                               "Sky=blue\r\n");
    TIniFile ini(path);
    EXPECT_TRUE(ini.WriteString("select", "player1", "new"));
    EXPECT_TRUE(ini.WriteInteger("SELECT", "Player2", -4));
    EXPECT_TRUE(ini.WriteString("Server", "Address", "host"));
    EXPECT_EQ(Read(path), "; settings\r\n"
                          "[Select]\r\n"
                          "PLAYER1=new\r\n"
                          "; about players\r\n"
                          "Player2=-4\r\n"
                          "\r\n"
                          "[Colours]\r\n"
                          "Sky=blue\r\n"
                          "\r\n"
                          "[Server]\r\n"
                          "Address=host\r\n");
    // No temporary file is left behind.
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(Folder))
        ++files;
    EXPECT_EQ(files, 1U);
}

TEST_F(IniFileTest, WriteAllWritesKeysInOrderAndLineBreaksCannotAddKeys) {
    const std::string path = Write("all.def", "[Select]\nServer=1\n");
    TIniFile ini(path);
    EXPECT_TRUE(ini.WriteAll({{"Server", "IP", "127.0.0.1"},
                              {"Select", "Server", "4"},
                              {"Select", "MapName", "Default\n[Select]\nClient=9"}}));
    EXPECT_EQ(Read(path),
              "[Select]\nServer=4\nMapName=Default [Select] Client=9\n\n[Server]\nIP=127.0.0.1\n");
    EXPECT_EQ(TIniFile(path).ReadInteger("Select", "Client", -1), -1);
}

TEST_F(IniFileTest, WriteIntoUnwritableFolderReportsFailureWithoutThrowing) {
    TIniFile ini((Folder / "no_such_folder" / "x.def").string());
    EXPECT_FALSE(ini.WriteInteger("Select", "Server", 1));
}

TEST_F(IniFileTest, GamePathWithBackslashesAndOtherCaseFindsTheFile) {
    fs::create_directories(Folder / "data");
    Write("data/Knight.PLR", "[Player]\nName=Ser Ayla\n");
    const TIniFile ini((Folder.string() + "\\DATA\\knight.plr"));
    EXPECT_EQ(ini.ReadString("player", "name", ""), "Ser Ayla");
}

} // namespace
