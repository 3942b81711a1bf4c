// Game paths: backslashes, letter case, wildcard listings, the executable's name.
#include "platform/Paths.h"

#include "platform/GameFolders.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class PathsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Folder = fs::temp_directory_path() /
                 ("duelmark_paths_" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Folder);
        fs::create_directories(Folder / "Maps");
        fs::create_directories(Folder / "data" / "Sub.plr");
        for (const char* name : {"Maps/Default.map", "data/zeta.plr", "data/Alpha.PLR", "data/beta.plr",
                                 "data/BETA2.plr", "data/notes.txt", "data/plr"})
            std::ofstream(Folder / name) << "x";
    }
    void TearDown() override { fs::remove_all(Folder); }

    [[nodiscard]] std::string Game(const std::string& path) const { return Folder.string() + "\\" + path; }

    fs::path Folder;
};

TEST_F(PathsTest, ResolvesEachComponentWithoutCase) {
    const struct {
        const char* GamePath;
        const char* Expected; // relative to the folder
    } cases[] = {
        {"Maps\\Default.map", "Maps/Default.map"},   {"maps\\default.MAP", "Maps/Default.map"},
        {"MAPS/DEFAULT.MAP", "Maps/Default.map"},    {"DATA\\alpha.plr", "data/Alpha.PLR"},
        {"maps\\Missing.map", "Maps/Missing.map"},   {"nofolder\\Default.map", "nofolder/Default.map"},
        {"maps\\\\default.map", "Maps/Default.map"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolvePath(Game(c.GamePath)), (Folder / c.Expected).string()) << c.GamePath;
}

TEST_F(PathsTest, ListsMatchingFilesSortedWithoutCase) {
    EXPECT_EQ(ListFiles(Game("DATA\\*.plr")),
              (std::vector<std::string>{"Alpha.PLR", "beta.plr", "BETA2.plr", "zeta.plr"}));
    EXPECT_EQ(ListFiles(Game("data\\b?ta*.PLR")), (std::vector<std::string>{"beta.plr", "BETA2.plr"}));
    EXPECT_EQ(ListFiles(Game("data\\*")).size(), 6U) << "folders are not listed";
    EXPECT_TRUE(ListFiles(Game("nothere\\*.plr")).empty());
    EXPECT_TRUE(ListFiles(Game("maps\\*.plr")).empty());
}

TEST(Executable, StemDropsOnlyTheExtensionAndFolderEndsInSlash) {
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(fs::exists(folder + ExecutableStem())) << "test executables have no extension";
    EXPECT_EQ(ExecutableStem(), "test_platform");
}

TEST(DataFolder, IsTheExecutablesFolderAndEnteringItMakesItTheWorkingDirectory) {
    EXPECT_EQ(DataFolder(), ExecutableFolder()) << "a test executable has no data anywhere";
    const fs::path before = fs::current_path();
    fs::current_path(fs::temp_directory_path());
    ASSERT_TRUE(EnterDataFolder());
    EXPECT_TRUE(fs::equivalent(fs::current_path(), DataFolder()));
    EXPECT_TRUE(fs::exists("test_platform")) << "relative paths now start in the data folder";
    fs::current_path(before);
}

} // namespace
