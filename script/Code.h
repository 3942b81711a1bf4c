// A compiled program's code: every type and symbol it uses, the global frame layout, and the
// initialisation and main blocks. Built by the compiler, run by the runtime.
#pragma once

#include "script/Nodes.h"
#include "script/Types.h"

#include <memory>
#include <string>
#include <vector>

struct TCode {
    std::vector<std::unique_ptr<TTypeSym>> Types;
    std::vector<std::unique_ptr<TSymbol>> Symbols;
    std::unique_ptr<TScope> SystemScope;
    std::unique_ptr<TScope> HostScope;
    std::unique_ptr<TScope> GlobalScope;
    // The global frame: global variables and the main block's temporaries.
    int32_t GlobalSize = 0;
    std::vector<TVariant> GlobalInit;
    std::vector<int32_t> GlobalManaged;
    TStmtPtr InitBlock;
    TStmtPtr MainBlock;
    // Units a USES clause may name: "System" and the attached host units.
    std::vector<std::string> UnitNames;
    // The language's own classes, for exceptions the runtime makes.
    const TTypeSym* ExceptionType = nullptr;
    const TTypeSym* HostErrorType = nullptr;
};
