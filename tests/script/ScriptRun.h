// Helpers for the script engine's tests: compile a text, run it, and read what it printed and
// the first message.
#pragma once

#include "script/Program.h"
#include "script/ScriptEngine.h"

#include <memory>
#include <string>
#include <string_view>

struct TScriptRun {
    std::string Output;   // what Print and PrintLn wrote
    std::string Messages; // the message list as text
    TProgramState State = TProgramState::CompiledWithErrors;
};

inline TScriptRun RunScript(std::string_view text, TScriptEngine* engine = nullptr) {
    TScriptEngine own;
    TScriptEngine& e = engine ? *engine : own;
    std::unique_ptr<TProgram> program = e.Compile(text);
    TScriptRun run;
    if (program->State() != TProgramState::CompiledWithErrors) {
        program->Execute();
    }
    run.Output = program->ResultText();
    run.Messages = program->Msgs().AsText();
    run.State = program->State();
    return run;
}

// The first message of a compile, as text without its line break ("" when there is none).
inline std::string FirstMessage(std::string_view text, TScriptEngine* engine = nullptr) {
    TScriptEngine own;
    std::unique_ptr<TProgram> program = (engine ? *engine : own).Compile(text);
    return program->Msgs().Count() ? program->Msgs()[0].AsText() : std::string();
}
