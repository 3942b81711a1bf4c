// Registers the built-in library in the system unit, group by group in table order. Each
// routine reads its arguments by parameter name and writes its var parameters back, exactly as
// a host routine does; the semantics live in the group files.
#include "script/Builtins.h"

#include "script/BuiltinsDateTime.h"
#include "script/BuiltinsMath.h"
#include "script/BuiltinsStrings.h"
#include "script/BuiltinsVariants.h"
#include "script/HostUnit.h"
#include "script/Program.h"
#include "script/ProgramInfo.h"

#include <cmath>
#include <numbers>

namespace {

using namespace Builtin;

double ArgFloat(const TProgramInfo& info, std::string_view name) {
    return info.Value(name).AsFloat();
}

int64_t ArgInt(const TProgramInfo& info, std::string_view name) {
    return info.Value(name).AsInteger();
}

std::string ArgStr(const TProgramInfo& info, std::string_view name) {
    return info.Value(name).AsString();
}

// A result that may be far longer than the arguments is reserved before it is built, so the
// program's memory cap stops it in time. Lengths past the longest string fail in the routine
// itself with its own message.
void ReserveText(const TProgramInfo& info, int64_t length) {
    if (length > 0 && length <= Builtin::kMaxStringLength) {
        info.ReserveMemory(length);
    }
}

using TFloatFn = double (*)(double);
using TStringFn = std::string (*)(std::string_view);

void FloatFunction(TScriptUnit& unit, std::string_view name, std::string_view param, TFloatFn fn) {
    unit.AddFunction(name, {{param, "Float"}}, "Float",
                     [param, fn](TProgramInfo& info) { info.SetResult(fn(ArgFloat(info, param))); });
}

void StringFunction(TScriptUnit& unit, std::string_view name, TStringFn fn) {
    unit.AddFunction(name, {{"str", "String"}}, "String",
                     [fn](TProgramInfo& info) { info.SetResult(fn(ArgStr(info, "str"))); });
}

// Parameters count from 1 as in Pascal, where ParamStr(1) is the first one the program was
// given; the engine knows no program name, so 0 and every index outside them read as
// Unassigned ('' as text), and a script can probe for an optional parameter.
const TVariant* ProgramParameter(const TProgramInfo& info) {
    const auto& params = info.Program().Parameters;
    const int64_t index = ArgInt(info, "Index");
    return index >= 1 && index <= static_cast<int64_t>(params.size())
               ? &params[static_cast<size_t>(index - 1)]
               : nullptr;
}

void RegisterSystem(TScriptUnit& unit) {
    unit.AddEnumeration(
        "TVarType", {{"varEmpty", varEmpty},       {"varNull", varNull},         {"varSmallint", varSmallint},
                     {"varInteger", varInteger},   {"varSingle", varSingle},     {"varDouble", varDouble},
                     {"varCurrency", varCurrency}, {"varDate", varDate},         {"varOleStr", varOleStr},
                     {"varDispatch", varDispatch}, {"varError", varError},       {"varBoolean", varBoolean},
                     {"varVariant", varVariant},   {"varUnknown", varUnknown},   {"varShortInt", varShortInt},
                     {"varByte", varByte},         {"varWord", varWord},         {"varLongWord", varLongWord},
                     {"varInt64", varInt64},       {"varStrArg", varStrArg},     {"varString", varString},
                     {"varAny", varAny},           {"varTypeMask", varTypeMask}, {"varArray", varArray},
                     {"varByRef", varByRef}});
    unit.AddFunction("Param", {{"Index", "Integer"}}, "Variant", [](TProgramInfo& info) {
        const TVariant* param = ProgramParameter(info);
        info.SetResult(param ? *param : TVariant::Unassigned());
    });
    unit.AddFunction("ParamStr", {{"Index", "Integer"}}, "String", [](TProgramInfo& info) {
        const TVariant* param = ProgramParameter(info);
        info.SetResult(param ? param->AsString() : std::string());
    });
    unit.AddFunction("ParamCount", {}, "Integer", [](TProgramInfo& info) {
        info.SetResult(static_cast<int64_t>(info.Program().Parameters.size()));
    });
}

void RegisterMath(TScriptUnit& unit) {
    FloatFunction(unit, "Sin", "a", [](double a) { return std::sin(a); });
    FloatFunction(unit, "Sinh", "a", [](double a) { return std::sinh(a); });
    FloatFunction(unit, "Cos", "a", [](double a) { return std::cos(a); });
    FloatFunction(unit, "Cosh", "a", [](double a) { return std::cosh(a); });
    FloatFunction(unit, "Tan", "a", [](double a) { return std::tan(a); });
    FloatFunction(unit, "Tanh", "a", [](double a) { return std::tanh(a); });
    FloatFunction(unit, "Cotan", "a", Cotan);
    FloatFunction(unit, "ArcSin", "v", [](double v) { return std::asin(v); });
    FloatFunction(unit, "ArcSinh", "v", [](double v) { return std::asinh(v); });
    FloatFunction(unit, "ArcCos", "v", [](double v) { return std::acos(v); });
    FloatFunction(unit, "ArcCosh", "v", [](double v) { return std::acosh(v); });
    FloatFunction(unit, "ArcTan", "v", [](double v) { return std::atan(v); });
    FloatFunction(unit, "ArcTanh", "v", [](double v) { return std::atanh(v); });
    unit.AddFunction("Hypot", {{"x", "Float"}, {"y", "Float"}}, "Float", [](TProgramInfo& info) {
        info.SetResult(std::hypot(ArgFloat(info, "x"), ArgFloat(info, "y")));
    });
    // A function by its declaration, but it only writes a: scripts call it as a statement.
    unit.AddFunction("Inc", {{"@a", "Integer"}, {"b", "Integer"}}, "Integer", [](TProgramInfo& info) {
        info.SetValue("a", Inc(ArgInt(info, "a"), ArgInt(info, "b")));
    });
    FloatFunction(unit, "Abs", "v", [](double v) { return std::fabs(v); });
    FloatFunction(unit, "Exp", "v", [](double v) { return std::exp(v); });
    FloatFunction(unit, "Ln", "v", [](double v) { return std::log(v); });
    FloatFunction(unit, "Log2", "v", [](double v) { return std::log2(v); });
    FloatFunction(unit, "Log10", "v", [](double v) { return std::log10(v); });
    unit.AddFunction("LogN", {{"n", "Float"}, {"x", "Float"}}, "Float", [](TProgramInfo& info) {
        info.SetResult(LogN(ArgFloat(info, "n"), ArgFloat(info, "x")));
    });
    FloatFunction(unit, "Sqrt", "v", [](double v) { return std::sqrt(v); });
    FloatFunction(unit, "Sqr", "v", [](double v) { return v * v; });
    FloatFunction(unit, "Int", "v", Builtin::Int);
    FloatFunction(unit, "Frac", "v", Frac);
    unit.AddFunction("Trunc", {{"v", "Float"}}, "Integer",
                     [](TProgramInfo& info) { info.SetResult(Trunc(ArgFloat(info, "v"))); });
    unit.AddFunction("Round", {{"v", "Float"}}, "Integer",
                     [](TProgramInfo& info) { info.SetResult(Round(ArgFloat(info, "v"))); });
    unit.AddFunction("Power", {{"base", "Float"}, {"exponent", "Float"}}, "Float", [](TProgramInfo& info) {
        info.SetResult(std::pow(ArgFloat(info, "base"), ArgFloat(info, "exponent")));
    });
    FloatFunction(unit, "DegToRad", "a", DegToRad);
    FloatFunction(unit, "RadToDeg", "a", RadToDeg);
    unit.AddFunction("Max", {{"v1", "Float"}, {"v2", "Float"}}, "Float", [](TProgramInfo& info) {
        info.SetResult(Max(ArgFloat(info, "v1"), ArgFloat(info, "v2")));
    });
    unit.AddFunction("Min", {{"v1", "Float"}, {"v2", "Float"}}, "Float", [](TProgramInfo& info) {
        info.SetResult(Min(ArgFloat(info, "v1"), ArgFloat(info, "v2")));
    });
    unit.AddFunction("Pi", {}, "Float", [](TProgramInfo& info) { info.SetResult(std::numbers::pi); });
    unit.AddFunction("Random", {}, "Float", [](TProgramInfo& info) { info.SetResult(Random()); });
    unit.AddFunction("RandomInt", {{"range", "Integer"}}, "Integer",
                     [](TProgramInfo& info) { info.SetResult(RandomInt(ArgInt(info, "range"))); });
    unit.AddFunction("Randomize", {}, "", [](TProgramInfo&) { Randomize(); });
    unit.AddFunction("RandG", {{"mean", "Float"}, {"stdDev", "Float"}}, "Float", [](TProgramInfo& info) {
        info.SetResult(RandG(ArgFloat(info, "mean"), ArgFloat(info, "stdDev")));
    });
    unit.AddFunction("RandSeed", {}, "Integer", [](TProgramInfo& info) { info.SetResult(RandSeed()); });
    unit.AddFunction("SetRandSeed", {{"seed", "Integer"}}, "",
                     [](TProgramInfo& info) { SetRandSeed(ArgInt(info, "seed")); });
}

void RegisterStrings(TScriptUnit& unit) {
    unit.AddFunction("IntToStr", {{"i", "Integer"}}, "String",
                     [](TProgramInfo& info) { info.SetResult(IntToStr(ArgInt(info, "i"))); });
    unit.AddFunction("StrToInt", {{"str", "String"}}, "Integer",
                     [](TProgramInfo& info) { info.SetResult(StrToInt(ArgStr(info, "str"))); });
    unit.AddFunction(
        "StrToIntDef", {{"str", "String"}, {"def", "Integer"}}, "Integer",
        [](TProgramInfo& info) { info.SetResult(StrToIntDef(ArgStr(info, "str"), ArgInt(info, "def"))); });
    unit.AddFunction("IntToHex", {{"v", "Integer"}, {"digits", "Integer"}}, "String", [](TProgramInfo& info) {
        const int64_t digits = ArgInt(info, "digits");
        ReserveText(info, digits);
        info.SetResult(IntToHex(ArgInt(info, "v"), digits));
    });
    unit.AddFunction("FloatToStr", {{"f", "Float"}}, "String",
                     [](TProgramInfo& info) { info.SetResult(FloatToStr(ArgFloat(info, "f"))); });
    unit.AddFunction("StrToFloat", {{"str", "String"}}, "Float",
                     [](TProgramInfo& info) { info.SetResult(StrToFloat(ArgStr(info, "str"))); });
    unit.AddFunction("StrToFloatDef", {{"str", "String"}, {"def", "Float"}}, "Float", [](TProgramInfo& info) {
        info.SetResult(StrToFloatDef(ArgStr(info, "str"), ArgFloat(info, "def")));
    });
    unit.AddFunction("Chr", {{"x", "Integer"}}, "String",
                     [](TProgramInfo& info) { info.SetResult(Chr(ArgInt(info, "x"))); });
    unit.AddFunction("Ord", {{"s", "String"}}, "Integer",
                     [](TProgramInfo& info) { info.SetResult(Ord(ArgStr(info, "s"))); });
    unit.AddFunction("CharAt", {{"s", "String"}, {"x", "Integer"}}, "String", [](TProgramInfo& info) {
        info.SetResult(CharAt(ArgStr(info, "s"), ArgInt(info, "x")));
    });
    unit.AddFunction("SetCharAt", {{"@s", "String"}, {"x", "Integer"}, {"c", "String"}}, "",
                     [](TProgramInfo& info) {
                         std::string s = ArgStr(info, "s");
                         SetCharAt(s, ArgInt(info, "x"), ArgStr(info, "c"));
                         info.SetValue("s", s);
                     });
    unit.AddFunction("Delete", {{"@S", "String"}, {"Index", "Integer"}, {"Len", "Integer"}}, "",
                     [](TProgramInfo& info) {
                         std::string s = ArgStr(info, "S");
                         Delete(s, ArgInt(info, "Index"), ArgInt(info, "Len"));
                         info.SetValue("S", s);
                     });
    unit.AddFunction("Insert", {{"src", "String"}, {"@S", "String"}, {"Index", "Integer"}}, "",
                     [](TProgramInfo& info) {
                         std::string s = ArgStr(info, "S");
                         const std::string src = ArgStr(info, "src");
                         ReserveText(info, static_cast<int64_t>(s.size() + src.size()));
                         Insert(src, s, ArgInt(info, "Index"));
                         info.SetValue("S", s);
                     });
    StringFunction(unit, "LowerCase", LowerCase);
    StringFunction(unit, "UpperCase", UpperCase);
    StringFunction(unit, "AnsiLowerCase", AnsiLowerCase);
    StringFunction(unit, "AnsiUpperCase", AnsiUpperCase);
    unit.AddFunction("Pos", {{"subStr", "String"}, {"str", "String"}}, "Integer", [](TProgramInfo& info) {
        info.SetResult(Pos(ArgStr(info, "subStr"), ArgStr(info, "str")));
    });
    unit.AddFunction("Length", {{"str", "String"}}, "Integer", [](TProgramInfo& info) {
        info.SetResult(static_cast<int64_t>(info.Value("str").AsString().size()));
    });
    unit.AddFunction("SetLength", {{"@S", "String"}, {"NewLength", "Integer"}}, "", [](TProgramInfo& info) {
        std::string s = ArgStr(info, "S");
        const int64_t length = ArgInt(info, "NewLength");
        ReserveText(info, length);
        SetLength(s, length);
        info.SetValue("S", s);
    });
    StringFunction(unit, "TrimLeft", TrimLeft);
    StringFunction(unit, "TrimRight", TrimRight);
    StringFunction(unit, "Trim", Trim);
    const auto compare = [&unit](std::string_view name,
                                 int64_t (*fn)(std::string_view, std::string_view) noexcept) {
        unit.AddFunction(name, {{"str1", "String"}, {"str2", "String"}}, "Integer", [fn](TProgramInfo& info) {
            info.SetResult(fn(ArgStr(info, "str1"), ArgStr(info, "str2")));
        });
    };
    compare("CompareText", CompareText);
    compare("AnsiCompareText", AnsiCompareText);
    compare("CompareStr", CompareStr);
    compare("AnsiCompareStr", AnsiCompareStr);
    unit.AddFunction("IsDelimiter", {{"delims", "String"}, {"s", "String"}, {"index", "Integer"}}, "Boolean",
                     [](TProgramInfo& info) {
                         info.SetResult(
                             IsDelimiter(ArgStr(info, "delims"), ArgStr(info, "s"), ArgInt(info, "index")));
                     });
    unit.AddFunction(
        "LastDelimiter", {{"delims", "String"}, {"s", "String"}}, "Integer",
        [](TProgramInfo& info) { info.SetResult(LastDelimiter(ArgStr(info, "delims"), ArgStr(info, "s"))); });
    StringFunction(unit, "QuotedStr", QuotedStr);
    unit.AddFunction("Copy", {{"str", "String"}, {"Index", "Integer"}, {"Len", "Integer"}}, "String",
                     [](TProgramInfo& info) {
                         info.SetResult(
                             Copy(ArgStr(info, "str"), ArgInt(info, "Index"), ArgInt(info, "Len")));
                     });
    unit.AddFunction(
        "LeftStr", {{"AText", "String"}, {"ACount", "Integer"}}, "String",
        [](TProgramInfo& info) { info.SetResult(LeftStr(ArgStr(info, "AText"), ArgInt(info, "ACount"))); });
    unit.AddFunction(
        "RightStr", {{"AText", "String"}, {"ACount", "Integer"}}, "String",
        [](TProgramInfo& info) { info.SetResult(RightStr(ArgStr(info, "AText"), ArgInt(info, "ACount"))); });
    unit.AddFunction("MidStr", {{"AText", "String"}, {"AStart", "Integer"}, {"ACount", "Integer"}}, "String",
                     [](TProgramInfo& info) {
                         info.SetResult(
                             Copy(ArgStr(info, "AText"), ArgInt(info, "AStart"), ArgInt(info, "ACount")));
                     });
    unit.AddFunction("StringOfChar", {{"Ch", "String"}, {"Count", "Integer"}}, "String",
                     [](TProgramInfo& info) {
                         const int64_t count = ArgInt(info, "Count");
                         ReserveText(info, count);
                         info.SetResult(StringOfChar(ArgStr(info, "Ch"), count));
                     });
}

void RegisterDateTime(TScriptUnit& unit) {
    unit.AddFunction("Now", {}, "DateTime", [](TProgramInfo& info) { info.SetResult(Now()); });
    unit.AddFunction("Date", {}, "DateTime", [](TProgramInfo& info) { info.SetResult(Date()); });
    unit.AddFunction("Time", {}, "DateTime", [](TProgramInfo& info) { info.SetResult(Time()); });
    const auto toText = [&unit](std::string_view name, std::string (*fn)(double)) {
        unit.AddFunction(name, {{"dt", "DateTime"}}, "String",
                         [fn](TProgramInfo& info) { info.SetResult(fn(ArgFloat(info, "dt"))); });
    };
    toText("DateTimeToStr", DateTimeToStr);
    toText("DateToStr", DateToStr);
    toText("TimeToStr", TimeToStr);
    const auto fromText = [&unit](std::string_view name, double (*fn)(std::string_view)) {
        unit.AddFunction(name, {{"str", "String"}}, "DateTime",
                         [fn](TProgramInfo& info) { info.SetResult(fn(ArgStr(info, "str"))); });
    };
    fromText("StrToDateTime", StrToDateTime);
    fromText("StrToDate", StrToDate);
    fromText("StrToTime", StrToTime);
    unit.AddFunction("DayOfWeek", {{"dt", "DateTime"}}, "Integer",
                     [](TProgramInfo& info) { info.SetResult(DayOfWeek(ArgFloat(info, "dt"))); });
    unit.AddFunction("FormatDateTime", {{"frm", "String"}, {"dt", "DateTime"}}, "String",
                     [](TProgramInfo& info) {
                         info.SetResult(FormatDateTime(ArgStr(info, "frm"), ArgFloat(info, "dt")));
                     });
    unit.AddFunction("IsLeapYear", {{"year", "Integer"}}, "Boolean",
                     [](TProgramInfo& info) { info.SetResult(IsLeapYear(ArgInt(info, "year"))); });
    unit.AddFunction("IncMonth", {{"dt", "DateTime"}, {"nb", "Integer"}}, "DateTime", [](TProgramInfo& info) {
        info.SetResult(IncMonth(ArgFloat(info, "dt"), ArgInt(info, "nb")));
    });
    unit.AddFunction("DecodeDate",
                     {{"dt", "DateTime"}, {"@y", "Integer"}, {"@m", "Integer"}, {"@d", "Integer"}}, "",
                     [](TProgramInfo& info) {
                         const TDateParts date = DecodeDate(ArgFloat(info, "dt"));
                         info.SetValue("y", date.Year);
                         info.SetValue("m", date.Month);
                         info.SetValue("d", date.Day);
                     });
    unit.AddFunction("EncodeDate", {{"y", "Integer"}, {"m", "Integer"}, {"d", "Integer"}}, "DateTime",
                     [](TProgramInfo& info) {
                         info.SetResult(EncodeDate(ArgInt(info, "y"), ArgInt(info, "m"), ArgInt(info, "d")));
                     });
    unit.AddFunction(
        "DecodeTime",
        {{"dt", "DateTime"}, {"@h", "Integer"}, {"@m", "Integer"}, {"@s", "Integer"}, {"@ms", "Integer"}}, "",
        [](TProgramInfo& info) {
            const TTimeParts time = DecodeTime(ArgFloat(info, "dt"));
            info.SetValue("h", time.Hour);
            info.SetValue("m", time.Minute);
            info.SetValue("s", time.Second);
            info.SetValue("ms", time.MSec);
        });
    unit.AddFunction("EncodeTime", {{"h", "Integer"}, {"m", "Integer"}, {"s", "Integer"}, {"ms", "Integer"}},
                     "DateTime", [](TProgramInfo& info) {
                         info.SetResult(EncodeTime(ArgInt(info, "h"), ArgInt(info, "m"), ArgInt(info, "s"),
                                                   ArgInt(info, "ms")));
                     });
}

void RegisterVariants(TScriptUnit& unit) {
    unit.AddFunction("VarClear", {{"@v", "Variant"}}, "",
                     [](TProgramInfo& info) { info.SetValue("v", TVariant::Unassigned()); });
    unit.AddFunction("VarIsNull", {{"v", "Variant"}}, "Boolean",
                     [](TProgramInfo& info) { info.SetResult(info.Value("v").IsNull()); });
    unit.AddFunction("VarIsEmpty", {{"v", "Variant"}}, "Boolean",
                     [](TProgramInfo& info) { info.SetResult(info.Value("v").IsEmpty()); });
    unit.AddFunction(
        "VarAsType", {{"v", "Variant"}, {"VarType", "Integer"}}, "Variant",
        [](TProgramInfo& info) { info.SetResult(VarAsType(info.Value("v"), ArgInt(info, "VarType"))); });
    unit.AddFunction("VarToStr", {{"v", "Variant"}}, "String",
                     [](TProgramInfo& info) { info.SetResult(VarToStr(info.Value("v"))); });
}

} // namespace

void RegisterBuiltins(TScriptUnit& systemUnit) {
    RegisterSystem(systemUnit);
    RegisterMath(systemUnit);
    RegisterStrings(systemUnit);
    RegisterDateTime(systemUnit);
    RegisterVariants(systemUnit);
}
