// The string routines on their own: conversions, Pascal's position rules at both ends of a
// string, and the exact texts of their errors.
#include "script/BuiltinsStrings.h"

#include "script/ScriptError.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

using namespace Builtin;

std::string Num(int64_t v) {
    return std::to_string(v);
}

template <typename Fn> std::string Modified(std::string s, Fn fn) {
    fn(s);
    return s;
}

struct TCase {
    const char* Call;
    std::function<std::string()> Run;
    std::string Expected;
};

TEST(BuiltinsStrings, EachRoutineGivesWhatAPascalProgrammerExpects) {
    const TCase cases[] = {
        {"IntToStr(-42)", [] { return IntToStr(-42); }, "-42"},
        {"StrToInt('  -17')", [] { return Num(StrToInt("  -17")); }, "-17"},
        {"StrToInt('+5')", [] { return Num(StrToInt("+5")); }, "5"},
        {"StrToInt('$FF')", [] { return Num(StrToInt("$FF")); }, "255"},
        {"StrToInt('-$10')", [] { return Num(StrToInt("-$10")); }, "-16"},
        {"StrToInt('0x1f')", [] { return Num(StrToInt("0x1f")); }, "31"},
        {"StrToInt('$FFFFFFFFFFFFFFFF')", [] { return Num(StrToInt("$FFFFFFFFFFFFFFFF")); }, "-1"},
        {"StrToInt(min)", [] { return Num(StrToInt("-9223372036854775808")); }, "-9223372036854775808"},
        {"StrToIntDef('12a', 7)", [] { return Num(StrToIntDef("12a", 7)); }, "7"},
        {"StrToIntDef('12', 7)", [] { return Num(StrToIntDef("12", 7)); }, "12"},
        {"IntToHex(255, 4)", [] { return IntToHex(255, 4); }, "00FF"},
        {"IntToHex(255, 1)", [] { return IntToHex(255, 1); }, "FF"},
        {"IntToHex(-1, 2)", [] { return IntToHex(-1, 2); }, "FFFFFFFF"},
        {"IntToHex(-2^40, 0)", [] { return IntToHex(-(int64_t{1} << 40), 0); }, "FFFFFF0000000000"},
        {"FloatToStr(0.1)", [] { return FloatToStr(0.1); }, "0.1"},
        {"FloatToStr(1/3)", [] { return FloatToStr(1.0 / 3.0); }, "0.333333333333333"},
        {"FloatToStr(-2.5)", [] { return FloatToStr(-2.5); }, "-2.5"},
        {"FloatToStr(1e15)", [] { return FloatToStr(1e15); }, "1E15"},
        {"FloatToStr(123456789012345)", [] { return FloatToStr(123456789012345.0); }, "123456789012345"},
        {"FloatToStr(0.0001)", [] { return FloatToStr(0.0001); }, "0.0001"},
        {"FloatToStr(0.000015)", [] { return FloatToStr(0.000015); }, "1.5E-5"},
        {"StrToFloat(' 2.5e3 ')", [] { return FloatToStr(StrToFloat(" 2.5e3 ")); }, "2500"},
        {"StrToFloat('-.5')", [] { return FloatToStr(StrToFloat("-.5")); }, "-0.5"},
        {"StrToFloat('1e-400')", [] { return FloatToStr(StrToFloat("1e-400")); }, "0"},
        {"StrToFloatDef('1..2', 9)", [] { return FloatToStr(StrToFloatDef("1..2", 9)); }, "9"},
        {"StrToFloatDef('nan', 9)", [] { return FloatToStr(StrToFloatDef("nan", 9)); }, "9"},
        {"Chr(65)", [] { return Chr(65); }, "A"},
        {"Ord('abc')", [] { return Num(Ord("abc")); }, "97"},
        {"Ord(#255)", [] { return Num(Ord("\xFF")); }, "255"},
        {"Ord('')", [] { return Num(Ord("")); }, "0"},
        {"CharAt('abc', 1)", [] { return CharAt("abc", 1); }, "a"},
        {"CharAt('abc', 3)", [] { return CharAt("abc", 3); }, "c"},
        {"SetCharAt(s, 2, 'XY')",
         [] { return Modified("abc", [](std::string& s) { SetCharAt(s, 2, "XY"); }); }, "aXc"},
        {"Delete(s, 2, 2)", [] { return Modified("abcdef", [](std::string& s) { Delete(s, 2, 2); }); },
         "adef"},
        {"Delete(s, 5, 99)", [] { return Modified("abcdef", [](std::string& s) { Delete(s, 5, 99); }); },
         "abcd"},
        {"Delete(s, 0, 2)", [] { return Modified("abcdef", [](std::string& s) { Delete(s, 0, 2); }); },
         "abcdef"},
        {"Delete(s, 7, 1)", [] { return Modified("abcdef", [](std::string& s) { Delete(s, 7, 1); }); },
         "abcdef"},
        {"Insert('XY', s, 3)", [] { return Modified("abcd", [](std::string& s) { Insert("XY", s, 3); }); },
         "abXYcd"},
        {"Insert('XY', s, 0)", [] { return Modified("abcd", [](std::string& s) { Insert("XY", s, 0); }); },
         "XYabcd"},
        {"Insert('XY', s, 99)", [] { return Modified("abcd", [](std::string& s) { Insert("XY", s, 99); }); },
         "abcdXY"},
        {"LowerCase", [] { return LowerCase("AbC\xC9"); }, "abc\xC9"},
        {"UpperCase", [] { return UpperCase("aBc\xE9"); }, "ABC\xE9"},
        {"AnsiLowerCase", [] { return AnsiLowerCase("AB\xC9\xD7\xDE"); }, "ab\xE9\xD7\xFE"},
        {"AnsiUpperCase", [] { return AnsiUpperCase("ab\xE9\xF7\xFF"); }, "AB\xC9\xF7\xFF"},
        {"Pos('x', 'abc')", [] { return Num(Pos("x", "abc")); }, "0"},
        {"Pos('cd', 'abcdcd')", [] { return Num(Pos("cd", "abcdcd")); }, "3"},
        {"Pos('', 'abc')", [] { return Num(Pos("", "abc")); }, "0"},
        {"SetLength(s, 2)", [] { return Modified("abcd", [](std::string& s) { SetLength(s, 2); }); }, "ab"},
        {"SetLength(s, 4)", [] { return Modified("ab", [](std::string& s) { SetLength(s, 4); }); }, "ab  "},
        {"SetLength(s, -1)", [] { return Modified("ab", [](std::string& s) { SetLength(s, -1); }); }, ""},
        {"TrimLeft", [] { return TrimLeft(" \t x y \n"); }, "x y \n"},
        {"TrimRight", [] { return TrimRight(" \t x y \n"); }, " \t x y"},
        {"Trim", [] { return Trim(" \t x y \n"); }, "x y"},
        {"CompareText('abc', 'ABD')", [] { return Num(CompareText("abc", "ABD")); }, "-1"},
        {"CompareText('abc', 'ABC')", [] { return Num(CompareText("abc", "ABC")); }, "0"},
        {"CompareText('abcd', 'ABC')", [] { return Num(CompareText("abcd", "ABC")); }, "1"},
        {"CompareStr('a', 'B')", [] { return Num(CompareStr("a", "B")); }, "31"},
        {"CompareStr('ab', 'abc')", [] { return Num(CompareStr("ab", "abc")); }, "-1"},
        {"AnsiCompareText('\xE9', '\xC9')", [] { return Num(AnsiCompareText("\xE9", "\xC9")); }, "0"},
        {"AnsiCompareStr('a', 'B')", [] { return Num(AnsiCompareStr("a", "B")); }, "-1"},
        {"AnsiCompareStr('a', 'A')", [] { return Num(AnsiCompareStr("a", "A")); }, "-1"},
        {"AnsiCompareStr('B', 'a')", [] { return Num(AnsiCompareStr("B", "a")); }, "1"},
        {"IsDelimiter(',;', 'a;b', 2)", [] { return Num(IsDelimiter(",;", "a;b", 2)); }, "1"},
        {"IsDelimiter(',;', 'a;b', 3)", [] { return Num(IsDelimiter(",;", "a;b", 3)); }, "0"},
        {"IsDelimiter(',;', 'a;b', 4)", [] { return Num(IsDelimiter(",;", "a;b", 4)); }, "0"},
        {"LastDelimiter('\\.', 'c:\\a\\b.txt')", [] { return Num(LastDelimiter("\\.", "c:\\a\\b.txt")); },
         "7"},
        {"LastDelimiter('x', 'abc')", [] { return Num(LastDelimiter("x", "abc")); }, "0"},
        {"QuotedStr", [] { return QuotedStr("it's"); }, "'it''s'"},
        {"Copy('abcdef', 3, 2)", [] { return Copy("abcdef", 3, 2); }, "cd"},
        {"Copy('abcdef', 5, 99)", [] { return Copy("abcdef", 5, 99); }, "ef"},
        {"Copy('abcdef', 0, 2)", [] { return Copy("abcdef", 0, 2); }, "ab"},
        {"Copy('abcdef', 7, 1)", [] { return Copy("abcdef", 7, 1); }, ""},
        {"Copy('abcdef', 2, -1)", [] { return Copy("abcdef", 2, -1); }, ""},
        {"LeftStr('abcdef', 2)", [] { return LeftStr("abcdef", 2); }, "ab"},
        {"LeftStr('ab', 9)", [] { return LeftStr("ab", 9); }, "ab"},
        {"RightStr('abcdef', 2)", [] { return RightStr("abcdef", 2); }, "ef"},
        {"RightStr('ab', 9)", [] { return RightStr("ab", 9); }, "ab"},
        {"RightStr('ab', -1)", [] { return RightStr("ab", -1); }, ""},
        {"StringOfChar('xy', 3)", [] { return StringOfChar("xy", 3); }, "xxx"},
        {"StringOfChar('', 0)", [] { return StringOfChar("", 0); }, ""},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(c.Run(), c.Expected) << c.Call;
}

struct TErrorCase {
    const char* Call;
    std::function<void()> Run;
    const char* ClassName;
    std::string Message;
};

TEST(BuiltinsStrings, BadArgumentsRaiseClearErrors) {
    std::string s = "abc";
    const TErrorCase cases[] = {
        {"StrToInt('x')", [] { (void)StrToInt("x"); }, "EConvertError", "'x' is not a valid integer value"},
        {"StrToInt('')", [] { (void)StrToInt(""); }, "EConvertError", "'' is not a valid integer value"},
        {"StrToInt('12 ')", [] { (void)StrToInt("12 "); }, "EConvertError",
         "'12 ' is not a valid integer value"},
        {"StrToInt('$')", [] { (void)StrToInt("$"); }, "EConvertError", "'$' is not a valid integer value"},
        {"StrToInt(2^63)", [] { (void)StrToInt("9223372036854775808"); }, "EConvertError",
         "'9223372036854775808' is not a valid integer value"},
        {"StrToInt(17 hex digits)", [] { (void)StrToInt("$10000000000000000"); }, "EConvertError",
         "'$10000000000000000' is not a valid integer value"},
        {"StrToFloat('1..2')", [] { (void)StrToFloat("1..2"); }, "EConvertError",
         "'1..2' is not a valid floating point value"},
        {"StrToFloat('1e')", [] { (void)StrToFloat("1e"); }, "EConvertError",
         "'1e' is not a valid floating point value"},
        {"StrToFloat('.')", [] { (void)StrToFloat("."); }, "EConvertError",
         "'.' is not a valid floating point value"},
        {"StrToFloat('1e999')", [] { (void)StrToFloat("1e999"); }, "EConvertError",
         "'1e999' is not a valid floating point value"},
        {"StrToFloat('inf')", [] { (void)StrToFloat("inf"); }, "EConvertError",
         "'inf' is not a valid floating point value"},
        {"Chr(256)", [] { (void)Chr(256); }, "ERangeError", "Chr: 256 is not a character code (0..255)"},
        {"Chr(-1)", [] { (void)Chr(-1); }, "ERangeError", "Chr: -1 is not a character code (0..255)"},
        {"CharAt('abc', 0)", [] { (void)CharAt("abc", 0); }, "ERangeError", "Lower bound exceeded! Index 0"},
        {"CharAt('abc', 4)", [] { (void)CharAt("abc", 4); }, "ERangeError", "Upper bound exceeded! Index 4"},
        {"CharAt('', 1)", [] { (void)CharAt("", 1); }, "ERangeError", "Upper bound exceeded! Index 1"},
        {"SetCharAt(s, 4, 'x')", [&s] { SetCharAt(s, 4, "x"); }, "ERangeError",
         "Upper bound exceeded! Index 4"},
        {"SetCharAt(s, 1, '')", [&s] { SetCharAt(s, 1, ""); }, "EConvertError",
         "SetCharAt: a character is expected, not an empty string"},
        {"StringOfChar('', 2)", [] { (void)StringOfChar("", 2); }, "EConvertError",
         "StringOfChar: a character is expected, not an empty string"},
        {"StringOfChar('x', 2e9)", [] { (void)StringOfChar("x", 2000000000); }, "ERangeError",
         "String length 2000000000 exceeds the limit of 16777216 characters"},
        {"SetLength(s, 2^24 + 1)", [&s] { SetLength(s, kMaxStringLength + 1); }, "ERangeError",
         "String length 16777217 exceeds the limit of 16777216 characters"},
        {"IntToHex(1, 2^40)", [] { (void)IntToHex(1, int64_t{1} << 40); }, "ERangeError",
         "String length 1099511627776 exceeds the limit of 16777216 characters"},
    };
    for (const TErrorCase& c : cases) {
        try {
            c.Run();
            ADD_FAILURE() << c.Call << " did not raise";
        } catch (const EHostError& e) {
            EXPECT_EQ(e.ClassName, c.ClassName) << c.Call;
            EXPECT_EQ(e.what(), c.Message) << c.Call;
        }
    }
    EXPECT_EQ(s, "abc") << "a failed SetCharAt leaves the string alone";
}

TEST(BuiltinsStrings, IntegerAndFloatTextsRoundTrip) {
    for (const int64_t v : {int64_t{0}, int64_t{-1}, int64_t{2147483648}, INT64_MIN, INT64_MAX})
        EXPECT_EQ(StrToInt(IntToStr(v)), v);
    for (const int64_t v : {int64_t{0}, int64_t{255}, int64_t{0x7FFFFFFF}, INT64_MAX})
        EXPECT_EQ(StrToInt("$" + IntToHex(v, 1)), v);
    for (const double v : {0.1, -2.5, 1e15, 1.5e-5, 123456.789, 1e300})
        EXPECT_EQ(StrToFloat(FloatToStr(v)), v) << FloatToStr(v);
}

} // namespace
