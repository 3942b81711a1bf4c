// Where the data, the settings and the log are found: a game folder, an installed game under a
// prefix, and the XDG folders with their defaults and the values the XDG rules ignore.
#include "platform/GameFolders.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

class GameFoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Named after the test: CTest runs the cases side by side, and a shared folder would be
        // removed under another case's feet.
        Root = fs::temp_directory_path() /
               ("duelmark_folders_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Root);
        // A checkout's game folder, with its data beside the executable.
        fs::create_directories(Root / "build/game/data");
        // An installed game: prefix/games/duelmark and prefix/share/games/duelmark/data.
        fs::create_directories(Root / "prefix/games");
        fs::create_directories(Root / "prefix/share/games/duelmark/data");
        // An executable with neither.
        fs::create_directories(Root / "bare");
    }
    void TearDown() override { fs::remove_all(Root); }

    [[nodiscard]] std::string Folder(const std::string& relative) const {
        return (Root / relative).string() + "/";
    }

    [[nodiscard]] static TEnvironment Environment(std::map<std::string, std::string> variables) {
        return [variables = std::move(variables)](std::string_view name) -> std::optional<std::string> {
            const auto it = variables.find(std::string(name));
            return it == variables.end() ? std::nullopt : std::optional<std::string>(it->second);
        };
    }

    fs::path Root;
};

TEST_F(GameFoldersTest, DataIsBesideTheExecutableElseUnderShareGamesDuelmark) {
    const auto none = Environment({});
    EXPECT_EQ(LocateGameFolders(Folder("build/game"), true, none).Data, Folder("build/game"));
    EXPECT_EQ(LocateGameFolders(Folder("prefix/games"), true, none).Data,
              Folder("prefix/share/games/duelmark"));
    EXPECT_EQ(LocateGameFolders(Folder("bare"), true, none).Data, Folder("bare"))
        << "without data anywhere the executable's folder is named, as it always was";
    // A data/ folder beside the executable wins over an installed copy.
    fs::create_directories(Root / "prefix/games/data");
    EXPECT_EQ(LocateGameFolders(Folder("prefix/games"), true, none).Data, Folder("prefix/games"));
}

TEST_F(GameFoldersTest, AWritableExecutableFolderKeepsSettingsAndLogBesideIt) {
    const auto xdg = Environment({{"XDG_CONFIG_HOME", "/c"}, {"XDG_STATE_HOME", "/s"}, {"HOME", "/h"}});
    for (const char* exe : {"build/game", "prefix/games"}) {
        const TGameFolders folders = LocateGameFolders(Folder(exe), true, xdg);
        EXPECT_EQ(folders.Settings, Folder(exe)) << exe;
        EXPECT_EQ(folders.Log, Folder(exe)) << exe;
    }
}

TEST_F(GameFoldersTest, AReadOnlyExecutableFolderKeepsThemInTheXdgFolders) {
    const struct {
        std::map<std::string, std::string> Variables;
        const char* Settings;
        const char* Log;
    } cases[] = {
        {{{"XDG_CONFIG_HOME", "/c"}, {"XDG_STATE_HOME", "/s"}, {"HOME", "/h"}},
         "/c/duelmark/",
         "/s/duelmark/"},
        {{{"HOME", "/home/ann"}}, "/home/ann/.config/duelmark/", "/home/ann/.local/state/duelmark/"},
        {{{"XDG_CONFIG_HOME", ""}, {"XDG_STATE_HOME", ""}, {"HOME", "/h/"}},
         "/h/.config/duelmark/",
         "/h/.local/state/duelmark/"},
        // Relative values are ignored, as the XDG rules ask: they would depend on where the
        // game was started.
        {{{"XDG_CONFIG_HOME", "rel"}, {"XDG_STATE_HOME", "./s"}, {"HOME", "/h"}},
         "/h/.config/duelmark/",
         "/h/.local/state/duelmark/"},
        {{{"XDG_CONFIG_HOME", "/c"}, {"HOME", "relative"}}, "/c/duelmark/", nullptr},
        {{}, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        const TGameFolders folders =
            LocateGameFolders(Folder("prefix/games"), false, Environment(c.Variables));
        // With no home at all the executable's folder is named: nothing is written then.
        EXPECT_EQ(folders.Settings, c.Settings != nullptr ? c.Settings : Folder("prefix/games"));
        EXPECT_EQ(folders.Log, c.Log != nullptr ? c.Log : Folder("prefix/games"));
        EXPECT_EQ(folders.Data, Folder("prefix/share/games/duelmark")) << "the data never moves";
    }
}

TEST_F(GameFoldersTest, NothingUnderUsrIsWrittenNotEvenByRoot) {
    EXPECT_FALSE(MayWriteExecutableFolder("/usr/games/"));
    EXPECT_FALSE(MayWriteExecutableFolder("/usr/local/games/"));
    EXPECT_TRUE(MayWriteExecutableFolder(Folder("build/game")));
    EXPECT_FALSE(MayWriteExecutableFolder(Folder("missing")));
}

} // namespace
