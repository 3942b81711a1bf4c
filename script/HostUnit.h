// The host's side of the engine: a unit of declarations (routines with named, typed parameters,
// record types, enumerations, constants) that scripts see without a USES clause. Turning them into
// script symbols is the compiler's job (HostSymbols.cpp).
//
// Registering a routine (the built-in library does exactly this, in Builtins*.cpp):
//
//     TScriptUnit unit;                       // or the system unit handed to RegisterBuiltins
//     unit.SetUnitName("OutputFuncs");
//     unit.AddFunction("Inc", {{"@a", "Integer"}, {"b", "Integer"}}, "Integer",
//                      [](TProgramInfo& info) {
//                          info.SetValue("a", info.Value("a").AsInteger() + info.Value("b").AsInteger());
//                      });
//     unit.AddFunction("KeyDown", {{"ID", "Integer"}}, "", [this](TProgramInfo& info) {
//         Keys[info.Value("ID").AsInteger()] = true; // "" result type: a procedure
//     });
//     unit.AddRecord("TPathStep", {{"X", "Integer"}, {"Y", "Integer"}});
//     unit.AddEnumeration("TVarType", {{"varEmpty", 0}, {"varNull", 1}});
//     unit.AddConstant("Null", "Variant", TVariant::Null());
//     unit.SetScript(&engine);                // attach: every later Compile sees the unit
//
// A parameter name with a leading "@" is a var (by-reference) parameter; the "@" is not part of
// the name. A handler reads arguments by parameter name with Value(name) (case-insensitive), writes
// var parameters with SetValue(name, v) (record members through Vars(name).Member(member)), sets a
// function's result with SetResult(v), and may throw: EHostError to name an exception class, any
// std::exception otherwise; the script sees it as a run-time error at the call.
//
// The built-in library hooks in through `void RegisterBuiltins(TScriptUnit& systemUnit);` declared
// in script/Builtins.h; the engine calls it once when it builds its system unit, after the
// language's own entries (base types, Null, Unassigned, TObject, Exception, Print, PrintLn).
#pragma once

#include "script/Variant.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TProgramInfo;
class TScriptEngine;

// The handler of a host routine: a callback bound to its context object (capture it).
using TEvalHandler = std::function<void(TProgramInfo&)>;

// An ordered list that owns its elements; Add gives the new, default-initialised element.
template <typename T> class TOwnedList {
public:
    T& Add() { return *Items.emplace_back(std::make_unique<T>()); }
    [[nodiscard]] size_t Count() const { return Items.size(); }
    [[nodiscard]] T& operator[](size_t i) const { return *Items[i]; }
    [[nodiscard]] auto begin() const { return Items.begin(); }
    [[nodiscard]] auto end() const { return Items.end(); }

private:
    std::vector<std::unique_ptr<T>> Items;
};

class TScriptParameter {
public:
    std::string Name;
    std::string DataType; // a type name: "Integer", "String", a record's name, ...
    bool IsVarParam = false;
};

class TScriptFunction {
public:
    std::string Name;
    std::string ResultType; // empty for a procedure
    TOwnedList<TScriptParameter> Parameters;
    TEvalHandler OnEval;
};

class TScriptMember {
public:
    std::string Name;
    std::string DataType;
};

class TScriptRecord {
public:
    std::string Name;
    TOwnedList<TScriptMember> Members;
};

class TScriptEnumElement {
public:
    std::string Name;
    int64_t Value = 0;
};

class TScriptEnumeration {
public:
    std::string Name;
    TOwnedList<TScriptEnumElement> Elements;
};

class TScriptConstant {
public:
    std::string Name;
    std::string DataType;
    TVariant Value;
};

// A parameter or member given as name and type name; a leading "@" on a parameter marks var.
struct TNameType {
    std::string_view Name;
    std::string_view DataType;
};

struct TNameValue {
    std::string_view Name;
    int64_t Value;
};

class TScriptUnit {
public:
    TScriptUnit() = default;
    TScriptUnit(const TScriptUnit&) = delete;
    TScriptUnit& operator=(const TScriptUnit&) = delete;
    ~TScriptUnit();

    [[nodiscard]] const std::string& UnitName() const { return Name; }
    // Raises EScriptError "Can't change UnitName while property \"Script\" is assigned!" while
    // the unit is attached.
    void SetUnitName(std::string_view name);
    // Attaches the unit to an engine (nullptr detaches); the engine borrows it.
    void SetScript(TScriptEngine* engine);
    [[nodiscard]] TScriptEngine* Script() const { return Engine; }

    // Declarations; a script sees records first (a record may use an earlier one), then
    // enumerations, constants and routines. Two of one name in a unit are a compile error.
    TOwnedList<TScriptFunction> Functions;
    TOwnedList<TScriptRecord> Records;
    TOwnedList<TScriptEnumeration> Enumerations;
    TOwnedList<TScriptConstant> Constants;

    TScriptFunction& AddFunction(std::string_view name, std::initializer_list<TNameType> params,
                                 std::string_view resultType, TEvalHandler handler);
    TScriptRecord& AddRecord(std::string_view name, std::initializer_list<TNameType> members);
    TScriptEnumeration& AddEnumeration(std::string_view name, std::initializer_list<TNameValue> elements);
    TScriptConstant& AddConstant(std::string_view name, std::string_view dataType, TVariant value);

private:
    std::string Name;
    TScriptEngine* Engine = nullptr;
};
