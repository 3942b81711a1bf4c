// Feeds arbitrary text to the script compiler and, when it compiles, runs it under a step limit,
// then calls each of its routines that needs no arguments as a host would: no input may crash,
// hang, leak or trip a sanitizer. Seeds in seeds/ScriptCompile lead it into the runtime.
#include "script/Code.h"
#include "script/Program.h"
#include "script/ScriptEngine.h"
#include "script/ScriptError.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// Small limits, so that a run of long string copies or a deep recursion ends within a fraction
// of a second and well inside the fuzzer's memory limit.
constexpr uint64_t kSteps = 20000;
constexpr int kCalledRoutines = 8;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TScriptEngine engine;
    engine.Config.MaxDataSize = 1 << 16;
    engine.Config.MaxMemory = int64_t(4) << 20;
    std::unique_ptr<TProgram> program =
        engine.Compile(std::string_view(reinterpret_cast<const char*>(data), size));
    (void)program->Msgs().AsText();
    if (program->State() != TProgramState::ReadyToRun) {
        return 0;
    }
    program->SetStepLimit(kSteps);
    program->SetOutputLimit(size_t(64) << 10);
    program->Execute();
    (void)program->Msgs().AsText();
    program->BeginProgram();
    if (program->State() != TProgramState::Running) {
        return 0;
    }
    int called = 0;
    for (const auto& symbol : program->Code()->Symbols) {
        if (symbol->Kind != TSymKind::Func || called == kCalledRoutines) {
            continue;
        }
        const auto& f = static_cast<const TFuncSym&>(*symbol);
        if (f.Host || f.Forwarded || f.RequiredParams() > 0 ||
            !program->Code()->GlobalScope->FindLocal(f.Name)) {
            continue;
        }
        ++called;
        try {
            (void)program->Info().Func(f.Name).Call();
        } catch (const EScriptError&) {
            // A run-time error of the script: reported, and the program stays usable.
        }
    }
    program->EndProgram();
    return 0;
}
