// The indexed INI reader reads every text exactly as the line-scanning reader before it did,
// and a write leaves the same file; odd texts by hand and many generated ones. Also the
// default-or-clamp rule, the size cap and the clean-up of interrupted writes.
#include "ReferenceIni.h"
#include "platform/IniFile.h"
#include "platform/IniFileCache.h"
#include "platform/Problems.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class IniIndexTest : public ::testing::Test {
protected:
    void SetUp() override {
        Folder =
            fs::temp_directory_path() / ("duelmark_index_" + std::to_string(getpid()) + "_" +
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

    // Every query the old and the new reader must answer alike.
    void ExpectSameReads(const std::string& text, const std::vector<std::string>& names) const {
        const std::string path = Write("same.ini", text);
        const TIniFile indexed(path);
        const TReferenceIni reference(text);
        for (const std::string& section : names) {
            ASSERT_EQ(indexed.SectionExists(section), reference.SectionExists(section)) << section;
            ASSERT_EQ(indexed.ReadSection(section), reference.ReadSection(section)) << section;
            for (const std::string& key : names) {
                ASSERT_EQ(indexed.ReadString(section, key, "?"), reference.ReadString(section, key, "?"))
                    << "[" << section << "] " << key;
                ASSERT_EQ(indexed.ReadInteger(section, key, -77), reference.ReadInteger(section, key, -77))
                    << "[" << section << "] " << key;
            }
        }
    }

    // The file a write leaves, from both readers.
    void ExpectSameWrites(const std::string& text, const std::vector<TIniWrite>& writes) const {
        const std::string path = Write("write.ini", text);
        TIniFile indexed(path);
        ASSERT_TRUE(indexed.WriteAll(writes));
        TReferenceIni reference(text);
        for (const TIniWrite& write : writes)
            reference.Set(write.Section, write.Key, write.Value);
        ASSERT_EQ(Read(path), reference.Text()) << text;
    }

    fs::path Folder;
};

// Names in several spellings, with blanks around, and some that no text holds.
const std::vector<std::string> kNames = {"a",   "A",       " a ", "b",    "B", "Select", "SELECT", "server",
                                         "Map", "Tile0-0", "",    "none", "=", "[a]",    ";a",     "x y"};

TEST_F(IniIndexTest, OddTextsReadAsBefore) {
    const std::vector<std::string> texts = {
        "",
        "\n\n\n",
        "a=1\nb=2\n[a]\na=3\n",                              // keys before any section
        "[a]\na=1\n[A]\na=2\nb=3\n[a]\nb=4\n",               // the same section three times
        "[a]\na=1\nA=2\n a = 3 \n",                          // the same key three times
        "[ a ]\n  a  =  spaced  \n\tb\t=\ttabbed\t\n",       // blanks around names and values
        "[a]\n;a=comment\n  ; b=comment\nb=real\n",          // comments look like keys
        "[a]\n=novalue\n==\na==2\nb=c=d\n",                  // equals signs in odd places
        "[a]\r\na=crlf\r\n\r\n[b]\r\nb=$10\r\n",             // CR LF line ends
        "[a]\na=\"quoted\"\nb='single'\nc=\"half\nd=\"\"\n", // quotes
        "[a]x\na=1\n[b] ; note\nb=2\n[c\nc=3\n[]\na=4\n",    // trailing text, unclosed and empty names
        "[a]\na=1\n\n\n; gap\n\n[b]\n",                      // blank lines and comments at a section's end
        "[Select]\nServer=$2\nSERVER=7\n[select]\nClient=-$10\n",
        "[Map]\nTile0-0=1-22\ntile0-0=0-0\n[MAP]\nTile0-0=2-2\n",
        std::string("[a]\na=1\0b\nb=\x01\n", 14), // a NUL byte and a control character
        "[a]\na=1\rb=2\n",                        // a lone CR inside a line
        "[[a]]\na=1\n[a]]\nb=2\n",                // brackets in names
        "[x y]\nx y=spaced name\n",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        ExpectSameReads(text, kNames);
    }
}

// Lines made from a few shapes with names of random case: sections repeat, keys repeat,
// comments and blank lines come anywhere, so every rule of the lookup is met many times.
std::string RandomText(std::mt19937& random) {
    static const std::vector<std::string> shapes = {
        "[%]",   " [ % ] ",  "[%] trailing", "%=v1",   " % = v2 ", "%=$1F", "%=-12",
        "%='q'", "%=\"dq\"", ";%=comment",   "  ;[%]", "",         "   ",   "=x",
        "%",     "[%",       "[]",           "%=",     "%==",
    };
    static const std::vector<std::string> names = {"a", "b", "Select", "server", "Map", "x y"};
    std::uniform_int_distribution<size_t> lineCount(0, 14);
    std::uniform_int_distribution<size_t> shape(0, shapes.size() - 1);
    std::uniform_int_distribution<size_t> name(0, names.size() - 1);
    std::bernoulli_distribution flip(0.3);
    std::bernoulli_distribution crlf(0.2);
    const std::string end = crlf(random) ? "\r\n" : "\n";
    std::string text;
    for (size_t n = lineCount(random); n > 0; --n) {
        std::string line = shapes[shape(random)];
        std::string chosen = names[name(random)];
        for (char& c : chosen)
            if (flip(random)) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (const size_t at = line.find('%'); at != std::string::npos) line.replace(at, 1, chosen);
        text += line + end;
    }
    return text;
}

TEST_F(IniIndexTest, GeneratedTextsReadAndWriteAsBefore) {
    std::mt19937 random(18);
    const std::vector<std::string> sections = {"a", "B", "Select", "new"};
    const std::vector<std::string> keys = {"a", "B", "Server", "x y", "fresh"};
    std::uniform_int_distribution<size_t> section(0, sections.size() - 1);
    std::uniform_int_distribution<size_t> key(0, keys.size() - 1);
    std::uniform_int_distribution<size_t> writeCount(1, 4);
    for (int round = 0; round < 400; ++round) {
        const std::string text = RandomText(random);
        SCOPED_TRACE(text);
        ExpectSameReads(text, kNames);
        std::vector<TIniWrite> writes;
        for (size_t n = writeCount(random); n > 0; --n)
            writes.push_back({sections[section(random)], keys[key(random)], "w" + std::to_string(n)});
        ExpectSameWrites(text, writes);
        if (HasFatalFailure()) return;
    }
}

TEST_F(IniIndexTest, ReadsAfterAWriteSeeTheWrittenFile) {
    const std::string path = Write("after.def", "[Select]\nServer=1\n[select]\nClient=5\n");
    TIniFile ini(path);
    ASSERT_TRUE(ini.WriteAll({{"SELECT", "client", "3"}, {"Server", "IP", "10.0.0.2"}}));
    EXPECT_EQ(ini.ReadInteger("select", "Client", 0), 3);
    EXPECT_EQ(ini.ReadString("server", "ip", ""), "10.0.0.2");
    EXPECT_EQ(ini.ReadSection("Select"), (std::vector<std::string>{"Server", "client"}));
    EXPECT_EQ(Read(path), "[Select]\nServer=1\nclient=3\n[select]\nClient=5\n\n[Server]\nIP=10.0.0.2\n");
}

TEST_F(IniIndexTest, ClampedReadsGiveTheDefaultOrTheNearerEnd) {
    const std::string path =
        Write("clamp.ini", "[s]\nlow=-2147483648\nhigh=2147483647\nin=7\nbad=x\nhex=$FFFFFFFF\n");
    const TIniFile ini(path);
    const TIntRange range{-10, 100};
    const struct {
        const char* Key;
        int32_t Expected;
    } cases[] = {{"low", -10}, {"high", 100}, {"in", 7}, {"bad", 5}, {"missing", 5}, {"hex", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadClamped("s", c.Key, 5, range), c.Expected) << c.Key;
}

TEST_F(IniIndexTest, AFileBeyondTheCapReadsAsMissingIsReportedAndIsNeverWritten) {
    std::vector<std::string> reports;
    SetProblemListener([&](std::string_view message, std::string_view) { reports.emplace_back(message); });
    const std::string big = "[a]\nb=1\n" + std::string(static_cast<size_t>(kMaxIniFileBytes), ';');
    const std::string path = Write("big.ini", big);
    TIniFile ini(path);
    EXPECT_TRUE(ini.Refused());
    EXPECT_EQ(ini.ReadInteger("a", "b", 9), 9);
    EXPECT_FALSE(ini.WriteString("a", "b", "2"));
    EXPECT_EQ(fs::file_size(path), big.size()) << "a refused file is left as it was";
    ASSERT_EQ(reports.size(), 1U);
    EXPECT_EQ(reports[0], "Refused " + path + ": larger than 16 MB, read as missing");
    // Exactly at the cap it is read.
    const std::string fits = "[a]\nb=1\n" + std::string(static_cast<size_t>(kMaxIniFileBytes) - 8, ';');
    const TIniFile atCap(Write("fits.ini", fits));
    EXPECT_FALSE(atCap.Refused());
    EXPECT_EQ(atCap.ReadInteger("a", "b", 9), 1);
    SetProblemListener({});
    EXPECT_EQ(reports.size(), 1U);
}

TEST_F(IniIndexTest, ACacheReadsEachFileOnceWhileItsOutermostScopeLasts) {
    std::vector<std::string> reports;
    SetProblemListener([&](std::string_view message, std::string_view) { reports.emplace_back(message); });
    const std::string path = Write("Potion.ini", "[Speed]\nSpeed=20\n");
    const std::string big = Write("Big.ini", std::string(static_cast<size_t>(kMaxIniFileBytes) + 1, ';'));
    TIniFileCache cache;
    {
        const TIniFileCache::TScope outer(cache);
        const TIniFile& first = cache.Get(path);
        Write("Potion.ini", "[Speed]\nSpeed=30\n");
        {
            const TIniFileCache::TScope inner(cache);
            EXPECT_EQ(&cache.Get(path), &first) << "an inner scope shares the outer's files";
        }
        EXPECT_EQ(cache.Get(path).ReadInteger("Speed", "Speed", 0), 20) << "read once, at its first use";
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(cache.Get(big).Refused());
    }
    EXPECT_EQ(reports.size(), 1U) << "a refused file is reported once for all its uses";
    const TIniFileCache::TScope again(cache);
    EXPECT_EQ(cache.Get(path).ReadInteger("Speed", "Speed", 0), 30) << "read afresh in a new scope";
    SetProblemListener({});
}

TEST_F(IniIndexTest, ADeviceOrFolderReadsAsMissing) {
    fs::create_directory(Folder / "folder.ini");
    EXPECT_EQ(TIniFile((Folder / "folder.ini").string()).ReadInteger("a", "b", 4), 4);
    EXPECT_EQ(TIniFile("/dev/zero").ReadInteger("a", "b", 4), 4);
}

TEST_F(IniIndexTest, StaleTemporaryFilesOfEndedProcessesAreRemovedAndNothingElse) {
    // A process number that no process has: above the kernel's highest.
    const std::string ended = "999999999";
    const std::string running = std::to_string(getpid());
    const std::vector<std::pair<std::string, bool>> files = {
        {"Duelmark.def.tmp" + ended, false},
        {"Duelmark.def.tmp" + running, true},
        {"Duelmark.def.tmp", true},
        {"Duelmark.def.tmpx1", true},
        {"Duelmark.def.tmp12a", true},
        {"Other.def.tmp" + ended, true},
        {"Duelmark.def", true},
        {"xDuelmark.def.tmp" + ended, true},
    };
    for (const auto& [name, kept] : files)
        Write(name, "x");
    RemoveStaleTemporaries((Folder / "Duelmark.def").string());
    for (const auto& [name, kept] : files)
        EXPECT_EQ(fs::exists(Folder / name), kept) << name;
}

} // namespace
