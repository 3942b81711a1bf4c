// duelmark-script: compiles a script and prints its messages, or runs its main block and
// prints what it wrote, so a script author can test script logic outside the game. With --ai it
// checks an AI file as the game joins it: behind the shared file beside it, with the game's
// records and routines declared (they do nothing here), and calls its Init and Execute once.
// Messages go to standard error, what the script prints to standard output.
#include "script/AIHost.h"
#include "script/BriskAI.h"
#include "script/Program.h"
#include "script/ScriptEngine.h"
#include "script/ScriptError.h"

#include <charconv>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kExitErrors = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kUsage =
    "usage: duelmark-script [--steps N] FILE               compile FILE, print its messages\n"
    "       duelmark-script [--steps N] --run FILE [ARGS]  run FILE's main block; ARGS are its parameters\n"
    "       duelmark-script [--steps N] --ai DIR/NAME.ai   check an AI file as the game joins it\n"
    "       duelmark-script --help\n";

constexpr std::string_view kHelp =
    "\n"
    "--run runs the script's begin ... end. block. --ai compiles DIR/default.ai followed by the\n"
    "file, with the game's records and routines declared (they do nothing here), then calls its\n"
    "Init and its Execute once, as the game does when the match starts.\n"
    "\n"
    "--steps N  Each call into the script (the main block with --run; the set-up of the\n"
    "           globals, Init and Execute with --ai) may take at most N steps, and ends with\n"
    "           \"Script exceeded its step limit (N steps)\" past them. A step is a loop round or\n"
    "           a call; long texts, large arrays and records count a step per KB or per 16 slots.\n"
    "           0 is no limit. Without the option: no limit with --run, the game's limit of\n"
    "           200000 steps per call with --ai.\n"
    "\n"
    "What the script prints goes to standard output; compile errors and run-time errors go to\n"
    "standard error. Exit code: 0 without errors, 1 when the script had a compile or run-time\n"
    "error, 2 for a wrong command line or a file that cannot be read.\n";

int Usage() {
    std::cerr << kUsage;
    return kExitUsage;
}

struct TOptions {
    enum class TMode { Compile, Run, AI } Mode = TMode::Compile;
    std::optional<uint64_t> Steps;
    std::string FileName;
    std::vector<std::string> Parameters;
    bool Help = false;
};

// Options come before the file; everything after the file of --run is the script's parameters.
std::optional<TOptions> ParseOptions(int argc, char** argv) {
    TOptions options;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options.Help = true;
            return options;
        }
        if (arg == "--run" || arg == "--ai") {
            if (options.Mode != TOptions::TMode::Compile) return std::nullopt;
            options.Mode = arg == "--run" ? TOptions::TMode::Run : TOptions::TMode::AI;
        } else if (arg == "--steps") {
            if (++i >= argc) return std::nullopt;
            const std::string_view value = argv[i];
            uint64_t steps = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), steps);
            if (value.empty() || error != std::errc() || end != value.data() + value.size())
                return std::nullopt;
            options.Steps = steps;
        } else if (arg.starts_with("--")) {
            return std::nullopt;
        } else {
            break;
        }
    }
    if (i >= argc) return std::nullopt;
    options.FileName = argv[i++];
    for (; i < argc; ++i)
        options.Parameters.emplace_back(argv[i]);
    if (options.Mode != TOptions::TMode::Run && !options.Parameters.empty()) return std::nullopt;
    return options;
}

// The lines of a file, or nothing when it cannot be read.
std::optional<std::vector<std::string>> ReadLines(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return std::nullopt;
    return SplitScriptLines(in);
}

// Compiles an AI file behind the "default.ai" in its folder, as the game does (the shared file
// alone when it is the one given), prints every message with the file and line it comes from,
// then calls "Init" and "Execute" once.
int CheckAIFile(const std::string& fileName, uint64_t steps) {
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
            return kExitUsage;
        }
        runner.ScriptText.insert(runner.ScriptText.end(), lines->begin(), lines->end());
        runner.Sources.push_back(TScriptSource{file, static_cast<int32_t>(lines->size())});
    }
    runner.StepLimit = steps;
    runner.Log = [](std::string_view message, std::string_view) { std::cerr << message << "\n"; };
    runner.Output = [](std::string_view text, std::string_view) { std::cout << text << std::flush; };
    DeclareAIHost(runner, [](std::string_view) { return [](TProgramInfo&) {}; });
    runner.Compile();
    if (runner.Program() == nullptr || runner.Program()->State() != TProgramState::Running)
        return kExitErrors;
    // The shared file alone is a library of helpers, not an opponent: nothing to call.
    if (files.size() == 1) return 0;
    for (const char* function : {"Init", "Execute"}) {
        const size_t before = runner.Program()->Msgs().Count();
        try {
            runner.CallFunction(function);
        } catch (const EScriptError& error) {
            // A run-time error is a new message of the program, with its place in the joined text.
            const TMsgs& msgs = runner.Program()->Msgs();
            std::cerr << error.what();
            if (msgs.Count() > before && msgs[msgs.Count() - 1].Pos.Known())
                std::cerr << runner.Located(msgs[msgs.Count() - 1].Pos.Line) << " (in \"" << function
                          << "\")";
            std::cerr << "\n";
            return kExitErrors;
        }
    }
    return 0;
}

int CompileOrRun(const TOptions& options) {
    std::ifstream in(options.FileName, std::ios::binary);
    if (!in) {
        std::cerr << "Cannot open \"" << options.FileName << "\"\n";
        return kExitUsage;
    }
    std::ostringstream text;
    text << in.rdbuf();

    TScriptEngine engine;
    // Include files are looked for beside the script too.
    const size_t slash = options.FileName.find_last_of('/');
    if (slash != std::string::npos) {
        engine.Config.ScriptPaths.push_back(options.FileName.substr(0, slash));
    }
    std::unique_ptr<TProgram> program = engine.Compile(text.str());
    if (options.Mode == TOptions::TMode::Compile || program->State() == TProgramState::CompiledWithErrors) {
        std::cerr << program->Msgs().AsText();
        return program->Msgs().HasErrors() ? kExitErrors : 0;
    }
    for (const std::string& parameter : options.Parameters) {
        program->Parameters.emplace_back(std::string_view(parameter));
    }
    program->SetStepLimit(options.Steps.value_or(0));
    program->Execute();
    std::cout << program->ResultText();
    std::cout.flush();
    std::cerr << program->Msgs().AsText();
    return program->Msgs().HasErrors() ? kExitErrors : 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<TOptions> options = ParseOptions(argc, argv);
    if (!options) return Usage();
    if (options->Help) {
        std::cout << kUsage << kHelp;
        return 0;
    }
    try {
        if (options->Mode == TOptions::TMode::AI)
            return CheckAIFile(options->FileName, options->Steps.value_or(TBriskAI::kDefaultStepLimit));
        return CompileOrRun(*options);
    } catch (const std::exception& error) {
        // Nothing a script does should land here; if it does, say so rather than abort.
        std::cerr << "Error: " << error.what() << "\n";
        return kExitErrors;
    }
}
