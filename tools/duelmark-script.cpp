// duelmark-script: compiles an AI script and prints its messages, or runs its main block and
// prints what it wrote, so a script author can test script logic outside the game.
#include "script/Program.h"
#include "script/ScriptEngine.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

int Usage() {
    std::cerr << "usage: duelmark-script FILE\n"
                 "       duelmark-script --run FILE [ARGS...]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
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
