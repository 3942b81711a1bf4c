// Program states and the runs the host starts: BeginProgram, Execute, EndProgram.
#include "script/Program.h"

#include "platform/Clock.h"
#include "script/Code.h"
#include "script/Reps.h"
#include "script/Runtime.h"

#include <algorithm>

TProgram::TProgram(std::unique_ptr<TCode> code, TMsgs msgs, int32_t stackChunkSize, int32_t maxDataSize,
                   int64_t maxMemory, int timeoutSec)
    : CodeTree(std::move(code)), Messages(std::move(msgs)),
      ProgState(CodeTree ? TProgramState::ReadyToRun : TProgramState::CompiledWithErrors),
      TimeoutSec(timeoutSec) {
    if (CodeTree) {
        Run = std::make_unique<TRuntime>(*this, *CodeTree, stackChunkSize, maxDataSize, maxMemory);
    }
    ProgramInfo = std::make_unique<TProgramInfo>(*this);
}

TProgram::~TProgram() = default;

TProgramInfo& TProgram::Info() {
    return *ProgramInfo;
}

void TProgram::AppendResult(std::string_view text) {
    if (OutputLimit && Output.size() + text.size() > OutputLimit) {
        text = text.substr(0, OutputLimit - std::min(OutputLimit, Output.size()));
        Cut = true;
    }
    Output.append(text);
}

void TProgram::RunBlock(TStmt& block, uint64_t stepLimit, uint32_t deadline) {
    if (Run->HostDepth == 0) {
        Run->EnterHost(stepLimit, deadline);
    }
    const TDataAccountScope account(&Run->Account());
    ++Run->HostDepth;
    try {
        block.Exec(*Run);
    } catch (const EScriptRaise& e) {
        std::string message = TRuntime::ExceptionMessage(e.Object);
        Messages.Add(TMsgKind::RuntimeError, message.empty() ? "User defined exception!" : std::move(message),
                     e.Pos);
    } catch (const EScriptAbort& e) {
        Messages.Add(TMsgKind::RuntimeError, e.Text, e.Pos);
    }
    --Run->HostDepth;
}

void TProgram::BeginProgram() {
    switch (ProgState) {
    case TProgramState::Running:
        Messages.Add(TMsgKind::Error, "Script is already running!");
        return;
    case TProgramState::CompiledWithErrors:
        Messages.Add(TMsgKind::Error, "Script compiled with errors. Can't execute!");
        return;
    case TProgramState::ReadyToRun:
        break;
    default:
        Messages.Add(TMsgKind::Error, "ProgramState should be \"ReadyToRun\"");
        return;
    }
    Messages.Clear();
    try {
        Run->AllocateGlobals();
    } catch (const EScriptAbort& e) {
        // Globals larger than the data maximum: the program stays ReadyToRun and never runs.
        Messages.Add(TMsgKind::Error, e.Text);
        return;
    }
    ProgState = TProgramState::Running;
    RunBlock(*CodeTree->InitBlock, StepLimit, 0);
}

void TProgram::Execute(int timeoutSec) {
    BeginProgram();
    if (ProgState != TProgramState::Running) {
        return;
    }
    if (Messages.HasErrors()) { // the initialisation failed; the main block would see half-set data
        EndProgram();
        return;
    }
    const int seconds = timeoutSec > 0 ? timeoutSec : TimeoutSec;
    // The deadline is a tick; 0 means none, so a deadline that lands on 0 moves to 1.
    uint32_t deadline = 0;
    if (seconds > 0) {
        deadline = SystemTicks() + static_cast<uint32_t>(seconds) * 1000u;
        deadline += deadline == 0 ? 1 : 0;
    }
    RunBlock(*CodeTree->MainBlock, StepLimit, deadline);
    EndProgram();
}

void TProgram::EndProgram() {
    if (ProgState != TProgramState::Running && ProgState != TProgramState::Ending) {
        Messages.Add(TMsgKind::Error, "Program was not started!");
        return;
    }
    if (Run->HostDepth > 0) {
        // A handler cannot end the program it is running in; the run would lose its data.
        Messages.Add(TMsgKind::Error, "Script is already running!");
        return;
    }
    ProgState = TProgramState::Ending;
    Run->FreeGlobals();
    ProgState = TProgramState::ReadyToRun;
}
