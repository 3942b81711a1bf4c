// Each group of built-in routines called from real script text, with typical and edge
// arguments, so the registration, the binding of arguments by name and the write-back of var
// parameters are tested with the routine itself.
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
        {"ArcSinh(0) + ArcCos(1) + ArcCosh(1) + ArcTanh(0)", "0"},
        {"ArcTan(1) * 4", "3.14159265358979"},
        {"Hypot(3, 4)", "5"},
        {"var i: Integer; begin i := 1; Inc(i, 5); PrintLn(i); end.", "6"},
        {"var i: Integer; begin i := 9223372036854775807; Inc(i, 1); PrintLn(i = -9223372036854775807 - 1); "
         "end.",
         "True"},
        // In an expression Inc still adds; its own result is never assigned, so it gives 0.
        {"var i, j: Integer; begin i := 1; j := Inc(i, 2) + Inc(i); PrintLn(IntToStr(i) + ' ' + "
         "IntToStr(j)); "
         "end.",
         "4 0"},
        {"Abs(-2.5)", "2.5"},
        {"Exp(0) + Ln(1)", "1"},
        {"Log2(8) + Log10(1000)", "6"},
        {"LogN(2, 1024)", "10"},
        {"LogN(10, 0.001)", "-3"},
        {"Sqrt(16) + Sqr(-3)", "13"},
        {"Int(-2.7)", "-2"},
        {"Frac(-2.5)", "-0.5"},
        {"IntToStr(Trunc(-2.9)) + ' ' + IntToStr(Trunc(2.9)) + ' ' + IntToStr(Trunc(-0.5))", "-2 2 0"},
        {"Round(2.5)", "2"},
        {"Round(3.5)", "4"},
        {"IntToStr(Round(-2.5)) + ' ' + IntToStr(Round(-3.5)) + ' ' + IntToStr(Round(0.5)) + ' ' + "
         "IntToStr(Round(1.5))",
         "-2 -4 0 2"},
        {"IntToStr(Round(2.4999)) + ' ' + IntToStr(Round(2.5000001)) + ' ' + IntToStr(Round(-2.6))",
         "2 3 -3"},
        {"Round(1E15 + 1)", "1000000000000001"},
        {"Power(2, 0.5)", "1.4142135623731"},
        {"DegToRad(180) = Pi", "True"},
        {"RadToDeg(Pi / 2)", "90"},
        {"FloatToStr(Max(2, 3.5)) + ' ' + FloatToStr(Min(2, 3.5)) + ' ' + FloatToStr(Max(-1, -2))",
         "3.5 2 -1"},
        {"Pi", "3.14159265358979"},
        {"var i, n: Integer; begin Randomize; n := 0; for i := 1 to 500 do n := n + RandomInt(1); "
         "PrintLn(n); end.",
         "0"},
        {"IntToStr(RandomInt(0)) + IntToStr(RandomInt(-7))", "00"},
        // 2000 draws reach every value from 0 to 9 and never 10.
        {"var i, n, seen: Integer; hits: array[0..10] of Integer; begin Randomize; for i := 1 to 2000 do "
         "begin n := RandomInt(10); hits[n] := hits[n] + 1; end; seen := 0; for i := 0 to 9 do "
         "if hits[i] > 0 then seen := seen + 1; PrintLn(IntToStr(seen) + ' ' + IntToStr(hits[10])); end.",
         "10 0"},
        {"var i: Integer; f: Float; ok: Boolean; begin ok := True; for i := 1 to 500 do begin f := Random; "
         "ok := ok and (f >= 0) and (f < 1); end; PrintLn(ok); end.",
         "True"},
        {"var s: Integer; a, b: Float; begin Randomize; s := RandSeed; a := Random + RandG(3, 1) + "
         "RandomInt(50); "
         "SetRandSeed(s); b := Random + RandG(3, 1) + RandomInt(50); PrintLn(a = b); end.",
         "True"},
        {"begin SetRandSeed(-5); PrintLn(RandSeed); end.", "-5"},
        {"var i: Integer; sum, squares, v: Float; begin SetRandSeed(7); sum := 0; squares := 0; "
         "for i := 1 to 20000 do begin v := RandG(10, 2); sum := sum + v; squares := squares + Sqr(v - 10); "
         "end; "
         "PrintLn((Abs(sum / 20000 - 10) < 0.05) and (Abs(Sqrt(squares / 20000) - 2) < 0.05)); end.",
         "True"},
    };
    ExpectPrints(cases);
}

TEST(BuiltinsScript, StringRoutines) {
    const TScriptCase cases[] = {
        {"IntToStr(-42) + '!'", "-42!"},
        {"StrToInt('$FF') + StrToInt('  -5') + StrToInt('+3') + StrToInt('0x10')", "269"},
        {"IntToStr(StrToInt('-$10')) + ' ' + IntToStr(StrToInt('$FFFFFFFFFFFFFFFF'))", "-16 -1"},
        {"StrToInt('-9223372036854775808') = -9223372036854775807 - 1", "True"},
        {"IntToStr(StrToIntDef('12a', 7)) + ' ' + IntToStr(StrToIntDef('12', 7))", "7 12"},
        {"IntToHex(255, 4) + ' ' + IntToHex(255, 1) + ' ' + IntToHex(-1, 2)", "00FF FF FFFFFFFF"},
        {"IntToHex(-1099511627776, 0)", "FFFFFF0000000000"},
        {"FloatToStr(1 / 3) + ' ' + FloatToStr(0.1) + ' ' + FloatToStr(-2.5)", "0.333333333333333 0.1 -2.5"},
        {"FloatToStr(1E15) + ' ' + FloatToStr(123456789012345) + ' ' + FloatToStr(0.0001) + ' ' + "
         "FloatToStr(0.000015)",
         "1E15 123456789012345 0.0001 1.5E-5"},
        {"FloatToStr(StrToFloat(' 2.5e3 ')) + ' ' + FloatToStr(StrToFloat('-.5')) + ' ' + "
         "FloatToStr(StrToFloat('1e-400'))",
         "2500 -0.5 0"},
        {"StrToFloat(FloatToStr(0.1)) = 0.1", "True"},
        {"FloatToStr(StrToFloatDef('1..2', 1.5)) + ' ' + FloatToStr(StrToFloatDef('nan', 9))", "1.5 9"},
        {"Chr(65) + Chr(66)", "AB"},
        {"IntToStr(Ord('a')) + ' ' + IntToStr(Ord(Chr(255))) + ' ' + IntToStr(Ord(''))", "97 255 0"},
        {"CharAt('abc', 1) + CharAt('abc', 3)", "ac"},
        {"var s: String; begin s := 'abc'; SetCharAt(s, 2, 'XY'); PrintLn(s); end.", "aXc"},
        {"var s: String; begin s := 'abcdef'; Delete(s, 3, 2); PrintLn(s); end.", "abef"},
        {"var s: String; begin s := 'abcdef'; Delete(s, 5, 99); Delete(s, 0, 2); Delete(s, 9, 1); "
         "PrintLn(s); end.",
         "abcd"},
        {"var s: String; begin s := 'abcd'; Insert('XY', s, 3); PrintLn(s); end.", "abXYcd"},
        {"var s: String; begin s := 'ab'; Insert('<', s, 0); Insert('>', s, 99); PrintLn(s); end.", "<ab>"},
        {"LowerCase('AbC' + Chr(201)) = 'abc' + Chr(201)", "True"},
        {"UpperCase('aBc' + Chr(233)) = 'ABC' + Chr(233)", "True"},
        {"AnsiLowerCase('AB' + Chr(201) + Chr(215)) = 'ab' + Chr(233) + Chr(215)", "True"},
        {"AnsiUpperCase('ab' + Chr(233) + Chr(247) + Chr(255)) = 'AB' + Chr(201) + Chr(247) + Chr(255)",
         "True"},
        {"IntToStr(Pos('x', 'abc')) + ' ' + IntToStr(Pos('cd', 'abcdcd')) + ' ' + IntToStr(Pos('', 'abc'))",
         "0 3 0"},
        {"Length('hello')", "5"},
        {"var s: String; begin s := 'abcdef'; SetLength(s, 2); PrintLn(s + '|'); SetLength(s, 4); PrintLn(s "
         "+ '|'); "
         "SetLength(s, -1); PrintLn(s + '|'); end.",
         "ab|\nab  |\n|"},
        {"'[' + TrimLeft('  a  ') + '][' + TrimRight('  a  ') + '][' + Trim(Chr(9) + ' a' + Chr(10)) + ']'",
         "[a  ][  a][a]"},
        {"IntToStr(CompareText('abc', 'ABC')) + ' ' + IntToStr(CompareText('abc', 'ABD')) + ' ' + "
         "IntToStr(CompareText('abcd', 'ABC'))",
         "0 -1 1"},
        {"IntToStr(CompareStr('a', 'B')) + ' ' + IntToStr(CompareStr('ab', 'abc'))", "31 -1"},
        {"AnsiCompareText(Chr(233), Chr(201))", "0"},
        {"IntToStr(AnsiCompareStr('a', 'B')) + ' ' + IntToStr(AnsiCompareStr('a', 'A')) + ' ' + "
         "IntToStr(AnsiCompareStr('B', 'a'))",
         "-1 -1 1"},
        {"VarToStr(IsDelimiter(',;', 'a;b', 2)) + ' ' + VarToStr(IsDelimiter(',;', 'a;b', 3)) + ' ' + "
         "VarToStr(IsDelimiter(',;', 'a;b', 9))",
         "True False False"},
        {"IntToStr(LastDelimiter('\\.', 'data\\default.ai')) + ' ' + IntToStr(LastDelimiter('x', 'abc'))",
         "13 0"},
        {"QuotedStr('it''s')", "'it''s'"},
        {"Copy('abcdef', 3, 2)", "cd"},
        {"Copy('abcdef', 5, 99) + '|' + Copy('abcdef', 0, 2) + '|' + Copy('abcdef', 7, 1) + '|' + "
         "Copy('abcdef', 2, -1)",
         "ef|ab||"},
        {"LeftStr('abcdef', 2) + RightStr('abcdef', 2) + '|' + LeftStr('ab', 9) + RightStr('ab', 9) + "
         "RightStr('ab', -1)",
         "abef|abab"},
        {"MidStr('abcdef', 2, 3)", "bcd"},
        {"StringOfChar('*x', 3) + '|' + StringOfChar('', 0)", "***|"},
    };
    ExpectPrints(cases);
}

TEST(BuiltinsScript, DateTimeRoutines) {
    const TScriptCase cases[] = {
        {"(Now >= Date) and (Now < Date + 1) and (Time >= 0) and (Time < 1)", "True"},
        {"DateTimeToStr(EncodeDate(2020, 2, 29) + EncodeTime(7, 8, 9, 0))", "2020/02/29 07:08:09"},
        {"DateTimeToStr(EncodeDate(2020, 2, 29))", "2020/02/29"},
        {"DateToStr(EncodeDate(2026, 3, 7)) + ' ' + TimeToStr(EncodeTime(9, 8, 7, 0))",
         "2026/03/07 09:08:07"},
        {"StrToDateTime('2020/02/29 12:00:00')", "43890.5"},
        {"StrToDateTime('10:20') = EncodeTime(10, 20, 0, 0)", "True"},
        {"FloatToStr(StrToDate('2000/01/01')) + ' ' + FloatToStr(StrToDate('2020-2-9')) + ' ' + "
         "FloatToStr(StrToDate('20/2/9'))",
         "36526 43870 43870"},
        {"FloatToStr(StrToTime('18:00')) + ' ' + FloatToStr(StrToTime('6:00 pm')) + ' ' + "
         "FloatToStr(StrToTime('12 AM'))",
         "0.75 0.75 0"},
        {"StrToTime('10:20:30.5') = EncodeTime(10, 20, 30, 500)", "True"},
        // 1899-12-30, day 0, was a Saturday; before it the fraction still counts forward.
        {"IntToStr(DayOfWeek(0)) + IntToStr(DayOfWeek(-1.5)) + IntToStr(DayOfWeek(-0.5)) + "
         "IntToStr(DayOfWeek(EncodeDate(2026, 12, 6))) + IntToStr(DayOfWeek(EncodeDate(1, 1, 1)))",
         "76712"},
        {"FormatDateTime('yyyy-mm-dd hh:nn', -1.25)", "1899-12-29 06:00"},
        {"IsLeapYear(2000) and IsLeapYear(2024) and not IsLeapYear(1900) and not IsLeapYear(2023)", "True"},
        {"DateToStr(IncMonth(EncodeDate(2020, 1, 31), 1)) + ' ' + DateToStr(IncMonth(EncodeDate(2021, 1, "
         "31), 1))",
         "2020/02/29 2021/02/28"},
        {"DateToStr(IncMonth(EncodeDate(2020, 3, 31), -1)) + ' ' + DateToStr(IncMonth(EncodeDate(2020, 12, "
         "15), 1))",
         "2020/02/29 2021/01/15"},
        {"DateTimeToStr(IncMonth(EncodeDate(2020, 2, 29) + 0.5, 12)) + ' ' + "
         "DateToStr(IncMonth(EncodeDate(2020, 5, 10), -24))",
         "2021/02/28 12:00:00 2018/05/10"},
        {"var y, m, d: Integer; begin DecodeDate(EncodeDate(2024, 2, 29), y, m, d); "
         "PrintLn(IntToStr(y) + '-' + IntToStr(m) + '-' + IntToStr(d)); end.",
         "2024-2-29"},
        // A time that rounds to midnight belongs to the next day.
        {"var y, m, d, h, n, s, ms: Integer; begin DecodeDate(EncodeDate(2020, 12, 31) + 0.999999999999, y, "
         "m, d); "
         "DecodeTime(EncodeDate(2020, 12, 31) + 0.999999999999, h, n, s, ms); "
         "PrintLn(IntToStr(y) + '-' + IntToStr(m) + '-' + IntToStr(d) + ' ' + IntToStr(h + n + s + ms)); "
         "end.",
         "2021-1-1 0"},
        {"FloatToStr(EncodeDate(1899, 12, 30)) + ' ' + FloatToStr(EncodeDate(1900, 3, 1)) + ' ' + "
         "FloatToStr(EncodeDate(1, 1, 1)) + ' ' + FloatToStr(EncodeDate(9999, 12, 31))",
         "0 61 -693593 2958465"},
        {"var h, m, s, ms: Integer; begin DecodeTime(EncodeTime(13, 45, 30, 250), h, m, s, ms); "
         "PrintLn(h * 10000000 + m * 100000 + s * 1000 + ms); end.",
         "134530250"},
        {"EncodeTime(12, 0, 0, 0)", "0.5"},
    };
    ExpectPrints(cases);
}

TEST(BuiltinsScript, FormatDateTimeFollowsThePictureLetters) {
    const struct {
        std::string_view Picture;
        std::string_view Expected;
    } cases[] = {
        {"yyyy-mm-dd", "2026-03-07"},
        {"yy/m/d", "26/3/7"},
        {"hh:nn:ss.zzz", "14:05:09.045"},
        {"h:n:s.z", "14:5:9.45"},
        {"hh:mm", "14:05"},
        {"mm hh", "03 14"},
        {"h:mm am/pm", "2:05 pm"},
        {"h AM/PM", "2 PM"},
        {"h a/p", "2 p"},
        {"hh ampm", "02 PM"},
        {"mmm mmmm ddd dddd", "Mar March Sat Saturday"},
        {"\"Day\" d", "Day 7"},
        {"''yyyy'' yyyy", "yyyy 2026"},
        {"''open", "open"},
        {"ddddd", "2026/03/07"},
        {"dddddd", "Saturday, March 7, 2026"},
        {"c", "2026/03/07 14:05:09"},
        {"t|tt", "14:05|14:05:09"},
        {"dd.mm.yyyy", "07.03.2026"},
    };
    for (const auto& c : cases) {
        const std::string text = "begin PrintLn(FormatDateTime('" + std::string(c.Picture) +
                                 "', EncodeDate(2026, 3, 7) + EncodeTime(14, 5, 9, 45))); end.";
        const TScriptRun run = RunScript(text);
        EXPECT_EQ(run.Messages, "") << c.Picture;
        EXPECT_EQ(run.Output, std::string(c.Expected) + "\n") << c.Picture;
    }
    EXPECT_EQ(RunScript("begin PrintLn(FormatDateTime('h am/pm hh', EncodeTime(0, 30, 0, 0))); end.").Output,
              "12 am 00\n");
}

TEST(BuiltinsScript, VariantRoutinesAndTypeCodes) {
    const TScriptCase cases[] = {
        {"var v: Variant; begin v := 5; VarClear(v); PrintLn(VarIsEmpty(v)); end.", "True"},
        {"VarIsNull(Null) and not VarIsNull(Unassigned)", "True"},
        {"VarIsEmpty(Unassigned) and not VarIsEmpty(Null)", "True"},
        {"VarAsType('12', varInteger) + 1", "13"},
        {"VarToStr(VarAsType(3.5, varInteger)) + ' ' + VarToStr(VarAsType(2.5, varInt64))", "4 2"},
        {"VarToStr(VarAsType(255, varByte)) + ' ' + VarToStr(VarAsType(True, varByte)) + ' ' + "
         "VarToStr(VarAsType(-32768, varSmallint))",
         "255 1 -32768"},
        {"VarAsType(7, varDouble) / 2 + VarAsType('1.25', varSingle)", "4.75"},
        {"VarAsType('2020/01/02', varDate)", "43832"},
        {"VarAsType(7, varString) + '!'", "7!"},
        {"VarToStr(VarAsType(1.5, varOleStr)) + VarToStr(VarAsType(True, varStrArg))", "1.5True"},
        {"VarToStr(VarAsType('True', varBoolean)) + ' ' + VarToStr(VarAsType(0, varBoolean))", "True False"},
        {"VarIsNull(VarAsType(7, varNull)) and VarIsEmpty(VarAsType('x', varEmpty))", "True"},
        {"VarAsType('x', varVariant) + VarAsType('y', varAny)", "xy"},
        {"'[' + VarToStr(Null) + '][' + VarToStr(Unassigned) + '][' + VarToStr(2.5) + ']'", "[][][2.5]"},
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

// What a script's handler sees for each bad argument: the host's class name and the message.
TEST(BuiltinsScript, BadArgumentsRaiseHostErrorsWithClearTexts) {
    const struct {
        std::string_view Call;
        std::string_view Seen;
    } cases[] = {
        {"StrToInt('x')", "EConvertError: 'x' is not a valid integer value"},
        {"StrToInt('')", "EConvertError: '' is not a valid integer value"},
        {"StrToInt('12 ')", "EConvertError: '12 ' is not a valid integer value"},
        {"StrToInt('$')", "EConvertError: '$' is not a valid integer value"},
        {"StrToInt('9223372036854775808')",
         "EConvertError: '9223372036854775808' is not a valid integer value"},
        {"StrToInt('$10000000000000000')",
         "EConvertError: '$10000000000000000' is not a valid integer value"},
        {"StrToFloat('1..2')", "EConvertError: '1..2' is not a valid floating point value"},
        {"StrToFloat('1e')", "EConvertError: '1e' is not a valid floating point value"},
        {"StrToFloat('.')", "EConvertError: '.' is not a valid floating point value"},
        {"StrToFloat('1e999')", "EConvertError: '1e999' is not a valid floating point value"},
        {"StrToFloat('inf')", "EConvertError: 'inf' is not a valid floating point value"},
        {"Chr(256)", "ERangeError: Chr: 256 is not a character code (0..255)"},
        {"Chr(-1)", "ERangeError: Chr: -1 is not a character code (0..255)"},
        {"CharAt('abc', 0)", "ERangeError: Lower bound exceeded! Index 0"},
        {"CharAt('abc', 4)", "ERangeError: Upper bound exceeded! Index 4"},
        {"CharAt('', 1)", "ERangeError: Upper bound exceeded! Index 1"},
        {"StringOfChar('', 2)", "EConvertError: StringOfChar: a character is expected, not an empty string"},
        {"StringOfChar('x', 2000000000)", "ERangeError: String too long (more than 268435456 characters)"},
        {"IntToHex(1, 1099511627776)", "ERangeError: String too long (more than 268435456 characters)"},
        {"Round(1E300)", "ERangeError: Invalid floating point operation: 1E300 does not fit an Integer"},
        {"Trunc(-1E19)", "ERangeError: Invalid floating point operation: -1E19 does not fit an Integer"},
        {"Round(Sqrt(-1))", "ERangeError: Invalid floating point operation: NAN does not fit an Integer"},
        {"EncodeDate(2020, 13, 1)",
         "EConvertError: Invalid argument to date encode: year 2020, month 13, day 1"},
        {"EncodeDate(2021, 2, 29)",
         "EConvertError: Invalid argument to date encode: year 2021, month 2, day 29"},
        {"EncodeDate(0, 1, 1)", "EConvertError: Invalid argument to date encode: year 0, month 1, day 1"},
        {"EncodeTime(24, 0, 0, 0)",
         "EConvertError: Invalid argument to time encode: hour 24, minute 0, second 0, millisecond 0"},
        {"EncodeTime(1, 2, 3, 1000)",
         "EConvertError: Invalid argument to time encode: hour 1, minute 2, second 3, millisecond 1000"},
        {"FormatDateTime('yyyy', 1E300)",
         "EConvertError: DateTime value 1E300 is outside the years 1 to 9999"},
        {"DayOfWeek(-693594)", "EConvertError: DateTime value -693594 is outside the years 1 to 9999"},
        {"IncMonth(EncodeDate(9999, 12, 1), 1)",
         "EConvertError: IncMonth: 1 months from 9999/12/01 leave the years 1 to 9999"},
        {"IncMonth(0, -9223372036854775807)",
         "EConvertError: IncMonth: -9223372036854775807 months from 1899/12/30 leave the years 1 to 9999"},
        {"StrToDate('2020/13/01')", "EConvertError: '2020/13/01' is not a valid date"},
        {"StrToDate('2020/1')", "EConvertError: '2020/1' is not a valid date"},
        {"StrToTime('25:00')", "EConvertError: '25:00' is not a valid time"},
        {"StrToTime('13 pm')", "EConvertError: '13 pm' is not a valid time"},
        {"StrToTime('10')", "EConvertError: '10' is not a valid time"},
        {"StrToDateTime('2020/01/01 x')", "EConvertError: '2020/01/01 x' is not a valid date and time"},
        {"VarAsType(256, varByte)", "ERangeError: Variant overflow: 256 does not fit varByte"},
        {"VarAsType(-1, varWord)", "ERangeError: Variant overflow: -1 does not fit varWord"},
        {"VarAsType(4294967296, varLongWord)",
         "ERangeError: Variant overflow: 4294967296 does not fit varLongWord"},
        {"VarAsType(1, varError)",
         "EVariantError: Invalid variant type conversion from Integer to type code 10"},
        {"VarAsType('a', varUnknown)",
         "EVariantError: Invalid variant type conversion from String to type code 13"},
        {"VarAsType(1, -1)", "EVariantError: Invalid variant type conversion from Integer to type code -1"},
        {"VarAsType('soon', varDate)", "EConvertError: 'soon' is not a valid date and time"},
        {"VarAsType('abc', varInteger)",
         "EScriptError: Could not convert variant of type (String) into type (Integer)"},
    };
    for (const auto& c : cases) {
        const TScriptRun run = RunScript("begin try PrintLn(" + std::string(c.Call) +
                                         "); except on E: EHostError do PrintLn(E.ExceptionClass + ': ' + "
                                         "E.Message); end; end.");
        EXPECT_EQ(run.Messages, "") << c.Call;
        EXPECT_EQ(run.Output, std::string(c.Seen) + "\n") << c.Call;
    }
    const std::string text = "var s: String; begin s := 'abc'; try SetCharAt(s, 4, 'x'); except end; "
                             "try SetCharAt(s, 1, ''); except on E: Exception do PrintLn(E.Message); end; "
                             "PrintLn(s); end.";
    EXPECT_EQ(RunScript(text).Output, "SetCharAt: a character is expected, not an empty string\nabc\n")
        << "a failed SetCharAt leaves the string alone";
}

// Left unhandled, a failure stops the script with a run-time error at the call.
TEST(BuiltinsScript, AnUnhandledFailureIsARunTimeErrorAtTheCall) {
    for (const std::string_view call : {"StrToInt('x')", "StrToFloat('1..2')", "EncodeDate(2020, 13, 1)"}) {
        const std::string text =
            "begin\n  PrintLn('before');\n  PrintLn(" + std::string(call) + ");\n  PrintLn('after');\nend.";
        const TScriptRun run = RunScript(text);
        EXPECT_EQ(run.Output, "before\n") << call;
        const TScriptRun caught = RunScript("begin try PrintLn(" + std::string(call) +
                                            "); except on E: Exception do PrintLn(E.Message); end; end.");
        EXPECT_EQ(run.Messages, "Runtime Error: " + caught.Output.substr(0, caught.Output.size() - 1) +
                                    " [line: 3, column: 11]\n")
            << call;
    }
}

} // namespace
