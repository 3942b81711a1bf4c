// Runs a script text through the whole engine for the built-in library's tests: what it
// printed and what its message list says.
#pragma once

#include "script/ScriptEngine.h"

#include <string>
#include <string_view>

struct TScriptRun {
    std::string Output;
    std::string Messages;
};

inline TScriptRun RunScript(std::string_view text) {
    TScriptEngine engine;
    const auto program = engine.Compile(text);
    program->Execute();
    return {program->ResultText(), program->Msgs().AsText()};
}

// One case of a group's table: an expression printed with PrintLn, or a whole script when the
// text holds its own "begin".
struct TScriptCase {
    std::string_view Source;
    std::string_view Expected;
};

inline std::string ScriptText(std::string_view source) {
    if (source.find("begin") != std::string_view::npos) return std::string(source);
    return "begin PrintLn(" + std::string(source) + "); end.";
}
