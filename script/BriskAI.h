// The script runner for computer opponents: one engine, the host unit "OutputFuncs" through
// which the game declares what scripts may call, the script text, and the running program whose
// functions the game calls. It knows no game; the host supplies declarations and handlers.
#pragma once

#include "script/HostUnit.h"
#include "script/ProgramInfo.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TProgram;
class TScriptEngine;

// Where the runner reports what a script author needs to see: (message, location).
using TScriptLog = std::function<void(std::string_view message, std::string_view location)>;

// A file the script text was joined from, so messages can name it and its own line.
struct TScriptSource {
    std::string FileName;
    int32_t LineCount = 0;
};

class TBriskAI {
public:
    TBriskAI();
    ~TBriskAI();
    TBriskAI(const TBriskAI&) = delete;
    TBriskAI& operator=(const TBriskAI&) = delete;

    // Declarations, complete before Compile and records before the routines that use them.
    // Each parameter or member is "name:type", split at the first ":". For procedures only, a
    // text holding "var " declares a var parameter: everything up to and including its first
    // blank is dropped before the split ("var Path:TPath" is the var parameter Path).
    void AddFunction(std::string_view name, const std::vector<std::string_view>& params,
                     std::string_view resultType, TEvalHandler handler);
    void AddProcedure(std::string_view name, const std::vector<std::string_view>& params,
                      TEvalHandler handler);
    void AddRecord(std::string_view name, const std::vector<std::string_view>& members);

    // Compiles ScriptText and starts the program without running its main block. A script
    // that does not compile is not an exception here: every message goes to Log as an error
    // line with location "TBriskAI.Compile", and the first CallFunction or Run then fails.
    void Compile();
    // Calls the function named FunctionName ("Execute" at first) / the function called name,
    // with no arguments, ignoring its result. Errors of the script (a run-time error, a missing
    // function, a script that did not compile) raise EScriptError.
    void Run();
    void CallFunction(std::string_view name);
    void SetFunctionName(std::string_view name);

    [[nodiscard]] const std::string& FunctionName() const { return RunName; }
    // The program after Compile; nullptr before.
    [[nodiscard]] TProgram* Program() const { return CompiledProgram.get(); }
    [[nodiscard]] TScriptUnit& HostUnit() const { return *Unit; }
    // " in <file> line <n>" for a line of the joined text that lies in one of Sources; "" else.
    [[nodiscard]] std::string Located(int32_t line) const;

    // The source, one line per entry; filled by the caller before Compile.
    std::vector<std::string> ScriptText;
    // Optional: the files ScriptText was joined from, in order; a message whose line lies in
    // one of them names the file and its own line too.
    std::vector<TScriptSource> Sources;
    // Where compile messages go; nothing is logged when empty.
    TScriptLog Log;
    // Where the text a call printed with Print/PrintLn goes, with the name of the function
    // called, once the call is over (also when it failed). The text never piles up across calls: a
    // script printing on every update would otherwise grow the program's output for as long
    // as the match lasts. Dropped when empty. At most OutputLimit characters of one call are
    // handed on, and at most OutputTotalLimit over the runner's life, so a script printing
    // without end cannot fill the log: what is cut is followed by a line that says so
    // (kOutputCutNote, kOutputStoppedNote).
    TScriptLog Output;
    size_t OutputLimit = kDefaultOutputLimit;
    size_t OutputTotalLimit = kDefaultOutputTotalLimit;
    static constexpr size_t kDefaultOutputLimit = size_t(64) << 10;
    static constexpr size_t kDefaultOutputTotalLimit = size_t(16) << 20;
    static constexpr std::string_view kOutputCutNote = "(printed text cut: one call may print %d characters)";
    static constexpr std::string_view kOutputStoppedNote =
        "(printed text stopped: the script has printed %d characters, more are dropped)";
    // Steps one call into the script may take (loop rounds and calls) before it is stopped
    // with a run-time error. The game calls "Execute" on every update; a script stuck in a loop
    // would otherwise freeze it. A sensible script needs a few hundred steps per update.
    uint64_t StepLimit = kDefaultStepLimit;
    static constexpr uint64_t kDefaultStepLimit = 200000;

private:
    class TOutputPass;
    [[nodiscard]] TFuncInfo FindFunction(std::string_view name) const;
    void PassOutput(std::string_view function);
    void LogMessages(std::string_view location) const;

    std::unique_ptr<TScriptEngine> ScriptEngine;
    std::unique_ptr<TScriptUnit> Unit;
    std::string RunName;
    std::unique_ptr<TProgram> CompiledProgram;
    // Run's function, looked up once per name: "Execute" is called on every update.
    std::optional<TFuncInfo> RunFunction;
    // Characters handed to Output so far, against OutputTotalLimit.
    size_t OutputTotal = 0;
};
