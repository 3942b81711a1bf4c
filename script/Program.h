// A compiled program: its state, message list, data stack and the calls into it (BeginProgram,
// Execute, EndProgram, Info). The compiled code itself is the runtime's (Code.h).
#pragma once

#include "script/Messages.h"
#include "script/ProgramInfo.h"
#include "script/Variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct TCode;
struct TStmt;
class TRuntime;

// The numbers show: hosts of the engine have always compared states as numbers.
enum class TProgramState : int { CompiledWithErrors = 0, ReadyToRun = 1, Running = 2, Ending = 4 };

class TProgram {
public:
    // Made by TScriptEngine::Compile; a program that compiled with errors has no code.
    TProgram(std::unique_ptr<TCode> code, TMsgs msgs, int32_t stackChunkSize, int32_t maxDataSize,
             int64_t maxMemory, int timeoutSec);
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;
    ~TProgram();

    [[nodiscard]] TProgramState State() const { return ProgState; }
    [[nodiscard]] TMsgs& Msgs() { return Messages; }
    [[nodiscard]] const TMsgs& Msgs() const { return Messages; }

    // Sets up the global data and runs the initialisation the declarations need (not the main
    // block); leaves the program Running. Failures become messages, never exceptions: globals
    // beyond the data maximum leave it ReadyToRun with "Maximal data size exceeded (%d
    // Variants)".
    void BeginProgram();
    // BeginProgram, the main block, EndProgram. A time-out above 0 seconds (else the configured
    // one) stops a runaway program with "Script was stopped.".
    void Execute(int timeoutSec = 0);
    void EndProgram();

    // The program's own information object while it runs (no current call).
    [[nodiscard]] TProgramInfo& Info();

    // At most this many steps (loop rounds and calls; long string copies and large arrays count
    // for more) per call from the host: each Func[].Call, BeginProgram's initialisation and
    // Execute's main block. 0, the default, is no limit. A call that goes over ends with the
    // run-time error "Script exceeded its step limit (%d steps)", which scripts cannot catch, so
    // a runaway AI script cannot freeze the game that calls it every frame.
    void SetStepLimit(uint64_t steps) { StepLimit = steps; }
    [[nodiscard]] uint64_t GetStepLimit() const { return StepLimit; }

    // What Print and PrintLn wrote.
    [[nodiscard]] const std::string& ResultText() const { return Output; }
    // Adds to ResultText up to its limit; what lies beyond is dropped and OutputCut is set.
    void AppendResult(std::string_view text);
    void ClearResult() {
        Output.clear();
        Cut = false;
    }
    // How long ResultText may grow until it is cleared (0, the default, is no limit): a host
    // that clears it after every call limits what one call may print.
    void SetOutputLimit(size_t characters) { OutputLimit = characters; }
    // Whether printed text was dropped since ResultText was last cleared.
    [[nodiscard]] bool OutputCut() const { return Cut; }
    // The program parameters that Param, ParamStr and ParamCount read.
    std::vector<TVariant> Parameters;

    // The runtime's state, for the information objects and the code.
    [[nodiscard]] TRuntime& Runtime() const { return *Run; }
    [[nodiscard]] const TCode* Code() const { return CodeTree.get(); }

private:
    // Runs a block of the program as one call from the host; errors become messages.
    void RunBlock(TStmt& block, uint64_t stepLimit, uint32_t deadline);

    std::unique_ptr<TCode> CodeTree;
    std::unique_ptr<TRuntime> Run;
    std::unique_ptr<TProgramInfo> ProgramInfo;
    TMsgs Messages;
    TProgramState ProgState;
    uint64_t StepLimit = 0;
    int TimeoutSec = 0;
    std::string Output;
    size_t OutputLimit = 0;
    bool Cut = false;
};
