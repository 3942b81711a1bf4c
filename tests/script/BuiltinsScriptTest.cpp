// Each group of built-in routines called from real script text, so the registration, the
// binding of arguments by name and the write-back of var parameters are tested with the
// routine itself.
#include "BuiltinsRunner.h"

#include <gtest/gtest.h>

namespace {

void ExpectPrints(std::span<const TScriptCase> cases) {
    for (const TScriptCase& c : cases) {
        const TScriptRun run = RunScript(ScriptText(c.Source));
        EXPECT_EQ(run.Messages, "") << c.Source;
        EXPECT_EQ(run.Output, std::string(c.Expected) + "\n") << c.Source;
    }
}

TEST(BuiltinsScript, MathematicsRoutines) {
    const TScriptCase cases[] = {
        {"Sin(0)", "0"},
        {"Sinh(0) + Cosh(0)", "1"},
        {"Cos(Pi)", "-1"},
        {"Tan(Pi / 4)", "1"},
        {"Tanh(0)", "0"},
        {"Cotan(Pi / 4)", "1"},
        {"ArcSin(1) * 2", "3.14159265358979"},
        {"ArcSinh(0)", "0"},
        {"ArcCos(1)", "0"},
        {"ArcCosh(1)", "0"},
        {"ArcTan(1) * 4", "3.14159265358979"},
        {"ArcTanh(0)", "0"},
        {"Hypot(3, 4)", "5"},
        {"var i: Integer; begin i := 1; Inc(i, 5); PrintLn(i); end.", "6"},
        {"Abs(-2.5)", "2.5"},
        {"Exp(0)", "1"},
        {"Ln(1)", "0"},
        {"Log2(8)", "3"},
        {"Log10(1000)", "3"},
        {"LogN(2, 1024)", "10"},
        {"Sqrt(16)", "4"},
        {"Sqr(-3)", "9"},
        {"Int(-2.7)", "-2"},
        {"Frac(-2.5)", "-0.5"},
        {"Trunc(-2.9)", "-2"},
        {"Trunc(2.9)", "2"},
        {"Round(2.5)", "2"},
        {"Round(3.5)", "4"},
        {"Round(-2.5)", "-2"},
        {"Round(2.5000001)", "3"},
        {"Power(2, 0.5)", "1.4142135623731"},
        {"DegToRad(180) = Pi", "True"},
        {"RadToDeg(Pi)", "180"},
        {"Max(2, 3.5)", "3.5"},
        {"Min(2, 3.5)", "2"},
        {"Pi", "3.14159265358979"},
        {"var i, n: Integer; begin n := 0; for i := 1 to 500 do n := n + RandomInt(1); PrintLn(n); end.",
         "0"},
        {"var i, n: Integer; begin Randomize; n := 0; for i := 1 to 2000 do "
         "if RandomInt(10) > n then n := RandomInt(10); PrintLn(n < 10); end.",
         "True"},
        {"var i: Integer; f: Float; ok: Boolean; begin ok := True; for i := 1 to 500 do begin f := Random; "
         "ok := ok and (f >= 0) and (f < 1); end; PrintLn(ok); end.",
         "True"},
        {"var s: Integer; a, b: Float; begin Randomize; s := RandSeed; a := Random + RandG(3, 1) + "
         "RandomInt(50); "
         "SetRandSeed(s); b := Random + RandG(3, 1) + RandomInt(50); PrintLn(a = b); end.",
         "True"},
        {"begin SetRandSeed(-5); PrintLn(RandSeed); end.", "-5"},
    };
    ExpectPrints(cases);
}

TEST(BuiltinsScript, StringRoutines) {
    const TScriptCase cases[] = {
        {"IntToStr(-42) + '!'", "-42!"},
        {"StrToInt('$FF') + StrToInt(' -5')", "250"},
        {"StrToIntDef('12a', 7)", "7"},
        {"IntToHex(255, 4)", "00FF"},
        {"FloatToStr(1 / 3)", "0.333333333333333"},
        {"FloatToStr(1E20) + ' ' + FloatToStr(0.00001)", "1E20 1E-5"},
        {"StrToFloat('2.5e3')", "2500"},
        {"StrToFloatDef('1..2', 1.5)", "1.5"},
        {"Chr(65) + Chr(66)", "AB"},
        {"Ord('a')", "97"},
        {"CharAt('abc', 3)", "c"},
        {"var s: String; begin s := 'abc'; SetCharAt(s, 2, 'X'); PrintLn(s); end.", "aXc"},
        {"var s: String; begin s := 'abcdef'; Delete(s, 3, 2); PrintLn(s); end.", "abef"},
        {"var s: String; begin s := 'abcdef'; Delete(s, 5, 99); PrintLn(s); end.", "abcd"},
        {"var s: String; begin s := 'abcd'; Insert('XY', s, 3); PrintLn(s); end.", "abXYcd"},
        {"LowerCase('AbC') + UpperCase('AbC')", "abcABC"},
        {"AnsiLowerCase(Chr(192) + 'B') = Chr(224) + 'b'", "True"},
        {"AnsiUpperCase(Chr(224) + 'b') = Chr(192) + 'B'", "True"},
        {"Pos('x', 'abc')", "0"},
        {"Pos('cd', 'abcdcd')", "3"},
        {"Length('hello')", "5"},
        {"var s: String; begin s := 'abcdef'; SetLength(s, 2); PrintLn(s + '|'); end.", "ab|"},
        {"'[' + TrimLeft('  a  ') + '][' + TrimRight('  a  ') + '][' + Trim('  a  ') + ']'", "[a  ][  a][a]"},
        {"CompareText('abc', 'ABC')", "0"},
        {"AnsiCompareText('a', 'B') < 0", "True"},
        {"CompareStr('a', 'B') > 0", "True"},
        {"AnsiCompareStr('a', 'B') < 0", "True"},
        {"IsDelimiter(',;', 'a;b', 2)", "True"},
        {"IsDelimiter(',;', 'a;b', 9)", "False"},
        {"LastDelimiter('\\.', 'data\\default.ai')", "13"},
        {"QuotedStr('it''s')", "'it''s'"},
        {"Copy('abcdef', 3, 2)", "cd"},
        {"Copy('abcdef', 5, 99) + '|' + Copy('abcdef', 9, 1) + '|'", "ef||"},
        {"LeftStr('abcdef', 2) + RightStr('abcdef', 2)", "abef"},
        {"MidStr('abcdef', 2, 3)", "bcd"},
        {"StringOfChar('*', 3)", "***"},
    };
    ExpectPrints(cases);
}

TEST(BuiltinsScript, DateTimeRoutines) {
    const TScriptCase cases[] = {
        {"(Now >= Date) and (Now < Date + 1) and (Time < 1)", "True"},
        {"DateTimeToStr(EncodeDate(2026, 3, 7) + EncodeTime(14, 5, 9, 0))", "2026/03/07 14:05:09"},
        {"DateToStr(EncodeDate(2026, 3, 7))", "2026/03/07"},
        {"TimeToStr(EncodeTime(9, 8, 7, 0))", "09:08:07"},
        {"StrToDateTime('2020/02/29 12:00:00')", "43890.5"},
        {"StrToDate('2000/01/01')", "36526"},
        {"StrToTime('18:00')", "0.75"},
        {"DayOfWeek(EncodeDate(2026, 12, 6))", "1"},
        {"DayOfWeek(EncodeDate(2026, 12, 12))", "7"},
        {"FormatDateTime('dd/mm/yyyy hh:nn:ss.zzz', EncodeDate(2026, 3, 7) + EncodeTime(14, 5, 9, 45))",
         "07/03/2026 14:05:09.045"},
        {"FormatDateTime('d/m/yy h:n:s am/pm \"done\"', EncodeDate(2026, 3, 7) + EncodeTime(14, 5, 9, 0))",
         "7/3/26 2:5:9 pm done"},
        {"IsLeapYear(2000) and not IsLeapYear(1900)", "True"},
        {"DateToStr(IncMonth(EncodeDate(2020, 1, 31), 1))", "2020/02/29"},
        {"var y, m, d: Integer; begin DecodeDate(EncodeDate(2024, 2, 29), y, m, d); "
         "PrintLn(IntToStr(y) + '-' + IntToStr(m) + '-' + IntToStr(d)); end.",
         "2024-2-29"},
        {"EncodeDate(1899, 12, 30)", "0"},
        {"var h, m, s, ms: Integer; begin DecodeTime(EncodeTime(13, 45, 30, 250), h, m, s, ms); "
         "PrintLn(h * 10000000 + m * 100000 + s * 1000 + ms); end.",
         "134530250"},
        {"EncodeTime(12, 0, 0, 0)", "0.5"},
    };
    ExpectPrints(cases);
}

TEST(BuiltinsScript, VariantRoutinesAndTypeCodes) {
    const TScriptCase cases[] = {
        {"var v: Variant; begin v := 5; VarClear(v); PrintLn(VarIsEmpty(v)); end.", "True"},
        {"VarIsNull(Null) and not VarIsNull(Unassigned)", "True"},
        {"VarIsEmpty(Unassigned) and not VarIsEmpty(Null)", "True"},
        {"VarAsType('12', varInteger) + 1", "13"},
        {"VarAsType(3.5, varInteger)", "4"},
        {"VarAsType(7, varString) + '!'", "7!"},
        {"VarIsNull(VarAsType(7, varNull))", "True"},
        {"'[' + VarToStr(Null) + '][' + VarToStr(2.5) + ']'", "[][2.5]"},
        {"IntToStr(varEmpty) + ' ' + IntToStr(varString) + ' ' + IntToStr(varByRef)", "0 256 16384"},
    };
    ExpectPrints(cases);
}

TEST(BuiltinsScript, ProgramParametersCountFromOne) {
    TScriptEngine engine;
    const auto program =
        engine.Compile("begin PrintLn(ParamCount); PrintLn(ParamStr(1) + ParamStr(2)); "
                       "PrintLn(Param(2) + 1); PrintLn('[' + ParamStr(0) + ParamStr(3) + ']'); "
                       "PrintLn(VarIsEmpty(Param(3)) and VarIsEmpty(Param(-1))); end.");
    program->Parameters = {TVariant("a"), TVariant(41)};
    program->Execute();
    EXPECT_EQ(program->Msgs().AsText(), "");
    EXPECT_EQ(program->ResultText(), "2\na41\n42\n[]\nTrue\n");
}

// A failed conversion stops the script with a run-time error at the call, or reaches its
// exception handler with the host's class name.
TEST(BuiltinsScript, FailuresAreRunTimeErrorsOfTheScript) {
    const struct {
        std::string_view Call;
        std::string_view Message;
    } cases[] = {
        {"StrToInt('x')", "'x' is not a valid integer value"},
        {"StrToFloat('1..2')", "'1..2' is not a valid floating point value"},
        {"EncodeDate(2020, 13, 1)", "Invalid argument to date encode: year 2020, month 13, day 1"},
        {"CharAt('abc', 4)", "Upper bound exceeded! Index 4"},
        {"CharAt('abc', 0)", "Lower bound exceeded! Index 0"},
        {"Round(1E300)", "Invalid floating point operation: 1E300 does not fit an Integer"},
        {"StrToDate('2020/02/30')", "'2020/02/30' is not a valid date"},
    };
    for (const auto& c : cases) {
        const std::string text =
            "begin PrintLn('before'); PrintLn(" + std::string(c.Call) + "); PrintLn('after'); end.";
        const TScriptRun run = RunScript(text);
        const size_t column = text.find(c.Call) + 1;
        EXPECT_EQ(run.Output, "before\n") << c.Call;
        EXPECT_EQ(run.Messages, "Runtime Error: " + std::string(c.Message) +
                                    " [line: 1, column: " + std::to_string(column) + "]\n")
            << c.Call;
    }
    const TScriptRun caught = RunScript("begin try StrToInt('x'); except on E: EHostError do "
                                        "PrintLn(E.ExceptionClass + ': ' + E.Message); end; end.");
    EXPECT_EQ(caught.Messages, "");
    EXPECT_EQ(caught.Output, "EConvertError: 'x' is not a valid integer value\n");
}

} // namespace
