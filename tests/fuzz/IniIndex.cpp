// Fuzzes the INI index against the line-scanning reader it replaced: any text must read alike
// for every section and key name the text itself holds (and a few it does not), and a write
// must leave the same file.
#include "platform/IniFile.h"
#include "tests/platform/ReferenceIni.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Every run of the text between the characters that end names, trimmed or not: enough to meet
// every section and key name, in the text's own spelling.
std::vector<std::string> NamesIn(std::string_view text) {
    std::vector<std::string> names = {"", "a", "A", "none"};
    size_t start = 0;
    for (size_t i = 0; i <= text.size() && names.size() < 64; ++i) {
        if (i < text.size() && text[i] != '[' && text[i] != ']' && text[i] != '=' && text[i] != '\n')
            continue;
        names.emplace_back(text.substr(start, i - start));
        start = i + 1;
    }
    return names;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string path = "/tmp/duelmark_fuzz_ini_" + std::to_string(getpid()) + ".ini";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    const std::vector<std::string> names = NamesIn(text);
    {
        const TIniFile indexed(path);
        const TReferenceIni reference(text);
        for (const std::string& section : names) {
            if (indexed.SectionExists(section) != reference.SectionExists(section)) std::abort();
            if (indexed.ReadSection(section) != reference.ReadSection(section)) std::abort();
            for (const std::string& key : names) {
                if (indexed.ReadString(section, key, "?") != reference.ReadString(section, key, "?"))
                    std::abort();
                if (indexed.ReadInteger(section, key, -77) != reference.ReadInteger(section, key, -77))
                    std::abort();
            }
        }
    }
    // Two writes: one to a name the text may hold, one that is likely new.
    TIniFile indexed(path);
    TReferenceIni reference(text);
    const std::string& section = names[names.size() / 2];
    const std::string& key = names.back();
    if (indexed.WriteAll({{section, key, "1"}, {"new", key, "2"}})) {
        reference.Set(section, key, "1");
        reference.Set("new", key, "2");
        if (ReadFile(path) != reference.Text()) std::abort();
    }
    std::remove(path.c_str());
    return 0;
}
