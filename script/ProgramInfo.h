// The handler's view of the running program and of the current call: arguments and locals by
// name, the result, global variables with their members and elements, and script functions the
// host may call.
#pragma once

#include "script/Variant.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

class TProgram;
class TScriptFunction;
class TTypeSym;
class TFuncSym;

// A variable (or a member or element of one) seen from the host.
class TVarInfo {
public:
    TVarInfo(TProgram& program, TVariant* slot, const TTypeSym& type)
        : Prog(&program), Slot(slot), Type(&type) {}
    // The value of a simple variable; records and static arrays raise EScriptError.
    [[nodiscard]] TVariant Value() const;
    // Converts to the variable's type ("Integer" takes an Integer or a Float that is whole, ...).
    void SetValue(const TVariant& value) const;
    // A record member by name (case-insensitive): "No member \"%s\" found in record \"%s\"".
    [[nodiscard]] TVarInfo Member(std::string_view name) const;
    // An array element by index, bound-checked ("Upper bound exceeded! Index %d").
    [[nodiscard]] TVarInfo Element(int64_t index) const;
    [[nodiscard]] const TTypeSym& DataType() const { return *Type; }

private:
    void Charge(const TVariant& value, bool made) const;

    TProgram* Prog;
    TVariant* Slot;
    const TTypeSym* Type;
};

// A script or host function of the running program, callable from the host.
class TFuncInfo {
public:
    TFuncInfo(TProgram& program, const TFuncSym& func) : Prog(&program), Func(&func) {}
    // Runs the function with the given arguments (by value) and returns its result (Unassigned
    // for a procedure). A run-time error or unhandled exception raises EScriptError with the
    // "Runtime Error: ..." text and position; the wrong number of arguments raises
    // "Invalid number of parameters (%d instead of %d) to call function %s".
    TVariant Call(std::span<const TVariant> args = {}) const;
    TVariant Call(std::initializer_list<TVariant> args) const {
        return Call(std::span(args.begin(), args.size()));
    }

private:
    TProgram* Prog;
    const TFuncSym* Func;
};

class TProgramInfo {
public:
    // The program's own view (no current call), or the view of one call whose frame starts at
    // base; the runtime makes one on the native stack for every host call, so nested calls
    // (a handler calling a script function that calls a host routine) each see their own.
    explicit TProgramInfo(TProgram& program, const TFuncSym* call = nullptr, TVariant* base = nullptr)
        : Prog(&program), CallSym(call), Base(base) {}

    // A parameter of the current call, then a global variable, by name (case-insensitive).
    // Unknown names raise "Variable \"%s\" not found"; a routine's name raises ".Vars[] can't
    // handle this symbol: \"%s\". Use .Func[] or .Method[] instead".
    [[nodiscard]] TVariant Value(std::string_view name) const { return Vars(name).Value(); }
    void SetValue(std::string_view name, const TVariant& value) const { Vars(name).SetValue(value); }
    [[nodiscard]] TVarInfo Vars(std::string_view name) const;
    // The current function's result, converted to its result type.
    void SetResult(const TVariant& value) const;
    [[nodiscard]] TVariant Result() const;
    // "Function/Method \"%s\" not found" when the program has no such routine.
    [[nodiscard]] TFuncInfo Func(std::string_view name) const;
    [[nodiscard]] TProgram& Program() const { return *Prog; }
    // The host routine being called, or nullptr in the program's own view.
    [[nodiscard]] const TScriptFunction* Function() const;

    // Work and memory, for a handler whose cost is more than the one step its call counts. A
    // call from the host may take a bounded number of steps (the game's "Execute" 200,000, see
    // TProgram::SetStepLimit), and a program's strings and arrays a bounded number of bytes
    // (TScriptConfig::MaxMemory), so a script that loops over a costly routine ends with a
    // run-time error instead of freezing its host. Both raise through the handler; let them
    // pass. Outside a call from the host both do nothing.
    //
    // Counts steps for work done, in the measure of a loop round (about a microsecond's worth
    // of simple statements): a route search charges the squares it expanded.
    void ChargeSteps(int64_t steps) const;
    // Before a handler builds bytes of new text or array: charges a step per KB and fails with
    // "Maximal string and array memory exceeded (%d bytes)" when the program's strings and
    // arrays would pass their cap, before anything is built. Texts read with Value and handed
    // back with SetValue or SetResult are charged and checked by themselves (a step per KB);
    // this is for a result much longer than the arguments (StringOfChar(c, 100000000)).
    void ReserveMemory(int64_t bytes) const;

private:
    TProgram* Prog;
    const TFuncSym* CallSym;
    TVariant* Base;
};
