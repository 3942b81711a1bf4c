// duelmark-script: compiles a script and prints its messages, or runs its main block and
// prints what it wrote, so a script author can test script logic outside the game. With --ai it
// checks an AI file as the game joins it: behind the shared file beside it, with the game's
// records and routines declared (they do nothing here).
#include "script/AIHost.h"
#include "script/BriskAI.h"
#include "script/Program.h"
#include "script/ScriptEngine.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

int Usage() {
    std::cerr << "usage: duelmark-script FILE\n"
                 "       duelmark-script --run FILE [ARGS...]\n"
                 "       duelmark-script --ai data/CHARACTER.ai\n";
    return 2;
}

// The lines of a file, or nothing when it cannot be read.
std::optional<std::vector<std::string>> ReadLines(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return std::nullopt;
    return SplitScriptLines(in);
}

// Compiles an AI file behind the "default.ai" in its folder, as the game does (the shared file
// alone when it is the one given), and prints every message with the file and line it comes
// from.
int CheckAIFile(const std::string& fileName) {
    const size_t slash = fileName.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
    const std::string shared = folder + "default.ai";
    std::vector<std::string> files{fileName};
    if (fileName.substr(folder.size()) != "default.ai") files.insert(files.begin(), shared);
    TBriskAI runner;
    for (const std::string& file : files) {
        const std::optional<std::vector<std::string>> lines = ReadLines(file);
        if (!lines) {
            std::cerr << "Cannot open \"" << file << "\"\n";
            return 2;
        }
        runner.ScriptText.insert(runner.ScriptText.end(), lines->begin(), lines->end());
        runner.Sources.push_back(TScriptSource{file, static_cast<int32_t>(lines->size())});
    }
    runner.Log = [](std::string_view message, std::string_view) { std::cout << message << "\n"; };
    DeclareAIHost(runner, [](std::string_view) { return [](TProgramInfo&) {}; });
    runner.Compile();
    return runner.Program() != nullptr && runner.Program()->State() == TProgramState::Running ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--ai") == 0) return CheckAIFile(argv[2]);
    bool run = false;
    int first = 1;
    if (argc > 1 && std::strcmp(argv[1], "--run") == 0) {
        run = true;
        first = 2;
    }
    if (argc <= first) {
        return Usage();
    }
    const std::string fileName = argv[first];
    std::ifstream in(fileName, std::ios::binary);
    if (!in) {
        std::cerr << "Cannot open \"" << fileName << "\"\n";
        return 2;
    }
    std::ostringstream text;
    text << in.rdbuf();

    TScriptEngine engine;
    // Include files are looked for beside the script too.
    const size_t slash = fileName.find_last_of('/');
    if (slash != std::string::npos) {
        engine.Config.ScriptPaths.push_back(fileName.substr(0, slash));
    }
    std::unique_ptr<TProgram> program = engine.Compile(text.str());
    if (!run || program->State() == TProgramState::CompiledWithErrors) {
        std::cout << program->Msgs().AsText();
        return program->Msgs().HasErrors() ? 1 : 0;
    }
    for (int i = first + 1; i < argc; ++i) {
        program->Parameters.emplace_back(std::string_view(argv[i]));
    }
    program->Execute();
    std::cout << program->ResultText();
    std::cout.flush();
    std::cerr << program->Msgs().AsText();
    return program->Msgs().HasErrors() ? 1 : 0;
}
