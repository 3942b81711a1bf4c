// The library's registration: the system table's Param routines and the 96 routines in table
// order, each one callable from a script with arguments of its declared types, and the example
// scripts under scripts/ printing what their .out files say.
#include "BuiltinsRunner.h"
#include "script/Builtins.h"
#include "script/HostUnit.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

constexpr std::array<std::string_view, 99> kNames = {
    "Param", "ParamStr", "ParamCount",
    // mathematics
    "Sin", "Sinh", "Cos", "Cosh", "Tan", "Tanh", "Cotan", "ArcSin", "ArcSinh", "ArcCos", "ArcCosh", "ArcTan",
    "ArcTanh", "Hypot", "Inc", "Abs", "Exp", "Ln", "Log2", "Log10", "LogN", "Sqrt", "Sqr", "Int", "Frac",
    "Trunc", "Round", "Power", "DegToRad", "RadToDeg", "Max", "Min", "Pi", "Random", "RandomInt", "Randomize",
    "RandG", "RandSeed", "SetRandSeed",
    // strings
    "IntToStr", "StrToInt", "StrToIntDef", "IntToHex", "FloatToStr", "StrToFloat", "StrToFloatDef", "Chr",
    "Ord", "CharAt", "SetCharAt", "Delete", "Insert", "LowerCase", "UpperCase", "AnsiLowerCase",
    "AnsiUpperCase", "Pos", "Length", "SetLength", "TrimLeft", "TrimRight", "Trim", "CompareText",
    "AnsiCompareText", "CompareStr", "AnsiCompareStr", "IsDelimiter", "LastDelimiter", "QuotedStr", "Copy",
    "LeftStr", "RightStr", "MidStr", "StringOfChar",
    // date and time
    "Now", "Date", "Time", "DateTimeToStr", "DateToStr", "TimeToStr", "StrToDateTime", "StrToDate",
    "StrToTime", "DayOfWeek", "FormatDateTime", "IsLeapYear", "IncMonth", "DecodeDate", "EncodeDate",
    "DecodeTime", "EncodeTime",
    // variants
    "VarClear", "VarIsNull", "VarIsEmpty", "VarAsType", "VarToStr"};

TEST(BuiltinsRegistration, RegistersTheParamRoutinesAndThe96RoutinesInTableOrder) {
    // The engine's system unit: the language's Print and PrintLn, then the library, nothing else.
    const TScriptUnit& system = TScriptEngine::SystemUnit();
    ASSERT_EQ(system.Functions.Count(), 2 + kNames.size());
    EXPECT_EQ(system.Functions[0].Name, "Print");
    EXPECT_EQ(system.Functions[1].Name, "PrintLn");
    for (size_t i = 0; i < kNames.size(); ++i)
        EXPECT_EQ(system.Functions[i + 2].Name, kNames[i]) << i;
    ASSERT_EQ(system.Enumerations.Count(), 1U);
    const TScriptEnumeration& varType = system.Enumerations[0];
    EXPECT_EQ(varType.Name, "TVarType");
    ASSERT_EQ(varType.Elements.Count(), 25U);
    EXPECT_EQ(varType.Elements[24].Name, "varByRef");
    EXPECT_EQ(varType.Elements[24].Value, 16384);
}

// An argument of each declared type that every routine accepts.
std::string SampleArgument(std::string_view routine, std::string_view type) {
    if (type == "String") {
        if (routine == "StrToDateTime" || routine == "StrToDate") return "'2020/01/02'";
        if (routine == "StrToTime") return "'10:00'";
        return "'1'";
    }
    if (type == "Boolean") return "True";
    return "1";
}

TEST(BuiltinsRegistration, EachRoutineIsCallableWithItsDeclaredParameters) {
    TScriptUnit unit;
    RegisterBuiltins(unit);
    for (const auto& f : unit.Functions) {
        std::string vars;
        std::string init;
        std::string args;
        for (const auto& p : f->Parameters) {
            const std::string name = "p" + p->Name;
            vars += "  " + name + ": " + p->DataType + ";\n";
            init += "  " + name + " := " + SampleArgument(f->Name, p->DataType) + ";\n";
            args += (args.empty() ? "" : ", ") + name;
        }
        const bool statement = f->ResultType.empty();
        const std::string call = f->Name + (args.empty() ? "" : "(" + args + ")");
        const std::string text = (vars.empty() ? "" : "var\n" + vars) + "begin\n" + init + "  " +
                                 (statement ? call : "PrintLn(" + call + ")") + ";\nend.";
        const TScriptRun run = RunScript(text);
        EXPECT_EQ(run.Messages, "") << text;
        EXPECT_EQ(run.Output.empty(), statement) << text;
    }
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(BuiltinsRegistration, ExampleScriptsPrintTheirExpectedOutput) {
    const std::filesystem::path folder = std::filesystem::path(DUELMARK_SOURCE_DIR) / "tests/script/scripts";
    size_t scripts = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::filesystem::path path = entry.path();
        if (path.extension() != ".pas" || !path.filename().string().starts_with("builtins_")) continue;
        ++scripts;
        std::filesystem::path expected = path;
        expected.replace_extension(".out");
        ASSERT_TRUE(std::filesystem::exists(expected)) << expected;
        const TScriptRun run = RunScript(ReadFile(path));
        EXPECT_EQ(run.Messages, "") << path;
        EXPECT_EQ(run.Output, ReadFile(expected)) << path;
    }
    EXPECT_EQ(scripts, 6U);
}

} // namespace
