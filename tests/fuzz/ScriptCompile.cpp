// Feeds arbitrary text to the script compiler and, when it compiles, runs it under a step limit:
// no input may crash, hang or trip a sanitizer.
#include "script/Program.h"
#include "script/ScriptEngine.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TScriptEngine engine;
    // Small enough that even a run of long string copies ends within a fraction of a second.
    engine.Config.MaxDataSize = 1 << 16;
    std::unique_ptr<TProgram> program =
        engine.Compile(std::string_view(reinterpret_cast<const char*>(data), size));
    (void)program->Msgs().AsText();
    if (program->State() == TProgramState::ReadyToRun) {
        program->SetStepLimit(20000);
        program->Execute();
        (void)program->Msgs().AsText();
    }
    return 0;
}
