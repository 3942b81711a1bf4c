// The engine object: configuration, the host units attached to it, and Compile, which turns a
// source text into a TProgram.
#pragma once

#include "script/Program.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TScriptUnit;

struct TScriptConfig {
    // Seconds Execute may run before it is stopped; 0 is no time-out.
    int TimeoutSec = 0;
    // The data stack grows by chunks of this many variants...
    int32_t StackChunkSize = 4096;
    // ...up to this many, together with the elements of every dynamic array ("Maximal data size
    // exceeded (%d Variants)"): 16 MB of slots is far beyond what an AI script needs and keeps
    // a runaway recursion or array from eating the machine.
    int32_t MaxDataSize = 1 << 20;
    // Bytes a program's strings and dynamic arrays may take together ("Maximal string and array
    // memory exceeded (%d bytes)"); a script that keeps growing its data every call meets it
    // within a few calls instead of filling the machine's memory.
    int64_t MaxMemory = int64_t(64) << 20;
    // Folders searched by the include switch {$I name}, in order, after the current folder.
    std::vector<std::string> ScriptPaths;
};

class TScriptEngine {
public:
    TScriptEngine();
    TScriptEngine(const TScriptEngine&) = delete;
    TScriptEngine& operator=(const TScriptEngine&) = delete;
    ~TScriptEngine();

    TScriptConfig Config;

    // Always gives a program: compile problems are entries of its Msgs and its state is then
    // CompiledWithErrors.
    [[nodiscard]] std::unique_ptr<TProgram> Compile(std::string_view text);

    // Host units attached through TScriptUnit::SetScript, in attach order; borrowed.
    [[nodiscard]] const std::vector<TScriptUnit*>& Units() const { return AttachedUnits; }
    void AttachUnit(TScriptUnit& unit);
    void DetachUnit(TScriptUnit& unit);

    // The system unit every script sees: base types, Null and Unassigned, TObject, Exception
    // and the host-error class, Print and PrintLn, and the built-in library.
    [[nodiscard]] static const TScriptUnit& SystemUnit();

private:
    std::vector<TScriptUnit*> AttachedUnits;
};
